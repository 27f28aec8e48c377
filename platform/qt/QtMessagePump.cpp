#include "platform/qt/QtMessagePump.h"

#include <QCoreApplication>

namespace kzev {

QtMessagePump::QtMessagePump(int intervalMs)
    : m_intervalMs(intervalMs)
{
}

void QtMessagePump::pump()
{
    // Reading the clock costs more than a call: it is read only every few calls.
    if (m_sinceLast.isValid() && ++m_calls < kCallsPerClockRead)
        return;
    m_calls = 0;
    if (m_sinceLast.isValid() && m_sinceLast.elapsed() < m_intervalMs)
        return;
    QCoreApplication::processEvents(QEventLoop::AllEvents, m_intervalMs);
    m_sinceLast.start();
}

} // namespace kzev
