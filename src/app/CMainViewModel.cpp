#include "app/CMainViewModel.h"

#include "app/CGameContext.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "link/CTableLink.h"
#include "table/CTableBoard.h"

namespace kelo {

CMainViewModel::CMainViewModel(CGameContext& context, IEventLoop& loop, ISoundPlayer* sound)
    : m_context(context), m_clock(context.Table(), loop, this),
      m_clockSink(context.Table(), m_clock, context.TableBoard()),
      m_boardWindow(context.TableBoard(), context.Table(), context.Prompts(), sound),
      m_buttonBoard(context.TableBoard(), context.Table(), context.Prompts()),
      m_negotiation(context.TableBoard(), context.Table(), loop, context.Prompts()),
      m_panels(context.Table(), m_clock), m_resumeDialogs(context.Prompts(), loop),
      m_resume(context.Table(), context.TableBoard(), context.Settings(), context.Prompts(), loop,
               m_resumeDialogs),
      m_commands(context, m_resume) {
    m_resumeDialogs.negotiation = &m_resume;
    context.TableBoard().SetSoundPlayer(sound);
    m_clock.SetSoundPlayer(sound);
    // A table that has no game yet shows the pieces where a game starts.
    if (context.Position().BoardMap().ForEach([](int32_t, CBasePiece*) { return true; }) == false)
        context.Board().NewPosition();
    m_buttonBoard.CreateButtons();
    m_buttonBoard.SetHost(this);
    m_negotiation.SetClock(&m_clock);
}

CMainViewModel::~CMainViewModel() {
    m_context.TableBoard().SetSoundPlayer(nullptr);
}

void CMainViewModel::RegisterSinks(CTableLink& link) {
    link.RegisterSink(&m_clockSink);
    link.RegisterSink(&m_context.TableBoard());
    // After the board: an agreement changes the position the board holds.
    link.RegisterSink(&m_negotiation);
    link.RegisterSink(&m_buttonBoard);
    link.RegisterSink(&m_resume);
    m_context.TableBoard().SetHandOn(&link.Registry());
    m_resume.SetHandOn(&link.Registry());
}

void CMainViewModel::UnregisterSinks(CTableLink& link) {
    link.UnregisterSink(&m_resume);
    m_resume.SetHandOn(nullptr);
    link.UnregisterSink(&m_buttonBoard);
    link.UnregisterSink(&m_negotiation);
    link.UnregisterSink(&m_clockSink);
    link.UnregisterSink(&m_context.TableBoard());
    m_context.TableBoard().SetHandOn(nullptr);
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
