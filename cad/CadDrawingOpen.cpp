#include "cad/CadDrawingOpen.h"

#include "model/CKzevDoc.h"
#include "model/CadDetection.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <fstream>
#include <optional>

namespace kzev {

namespace {

constexpr int kNotRegistered = 61856;
constexpr int kCannotOpen = 61858;
constexpr int kDrawingMissing = 63542;
constexpr int kDrawingNotAFile = 63543;
constexpr int kDrawingUnreadable = 63544;
constexpr int kDrawingRefused = 63555;

// Why the named drawing cannot be opened, or nothing where it can be read.
std::optional<int> unreadableReason(const std::filesystem::path& drawing)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(drawing, error);
    if (!std::filesystem::exists(status))
        return kDrawingMissing;
    if (!std::filesystem::is_regular_file(status))
        return kDrawingNotAFile;
    if (!std::ifstream(drawing, std::ios::binary))
        return kDrawingUnreadable;
    return std::nullopt;
}

/** Holds the wait cursor for as long as the CAD program is being talked to. */
class WaitCursor {
public:
    WaitCursor() { services().waitCursor->begin(); }
    ~WaitCursor() { services().waitCursor->end(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The program id that reaches a CAD program here: where the id asked for is not
// registered but the drawing window's is, the drawing window is the CAD program
// of this system, whether it is open already or not.
std::string reachableProgramId(ICadAutomation& automation, const std::string& programId)
{
    if (!programId.empty() && automation.isRegistered(programId))
        return programId;
    const std::string drawingWindow(kDrawingProgramId);
    return automation.isRegistered(drawingWindow) ? drawingWindow : programId;
}

std::string modelProgramId(bool autocadType)
{
    return autocadType ? acadProgramId() : icadProgramId();
}

// The program's refusal with its reason, where it gives one.
void sayRefused(const std::string& reason)
{
    if (reason.empty()) {
        messageBoxId(kCannotOpen);
        return;
    }
    services().messageBox->show(formatC(loadString(kDrawingRefused).c_str(), reason.c_str()), MessageIcon::Warning,
        MessageButtons::Ok);
}

} // namespace

bool openDrawingInCad(ICadAutomation& automation, bool autocadType, const std::filesystem::path& drawing)
{
    const WaitCursor wait;
    const std::string programId = reachableProgramId(automation, modelProgramId(autocadType));
    if (programId.empty() || !automation.isRegistered(programId)) {
        messageBoxId(kNotRegistered);
        return false;
    }
    std::unique_ptr<ICadApplication> application;
    bool started = false;
    try {
        application = automation.activeObject(programId);
        if (!application) {
            application = automation.createInstance(programId);
            started = true;
        }
        if (!application) {
            messageBoxId(kCannotOpen);
            return false;
        }
        application->setVisible(true);
        application->openDrawing(drawing);
    } catch (const CadServerError& error) {
        // A program started for this drawing alone goes again, rather than stand empty behind the message.
        if (started && application) {
            try {
                application->quit();
            } catch (const CadServerError&) {
            } catch (const CadComError&) {
            }
        }
        sayRefused(error.what());
        return false;
    } catch (const CadComError&) {
        messageBoxId(kCannotOpen);
        return false;
    }
    return true;
}

bool openProjectDrawing(ICadAutomation& automation, bool preferAutocad, const std::filesystem::path& drawing)
{
    // Said once, with its reason, before any CAD program is tried.
    if (const std::optional<int> reason = unreadableReason(drawing)) {
        services().messageBox->show(formatC(loadString(*reason).c_str(), drawing.string().c_str()), MessageIcon::Warning,
            MessageButtons::Ok);
        return false;
    }
    const std::string first = reachableProgramId(automation, modelProgramId(preferAutocad));
    if (openDrawingInCad(automation, preferAutocad, drawing))
        return true;
    if (reachableProgramId(automation, modelProgramId(!preferAutocad)) == first)
        return false;
    return openDrawingInCad(automation, !preferAutocad, drawing);
}

} // namespace kzev
