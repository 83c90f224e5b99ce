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
    CGameContext();
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
    // Where the table's messages go: the sender set here, else the table's sender to the game
    // server. Objects made before a change follow it.
    IMessageSender& Sender() { return m_sender; }
    void SetSender(IMessageSender* sender) { m_sender.target = sender; }
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
    // Passes each message on to the sender chosen now.
    struct CSenderSwitch : IMessageSender {
        explicit CSenderSwitch(CGameContext& owner) : owner(owner) {}
        void SendMessage(uint16_t type, const uint8_t* body, size_t length) override;
        CGameContext& owner;
        IMessageSender* target = nullptr;
    };

    CHallSettings m_hall;
    GameSettings m_settings;
    CPromptsSwitch m_prompts;
    CPlayerManager m_people;
    CPlayerTimeControl m_time;
    CTableState m_state;
    CTableMode m_mode;
    CSenderSwitch m_sender{*this};
    std::unique_ptr<CCommunicationLayer> m_pCommunicationLayer;
    CChessSet m_game;
};

} // namespace kelo
