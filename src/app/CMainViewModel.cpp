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
      m_panels(context.Table(), m_clock) {
    context.TableBoard().SetSoundPlayer(sound);
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
    m_context.TableBoard().SetHandOn(&link.Registry());
}

void CMainViewModel::UnregisterSinks(CTableLink& link) {
    link.UnregisterSink(&m_buttonBoard);
    link.UnregisterSink(&m_negotiation);
    link.UnregisterSink(&m_clockSink);
    link.UnregisterSink(&m_context.TableBoard());
    m_context.TableBoard().SetHandOn(nullptr);
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
