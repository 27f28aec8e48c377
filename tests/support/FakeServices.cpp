#include "support/FakeServices.h"

namespace kzev::test {

MessageAnswer ScriptedMessageBox::show(const std::string& text, MessageIcon icon, MessageButtons buttons)
{
    shown.push_back({ text, icon, buttons });
    if (!answers.empty()) {
        const MessageAnswer answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoCancel) ? MessageAnswer::Yes
                                                                                          : MessageAnswer::Ok;
}

void CountingPump::pump()
{
    ++calls;
    if (stopAfter > 0 && calls >= stopAfter)
        setStopRequested(true);
}

FakeServices::FakeServices()
    : m_scope(Services { &log, &progress, &messageBox, &pump, &view, &waitCursor })
{
    setStopRequested(false);
}

FakeServices::~FakeServices()
{
    setStopRequested(false);
}

} // namespace kzev::test
