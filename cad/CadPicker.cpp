#include "cad/CadPicker.h"

#include "cad/CadConnection.h"
#include "cad/drawing/DrawingDxf.h"
#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <system_error>

namespace kzev {

namespace {

constexpr int kCannotOpen = 61446;
constexpr int kTypeMismatch = 61859;
constexpr int kFirstPointPrompt = 61913;
constexpr int kSecondPointPrompt = 61916;

// A user draws a polyline for as long as the text window would wait for its prompt.
constexpr std::chrono::milliseconds kPollPause { 20 };
constexpr std::chrono::minutes kDrawingLimit { 5 };
// Where the text-window pick puts the last point before each pick, far off any drawing.
constexpr double kUnpickedMark = -987654321.0;
// The vertex loop takes at most this many vertices (indexes 0 to 1000).
constexpr std::int32_t kLastVertexIndex = 1000;

void reportComError(const CadComError&)
{
    (void)services().messageBox->show(loadString(kTypeMismatch), MessageIcon::Error, MessageButtons::Ok);
}

void reportServerError(const CadServerError& error)
{
    (void)services().messageBox->show(error.what(), MessageIcon::Warning, MessageButtons::Ok);
}

CadPickedPoint pointOf(const CadVariant& value, bool& ok)
{
    double p[3] {};
    ok = VariantToPoint3d(p, value) == kCadOk;
    return { p[0], p[1], p[2] };
}

} // namespace

void preparePicker(CadPicker& picker, const CKzevDoc& doc)
{
    picker.m_nMode = doc.m_cadKind;
    picker.m_bAcadCloneMode = doc.m_acadClone;
    picker.m_channel.m_nMode = doc.m_cadKind;
    picker.m_channel.m_hMainWnd = doc.m_cadWnd;
    picker.m_channel.m_nLtVersion = doc.m_cadVersion;
    picker.m_bTextWindowMode = doc.m_cadKind == CadKindAcadLt ? 1 : 0;
    if (picker.m_bTextWindowMode == 1)
        (void)picker.m_channel.FindLtTextWindow();
}

std::optional<std::array<double, 2>> pickUpperLeftCorner(CadPicker& picker)
{
    if (picker.PickPoint() <= 0)
        return std::nullopt;
    return std::array<double, 2> { std::min(picker.m_ptFirst.x, picker.m_ptSecond.x),
        std::max(picker.m_ptFirst.y, picker.m_ptSecond.y) };
}

CadPicker::CadPicker()
    : CadPicker(*cadLink().desktop, *cadLink().automation)
{
}

CadPicker::CadPicker(ICadDesktop& desktop, ICadAutomation& automation)
    : m_channel(desktop)
    , m_desktop(desktop)
    , m_automation(automation)
{
}

std::filesystem::path CadPicker::lineFile() const { return m_desktop.temporaryFolder() / "Line.dxf"; }

int CadPicker::PickPoint()
{
    if (m_nMode == 2)
        return PickPointViaTextWindow();
    if (m_nMode == 3)
        return PickPointViaIcad();
    return pickByAutomation(false);
}

int CadPicker::PickPointViaIcad() { return pickByAutomation(true); }

int CadPicker::pickByAutomation(bool icad)
{
    CadConnection connection(m_automation,
        { icad ? CadObjectModel::IcadType : CadObjectModel::AcadType, icad, true });
    if (!connection.connected())
        return connection.status() < 0 ? -1 : 0;
    ICadDocument& document = *connection.document();
    int result = 0;
    try {
        m_strDocName = document.name();
        m_desktop.setForeground(m_channel.m_hMainWnd);
        CadVariant first;
        try {
            first = document.getPoint(CadVariant::omitted(), loadString(kFirstPointPrompt));
        } catch (const CadServerError&) {
            m_desktop.restoreOwnWindow();
            return 0; // cancelled at the first prompt
        }
        bool firstOk = false;
        const CadPickedPoint a = pointOf(first, firstOk);
        CadVariant second;
        try {
            second = document.getPoint(first, loadString(kSecondPointPrompt));
        } catch (const CadServerError&) {
            m_desktop.restoreOwnWindow();
            return 0; // cancelled at the second prompt: the first point is not kept either
        }
        bool secondOk = false;
        const CadPickedPoint b = pointOf(second, secondOk);
        if (firstOk && secondOk) {
            m_ptFirst = a;
            m_ptSecond = b;
            result = 2;
        }
    } catch (const CadServerError& error) {
        reportServerError(error);
        result = -1;
    } catch (const CadComError& error) {
        reportComError(error);
        result = -1;
    }
    m_desktop.restoreOwnWindow();
    return result;
}

int CadPicker::PickPointViaTextWindow()
{
    m_desktop.setForeground(m_channel.m_hMainWnd);
    const std::string mark = formatC("_ID %1.0lf,%1.0lf\n", kUnpickedMark, kUnpickedMark);
    CadPickedPoint picked[2];
    for (CadPickedPoint& point : picked) {
        // The last point is set to the mark first: an Esc at the pick leaves it there.
        if (!m_channel.SendToTextWindow(mark) || m_channel.ReadCommandLine(m_channel.m_strPrompt) != 0)
            break;
        if (!m_channel.SendToTextWindow("_ID\n") || m_channel.ReadCommandLine(m_channel.m_strPrompt) != 0)
            break;
        if (!m_channel.SendToTextWindow("_line @0,0 @10,0 \n") || m_channel.ReadCommandLine(m_channel.m_strPrompt) != 0)
            break;
        if (ReadLineDxf() != 1)
            break;
        (void)m_channel.SendToTextWindow("_ERASE _l\n\n");
        if (std::abs(m_dLineStartX - kUnpickedMark) < 0.5 && std::abs(m_dLineStartY - kUnpickedMark) < 0.5)
            break;
        point = { m_dLineStartX, m_dLineStartY, 0.0 };
        if (&point == &picked[1]) {
            m_ptFirst = picked[0];
            m_ptSecond = picked[1];
            m_desktop.restoreOwnWindow();
            return 1;
        }
    }
    m_desktop.restoreOwnWindow();
    return 0;
}

int CadPicker::ReadLineDxf()
{
    const std::filesystem::path path = lineFile();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    (void)m_channel.SendToTextWindow("_filedia 0\n");
    (void)m_channel.SendToTextWindow("_dxfout " + path.string() + "\n_o _l   ");
    (void)m_channel.SendToTextWindow("_filedia 1\n");
    // The file is complete only once the CAD program is back at its prompt.
    if (m_channel.ReadCommandLine(m_channel.m_strPrompt) != 0)
        return 0;
    std::string error;
    const std::optional<CadDrawing> drawing = readDrawingDxf(path, error);
    if (!drawing) {
        (void)services().messageBox->show(
            formatC(loadString(kCannotOpen).c_str(), path.string().c_str()), MessageIcon::Warning, MessageButtons::Ok);
        return 0;
    }
    const DrawingEntity* line = nullptr;
    for (const DrawingEntity& entity : drawing->entities()) {
        if (entity.kind == DrawingEntityKind::Line && entity.points.size() >= 2)
            line = &entity;
    }
    if (!line)
        return 0;
    m_dLineStartX = line->points[0].x;
    m_dLineStartY = line->points[0].y;
    m_dLineEndX = line->points[1].x;
    m_dLineEndY = line->points[1].y;
    return 1;
}

int CadPicker::PickPolylineViaDxf() { return pickPolyline(true); }

int CadPicker::PickPolylineViaDxfAlt() { return pickPolyline(false); }

CadObjectId CadPicker::lastObject(ICadDocument& document, int cloneMode)
{
    const CadObjectId set = cloneMode == 1 ? document.addSelectionSetClone("ss0") : document.addSelectionSet("ss0");
    CadObjectId last = 0;
    try {
        document.select(set, kCadSelectLast, CadVariant::empty(), CadVariant::empty(), CadVariant::omitted(),
            CadVariant::omitted());
        if (document.selectionCount(set) > 0)
            last = document.selectionItem(set, 0);
    } catch (const CadServerError&) {
        last = 0; // an empty drawing has no last object
    }
    document.clearSelectionSet(set);
    document.deleteSelectionSet(set);
    return last;
}

bool CadPicker::waitWhileCommandActive(ICadDocument& document)
{
    const auto deadline = m_desktop.now() + kDrawingLimit;
    while (document.systemVariable("CMDACTIVE") != 0) {
        if (!m_desktop.pause(kPollPause) || m_desktop.now() >= deadline)
            return false;
    }
    return true;
}

int CadPicker::pickPolyline(bool icad)
{
    m_polylineDrawn = false;
    const std::filesystem::path path = lineFile();
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
    CadConnection connection(m_automation,
        { icad ? CadObjectModel::IcadType : CadObjectModel::AcadType, icad, true });
    if (!connection.connected())
        return connection.status() < 0 ? -1 : 0;
    ICadDocument& document = *connection.document();
    ICadApplication& application = *connection.application();
    try {
        m_strDocName = document.name();
        m_desktop.setForeground(m_channel.m_hMainWnd);
        if (!icad)
            m_lastBefore = lastObject(document, m_bAcadCloneMode);
        const auto send = [&](const std::string& line) {
            if (icad)
                application.sendCommand(line);
            else
                document.sendCommand(line);
        };
        send("_plinetype 1\n");
        send("_pline\n");
        if (!waitWhileCommandActive(document)) {
            m_desktop.restoreOwnWindow();
            return -2;
        }
        send(icad ? "_filedia 0\n" : "_filedia\r0\n");
        send((icad ? "_dxfout " : "._dxfout ") + path.string() + "\n_o _l   ");
        send(icad ? "_filedia 1\n" : "_filedia\r1\n");
        if (icad)
            send("_erase\n_l\n\n");
        if (!waitWhileCommandActive(document)) {
            m_desktop.restoreOwnWindow();
            return -2;
        }
    } catch (const CadServerError& error) {
        reportServerError(error);
        m_desktop.restoreOwnWindow();
        return -1;
    } catch (const CadComError& error) {
        reportComError(error);
        m_desktop.restoreOwnWindow();
        return -1;
    }
    m_polylineDrawn = true;
    m_desktop.restoreOwnWindow();
    return std::filesystem::exists(path, ignored) ? 0 : -2;
}

int CadPicker::PickSelectionSet()
{
    CadConnection connection(m_automation, { CadObjectModel::AcadType, false, true });
    if (!connection.connected())
        return connection.status() < 0 ? -1 : 0;
    ICadDocument& document = *connection.document();
    std::vector<std::string> xs;
    std::vector<std::string> ys;
    try {
        m_strDocName = document.name();
        m_desktop.setForeground(m_channel.m_hMainWnd);
        const CadObjectId set
            = m_bAcadCloneMode == 1 ? document.addSelectionSetClone("ss1") : document.addSelectionSet("ss1");
        document.select(set, kCadSelectLast, CadVariant::empty(), CadVariant::empty(), CadVariant::omitted(),
            CadVariant::omitted());
        // An empty drawing has no last object; a cancelled drawing leaves the one that was last before it.
        const CadObjectId polyline = document.selectionCount(set) > 0 ? document.selectionItem(set, 0) : 0;
        if (polyline != 0 && (polyline != m_lastBefore || !m_polylineDrawn)) {
            for (std::int32_t index = 0; index <= kLastVertexIndex; ++index) {
                CadVariant vertex;
                try {
                    vertex = document.vertex(polyline, index);
                } catch (const CadServerError&) {
                    break;
                }
                double p[2] {};
                if (VariantToPoint2d(p, vertex) != kCadOk)
                    break;
                xs.push_back(formatC("%1.2lf", p[0]));
                ys.push_back(formatC("%1.2lf", p[1]));
            }
        }
        document.clearSelectionSet(set);
        document.deleteSelectionSet(set);
    } catch (const CadServerError& error) {
        reportServerError(error);
        m_desktop.restoreOwnWindow();
        return -1;
    } catch (const CadComError& error) {
        reportComError(error);
        m_desktop.restoreOwnWindow();
        return -1;
    }
    m_desktop.restoreOwnWindow();
    if (xs.size() < 2)
        return -2;
    m_saVertexX = std::move(xs);
    m_saVertexY = std::move(ys);
    return 0;
}

} // namespace kzev
