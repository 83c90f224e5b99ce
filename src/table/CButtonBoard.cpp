// SPDX-License-Identifier: GPL-3.0-or-later
#include "table/CButtonBoard.h"

#include "chess/CBaseBoard.h"
#include "chess/CBaseDiagram.h"
#include "link/CMessageRev.h"
#include "link/CTableMode.h"
#include "link/IMessageSender.h"
#include "link/MSG_MOVE.h"
#include "link/MSG_SEAL_ANSWER.h"
#include "link/MSG_SEAT_FLAG.h"
#include "link/MessageTypes.h"
#include "ports/IPrompts.h"
#include "table/CPlayerManager.h"
#include "table/CTableBoard.h"
#include "table/CTableState.h"

namespace kelo {

namespace {
const char* const SEAL_REFUSED = "对方不同意你的续盘退出请求！";
const char* const SEAL_AGREED = "双方续盘保存，本局结束！";

// What each button does, and the verb its reasons for being off are built on.
struct ButtonText {
    int32_t id;
    const char* what;
    const char* verb;
};
constexpr ButtonText BUTTON_TEXTS[] = {
    {CButtonBoard::ID_START, "开始新的一局", "开始"},
    {CButtonBoard::ID_EXCHANGE, "请对方与你交换执棋的颜色", "交换"},
    {CButtonBoard::ID_LOAD, "载入棋谱文件，接着下", "载入"},
    {CButtonBoard::ID_TAKEBACK, "请对方同意悔棋", "悔棋"},
    {CButtonBoard::ID_RESIGN, "认输，本局结束", "认输"},
    {CButtonBoard::ID_DRAW, "向对方提和", "和棋"},
    {CButtonBoard::ID_STUDY, "打开棋谱窗口，研究本局", "看棋谱"},
    {CButtonBoard::ID_SAVE, "把本局存为棋谱文件", "保存"},
    {CButtonBoard::ID_GUESS, "竞猜", "竞猜"},
};

const ButtonText* TextOf(int32_t id) {
    for (const ButtonText& text : BUTTON_TEXTS)
        if (text.id == id)
            return &text;
    return nullptr;
}

bool ReadSeatFlag(const uint8_t* body, uint32_t length, MSG_SEAT_FLAG_BODY& out) {
    return body != nullptr && MSG_SEAT_FLAG_BODY::FromWire(body, length, out);
}
} // namespace

CButtonBoard::CButtonBoard(CTableBoard& board, const TableView& table, CTableState& state,
                           IMessageSender& sender, IPrompts& prompts, IButtonBoardHost* host)
    : m_board(board), m_table(table), m_state(state), m_sender(sender), m_prompts(prompts),
      m_pHost(host) {}

void CButtonBoard::SetGrid(int32_t columns, int32_t rows, CPoint buttonSize, CPoint interval) {
    // A skin without a grid keeps the one that fits the table's buttons.
    if (columns <= 0 || rows <= 0 || buttonSize.x <= 0 || buttonSize.y <= 0)
        return;
    m_nColumns = columns;
    m_nRows = rows;
    m_sizeButton = buttonSize;
    m_sizeInterval = interval;
    LayoutButtons();
}

CPoint CButtonBoard::BoardSize() const {
    return {(m_nColumns - 1) * m_sizeInterval.x + 2 * m_nMarginX + m_sizeButton.x,
            (m_nRows - 1) * m_sizeInterval.y + 2 * m_nMarginY + m_sizeButton.y};
}

void CButtonBoard::CreateButtons() {
    m_buttons.clear();
    const bool local = m_table.mode.LocalMode();
    if (local)
        AddButton(ID_LOAD, "载入");
    else
        AddButton(ID_EXCHANGE, "交换");
    AddButton(ID_START, "开始");
    AddButton(ID_TAKEBACK, "悔棋");
    AddButton(ID_RESIGN, "认输");
    AddButton(ID_DRAW, "和棋");
    AddButton(ID_STUDY, "棋谱");
    AddButton(ID_SAVE, "保存");
    if (!local)
        AddButton(ID_GUESS, "竞猜");
    SetButtonSlot(ID_START, 0);
    SetButtonSlot(local ? ID_LOAD : ID_EXCHANGE, 1);
    SetButtonSlot(ID_TAKEBACK, 2);
    SetButtonSlot(ID_RESIGN, 3);
    SetButtonSlot(ID_DRAW, 4);
    SetButtonSlot(ID_STUDY, 5);
    SetButtonSlot(ID_SAVE, 6);
    if (!local)
        SetButtonSlot(ID_GUESS, 7);
    LayoutButtons();
    EnableAllButtons(false);
    if (local) {
        EnableButton(ID_START, true);
        EnableButton(ID_EXCHANGE, true);
        EnableButton(ID_LOAD, true);
    }
    Changed();
}

void CButtonBoard::AddButton(int32_t id, const std::string& caption) {
    GButton button;
    button.id = id;
    button.caption = caption.empty() ? " " : caption;
    m_buttons[id] = button;
}

void CButtonBoard::SetButtonSlot(int32_t id, int16_t slot) {
    auto it = m_buttons.find(id);
    if (it == m_buttons.end())
        return;
    bool taken = false;
    for (const auto& [otherId, other] : m_buttons)
        taken = taken || (otherId != id && other.slot == slot);
    if (taken) {
        for (auto& [otherId, other] : m_buttons)
            if (otherId != id && other.slot >= slot)
                ++other.slot;
    }
    it->second.slot = slot;
    it->second.visible = true;
}

void CButtonBoard::LayoutButtons() {
    for (auto& [id, button] : m_buttons) {
        if (!button.visible || button.slot < 0)
            continue;
        const int32_t column = button.slot % m_nColumns;
        const int32_t row = button.slot / m_nColumns;
        const int32_t x = column * m_sizeInterval.x + m_nMarginX;
        const int32_t y = row * m_sizeInterval.y + m_nMarginY;
        button.rect = CRect{x, y, x + m_sizeButton.x, y + m_sizeButton.y};
    }
}

void CButtonBoard::EnableButton(int32_t id, bool on) {
    auto it = m_buttons.find(id);
    on = on && MayEnable(id);
    if (it == m_buttons.end() || it->second.enabled == on)
        return;
    it->second.enabled = on;
    Changed();
}

void CButtonBoard::EnableAllButtons(bool on) {
    for (auto& [id, button] : m_buttons)
        button.enabled = on && MayEnable(id);
    Changed();
}

bool CButtonBoard::MayEnable(int32_t id) const {
    // One user playing both sides has every button of the table.
    if (m_table.mode.LocalMode())
        return true;
    // A watcher's side is not its own: it neither starts, asks nor answers for it.
    if (m_table.mode.IsWatcher())
        return id == ID_STUDY || id == ID_SAVE;
    // Exchanged colours in the middle of a game would leave the moves played to the wrong
    // side.
    if (id == ID_EXCHANGE)
        return !m_table.state.IsPlaying();
    return true;
}

void CButtonBoard::DropForbidden() {
    bool changed = false;
    for (auto& [id, button] : m_buttons) {
        if (button.enabled && !MayEnable(id)) {
            button.enabled = false;
            changed = true;
        }
    }
    if (changed)
        Changed();
}

const CButtonBoard::GButton* CButtonBoard::Button(int32_t id) const {
    auto it = m_buttons.find(id);
    return it != m_buttons.end() ? &it->second : nullptr;
}

bool CButtonBoard::IsEnabled(int32_t id) const {
    const GButton* button = Button(id);
    return button != nullptr && button->enabled;
}

std::vector<int32_t> CButtonBoard::EnabledIds() const {
    std::vector<int32_t> ids;
    for (const auto& [id, button] : m_buttons)
        if (button.enabled)
            ids.push_back(id);
    return ids;
}

std::string CButtonBoard::Tooltip(int32_t id) const {
    const ButtonText* text = TextOf(id);
    if (text == nullptr || Button(id) == nullptr)
        return {};
    return IsEnabled(id) ? text->what : WhyOff(id);
}

std::string CButtonBoard::WhyOff(int32_t id) const {
    const ButtonText* text = TextOf(id);
    if (text == nullptr || IsEnabled(id))
        return {};
    const std::string verb = text->verb;
    const bool local = m_table.mode.LocalMode();
    const GameState state = m_table.state.State();
    const bool playing = state == GameState::Playing;
    const int16_t moveNumber = m_board.Board().Position().MoveNumber();
    // The thresholds of the move number are those of the enabling by move.
    switch (id) {
    case ID_START:
    case ID_EXCHANGE:
    case ID_LOAD:
        if (m_table.mode.IsWatcher())
            return "观战时不能" + verb;
        if (playing)
            return "对局中不能" + verb;
        if (id == ID_START && state == GameState::Ready)
            return "你已开始，等待对方开始";
        return local ? "本局结束后才能" + verb : "等服务器准备好下一局才能" + verb;
    case ID_TAKEBACK:
    case ID_DRAW:
        if (m_table.mode.IsWatcher())
            return "观战时不能" + verb;
        if (!playing)
            return "对局中才能" + verb;
        if (local)
            return "走棋后才能" + verb;
        if (moveNumber <= 3)
            return "第4步后才能" + verb;
        return "对方走棋后、轮到你走时才能" + verb;
    case ID_RESIGN:
        if (m_table.mode.IsWatcher())
            return "观战时不能认输";
        if (!playing)
            return "对局中才能认输";
        if (!local && moveNumber <= 5)
            return "第6步后才能认输";
        return "走棋后才能认输";
    case ID_STUDY:
    case ID_SAVE:
        return "对局开始后才能" + verb;
    case ID_GUESS:
        return "竞猜尚未开放";
    default:
        return {};
    }
}

void CButtonBoard::Changed() {
    if (m_pView != nullptr)
        m_pView->OnButtonsChanged();
}

void CButtonBoard::OnButtonUp(int32_t id) {
    if (m_table.state.IsLocked() || !IsEnabled(id))
        return;
    IButtonBoardHost none;
    IButtonBoardHost& host = m_pHost != nullptr ? *m_pHost : none;
    switch (id) {
    case ID_START:
        Start();
        break;
    case ID_EXCHANGE:
        host.RequestExchange();
        break;
    case ID_LOAD:
        host.LoadRecord();
        break;
    case ID_TAKEBACK:
        host.RequestTakeBack();
        break;
    case ID_RESIGN:
        host.Resign();
        break;
    case ID_DRAW:
        host.OfferDraw();
        break;
    case ID_STUDY:
        host.OpenStudy();
        break;
    case ID_SAVE:
        host.SaveGame();
        break;
    default:
        break;
    }
}

void CButtonBoard::Start() {
    const auto notice = MSG_SEAT_FLAG_BODY{m_table.people.GetOwnSeat(), 1}.ToWire();
    m_sender.SendMessage(MSG_START_NOTICE, notice.data(), notice.size());
    m_board.LeaveFinishedGame();
    m_board.Board().NewPosition();
    if (IBoardObserver* observer = m_board.Observer())
        observer->OnBoardChanged();
    if (m_table.mode.LocalMode()) {
        const auto begin = MSG_SEAT_FLAG_BODY{0, 0}.ToWire();
        m_sender.SendMessage(MSG_GAME_BEGIN, begin.data(), begin.size());
    }
}

void CButtonBoard::OnMessageRev(const CMessageRev& message) {
    const uint8_t* body = message.Body();
    HandleMessage(message.Type(), body, body != nullptr ? message.Length() : 0);
}

void CButtonBoard::HandleMessage(uint16_t type, const uint8_t* body, uint32_t length) {
    const bool local = m_table.mode.LocalMode();
    const uint16_t ownSeat = m_table.people.GetOwnSeat();
    MSG_SEAT_FLAG_BODY seatFlag;
    switch (type) {
    case MSG_NEW_GAME:
        EnableAllButtons(false);
        KeepFinishedGameOpen();
        break;
    case MSG_READY:
        if (local) {
            // The table is ready for its next game: it is started, or a record is loaded.
            EnableAllButtons(false);
            EnableButton(ID_EXCHANGE, true);
            EnableButton(ID_LOAD, true);
            EnableButton(ID_START, true);
            EnableButton(ID_STUDY, true);
            KeepFinishedGameOpen();
        }
        if (ReadSeatFlag(body, length, seatFlag) && seatFlag.seat == ownSeat &&
            !m_table.state.IsPlaying())
            m_state.MarkReady();
        break;
    case MSG_RESUME_ANSWER:
        if (!ReadSeatFlag(body, length, seatFlag))
            break;
        if (seatFlag.flag == 1) {
            EnableAllButtons(false);
            EnableButton(ID_SAVE, true);
        } else {
            EnableButton(ID_EXCHANGE, true);
        }
        break;
    case MSG_START_NOTICE:
        if (local) {
            EnableAllButtons(false);
            EnableButton(ID_SAVE, true);
            EnableButton(ID_STUDY, true);
        }
        if (ReadSeatFlag(body, length, seatFlag) && seatFlag.seat == ownSeat && seatFlag.flag != 0)
            EnableButton(ID_START, false);
        break;
    case MSG_MOVE:
        OnMove(body, length);
        break;
    case MSG_SEAL_ANSWER:
        OnSealAnswer(body, length);
        break;
    case MSG_GAME_BEGIN:
        // A player at a server may save and study the game under way, as a watcher may.
        if (!local) {
            EnableButton(ID_SAVE, true);
            EnableButton(ID_STUDY, true);
        }
        break;
    case MSG_START_INFO:
        EnableButton(ID_EXCHANGE, true);
        EnableButton(ID_START, true);
        break;
    case MSG_GAME_STATE:
        EnableAllButtons(false);
        EnableButton(ID_SAVE, true);
        EnableButton(ID_STUDY, true);
        break;
    case MSG_USER_CONNECT:
        if (local) {
            EnableButton(ID_EXCHANGE, true);
            EnableButton(ID_LOAD, true);
            EnableButton(ID_START, true);
        }
        break;
    default:
        // 606 and the rest leave the buttons as they are.
        break;
    }
    // The message may have begun a game or, for a user status, made the user a watcher.
    DropForbidden();
}

void CButtonBoard::KeepFinishedGameOpen() {
    // The finished game on view can still be studied and saved.
    if (!m_board.FinishedGameOnView())
        return;
    EnableButton(ID_STUDY, true);
    EnableButton(ID_SAVE, true);
}

void CButtonBoard::OnSealAnswer(const uint8_t* body, uint32_t length) {
    if (m_table.mode.LocalMode()) {
        EnableButton(ID_EXCHANGE, true);
        EnableButton(ID_LOAD, true);
        EnableButton(ID_START, true);
        return;
    }
    // The answer's own record: the agree field follows the seat and the move number.
    MSG_SEAL_ANSWER_BODY answer;
    if (body == nullptr || !MSG_SEAL_ANSWER_BODY::FromWire(body, length, answer))
        return;
    const bool watcher = m_table.mode.IsWatcher();
    if (answer.agree == 0) {
        // Only the player who asked is told; the one who refused knows.
        if (!watcher && answer.seatno != m_table.people.GetOwnSeat())
            m_prompts.ShowInformation(SEAL_REFUSED, false);
    } else if (answer.agree == 1) {
        if (watcher)
            m_prompts.ShowInformation(SEAL_AGREED, false);
        // The sealed game is over: nothing of it is left to press.
        EnableAllButtons(false);
    }
}

void CButtonBoard::OnMove(const uint8_t* body, uint32_t length) {
    if (body == nullptr || length < MSG_MOVE_BODY::SIZE)
        return;
    if (m_table.mode.LocalMode()) {
        EnableAllButtons(false);
        for (int32_t id : {ID_TAKEBACK, ID_DRAW, ID_SAVE, ID_STUDY, ID_RESIGN})
            EnableButton(id, true);
        return;
    }
    const MoveRecord move = MSG_MOVE_BODY::FromWire(body).ToRecord();
    const CPlayerManager& people = m_table.people;
    const CPlayerRecord* mover = people.GetPersonByColour(move.colour);
    const uint16_t ownSeat = people.GetOwnSeat();
    const bool opponentMoved =
        mover != nullptr && ownSeat != CPlayerManager::NONE &&
        static_cast<uint16_t>(mover->person.seatno) == people.SeatAfter(ownSeat, false);
    const int16_t moveNumber = m_board.Board().Position().MoveNumber();
    const bool offers = moveNumber > 3 && opponentMoved;
    EnableButton(ID_TAKEBACK, offers);
    EnableButton(ID_DRAW, offers);
    EnableButton(ID_RESIGN, moveNumber > 5);
}

} // namespace kelo
