#pragma once

#include "platform/Services.h"

#include <QElapsedTimer>

namespace kzev {

/**
 * Keeps the window alive during a long calculation: processes the pending
 * events, but at most once per interval, so that a pass calling it for every
 * point does not spend its time in the event loop.
 */
class QtMessagePump final : public IMessagePump {
public:
    explicit QtMessagePump(int intervalMs = 30);
    void pump() override;

private:
    int m_intervalMs;
    QElapsedTimer m_sinceLast;
};

} // namespace kzev
