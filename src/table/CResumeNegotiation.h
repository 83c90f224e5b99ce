// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "link/IMessageSink.h"
#include "ports/IEventLoop.h"
#include "table/GameRecord.h"
#include "table/TableParts.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kelo {

class CMessageSinkRegistry;
class CTableBoard;
class IPrompts;
struct GameSettings;
struct ResumeEntry;

// The dialogs that sealing and resuming open; the shell shows them, tests record them.
class IResumeDialogs {
public:
    // Where a dialog's choice goes: true for the action or agreement, false for a refusal.
    using Answer = std::function<void(bool)>;

    virtual ~IResumeDialogs() = default;
    // The seal request dialog (CDialogResumeExit in request mode) with its question and action
    // button; the user's choice goes to confirm.
    virtual void OpenSealRequest(const std::string& question, const std::string& action,
                                 Answer confirm) = 0;
    // The seal request dialog closes (answered or its countdown ran out).
    virtual void CloseSealRequest() {}
    // The seconds left of the open seal request dialog's countdown.
    virtual void OnSealRequestCountdown(int /*seconds*/) {}
    // The seal answer dialog (CDialogResumeExit in answer mode) with its question; the user's
    // answer goes to answer.
    virtual void OpenSealAnswer(const std::string& question, Answer answer) = 0;
    // The resume answer dialog (CDialogResumeAnswer); the user's answer goes to answer.
    virtual void OpenResumeAnswer(const std::string& question, Answer answer) = 0;
    // An answer dialog whose countdown ran out or that was answered closes.
    virtual void CloseAnswer() {}
    // The seconds left of an open answer dialog's countdown.
    virtual void OnCountdown(int /*seconds*/) {}
    // An information notice (CDialogInformation).
    virtual void ShowInformation(const std::string& text) = 0;
    // A game was sealed: the game buttons return to their state between games.
    virtual void OnSealed(const std::string& /*savedPath*/) {}
    // A stored game was rebuilt on the board with its moves.
    virtual void OnResumed(size_t /*moves*/) {}
};

// Sealing a game to continue it later, and continuing a stored one: the seal request and
// answer (646, 647), the resume request and answer (621, 623) and the rebuilding of the game
// by replaying its moves. It receives the table's messages like the windows do.
class CResumeNegotiation : public IMessageSink, public ITimerSink {
public:
    // The answer dialogs count down from this; silence refuses.
    static constexpr int COUNTDOWN_SECONDS = 30;
    static constexpr uint32_t SEAL_TIMER = 9001;
    static constexpr uint32_t RESUME_TIMER = 9002;
    static constexpr uint32_t SEAL_REQUEST_TIMER = 9003;

    CResumeNegotiation(const TableParts& table, CTableBoard& board, const GameSettings& settings,
                       IPrompts& prompts, IEventLoop& loop, IResumeDialogs& dialogs);
    ~CResumeNegotiation() override;
    CResumeNegotiation(const CResumeNegotiation&) = delete;
    CResumeNegotiation& operator=(const CResumeNegotiation&) = delete;

    // Opens the seal request dialog with its countdown; its choice comes back through
    // SendSealRequest. Only a player of a game under way asks, one request at a time.
    void RequestSeal();
    // The request dialog's choice: its action button (true), "取消" or the end of its countdown
    // (false). The request goes out on true; in local mode it answers itself either way.
    void SendSealRequest(bool confirmed);
    bool SealRequestOpen() const { return m_bSealRequestOpen; }
    // The user's answer to the opponent's seal request.
    void AnswerSeal(bool agree);

    // "请求续盘" of the resume dialog with the chosen entry: true when the dialog closes (the
    // request went out), false when it stays open after telling the user why not.
    bool RequestResume(const ResumeEntry& entry);
    // The user's answer to the opponent's resume request.
    void AnswerResume(bool agree);
    // Local mode: a record file chosen in the open-file dialog is continued at once.
    void ResumeFromFile();
    // Local mode, the direct start with a record: continued at once; false (and the user told
    // that there is no record to continue) when it cannot be.
    bool ResumeRecordPath(const std::string& path);

    // Where the replayed moves are handed on so that every window takes them; without it they
    // go to the board alone.
    void SetHandOn(CMessageSinkRegistry* registry) { m_pHandOn = registry; }

    // A stored game waiting for the answer to its resume request, or null.
    const GameRecord* PendingRecord() const { return m_pPending.get(); }
    // The path of the last game sealed here, empty when none.
    const std::string& LastSealedPath() const { return m_strSealedPath; }

    void OnMessageRev(const CMessageRev& message) override;
    void HandleMessage(uint16_t type, const uint8_t* body, uint32_t length);
    void OnTimer(uint32_t id) override;

    static constexpr const char* SEAL_QUESTION = "你真的请求封盘并结束本局游戏么？";
    static constexpr const char* SEAL_ACTION = "封盘保存,进入下一局";
    static constexpr const char* SEAL_ACTION_HINT = "封盘保存";
    static constexpr const char* SEAL_LEAVE_QUESTION = "对方请求封盘并退出游戏，你同意么？";
    static constexpr const char* SEAL_NEXT_QUESTION = "对方请求封盘进入下一局，你同意么？";
    static constexpr const char* RESUME_REFUSED = "别人不同意你的续盘请求！";
    static constexpr const char* USERS_MISMATCH = "用户不匹配，不能续盘！";
    static constexpr const char* NO_MOVES = "不存在走子纪录，不能续盘！";
    static constexpr const char* WRONG_USERS = "用户不正确，续盘失败！";
    static constexpr const char* RESUME_FAILED = "续盘失败！";

private:
    void OnSealRequest(const uint8_t* body, uint32_t length);
    void OnSealAnswer(const uint8_t* body, uint32_t length);
    void OnResumeRequest(const uint8_t* body, uint32_t length);
    void OnResumeAnswer(const uint8_t* body, uint32_t length);
    void Rebuild(const GameRecord& record);
    // The request's bytes: the head, then the steps in wire order.
    std::vector<uint8_t> ResumeRequestBytes(const GameRecord& record) const;
    void SendResumeAnswer(uint16_t seat, bool agree);
    void StartCountdown(uint32_t timer);
    void StopCountdown(uint32_t timer);
    bool IsWatcher() const;
    uint16_t OwnSeat() const;

    TableParts m_table;
    CTableBoard& m_board;
    const GameSettings& m_settings;
    IPrompts& m_prompts;
    IEventLoop& m_loop;
    IResumeDialogs& m_dialogs;
    CMessageSinkRegistry* m_pHandOn = nullptr;
    std::unique_ptr<GameRecord> m_pPending;
    std::string m_strSealedPath;
    // The open answer dialogs: the move number of the seal request answered, seconds left.
    bool m_bSealAnswerOpen = false;
    uint16_t m_nSealMoveNumber = 0;
    int m_nSealSeconds = 0;
    bool m_bResumeAnswerOpen = false;
    int m_nResumeSeconds = 0;
    // The own seal request dialog: open, seconds left.
    bool m_bSealRequestOpen = false;
    int m_nSealRequestSeconds = 0;
};

} // namespace kelo
