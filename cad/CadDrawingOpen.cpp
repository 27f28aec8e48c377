#include "cad/CadDrawingOpen.h"

#include "model/CKzevDoc.h"
#include "platform/Services.h"

namespace kzev {

namespace {

constexpr int kNotRegistered = 61856;
constexpr int kCannotOpen = 61858;

/** Holds the wait cursor for as long as the CAD program is being talked to. */
class WaitCursor {
public:
    WaitCursor() { services().waitCursor->begin(); }
    ~WaitCursor() { services().waitCursor->end(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

bool openDrawingInCad(ICadAutomation& automation, bool autocadType, const std::filesystem::path& drawing)
{
    const WaitCursor wait;
    const std::string programId = autocadType ? acadProgramId() : icadProgramId();
    if (programId.empty() || !automation.isRegistered(programId)) {
        messageBoxId(kNotRegistered);
        return false;
    }
    try {
        std::unique_ptr<ICadApplication> application = automation.activeObject(programId);
        if (!application)
            application = automation.createInstance(programId);
        if (!application) {
            messageBoxId(kCannotOpen);
            return false;
        }
        application->setVisible(true);
        application->openDrawing(drawing);
    } catch (const CadServerError&) {
        messageBoxId(kCannotOpen);
        return false;
    } catch (const CadComError&) {
        messageBoxId(kCannotOpen);
        return false;
    }
    return true;
}

} // namespace kzev
