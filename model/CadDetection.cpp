#include "model/CadDetection.h"

#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "platform/CaseFold.h"
#include "platform/Services.h"

#include <cstdlib>

namespace kzev {

namespace {

constexpr std::size_t kTitleLimit = 511;

struct Probe {
    bool registered = false;
    bool running = false;
};

// Looks for a running object of the IntelliCAD-type model without starting one.
Probe probeIcad(ICadAutomation& automation)
{
    Probe probe;
    probe.registered = automation.isRegistered(icadProgramId());
    if (probe.registered)
        probe.running = automation.activeObject(icadProgramId()) != nullptr;
    return probe;
}

// A program found whose automation class this system does not know is named
// once in the log; detection runs at every idle update, so only a change is
// written.
void noteUnknownProgram(CKzevDoc& document, const std::string& note)
{
    if (note == document.m_cadNote)
        return;
    document.m_cadNote = note;
    if (!note.empty())
        services().log->addLine(note);
}

std::string unknownProgramNote(const std::string& title, const std::string& programId)
{
    return "Grafický editor \"" + title + "\" nelze na tomto systému řídit: automatizační klíč " + programId
        + " není registrován.";
}

} // namespace

CadWindowHandle FindTopWindowByTitlePrefix(ICadDesktop& desktop, std::string_view prefix, std::string* title)
{
    const std::string wanted = foldCase(prefix);
    for (const CadWindowInfo& window : desktop.topLevelWindows()) {
        const std::string text = window.text.substr(0, kTitleLimit);
        if (text.empty())
            continue;
        if (foldCase(text).starts_with(wanted)) {
            if (title)
                *title = text;
            return window.handle;
        }
    }
    return 0;
}

int detectCadApplication(CKzevDoc& document, ICadDesktop& desktop, ICadAutomation& automation)
{
    std::string title;
    const auto found = [&](std::string_view prefix) {
        document.m_cadWnd = FindTopWindowByTitlePrefix(desktop, prefix, &title);
        return document.m_cadWnd != 0;
    };
    std::string unknownId;
    int result = 1;

    if (found("AutoCAD LT")) {
        document.m_cadKind = CadKindAcadLt;
        document.m_cadIconId = kCadIconAcadLt;
        std::string yearTitle;
        if (FindTopWindowByTitlePrefix(desktop, "AutoCAD LT 2", &yearTitle) != 0 && yearTitle.size() > 11)
            document.m_cadVersion = std::atoi(yearTitle.c_str() + 11);
    } else if (found("AutoCAD")) {
        document.m_cadKind = CadKindAcad;
        document.m_cadIconId = kCadIconAcad;
        acadProgramId() = "AutoCAD.Application";
        document.m_acadClone = 0;
    } else if (found("Autodesk")) {
        document.m_cadKind = CadKindAcad;
        document.m_cadIconId = kCadIconAcad;
        document.m_acadClone = 0;
    } else if (found("BricsCad ") || found("DWGeditor ") || found("ZwCAD ") || found("GStarCAD ")) {
        const std::string folded = foldCase(title);
        const bool bricscad = folded.starts_with("bricscad ");
        const bool gstarcad = folded.starts_with("gstarcad ");
        document.m_cadIconId = kCadIconOther;
        if (bricscad || gstarcad) {
            document.m_cadKind = CadKindAcadClone;
            acadProgramId() = bricscad ? "BricscadApp.AcadApplication" : "Icad.Application";
            document.m_acadClone = 1;
        } else if (document.m_cadKind == CadKindAcadLt) {
            // A text-window kind left from an earlier detection would make the
            // next operation look for a text window this program does not have.
            document.m_cadKind = CadKindNone;
        }
        const Probe probe = probeIcad(automation);
        if (probe.running)
            document.m_cadKind = CadKindIcad;
        else if (!probe.registered)
            unknownId = icadProgramId();
        else if (folded.starts_with("zwcad "))
            result = 0;
    } else if (found(kDrawingWindowTitle)) {
        document.m_cadKind = CadKindDrawing;
        document.m_cadIconId = kCadIconOther;
        acadProgramId() = std::string(kDrawingProgramId);
        document.m_acadClone = 0;
    } else {
        noteUnknownProgram(document, {});
        return 0;
    }

    if (unknownId.empty() && document.m_cadKind != CadKindAcadLt) {
        const std::string& channelId = document.m_cadKind == CadKindIcad ? icadProgramId() : acadProgramId();
        if (!automation.isRegistered(channelId))
            unknownId = channelId;
    }
    noteUnknownProgram(document, unknownId.empty() ? std::string() : unknownProgramNote(title, unknownId));
    return result;
}

} // namespace kzev
