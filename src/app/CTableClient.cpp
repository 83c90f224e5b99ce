#include "app/CTableClient.h"

#include "app/CGameContext.h"
#include "link/CMessageSinkRegistry.h"
#include "table/CTableBoard.h"

namespace kelo {

CTableClient::CTableClient(CGameContext& context, IEventLoop& loop, IResumeDialogs& resumeDialogs,
                           ISoundPlayer* sound, IClockView* clockView)
    : m_context(context),
      m_clock(context.Table(), context.TimeControl(), context.Sender(), loop, clockView),
      m_clockSink(context.Table(), m_clock, context.TableBoard()),
      m_negotiation(context.TableBoard(), context.Table(), loop, context.Prompts()),
      m_buttonBoard(context.TableBoard(), context.Table(), context.State(), context.Sender(),
                    context.Prompts()),
      m_resume(context.Table(), context.TableBoard(), context.Settings(), context.Prompts(), loop,
               resumeDialogs) {
    context.TableBoard().SetSoundPlayer(sound);
    m_clock.SetSoundPlayer(sound);
    m_negotiation.SetClock(&m_clock);
    m_buttonBoard.CreateButtons();
}

CTableClient::~CTableClient() {
    Detach();
    m_context.TableBoard().SetSoundPlayer(nullptr);
}

CTableBoard& CTableClient::Board() {
    return m_context.TableBoard();
}

void CTableClient::Attach(CMessageSinkRegistry& registry) {
    Detach();
    m_pRegistry = &registry;
    registry.RegisterSink(&m_clockSink);
    registry.RegisterSink(&Board());
    registry.RegisterSink(&m_negotiation);
    registry.RegisterSink(&m_buttonBoard);
    registry.RegisterSink(&m_resume);
    Board().SetHandOn(&registry);
    m_resume.SetHandOn(&registry);
}

void CTableClient::Detach() {
    if (m_pRegistry == nullptr)
        return;
    for (IMessageSink* sink : std::initializer_list<IMessageSink*>{
             &m_resume, &m_buttonBoard, &m_negotiation, &Board(), &m_clockSink})
        m_pRegistry->UnregisterSink(sink);
    Board().SetHandOn(nullptr);
    m_resume.SetHandOn(nullptr);
    m_pRegistry = nullptr;
}

} // namespace kelo
