#pragma once

#include "platform/Services.h"

#include <QElapsedTimer>

#include <cstdint>

namespace kzev {

/**
 * Keeps the window alive during a long calculation: processes the pending
 * events, but at most once per interval, so that a pass calling it often does
 * not spend its time in the event loop. A loop that calls pump() for every
 * item pays almost nothing: the clock is read only every so many calls, that
 * number doubling while reads come less than half a millisecond apart and
 * halving when they come more than two apart. serve(), called between
 * batches, reads the clock at once and starts the counting afresh.
 */
class QtMessagePump final : public IMessagePump {
public:
    explicit QtMessagePump(int intervalMs = 30);
    void pump() override;
    void serve() override;

private:
    static constexpr std::int32_t kMostCallsPerRead = 4096;
    void readClock();

    std::int64_t m_intervalNs;
    std::int32_t m_calls = 0;
    std::int32_t m_callsPerRead = 1;
    QElapsedTimer m_clock;
    std::int64_t m_lastRead = 0;
    std::int64_t m_lastEvents = -1;
};

} // namespace kzev
