// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/MSG_GAME_RESULT.h"

#include <cstdint>

// The message types of the game server protocol. Types 601-666 are table-game messages (most
// relayed by the server between the clients at a table, 661-666 sent by the server itself);
// 3001-3111 are connection and table-service messages. 10001 never travels: the reader gives it
// to the records that follow a game state.
namespace kelo {

constexpr uint16_t MSG_NEW_GAME = 601;
constexpr uint16_t MSG_READY = 602;
constexpr uint16_t MSG_GAME_INFO = 606;
constexpr uint16_t MSG_EXCHANGE_REQUEST = 616;
constexpr uint16_t MSG_EXCHANGE_ANSWER = 617;
constexpr uint16_t MSG_RESUME_REQUEST = 621;
constexpr uint16_t MSG_RESUME_ANSWER = 623;
constexpr uint16_t MSG_START_NOTICE = 626;
constexpr uint16_t MSG_GAME_BEGIN = 627;
constexpr uint16_t MSG_MOVE = 631;
constexpr uint16_t MSG_TAKEBACK_REQUEST = 636;
constexpr uint16_t MSG_TAKEBACK_ANSWER = 637;
constexpr uint16_t MSG_DRAW_OFFER = 641;
constexpr uint16_t MSG_DRAW_ANSWER = 642;
constexpr uint16_t MSG_SEAL_REQUEST = 646;
constexpr uint16_t MSG_SEAL_ANSWER = 647;
// MSG_GAME_RESULT (651) lives with its body record.
constexpr uint16_t MSG_SCORES = 656;
constexpr uint16_t MSG_GAME_PREPARE = 661;
constexpr uint16_t MSG_START_INFO = 662;
constexpr uint16_t MSG_GAME_STATE = 663;
constexpr uint16_t MSG_TABLE_UNLOCK = 666;

constexpr uint16_t MSG_ENTER_TABLE = 3001;
constexpr uint16_t MSG_USER_STATUS = 3002;
constexpr uint16_t MSG_USER_CONNECT = 3003;
constexpr uint16_t MSG_LOGIN_ELSEWHERE = 3004;
constexpr uint16_t MSG_LEAVE_SEAT = 3005;
constexpr uint16_t MSG_TABLE_CHAT_OLD = 3009;
constexpr uint16_t MSG_SEQUENCE_START = 3010;
constexpr uint16_t MSG_KEEP_ALIVE = 3011;
constexpr uint16_t MSG_USER_BROKEN = 3016;
constexpr uint16_t MSG_TABLE_CHAT = 3021;
constexpr uint16_t MSG_LEAVE_TABLE = 3026;
constexpr uint16_t MSG_LEAVE_WATCH = 3027;
constexpr uint16_t MSG_EXIT_REQUEST = 3031;
constexpr uint16_t MSG_EXIT_ANSWER = 3032;
constexpr uint16_t MSG_EXIT_DISCOURAGE = 3033;
constexpr uint16_t MSG_MAGIC_ACTION = 3040;
constexpr uint16_t MSG_MAGIC_ACTION_RESULT = 3041;
constexpr uint16_t MSG_PLAYTIME_NOTICE = 3045;
constexpr uint16_t MSG_TABLE_PERSONS = 3106;
constexpr uint16_t MSG_USER_ENTER = 3107;
constexpr uint16_t MSG_MAGIC_STATUS = 3109;
constexpr uint16_t MSG_PERSON_UPDATE = 3110;
constexpr uint16_t MSG_MAGIC_LIST = 3111;

constexpr uint16_t MSG_GAME_STATE_MOVES = 10001;

// Table-game messages: the server relays them between the clients of a desk.
constexpr bool IsTableGameMessage(uint16_t type) {
    return type >= 601 && type <= 666;
}

} // namespace kelo
