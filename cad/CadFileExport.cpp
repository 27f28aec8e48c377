#include "cad/CadFileExport.h"

#include "cad/DxfWriter.h"
#include "cad/IsolineExport.h"
#include "cad/LuminaireInserts.h"
#include "cad/LuminaireOutline.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kLuminaireLayer = 61863;   // "ZEV_LUMINAIRES"
constexpr int kIsolineLayer = 61864;     // "ZEV_IZO"
constexpr int kNoBlockName = 61861;      // "Není definováno v databázi jméno bloku svítidla %s !"
constexpr int kLuminaireNotLoaded = 64780;
constexpr int kLuminaireColour = 4;
constexpr int kIsolineColour = 3;

bool onWall(const CWorkSystem& area)
{
    return area.m_viewCode >= 114 && area.m_viewCode <= 117;
}

class DxfIsolines final : public IIsolineWriter {
public:
    DxfIsolines(std::string& out, std::string layer)
        : m_out(out)
        , m_layer(std::move(layer))
    {
    }
    void segment(double x1, double y1, double x2, double y2) override
    {
        DxfWriteLine2D(m_out, x1, y1, x2, y2, kIsolineColour, m_layer);
    }
    void label(double x, double y, double height, double angle, const std::string& text) override
    {
        DxfWriteText(m_out, kDxfCentre, x, y, height, angle, text, m_layer);
    }

private:
    std::string& m_out;
    std::string m_layer;
};

class ScriptIsolines final : public IIsolineWriter {
public:
    ScriptIsolines(std::string& out, bool millimetres)
        : m_out(out)
        , m_millimetres(millimetres)
    {
    }
    void segment(double x1, double y1, double x2, double y2) override
    {
        m_out += formatC("_line %1.3lf,%1.3lf %1.3lf,%1.3lf \n", x1, y1, x2, y2);
    }
    void label(double x, double y, double height, double angle, const std::string& text) override
    {
        // Whole millimetres place a label well enough; metres keep their decimals.
        if (m_millimetres)
            m_out += formatC("_-text _c %1.0lf,%1.0lf %1.1lf %1.0lf %s\n", x, y, height, angle, text.c_str());
        else
            m_out += formatC("_-text _c %1.3lf,%1.3lf %1.3lf %1.0lf %s\n", x, y, height, angle, text.c_str());
    }

private:
    std::string& m_out;
    bool m_millimetres;
};

} // namespace

CadFileExport::CadFileExport(CadExportScene scene)
    : m_scene(std::move(scene))
{
}

const CRoom& CadFileExport::room() const
{
    return m_scene.document.m_rooms.at(m_scene.roomIndex);
}

bool CadFileExport::millimetres() const
{
    return m_scene.document.m_unitMm == 1;
}

IsolinePlacement CadFileExport::placement() const
{
    // Labels are DxfScale drawing units in millimetres; a metre project gets them in metres.
    const double scale = static_cast<double>(m_scene.document.m_dxfScale);
    return IsolinePlacement { millimetres() ? 1000.0 : 1.0, room().m_origin, millimetres() ? scale : scale * 0.001 };
}

const CLuminaire* CadFileExport::luminaireOf(const CLampSystem& system)
{
    CKzevDoc& doc = m_scene.document;
    CLampSystem copy = system;
    const auto loaded = [&] {
        return copy.m_luminaireIndex >= 0 && static_cast<std::size_t>(copy.m_luminaireIndex) < doc.m_luminaires.size();
    };
    if (!loaded() && doc.ResolveLuminaire(copy, 0) != 1)
        copy.m_luminaireIndex = -1;
    if (!loaded()) {
        services().log->addLine(formatC(loadString(kLuminaireNotLoaded).c_str(), system.m_name.c_str()));
        return nullptr;
    }
    return &doc.m_luminaires[static_cast<std::size_t>(copy.m_luminaireIndex)];
}

