#pragma once

#include "calc/IsolineGrid.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

class CKzevDoc;
class CRoom;
class CViewSettings;
class CWorkSystem;

namespace kzev {

class ICadDocument;
class CadTextChannel;
enum class CadCommandForms;
struct LuminaireInsert;

/** What direct drawing takes of the main view: the room it shows and how. */
struct DirectDrawingScene {
    CKzevDoc& document;
    std::size_t roomIndex;
    /** The view settings in force: their "Svítidla" switch decides whether luminaires are drawn. */
    const CViewSettings& settings;
    /** Whether the view shows area k of the room in its current mode. */
    std::function<bool(std::size_t, const CWorkSystem&)> areaShown;
};

/**
 * Draws the room shown in the main view straight into the drawing open in
 * the running CAD program: the luminaires as blocks on "ZEV_LUMINAIRES" with
 * the luminaire data string and the legend key as their attributes, and the
 * isolines, point values and glare marks of the shown floor-like areas on
 * "ZEV_IZO" and their own layers. Mode 0 draws both, mode 1 the luminaires
 * only, mode 2 the results only (through the IntelliCAD-type model and the
 * text window mode 0 draws the luminaires only).
 *
 * A project in metres is drawn in metres: sizes given in millimetres of the
 * drawing (DxfScale, block scales) are taken a thousand times smaller there.
 * A CAD program that refuses a call ends the run with a message; what was
 * drawn stays in the drawing.
 */
class DirectDrawing {
public:
    explicit DirectDrawing(DirectDrawingScene scene);

    /** Through the AutoCAD-type automation model; 1 when it ran to the end, 0 when it could not connect. */
    int DrawInAcadCom(int mode);
    /** Through the IntelliCAD-type automation model; 1 when it ran to the end. */
    int DrawInIntelliCad(int mode);
    /** By typing into the AutoCAD LT text window; returns 0. */
    int DrawInAcadLt(int mode);

private:
    [[nodiscard]] const CRoom& room() const;
    [[nodiscard]] bool millimetres() const;
    /** Returns the command that inserts a block with its data string, for the typing channels. */
    [[nodiscard]] std::string insertCommand(const LuminaireInsert& insert) const;
    /** Calls the function for every area whose results go into the drawing, its grid loaded. */
    void forEachResultArea(const std::function<void(const CWorkSystem&)>& draw);

    void drawLuminairesAcadCom(ICadDocument& drawing);
    void drawResultsAcadCom(ICadDocument& drawing);
    /**
     * Sends the value labels and glare marks of every area whose results go
     * into the drawing, and draws the isolines of the others after the layer
     * command that makes their layer current.
     */
    void drawResults(CadCommandForms forms, const std::string& isolineLayer,
        const std::function<void(const std::string&)>& send, const std::function<void(const CWorkSystem&)>& isolines);
    void drawLuminairesIntelliCad(ICadDocument& drawing);
    void setAttributes(ICadDocument& drawing, std::int64_t block, const LuminaireInsert& insert, bool sized) const;
    void rotateTilted(ICadDocument& drawing, std::int64_t block, const LuminaireInsert& insert) const;
    void drawIsolines(ICadDocument& drawing, const CWorkSystem& area);
    void typeIsolines(CadTextChannel& channel, const CWorkSystem& area);

    DirectDrawingScene m_scene;
    IsolineGrid m_grid;
};

/** Makes the named layer current in the drawing, adding it when it is not there. */
void selectCadLayer(ICadDocument& drawing, const std::string& name);

} // namespace kzev
