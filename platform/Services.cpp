#include "platform/Services.h"

#include "platform/StringTable.h"

#include <atomic>

namespace kzev {

namespace {

class QuietLog final : public ICalcLog {
public:
    void addLine(const std::string&) override { }
    void addText(const std::string&) override { }
    void clear() override { }
};

class QuietProgress final : public IProgress {
public:
    void setProgress(int, int) override { }
    void setText(const std::string&, std::uint32_t) override { }
    void setGradient(std::uint32_t, std::uint32_t) override { }
    void setStatusText(const std::string&) override { }
};

/** Without a window nobody can answer: every question gets its default button. */
class QuietMessageBox final : public IMessageBox {
public:
    MessageAnswer show(const std::string&, MessageIcon, MessageButtons buttons) override
    {
        switch (buttons) {
        case MessageButtons::Ok:
        case MessageButtons::OkCancel:
            return MessageAnswer::Ok;
        case MessageButtons::YesNo:
        case MessageButtons::YesNoCancel:
            return MessageAnswer::Yes;
        }
        return MessageAnswer::Ok;
    }
};

class QuietPump final : public IMessagePump {
public:
    void pump() override { }
};

class QuietView final : public IViewRefresh {
public:
    void fillProjectTree() override { }
    void clearProjectTree() override { }
    void refreshView(int, int) override { }
    void requestLayout() override { }
    std::optional<int> selectedRoom() override { return std::nullopt; }
    std::optional<std::pair<int, int>> selectedTaskArea() override { return std::nullopt; }
};

class QuietWaitCursor final : public IWaitCursor {
public:
    void begin() override { }
    void end() override { }
};

QuietLog g_quietLog;
QuietProgress g_quietProgress;
QuietMessageBox g_quietMessageBox;
QuietPump g_quietPump;
QuietView g_quietView;
QuietWaitCursor g_quietWaitCursor;

Services g_services { &g_quietLog, &g_quietProgress, &g_quietMessageBox, &g_quietPump, &g_quietView,
    &g_quietWaitCursor };

std::atomic<bool> g_stop { false }; // set by the user-interface thread, read by any

void merge(Services& target, const Services& source)
{
    if (source.log)
        target.log = source.log;
    if (source.progress)
        target.progress = source.progress;
    if (source.messageBox)
        target.messageBox = source.messageBox;
    if (source.pump)
        target.pump = source.pump;
    if (source.view)
        target.view = source.view;
    if (source.waitCursor)
        target.waitCursor = source.waitCursor;
}

} // namespace

Services& services()
{
    return g_services;
}

ScopedServices::ScopedServices(const Services& replacement)
    : m_previous(g_services)
{
    merge(g_services, replacement);
}

ScopedServices::~ScopedServices()
{
    g_services = m_previous;
}

void installServices(const Services& replacement)
{
    merge(g_services, replacement);
}

bool stopRequested()
{
    return g_stop;
}

void setStopRequested(bool stop)
{
    g_stop = stop;
}

MessageAnswer messageBoxId(int stringId, MessageIcon icon, MessageButtons buttons)
{
    return services().messageBox->show(loadString(stringId), icon, buttons);
}

} // namespace kzev