void CadFileExport::forEachIsolineArea(const std::function<void(const CWorkSystem&)>& write)
{
    const std::vector<CWorkSystem>& areas = room().m_workSystems;
    for (std::size_t k = 0; k < areas.size(); ++k) {
        const CWorkSystem& area = areas[k];
        if (area.m_excluded == 1 || onWall(area) || (m_scene.isolinesShown && !m_scene.isolinesShown(k, area)))
            continue;
        m_grid.load(area);
        write(area);
    }
}

std::string CadFileExport::dxf()
{
    std::string out;
    DxfWriteEntitiesHeader(out);
    if (m_scene.settings.m_luminaires == 1) {
        // A copy: loading a luminaire may add to the room's document, never to this list.
        const std::vector<CLampSystem> systems = room().m_lampSystems;
        for (const CLampSystem& system : systems) {
            if (system.m_switchedOff == 1)
                continue;
            const CLuminaire* luminaire = luminaireOf(system);
            if (!luminaire)
                continue;
            for (const COneLampSystem& position : system.m_luminaires) {
                if (position.m_switchedOff != 1)
                    ExportDxfLuminaire(position, *luminaire, out);
            }
        }
    }
    if (m_scene.settings.m_isolines == 1)
        forEachIsolineArea([&](const CWorkSystem& area) { ExportDxfIsolines(area, out); });
    DxfWriteTrailer(out);
    return out;
}

void CadFileExport::ExportDxfLuminaire(const COneLampSystem& position, const CLuminaire& luminaire,
    std::string& out) const
{
    const std::string layer = loadString(kLuminaireLayer);
    const CVector origin = room().m_origin;
    COneLampSystem placed = position;
    placed.m_position = position.m_position + origin;
    const double unit = millimetres() ? 1000.0 : 1.0;
    for (const Edge3D& edge : luminaireOutline(placed, luminaire, unit, m_scene.document.m_cylIncrement))
        DxfWriteLine3D(out, edge.from.x, edge.from.y, edge.from.z, edge.to.x, edge.to.y, edge.to.z, kLuminaireColour,
            layer);
}

void CadFileExport::ExportDxfIsolines(const CWorkSystem& area, std::string& out)
{
    DxfIsolines writer(out, loadString(kIsolineLayer));
    writeIsolines(area, m_grid, placement(), writer);
}

std::string CadFileExport::script()
{
    std::string out;
    const double unit = millimetres() ? 1000.0 : 1.0;
    if (m_scene.settings.m_luminaires == 1) {
        const std::string layer = loadString(kLuminaireLayer);
        out += formatC("_layer _n %s _s %s \n", layer.c_str(), layer.c_str());
        const CVector origin = room().m_origin;
        const std::vector<CLampSystem> systems = room().m_lampSystems;
        for (const CLampSystem& system : systems) {
            if (system.m_switchedOff == 1)
                continue;
            const CLuminaire* luminaire = luminaireOf(system);
            if (!luminaire)
                continue;
            if (luminaire->m_block.empty()) {
                services().log->addLine(formatC(loadString(kNoBlockName).c_str(), luminaire->m_name.c_str()));
                continue;
            }
            const std::string block = scriptName(luminaire->m_block);
            for (const COneLampSystem& position : system.m_luminaires) {
                if (position.m_switchedOff == 1)
                    continue;
                const CVector at = unit * (position.m_position + origin);
                out += formatC("_-insert %s %1.3lf,%1.3lf,%1.3lf %1.0lf %1.0lf %1.0lf \n", block.c_str(), at.x, at.y,
                    at.z, 100.0, 100.0, planRotation(position));
            }
        }
    }
    if (m_scene.settings.m_isolines == 1) {
        const std::string layer = loadString(kIsolineLayer);
        out += formatC("_layer _n %s _s %s \n", layer.c_str(), layer.c_str());
        forEachIsolineArea([&](const CWorkSystem& area) { ExportScriptIsolines(area, out); });
    }
    return out;
}

void CadFileExport::ExportScriptIsolines(const CWorkSystem& area, std::string& out)
{
    ScriptIsolines writer(out, millimetres());
    writeIsolines(area, m_grid, placement(), writer);
}

std::string scriptName(const std::string& name)
{
    if (name.find(' ') == std::string::npos)
        return name;
    return '"' + name + '"';
}

} // namespace kzev
