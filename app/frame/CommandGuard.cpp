#include "app/frame/CommandGuard.h"

#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <exception>
#include <new>

namespace kzev {

namespace {

constexpr int kOutOfMemoryId = 63331;
constexpr int kFailedId = 63332;

} // namespace

bool runCommandGuarded(const std::function<void()>& handler)
{
    std::string message;
    try {
        handler();
        return true;
    } catch (const std::bad_alloc&) {
        message = loadString(kOutOfMemoryId);
    } catch (const std::exception& error) {
        message = formatC(loadString(kFailedId).c_str(), error.what());
    } catch (...) {
        message = formatC(loadString(kFailedId).c_str(), "?");
    }
    // Shown once the handler's stack is gone, with whatever memory it held freed.
    services().messageBox->show(message, MessageIcon::Error, MessageButtons::Ok);
    return false;
}

} // namespace kzev
