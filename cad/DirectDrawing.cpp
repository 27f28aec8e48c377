#include "cad/DirectDrawing.h"

#include "cad/CadAnnotations.h"
#include "cad/CadConnection.h"
#include "cad/CadTextChannel.h"
#include "cad/IsolineExport.h"
#include "cad/LuminaireInserts.h"
#include "model/CKzevDoc.h"
#include "platform/CadLink.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <cmath>
#include <numbers>

namespace kzev {

namespace {

constexpr int kLuminaireLayer = 61863; // "ZEV_LUMINAIRES"
constexpr int kIsolineLayer = 61864;   // "ZEV_IZO"
constexpr int kDrawingStopped = 64920;
constexpr int kNoAttributes = 64921;
constexpr std::int32_t kUgr = 89;
constexpr std::int32_t kGr = 161;
constexpr std::int32_t kFloorLike = 112;

bool drawsLuminaires(int mode)
{
    return mode == 0 || mode == 1;
}

bool glareArea(const CWorkSystem& area)
{
    return area.m_quantityCode == kUgr || area.m_quantityCode == kGr;
}

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

CadVariant point(const CVector& p)
{
    CadVariant out;
    CreatePointSafeArray(out, p.x, p.y, p.z);
    return out;
}

void reportStop(const std::exception& error)
{
    services().messageBox->show(formatC(loadString(kDrawingStopped).c_str(), error.what()), MessageIcon::Warning,
        MessageButtons::Ok);
}

// Isolines as LINE and TEXT entities of the drawing, each label turned with its segment about its insertion point.
class DrawingIsolines final : public IIsolineWriter {
public:
    DrawingIsolines(ICadDocument& drawing, double z, bool labels)
        : m_drawing(drawing)
        , m_z(z)
        , m_labels(labels)
    {
    }
    void segment(double x1, double y1, double x2, double y2) override
    {
        m_drawing.addLine(point({ x1, y1, m_z }), point({ x2, y2, m_z }));
    }
    void label(double x, double y, double height, double angle, const std::string& text) override
    {
        if (!m_labels)
            return;
        const CadVariant at = point({ x, y, m_z });
        const CadObjectId id = m_drawing.addText(text, at, height);
        m_drawing.rotate(id, at, radians(angle));
    }

private:
    ICadDocument& m_drawing;
    double m_z;
    bool m_labels;
};

// Isolines typed as LINE and TEXT commands; a label is turned about its own insertion point.
class TypedIsolines final : public IIsolineWriter {
public:
    TypedIsolines(CadTextChannel& channel, double z, bool millimetres, bool labels)
        : m_channel(channel)
        , m_z(z)
        , m_millimetres(millimetres)
        , m_labels(labels)
    {
    }
    void segment(double x1, double y1, double x2, double y2) override
    {
        m_channel.SendToTextWindow("_line " + coordinates(x1, y1) + " " + coordinates(x2, y2) + "\n\n");
    }
    void label(double x, double y, double height, double angle, const std::string& text) override
    {
        if (!m_labels)
            return;
        const std::string size = m_millimetres ? formatC("%1.0lf", height) : formatC("%1.3lf", height);
        m_channel.SendToTextWindow("_-text " + coordinates(x, y) + " " + size + " 0 " + text + "\n");
        m_channel.SendToTextWindow(formatC("_rotate _l  @0,0 %1.1lf\n", angle));
    }

private:
    [[nodiscard]] std::string coordinates(double x, double y) const
    {
        return m_millimetres ? formatC("%1.0lf,%1.0lf,%1.0lf", x, y, m_z) : formatC("%1.4lf,%1.4lf,%1.4lf", x, y, m_z);
    }

