// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/CHallSettings.h"
#include "base/GameSettings.h"
#include "chess/CChessSet.h"
#include "link/CTableMode.h"
#include "link/IMessageSender.h"
#include "ports/IPrompts.h"
#include "table/CPlayerManager.h"
#include "table/CPlayerTimeControl.h"
#include "table/CTableState.h"
#include "table/TableParts.h"

#include <cstdint>
#include <memory>

namespace kelo {

class CCommunicationLayer;

// One table client: it builds and owns the table's parts and hands each object the parts it
// needs. The program makes one; a test can make a fresh one, and two clients can live side by
// side in one process.
class CGameContext {
public:
    // The table's messages go to sender, or to the table's sender to the game server when none
    // is given (a local table's too, which echoes them).
    explicit CGameContext(IMessageSender* sender = nullptr);
    ~CGameContext();
    CGameContext(const CGameContext&) = delete;
    CGameContext& operator=(const CGameContext&) = delete;

    // The table's one game. A table holds a single game (the hall opens a table per game), so
    // it is a plain member rather than one per game id.
    CChnChessBoard& Board() { return m_game.Board(); }
    CChessDiagram& Position() { return m_game.Position(); }

    CPlayerManager& PlayerManager() { return m_people; }
    CPlayerTimeControl& TimeControl() { return m_time; }
    CTableState& State() { return m_state; }
    CTableMode& Mode() { return m_mode; }
    // The parts the table's game objects share.
    TableParts Table() { return {m_people, m_time, m_state, m_mode, m_sender}; }
    // What the hall has told the client.
    CHallSettings& Hall() { return m_hall; }
    // The user's preferences (the record folder, what happens to a finished game's record);
    // the shell loads them, tests and tools set them.
    GameSettings& Settings() { return m_settings; }
    // Who answers the user's questions: the prompts set here, else nobody (silent answers).
    // Objects made before a change follow it.
    IPrompts& Prompts() { return m_prompts; }
    void SetPrompts(IPrompts* prompts) { m_prompts.target = prompts; }
    // Where the table's messages go.
    IMessageSender& Sender() { return m_sender; }
    CCommunicationLayer& CommunicationLayer() { return *m_pCommunicationLayer; }

private:
    // Passes each question on to the prompts chosen now.
    struct CPromptsSwitch : IPrompts {
        IPrompts& Target() { return target != nullptr ? *target : silent; }
        PieceKind ChoosePromotion() override { return Target().ChoosePromotion(); }
        void ShowNotice(const std::string& text) override { Target().ShowNotice(text); }
        void ShowInformation(const std::string& text, bool modal) override {
            Target().ShowInformation(text, modal);
        }
        void ShowError(const std::string& text) override { Target().ShowError(text); }
        bool AskYesNo(const std::string& question) override { return Target().AskYesNo(question); }
        bool AskOkCancel(const std::string& question) override {
            return Target().AskOkCancel(question);
        }
        bool Verify(const std::string& question, const std::string& okLabel,
                    const std::string& cancelLabel) override {
            return Target().Verify(question, okLabel, cancelLabel);
        }
        std::string ChooseSaveFile(const std::string& folder, const std::string& name,
                                   const std::string& filter,
                                   const std::string& extension) override {
            return Target().ChooseSaveFile(folder, name, filter, extension);
        }
        std::string ChooseOpenFile(const std::string& folder, const std::string& name,
                                   const std::string& filter,
                                   const std::string& extension) override {
            return Target().ChooseOpenFile(folder, name, filter, extension);
        }
        bool InputText(const std::string& caption, const std::string& label,
                       std::string& text) override {
            return Target().InputText(caption, label, text);
        }
        CSilentPrompts silent;
        IPrompts* target = nullptr;
    };

    CHallSettings m_hall;
    GameSettings m_settings;
    CPromptsSwitch m_prompts;
    CPlayerManager m_people;
    CPlayerTimeControl m_time;
    CTableState m_state;
    CTableMode m_mode;
    std::unique_ptr<CCommunicationLayer> m_pCommunicationLayer;
    IMessageSender& m_sender;
    CChessSet m_game;
};

} // namespace kelo
