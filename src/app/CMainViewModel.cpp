#include "app/CMainViewModel.h"

#include "app/CGameContext.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "link/CTableLink.h"
#include "table/CTableBoard.h"

namespace kelo {

CMainViewModel::CMainViewModel(CGameContext& context, IEventLoop& loop, const Ports& ports)
    : m_context(context), m_resumeDialogs(context.Prompts(), loop),
      m_client(context, loop,
               {m_resumeDialogs, ports.sound, this, ports.negotiationHost, this, ports.saveOffer,
                ports.social}),
      m_boardWindow(m_client.Board(), context.Table(), context.Prompts(), ports.sound),
      m_panels(context.Table(), m_client.Clock()),
      m_moveBox(m_boardWindow, context.Table(), m_panels),
      m_commands(context, m_client.Board(), m_client.Resume()) {
    m_resumeDialogs.negotiation = &m_client.Resume();
    // A table that has no game yet shows the pieces where a game starts.
    if (context.Position().BoardMap().ForEach([](int32_t, CBasePiece*) { return true; }) == false)
        context.Board().NewPosition();
}

CMainViewModel::~CMainViewModel() = default;

void CMainViewModel::RegisterSinks(CTableLink& link) {
    m_client.Attach(link.Registry());
}

void CMainViewModel::CResumeDialogsSwitch::OpenSealRequest(const std::string& question,
                                                           const std::string& action) {
    if (target != nullptr)
        return target->OpenSealRequest(question, action);
    loop.Post([this, question, action] {
        negotiation->SendSealRequest(prompts.Verify(question, action, "取消"));
    });
}

void CMainViewModel::CResumeDialogsSwitch::CloseSealRequest() {
    if (target != nullptr)
        target->CloseSealRequest();
}

void CMainViewModel::CResumeDialogsSwitch::OnSealRequestCountdown(int seconds) {
    if (target != nullptr)
        target->OnSealRequestCountdown(seconds);
}

void CMainViewModel::CResumeDialogsSwitch::OpenSealAnswer(const std::string& question) {
    if (target != nullptr)
        return target->OpenSealAnswer(question);
    // Asked after the message is handled, as a dialog would be.
    loop.Post(
        [this, question] { negotiation->AnswerSeal(prompts.Verify(question, "同意", "不同意")); });
}

void CMainViewModel::CResumeDialogsSwitch::OpenResumeAnswer(const std::string& question) {
    if (target != nullptr)
        return target->OpenResumeAnswer(question);
    loop.Post([this, question] {
        negotiation->AnswerResume(prompts.Verify(question, "同意", "不同意"));
    });
}

void CMainViewModel::CResumeDialogsSwitch::CloseAnswer() {
    if (target != nullptr)
        target->CloseAnswer();
}

void CMainViewModel::CResumeDialogsSwitch::OnCountdown(int seconds) {
    if (target != nullptr)
        target->OnCountdown(seconds);
}

void CMainViewModel::CResumeDialogsSwitch::ShowInformation(const std::string& text) {
    if (target != nullptr)
        target->ShowInformation(text);
    else
        prompts.ShowInformation(text, false);
}

void CMainViewModel::CResumeDialogsSwitch::OnSealed(const std::string& path) {
    if (target != nullptr)
        target->OnSealed(path);
}

void CMainViewModel::CResumeDialogsSwitch::OnResumed() {
    if (target != nullptr)
        target->OnResumed();
}

void CMainViewModel::RedrawClock(bool ownSide) {
    if (m_pClockView != nullptr)
        m_pClockView->RedrawClock(ownSide);
}

void CMainViewModel::BringToFront() {
    if (m_pClockView != nullptr)
        m_pClockView->BringToFront();
}

} // namespace kelo