    CadTextChannel& m_channel;
    double m_z;
    bool m_millimetres;
    bool m_labels;
};

} // namespace

void selectCadLayer(ICadDocument& drawing, const std::string& name)
{
    for (std::int32_t i = 0; i < drawing.layerCount(); ++i) {
        if (drawing.layerName(i) == name) {
            drawing.setCurrentLayer(i);
            return;
        }
    }
    drawing.setCurrentLayer(drawing.addLayer(name));
}

DirectDrawing::DirectDrawing(DirectDrawingScene scene)
    : m_scene(std::move(scene))
{
}

const CRoom& DirectDrawing::room() const
{
    return m_scene.document.m_rooms.at(m_scene.roomIndex);
}

bool DirectDrawing::millimetres() const
{
    return m_scene.document.m_unitMm == 1;
}

void DirectDrawing::forEachResultArea(const std::function<void(const CWorkSystem&)>& draw)
{
    if (room().m_resultsValid == 0)
        return;
    const std::vector<CWorkSystem> areas = room().m_workSystems;
    for (std::size_t k = 0; k < areas.size(); ++k) {
        const CWorkSystem& area = areas[k];
        if (area.m_excluded == 1 || area.m_resultsStale == 1 || area.m_points.empty() || !area.HasUsableGrid() || area.m_viewCode != kFloorLike
            || (m_scene.areaShown && !m_scene.areaShown(k, area)))
            continue;
        draw(area);
    }
}

// ---- AutoCAD-type automation ---------------------------------------------------

int DirectDrawing::DrawInAcadCom(int mode)
{
    CadConnection connection(CadConnectOptions { CadObjectModel::AcadType, false, true });
    if (!connection.connected())
        return 0;
    ICadDocument& drawing = *connection.document();
    try {
        m_scene.document.m_dwgFile = drawing.name();
        cadLink().desktop->setForeground(static_cast<CadWindowHandle>(m_scene.document.m_cadWnd));
        selectCadLayer(drawing, loadString(kLuminaireLayer));
        if (m_scene.settings.m_luminaires == 1 && drawsLuminaires(mode))
            drawLuminairesAcadCom(drawing);
        if (mode == 0 || mode == 2)
            drawResultsAcadCom(drawing);
        drawing.sendCommand("_redraw\n");
    } catch (const CadServerError& error) {
        reportStop(error);
    } catch (const CadComError& error) {
        reportStop(error);
    }
    return 1;
}

void DirectDrawing::drawLuminairesAcadCom(ICadDocument& drawing)
{
    CKzevDoc& doc = m_scene.document;
    const bool generic = doc.m_cadBlockMode == 1;
    for (const LuminaireInsert& insert : luminaireInserts(doc, room(), InsertOptions { generic, false })) {
        if (doc.m_acadClone == 1) {
            // The clones take the block and its attributes as typed commands; the key goes to the block just made.
            drawing.sendCommand(insertCommand(insert));
            drawing.sendCommand(formatC("_attedit _y \nPOPIS\n\n_l  _v _r %s\n\n", insert.key.c_str()));
            continue;
        }
        const double rotation = insert.tilted ? insert.spin : insert.rotation;
        const CadObjectId block = drawing.insertBlock(point(insert.point), insert.block, insert.scaleX, insert.scaleY,
            insert.scaleZ, radians(rotation));
        setAttributes(drawing, block, insert, true);
        if (insert.tilted)
            rotateTilted(drawing, block, insert);
    }
}

void DirectDrawing::setAttributes(ICadDocument& drawing, CadObjectId block, const LuminaireInsert& insert,
    bool sized) const
{
    const std::vector<CadObjectId> attributes = drawing.attributes(block);
    if (attributes.empty()) {
        services().log->addLine(formatC(loadString(kNoAttributes).c_str(), insert.block.c_str()));
        return;
    }
    drawing.setAttributeText(attributes[0], insert.data);
    if (sized)
        drawing.setAttributeScaleFactor(attributes[0], 1.0);
    drawing.update(attributes[0]);
    if (attributes.size() < 2 || (!sized && insert.key.empty()))
        return;
    drawing.setAttributeText(attributes[1], insert.key);
    if (sized) {
        drawing.setAttributeScaleFactor(attributes[1], 1.0);
        drawing.setAttributeHeight(attributes[1], 2.0 * m_scene.document.m_dxfScale * (millimetres() ? 1.0 : 0.001));
    }
    drawing.update(attributes[1]);
}

void DirectDrawing::rotateTilted(ICadDocument& drawing, CadObjectId block, const LuminaireInsert& insert) const
{
    // Tilted about the axis towards -y, then turned about the vertical: the block's axis ends where the model aims.
    const double unit = millimetres() ? 1000.0 : 1.0;
    const CadVariant from = point(insert.point);
    drawing.rotate3d(block, from, point(insert.point + CVector { 0.0, -unit, 0.0 }), radians(insert.tilt));
    drawing.rotate3d(block, from, point(insert.point + CVector { 0.0, 0.0, unit }), radians(insert.turn));
}

void DirectDrawing::drawResultsAcadCom(ICadDocument& drawing)
{
    const std::string isolineLayer = loadString(kIsolineLayer);
    selectCadLayer(drawing, isolineLayer);
    drawResults(CadCommandForms::Acad, formatC("_-layer _s %s\n\n", isolineLayer.c_str()),
        [&](const std::string& line) { drawing.sendCommand(line); },
        [&](const CWorkSystem& area) { drawIsolines(drawing, area); });
}

void DirectDrawing::drawResults(CadCommandForms forms, const std::string& isolineLayer,
    const std::function<void(const std::string&)>& send, const std::function<void(const CWorkSystem&)>& isolines)
{
    const AnnotationPlacement placement { room().m_origin, millimetres(), m_scene.document.m_dxfScale, forms };
    forEachResultArea([&](const CWorkSystem& area) {
        const CViewSettings& shown = area.m_viewSettings;
        if (shown.m_pointLabels == 1) {
            for (const std::string& line : valueLabelCommands(area, placement))
                send(line);
        }
        // A glare area shows its marks in place of its isolines.
        const bool marks = shown.m_glareMarks == 1 && glareArea(area);
        if (marks) {
            for (const std::string& line : glareMarkCommands(area, placement))
                send(line);
            send(colourCommand("bylayer", forms));
        }
        if (shown.m_isolines == 1 && !marks) {
            send(isolineLayer);
            send("_-color _bylayer\n");
            isolines(area);
        }
    });
}

void DirectDrawing::drawIsolines(ICadDocument& drawing, const CWorkSystem& area)
{
    m_grid.load(area);
    const double unit = millimetres() ? 1000.0 : 1.0;
    const double scale = static_cast<double>(m_scene.document.m_dxfScale);
    DrawingIsolines writer(drawing, room().m_origin.z * unit, scale > 0.0);
    writeIsolines(area, m_grid, IsolinePlacement { unit, room().m_origin, millimetres() ? scale : scale * 0.001 },
        writer);
}

// ---- IntelliCAD-type automation ------------------------------------------------

int DirectDrawing::DrawInIntelliCad(int mode)
{
    CadConnection connection(CadConnectOptions { CadObjectModel::IcadType, true, true });
    if (!connection.connected())
        return 0;
    ICadApplication& application = *connection.application();
    ICadDocument& drawing = *connection.document();
    try {
        m_scene.document.m_dwgFile = drawing.name();
        cadLink().desktop->setForeground(static_cast<CadWindowHandle>(m_scene.document.m_cadWnd));
        const std::string luminaireLayer = loadString(kLuminaireLayer);
        std::int32_t layer = -1;
        try {
            layer = drawing.addLayer(luminaireLayer);
        } catch (const CadServerError&) {
        } catch (const CadComError&) {
        }
        if (layer >= 0)
            drawing.setCurrentLayer(layer);
        else
            selectCadLayer(drawing, luminaireLayer);
        if (m_scene.settings.m_luminaires == 1 && drawsLuminaires(mode))
            drawLuminairesIntelliCad(drawing);
        if (mode == 2) {
            const std::string isolineLayer = loadString(kIsolineLayer);
            application.sendCommand(layerCommand(isolineLayer, CadCommandForms::Acad));
            drawResults(CadCommandForms::Icad, layerCommand(isolineLayer, CadCommandForms::Acad),
                [&](const std::string& line) { application.sendCommand(line); },
                [&](const CWorkSystem& area) { drawIsolines(drawing, area); });
        }
        application.sendCommand("_regen\n");
    } catch (const CadServerError& error) {
        reportStop(error);
    } catch (const CadComError& error) {
        reportStop(error);
    }
    return 1;
}

void DirectDrawing::drawLuminairesIntelliCad(ICadDocument& drawing)
{
    for (const LuminaireInsert& insert : luminaireInserts(m_scene.document, room(), InsertOptions { false, true })) {
        const double rotation = insert.tilted ? insert.spin : insert.rotation;
        const CadObjectId block = drawing.insertBlock(point(insert.point), insert.block, insert.scaleX, insert.scaleY,
            insert.scaleZ, radians(rotation));
        setAttributes(drawing, block, insert, false);
        if (insert.tilted)
            rotateTilted(drawing, block, insert);
    }
}

// ---- AutoCAD LT text window ------------------------------------------------------

std::string DirectDrawing::insertCommand(const LuminaireInsert& insert) const
{
    // Millimetres are typed whole; metres keep their decimals.
    const char* number = millimetres() ? "%1.0lf" : "%1.4lf";
    const auto n = [&](double value) { return formatC(number, value); };
    const CVector& p = insert.point;
    if (m_scene.document.m_cadBlockMode == 1)
        return "_-insert " + insert.block + "\n" + n(p.x) + "," + n(p.y) + "," + n(p.z) + " " + n(insert.scaleX) + " "
            + n(insert.scaleY) + " " + formatC("%1.0lf", insert.rotation) + " " + insert.data + "\n";
    return "_-insert " + insert.block + "\n_s " + n(insert.scaleX) + " " + n(p.x) + "," + n(p.y) + "," + n(p.z) + " "
        + formatC("%1.0lf", insert.rotation) + " " + insert.data + "\n";
}

int DirectDrawing::DrawInAcadLt(int mode)
{
    CKzevDoc& doc = m_scene.document;
    CadTextChannel channel;
    channel.m_nLtVersion = doc.m_cadVersion;
    channel.m_hMainWnd = static_cast<CadWindowHandle>(doc.m_cadWnd);
    channel.m_nMode = doc.m_cadKind;
    if (!channel.FindLtTextWindow())
        return 0;
    cadLink().desktop->setForeground(channel.m_hMainWnd);
    if (m_scene.settings.m_luminaires == 1 && drawsLuminaires(mode)) {
        channel.SendToTextWindow(layerCommand(loadString(kLuminaireLayer), CadCommandForms::Acad));
        for (const LuminaireInsert& insert : luminaireInserts(doc, room(), InsertOptions { doc.m_cadBlockMode == 1 })) {
            channel.ReadCommandLine(channel.m_strPrompt);
            channel.SendToTextWindow(insertCommand(insert));
            if (insert.key.empty())
                continue;
            // The key goes to the block just inserted, never to a neighbour near it.
            channel.ReadCommandLine(channel.m_strPrompt);
            channel.SendToTextWindow(formatC("_-attedit _y \nPOPIS\n\n_l  _v _r %s\n\n", insert.key.c_str()));
        }
    }
    if (mode == 2) {
        const std::string isolineLayer = loadString(kIsolineLayer);
        channel.SendToTextWindow(formatC("_-layer _n %s\n\n", isolineLayer.c_str()));
        channel.SendToTextWindow(formatC("_-layer _s %s\n\n", isolineLayer.c_str()));
        drawResults(CadCommandForms::Acad, formatC("_-layer _s %s\n\n", isolineLayer.c_str()),
            [&](const std::string& line) { channel.SendToTextWindow(line); },
            [&](const CWorkSystem& area) { typeIsolines(channel, area); });
    }
    cadLink().desktop->restoreOwnWindow();
    return 0;
}

void DirectDrawing::typeIsolines(CadTextChannel& channel, const CWorkSystem& area)
{
    m_grid.load(area);
    const double unit = millimetres() ? 1000.0 : 1.0;
    const double scale = static_cast<double>(m_scene.document.m_dxfScale);
    TypedIsolines writer(channel, room().m_origin.z * unit, millimetres(), scale > 0.0);
    writeIsolines(area, m_grid, IsolinePlacement { unit, room().m_origin, millimetres() ? scale : scale * 0.001 },
        writer);
}

} // namespace kzev
