#pragma once

#include "platform/Services.h"

#include <QElapsedTimer>

namespace kzev {

/**
 * Keeps the window alive during a long calculation: processes the pending
 * events, but at most once per interval, so that a pass calling it often does
 * not spend its time in the event loop. The clock is read only every few
 * calls; the calculation calls it between batches of points, a few hundredths
 * of a second apart, so every few calls is soon enough.
 */
class QtMessagePump final : public IMessagePump {
public:
    explicit QtMessagePump(int intervalMs = 30);
    void pump() override;

private:
    static constexpr int kCallsPerClockRead = 4;
    int m_intervalMs;
    int m_calls = 0;
    QElapsedTimer m_sinceLast;
};

} // namespace kzev
