// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CTableClient.h"

#include "app/CGameContext.h"
#include "link/CMessageSinkRegistry.h"
#include "social/CBaseChatView.h"
#include "social/CBaseGameinfoView.h"
#include "social/CZynChatImp.h"
#include "social/CZynPersonListImp.h"
#include "table/CTableBoard.h"
#include "table/CTableState.h"

namespace kelo {

CTableClient::CTableClient(CGameContext& context, IEventLoop& loop, const Ports& ports)
    : m_context(context), m_pHost(ports.negotiationHost), m_saveOffer(ports.saveOffer),
      m_board(context.Board(), context.Table(), &context.Prompts(), ports.sound,
              [this] { OfferSave(); }),
      m_clock(context.Table(), context.TimeControl(), context.Sender(), loop, ports.clockView,
              ports.sound),
      m_clockSink(context.Table(), m_clock, m_board),
      m_negotiation(m_board, context.Table(), loop, context.Prompts(), this, &m_clock),
      m_buttonBoard(m_board, context.Table(), context.State(), context.Sender(), context.Prompts(),
                    ports.buttonBoardHost),
      m_resume(context.Table(), m_board, context.Settings(), context.Prompts(), loop,
               ports.resumeDialogs) {
    m_buttonBoard.CreateButtons();
    const Social* social = ports.social;
    if (social == nullptr)
        return;
    m_pChatLines = std::make_unique<CZynChatImp>(context.PlayerManager(), context.Mode(),
                                                 context.Sender(), social->linkUp);
    m_pPersonList = std::make_unique<CZynPersonListImp>();
    const CHallSettings& hall = context.Hall();
    m_pPersonList->SetListHead(hall.listHead.data(), hall.listHeadLength);
    m_pPersonList->onPersonEvent = [this](const PERSON& who) { m_pChatLines->AddressPerson(who); };
    m_pChat = std::make_unique<CBaseChatView>(context.PlayerManager(), context.State(),
                                              social->tableLines);
    m_pPeople = std::make_unique<CBaseGameinfoView>(context.PlayerManager(), context.State(),
                                                    m_pPersonList.get());
    // The people the hall named are listed before the server names them.
    m_pPeople->FillList();
}

CTableClient::~CTableClient() {
    Detach();
}

void CTableClient::Attach(CMessageSinkRegistry& registry) {
    Detach();
    m_pRegistry = &registry;
    registry.RegisterSink(&m_clockSink);
    registry.RegisterSink(&Board());
    registry.RegisterSink(&m_negotiation);
    registry.RegisterSink(&m_buttonBoard);
    registry.RegisterSink(&m_resume);
    if (m_pChatLines != nullptr) {
        registry.RegisterSink(m_pChatLines.get());
        registry.RegisterSink(m_pChat.get());
        registry.RegisterSink(m_pPeople.get());
    }
    Board().SetHandOn(&registry);
    m_resume.SetHandOn(&registry);
}

void CTableClient::Detach() {
    if (m_pRegistry == nullptr)
        return;
    for (IMessageSink* sink : std::initializer_list<IMessageSink*>{
             m_pPeople.get(), m_pChat.get(), m_pChatLines.get(), &m_resume, &m_buttonBoard,
             &m_negotiation, &Board(), &m_clockSink})
        if (sink != nullptr)
            m_pRegistry->UnregisterSink(sink);
    Board().SetHandOn(nullptr);
    m_resume.SetHandOn(nullptr);
    m_pRegistry = nullptr;
}

void CTableClient::CloseGame() {
    if (m_bClosing)
        return;
    m_bClosing = true;
    CTableState& state = m_context.State();
    // An ended game was offered at its end.
    if (!state.IsPlaying())
        return;
    // The clocks stop at their next tick: a time-out behind the question would end the game a
    // second time, with a second offer.
    state.Close();
    if (m_saveOffer)
        m_saveOffer();
}

void CTableClient::OfferSave() {
    if (!m_bClosing && m_saveOffer)
        m_saveOffer();
}

void CTableClient::OpenDialog(CNegotiationDialog& dialog) {
    if (m_pHost != nullptr)
        m_pHost->OpenDialog(dialog);
}

void CTableClient::CloseTable() {
    CloseGame();
    if (m_pHost != nullptr)
        m_pHost->CloseTable();
}

void CTableClient::OpenResultDialog(const CResultDialogModel& result) {
    if (m_pHost != nullptr)
        m_pHost->OpenResultDialog(result);
}

} // namespace kelo
