#pragma once

#include "calc/IsolineGrid.h"

#include <cstddef>
#include <functional>
#include <string>

class CKzevDoc;
class CLampSystem;
class CLuminaire;
class COneLampSystem;
class CRoom;
class CViewSettings;
class CWorkSystem;

namespace kzev {

struct IsolinePlacement;

/** What the file exports take of the main view: the room it shows and how it shows it. */
struct CadExportScene {
    CKzevDoc& document;
    std::size_t roomIndex;
    /** The view settings in force: their "Svítidla" and "Izolinie" switches decide what is written. */
    const CViewSettings& settings;
    /** Whether the view draws isolines of area k of the room. */
    std::function<bool(std::size_t, const CWorkSystem&)> isolinesShown;
};

/**
 * The room shown in the main view as a DXF file or as a CAD script, returned
 * as the file's text. Luminaires come first (outline figures in the DXF,
 * block insertions in the script), then the isolines of the areas the view
 * shows, each group in array order. Switched-off lamp systems and positions
 * are left out; areas on the walls are left out of the plan drawing. Every
 * coordinate is the room's point plus the room's origin, times 1000 in a
 * project in millimetres; numbers are written in the C locale.
 */
class CadFileExport {
public:
    explicit CadFileExport(CadExportScene scene);

    /** Returns the DXF file: one ENTITIES section of LINE and TEXT entities. */
    [[nodiscard]] std::string dxf();
    /** Returns the script: layer, insert, line and text commands, one per line. */
    [[nodiscard]] std::string script();

    /** Appends the outline figure of one luminaire position on layer "ZEV_LUMINAIRES". */
    void ExportDxfLuminaire(const COneLampSystem& position, const CLuminaire& luminaire, std::string& out) const;
    /** Appends the isolines of one area with their labels on layer "ZEV_IZO". */
    void ExportDxfIsolines(const CWorkSystem& area, std::string& out);
    /** Appends the isolines of one area as script lines. */
    void ExportScriptIsolines(const CWorkSystem& area, std::string& out);

private:
    [[nodiscard]] const CRoom& room() const;
    [[nodiscard]] bool millimetres() const;
    [[nodiscard]] IsolinePlacement placement() const;
    /** Returns the lamp system's luminaire, loading it when needed; logs and returns null when it cannot. */
    [[nodiscard]] const CLuminaire* luminaireOf(const CLampSystem& system);
    /** Calls the function for every area whose isolines go into the drawing, its grid loaded. */
    void forEachIsolineArea(const std::function<void(const CWorkSystem&)>& write);

    CadExportScene m_scene;
    IsolineGrid m_grid;
};

/** Returns the block name as a script answer: quoted when it holds a blank. */
[[nodiscard]] std::string scriptName(const std::string& name);

} // namespace kzev
