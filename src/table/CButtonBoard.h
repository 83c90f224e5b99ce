// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "base/IniTypes.h"
#include "link/IMessageSink.h"
#include "table/TableView.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kelo {

class CTableBoard;
class IMessageSender;
class IPrompts;

// The table's commands that need more than the button board: negotiations, records, the
// study window. Each does nothing until the table has it.
class IButtonBoardHost {
public:
    virtual ~IButtonBoardHost() = default;
    virtual void RequestExchange() {}
    virtual void LoadRecord() {}
    virtual void RequestTakeBack() {}
    virtual void Resign() {}
    virtual void OfferDraw() {}
    virtual void OpenStudy() {}
    virtual void SaveGame() {}
};

// Told when a button's state or place changed, to repaint it.
class IButtonBoardView {
public:
    virtual ~IButtonBoardView() = default;
    virtual void OnButtonsChanged() = 0;
};

// The grid of the table's command buttons: which buttons a table has and where they sit, which
// of them the game's messages enable, and what a click on one does.
class CButtonBoard : public IMessageSink {
public:
    static constexpr int32_t ID_START = 101;
    static constexpr int32_t ID_EXCHANGE = 103;
    static constexpr int32_t ID_TAKEBACK = 104;
    static constexpr int32_t ID_RESIGN = 105;
    static constexpr int32_t ID_DRAW = 106;
    static constexpr int32_t ID_SAVE = 107;
    static constexpr int32_t ID_STUDY = 118;
    static constexpr int32_t ID_LOAD = 128;
    static constexpr int32_t ID_GUESS = 130;

    struct GButton {
        int32_t id = 0;
        std::string caption;
        bool visible = false;
        bool enabled = false;
        int16_t slot = -1;
        // Where the button sits in the board's window, after LayoutButtons.
        CRect rect;
    };

    // The buttons that ask more than the server go to host (none: they do nothing more).
    CButtonBoard(CTableBoard& board, const TableView& table, CTableState& state,
                 IMessageSender& sender, IPrompts& prompts, IButtonBoardHost* host = nullptr);

    void SetView(IButtonBoardView* view) { m_pView = view; }
    // The grid from the skin: columns, rows, a button's size and the pitch between buttons.
    void SetGrid(int32_t columns, int32_t rows, CPoint buttonSize, CPoint interval);
    CPoint BoardSize() const;

    // The buttons of this table (local or not), laid out, all disabled; a local table can
    // start at once.
    void CreateButtons();
    void AddButton(int32_t id, const std::string& caption);
    // Makes room when the slot is taken: that button and every one above it move up by one.
    void SetButtonSlot(int32_t id, int16_t slot);
    void LayoutButtons();
    // A button the user may not have now (a watcher's, or an exchange during a game) stays off
    // whatever asks to turn it on.
    void EnableButton(int32_t id, bool on);
    void EnableAllButtons(bool on);
    // Whether the user may have the button on at all: a watcher only studies and saves the game
    // on view, and colours are exchanged only between games.
    bool MayEnable(int32_t id) const;

    const std::map<int32_t, GButton>& Buttons() const { return m_buttons; }
    const GButton* Button(int32_t id) const;
    bool IsEnabled(int32_t id) const;
    // The ids of the enabled buttons, in id order.
    std::vector<int32_t> EnabledIds() const;
    // The text shown when the mouse rests on a button: what it does, or, while it is off, why.
    std::string Tooltip(int32_t id) const;
    // Why a button cannot be pressed now, from the game's state; empty while it can.
    std::string WhyOff(int32_t id) const;

    // A button was released: its command, unless the table is locked or the button is off.
    void OnButtonUp(int32_t id);
    // The game's messages switch the buttons.
    void OnMessageRev(const CMessageRev& message) override;
    void HandleMessage(uint16_t type, const uint8_t* body, uint32_t length);

private:
    // Sends the start notice; a local table begins its game at once with seat 0.
    void Start();
    void OnMove(const uint8_t* body, uint32_t length);
    // The finished game still on view keeps its study and save buttons.
    void KeepFinishedGameOpen();
    // The seal answer (647): the requester is told of a refusal, watchers of a seal.
    void OnSealAnswer(const uint8_t* body, uint32_t length);
    // Turns off the buttons the user may no longer have (the role or the game changed).
    void DropForbidden();
    void Changed();

    CTableBoard& m_board;
    TableView m_table;
    CTableState& m_state;
    IMessageSender& m_sender;
    IPrompts& m_prompts;
    IButtonBoardHost* m_pHost = nullptr;
    IButtonBoardView* m_pView = nullptr;
    std::map<int32_t, GButton> m_buttons;
    int32_t m_nColumns = 4;
    int32_t m_nRows = 2;
    CPoint m_sizeButton{56, 29};
    CPoint m_sizeInterval{60, 33};
    int32_t m_nMarginX = 0;
    int32_t m_nMarginY = 0;
};

} // namespace kelo
