#include "platform/qt/QtMessagePump.h"

#include <QCoreApplication>

#include <algorithm>

namespace kzev {

namespace {

constexpr std::int64_t kSoonNs = 500'000;
constexpr std::int64_t kLateNs = 2'000'000;

} // namespace

QtMessagePump::QtMessagePump(int intervalMs)
    : m_intervalNs(static_cast<std::int64_t>(intervalMs) * 1'000'000)
{
    m_clock.start();
}

void QtMessagePump::pump()
{
    if (++m_calls < m_callsPerRead)
        return;
    m_calls = 0;
    const std::int64_t now = m_clock.nsecsElapsed();
    const std::int64_t sinceRead = now - m_lastRead;
    if (sinceRead < kSoonNs)
        m_callsPerRead = std::min(m_callsPerRead * 2, kMostCallsPerRead);
    else if (sinceRead > kLateNs)
        m_callsPerRead = std::max(m_callsPerRead / 2, 1);
    readClock();
}

void QtMessagePump::serve()
{
    m_calls = 0;
    m_callsPerRead = 1;
    readClock();
}

void QtMessagePump::readClock()
{
    const std::int64_t now = m_clock.nsecsElapsed();
    m_lastRead = now;
    if (m_lastEvents >= 0 && now - m_lastEvents < m_intervalNs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(m_intervalNs / 1'000'000));
    m_lastEvents = m_clock.nsecsElapsed();
}

} // namespace kzev
