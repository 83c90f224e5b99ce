// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/CMainViewModel.h"

#include "app/CGameContext.h"
#include "chess/CChessDiagram.h"
#include "chess/CChnChessBoard.h"
#include "link/CTableLink.h"
#include "table/CTableBoard.h"

namespace kelo {

CMainViewModel::CMainViewModel(CGameContext& context, IEventLoop& loop, const Ports& ports)
    : m_context(context), m_promptDialogs(context.Prompts(), loop),
      m_client(context, loop,
               {ports.resumeDialogs != nullptr ? *ports.resumeDialogs : m_promptDialogs,
                ports.sound, this, ports.negotiationHost, this, ports.saveOffer, ports.social}),
      m_boardWindow(m_client.Board(), context.Table(), context.Prompts(), ports.sound,
                    ports.linkDown),
      m_panels(context.Table(), m_client.Clock()),
      m_moveBox(m_boardWindow, context.Table(), m_panels),
      m_commands(context, m_client.Board(), m_client.Resume()) {
    m_viewButtons.SetTableMode(&context.Mode());
    // A table that has no game yet shows the pieces where a game starts.
    if (context.Position().BoardMap().ForEach([](int32_t, CBasePiece*) { return true; }) == false)
        context.Board().NewPosition();
}

CMainViewModel::~CMainViewModel() = default;

void CMainViewModel::RegisterSinks(CTableLink& link) {
    m_client.Attach(link.Registry());
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
