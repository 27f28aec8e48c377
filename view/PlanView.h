#pragma once

#include "model/CVector.h"
#include "platform/DrawSurface.h"
#include "view/PlanPens.h"
#include "view/PlanZoom.h"
#include "view/ViewProjection.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

class CKzevDoc;
class CLampSystem;
class CLuminaire;
class COneLampSystem;
class CRoom;
class CViewSettings;
class CWorkSystem;
class CXSystem;

namespace kzev {

/** The objects selected in the project tree, by index in the current room; -1 for none. */
struct TreeSelection {
    int lampSystem = -1;
    int area = -1;
    int obstacle = -1;
    bool operator==(const TreeSelection&) const = default;
};

/** Where the plan finds a lamp system's luminaire and its legend name. */
class ILuminaireSource {
public:
    virtual ~ILuminaireSource() = default;
    /** Resolves the system's luminaire and lamp; null when the luminaire cannot be had. */
    virtual const CLuminaire* luminaire(CLampSystem& system) = 0;
    /** Returns the legend name of the system's luminaire and lamp; empty when there is none. */
    virtual std::string typeText(const CLampSystem& system) = 0;
};

class PlanView;

/**
 * The result layers of the plan: false colours and values of the room
 * surfaces, values at the calculation points, isolines and the result
 * summary. The plan calls them in their place of the drawing order; with none
 * installed they draw nothing.
 */
class IResultLayers {
public:
    virtual ~IResultLayers() = default;
    virtual void drawSurfaceFill(PlanView& plan, IDrawSurface& surface, int mode) = 0;
    virtual void drawSurfaceValues(PlanView& plan, IDrawSurface& surface, int mode) = 0;
    virtual void drawPointValues(PlanView& plan, IDrawSurface& surface, int mode) = 0;
    virtual void drawIsolines(PlanView& plan, IDrawSurface& surface, int mode) = 0;
    virtual void drawResultSummary(PlanView& plan, IDrawSurface& surface, int mode) = 0;
};

/**
 * The main view without its window: the state that drawing, picking and
 * printing share (current room, view settings in use, scene extents, plan
 * rectangle, selections, edited objects, output scale) and the 2-D layers in
 * their drawing order. The window forwards its paints here; tests draw on a
 * recording surface.
 *
 * The room is never held across calls by address: it is found again by its
 * index in the document, so a project change cannot leave the plan pointing
 * at a room that moved.
 */
/**
 * How a printed plan is framed: the box of the room it shows and the scale
 * 1:n it is drawn at (0: fitted to the page, no scale to name).
 */
struct PageFraming {
    /** Set when the plan shows the box below instead of the whole scene. */
    bool ownExtent = false;
    std::array<double, 3> minimum {};
    std::array<double, 3> maximum {};
    int scale = 0;
};

/** Returns the smallest round scale n (1, 2, 2.5 or 5 times a power of ten) of at least the given one. */
[[nodiscard]] int roundScaleAtLeast(double scale);

class PlanView {
public:
    PlanView();

    // ---- Wiring ---------------------------------------------------------
    void setDocument(CKzevDoc* document) { m_document = document; }
    [[nodiscard]] CKzevDoc* document() const { return m_document; }
    void setLuminaireSource(ILuminaireSource* source) { m_luminaires = source; }
    [[nodiscard]] ILuminaireSource* luminaireSource() const { return m_luminaires; }
    void setResultLayers(IResultLayers* layers) { m_results = layers; }
    /** Called whenever the plan wants to be painted again. */
    void setInvalidate(std::function<void()> invalidate) { m_invalidate = std::move(invalidate); }

    // ---- Lifecycle --------------------------------------------------------
    /** Re-reads the tree's room, recomputes the extents and asks for a repaint. */
    void RefreshView(int resetProjection, int resetCamera);
    /** Takes the room of the tree's selected item; 0 when there is none or it does not exist. */
    int SelectRoomFromTree();
    /** Sets the objects the tree selected in the current room. */
    void setTreeSelection(const TreeSelection& selection) { m_treeSelection = selection; }
    [[nodiscard]] const TreeSelection& treeSelection() const { return m_treeSelection; }
    [[nodiscard]] const TreeSelection& drawingSelection() const { return m_drawingSelection; }
    /** Asks the next paint to fit the plan to the window. */
    void requestLayout() { m_layoutRequested = true; }
    [[nodiscard]] bool layoutRequested() const { return m_layoutRequested; }
    /**
     * Keeps the scene extents and the plan rectangle as they are (held) or
     * lets the next paint fit them to the scene again; a drag holds them from
     * press to release, so the grabbed point stays under the cursor.
     */
    void holdLayout(bool held);
    [[nodiscard]] bool layoutHeld() const { return m_layoutHeld; }

    // ---- Screen layout: the scroll size the plan fills, its zoom and fit -----
    // The plan is laid out over the total scroll size; the window keeps only
    // the scroll position and asks here for everything else.
    /** Zooms in by 13/10 within the bounds the client size sets (see PlanZoom). */
    void zoomIn(ScrollSize client);
    /** Zooms out by 10/13 within the bounds the client size sets. */
    void zoomOut(ScrollSize client);
    /** Fits the plan to the client. */
    void zoomFit(ScrollSize client);
    /** One wheel notch at the mouse (a client point); returns the scroll position to take, when it moves. */
    [[nodiscard]] std::optional<DevicePoint> zoomByWheel(ScrollSize client, int delta, DevicePoint scroll,
        DevicePoint mouse);
    /**
     * The window's client took a new size: a plan fitted to the size it was
     * last laid out or resized for fits the new one (true: it changed), a
     * zoomed one keeps its size.
     */
    bool clientResized(ScrollSize client);

    [[nodiscard]] bool sceneShown() const { return m_sceneShown; }
    void setSceneShown(bool shown) { m_sceneShown = shown; }

    /**
     * Draws the 2-D plan of the tree's room for a window of the client size:
     * extents, selection, layout and the layers in order. The splash picture
     * is the window's.
     */
    void drawPlan(IDrawSurface& surface, int clientWidth, int clientHeight);

    /**
     * Draws the plan of the room in the mode for a printed page of the paper
     * size (0.1 mm) below the depth already used: layout at the room's print
     * scale, then the layers in their printed order (no summary line). The
     * view settings are those set with setViewSettingsOverride; the tree's
     * selection is left as it was.
     */
    void drawPagePlan(IDrawSurface& surface, int roomIndex, int mode, int area, int paperWidth, int paperHeight,
        int depth, const PageFraming& framing = {});
    /**
     * Returns how the printed plan of the area (-1: the room) is framed in a
     * space of the width and height (0.1 mm) with the view settings in use: at
     * the room's print scale, else fitted to the page. A floor or ceiling plan
     * of an area that takes less than half of the scene along either side (a
     * field of a long road) shows the area's own surroundings instead, at the
     * room's print scale when that fits, else at the largest round scale that does.
     */
    [[nodiscard]] PageFraming pagePlanFraming(int roomIndex, int area, int width, int height) const;
    // ---- Current room and settings ---------------------------------------
    [[nodiscard]] int roomIndex() const { return m_roomIndex; }
    /** Returns the current room, or null. */
    [[nodiscard]] CRoom* room() const;
    /** Returns the view settings in use: the printer's while it prints, else those of the current room. */
    [[nodiscard]] CViewSettings* viewSettings() const;
    /** Lets the print composer or the open view sheet draw with other view settings; null returns to the room's. */
    void setViewSettingsOverride(CViewSettings* settings) { m_settingsOverride = settings; }
    /** Returns the room's mode the layers show: its current mode when it has that mode, else 0. */
    [[nodiscard]] int currentMode() const;
    [[nodiscard]] const std::array<double, 3>& roomSize() const { return m_roomSize; }

    // ---- View directions ----------------------------------------------------
    /** Writes the view code into the view settings in use and refreshes; nothing without a room. */
    void setViewDirection(int viewCode);
    void OnViewFloor() { setViewDirection(ViewCode::Floor); }
    void OnViewCeiling() { setViewDirection(ViewCode::Ceiling); }
    void OnViewWall1() { setViewDirection(ViewCode::Wall1); }
    void OnViewWall2() { setViewDirection(ViewCode::Wall2); }
    void OnViewWall3() { setViewDirection(ViewCode::Wall3); }
    void OnViewWall4() { setViewDirection(ViewCode::Wall4); }

    // ---- Projection -----------------------------------------------------------
    void ComputeSceneExtents();
    /** Computes the plan rectangle for the room and rectangle given (screen: print 0, offsets 0). */
    void ComputePlanLayout(IDrawSurface& surface, int roomIndex, int left, int top, int right, int bottom,
        int print, int topOffset, int gap);
    void ProjectPoint(double x, double y, double z, int& px, int& py) const;
    void WorldMoveTo(IDrawSurface& surface, double x, double y, double z) const;
    void WorldLineTo(IDrawSurface& surface, double x, double y, double z) const;
    [[nodiscard]] int ScaleSize(int n) const { return scaleSize(n, m_outputScale); }
    [[nodiscard]] double DistanceInViewPlane(double x1, double x2, double y1, double y2, double z1, double z2) const
    {
        return m_projection.distanceInViewPlane(x1, x2, y1, y2, z1, z2);
    }
    [[nodiscard]] int TestInViewPlaneRange(double x, double xBound1, double xBound2, double y, double yBound1,
        double yBound2, double z, double zBound1, double zBound2) const
    {
        return m_projection.testInViewPlaneRange(x, xBound1, xBound2, y, yBound1, yBound2, z, zBound1, zBound2);
    }
    /** Distance of a room point from the viewer along the current view direction. */
    [[nodiscard]] double DepthInView(const CVector& point) const;
    /**
     * The room point under a plan position (client point plus scroll position)
     * at the depth given: the inverse of ProjectPoint. A point's own depth
     * gives back its own coordinate along the view direction.
     */
    [[nodiscard]] CVector ScreenToRoom(int x, int y, double depth) const;
    [[nodiscard]] ViewProjection& projection() { return m_projection; }
    [[nodiscard]] const ViewProjection& projection() const { return m_projection; }

    // ---- Layers ------------------------------------------------------------
    void DrawRoomBox(IDrawSurface& surface) const;
    void DrawObstacleSystems(IDrawSurface& surface) const;
    void DrawObstacleBox(IDrawSurface& surface, const CXSystem& obstacles, const CVector& corner) const;
    void DrawWorkSystems(IDrawSurface& surface, int mode) const;
    void DrawGlareMarks(IDrawSurface& surface, int print) const;
    void DrawValueRelief(IDrawSurface& surface, int mode) const;
    void DrawLuminaires(IDrawSurface& surface, int drawSwitchedOff, int mode) const;
    void DrawLuminaireOutline(IDrawSurface& surface, const COneLampSystem& entry, const CLuminaire& luminaire,
        const CVector& position, const Pen& pen) const;
    void DrawLuminaireCharacteristics(IDrawSurface& surface, const COneLampSystem& entry,
        const CLuminaire& luminaire, const CVector& position, const Pen& pen) const;
    void DrawLuminaireAxes(IDrawSurface& surface) const;
    void DrawLengthTexts(IDrawSurface& surface) const;
    /** 1 when the area passes the display-mode filter. */
    [[nodiscard]] int IsWorkSystemShown(const CWorkSystem& area) const;
    /** The area k as drawn (the edited one in place of the selected one) and its pen slot. */
    [[nodiscard]] const CWorkSystem& areaSource(std::size_t k, int& slot) const;
    /** Whether area k is drawn at all in the mode by the room's show-all and mode rules. */
    [[nodiscard]] bool areaPassesRoomFilter(std::size_t k, const CWorkSystem& area, int mode) const;

    // ---- State shared with printing and the mouse ----------------------------
    [[nodiscard]] double outputScale() const { return m_outputScale; }
    void setOutputScale(double scale) { m_outputScale = scale; }
    [[nodiscard]] int displayMode() const { return m_displayMode; }
    void setDisplayMode(int mode) { m_displayMode = mode; }
    [[nodiscard]] bool pageOutput() const { return m_pageOutput; }
    void setPageOutput(bool page) { m_pageOutput = page; }
    void setEditedObjects(CLampSystem* lampSystem, CWorkSystem* area, CXSystem* obstacles);
    [[nodiscard]] CLampSystem* editedLampSystem() const { return m_editedLampSystem; }
    [[nodiscard]] CWorkSystem* editedArea() const { return m_editedArea; }
    [[nodiscard]] CXSystem* editedObstacles() const { return m_editedObstacles; }
    [[nodiscard]] bool selectionShown() const { return m_selectionShown; }
    void setAimingLine(const CVector& from, const CVector& to, bool shown);
    void setSelectionRect(bool shown, int left, int top, int right, int bottom);
    /** The scroll size the screen layout fills; the client size at a fit. */
    [[nodiscard]] ScrollSize totalSize() const { return { m_totalWidth, m_totalHeight }; }
    [[nodiscard]] int totalWidth() const { return m_totalWidth; }
    [[nodiscard]] int totalHeight() const { return m_totalHeight; }

private:
    /** Takes view code, depth effect and vanishing point from the view settings in use. */
    void syncProjection();
    /** Lays the plan out for a paint of the client size: held during a drag, fitted when asked, else zoomed. */
    void layOutForClient(IDrawSurface& surface, int clientWidth, int clientHeight);
    void setTotalSize(ScrollSize size) { m_totalWidth = size.cx; m_totalHeight = size.cy; }
    [[nodiscard]] Pen slotPen(int slot) const;
    [[nodiscard]] Pen scaled(Pen pen) const;
    void drawCross(IDrawSurface& surface, const CVector& point, int length) const;
    void drawLengthLabel(IDrawSurface& surface, const std::string& text, double x, double y, double z) const;

    CKzevDoc* m_document = nullptr;
    ILuminaireSource* m_luminaires = nullptr;
    IResultLayers* m_results = nullptr;
    std::function<void()> m_invalidate;

    bool m_sceneShown = false;
    double m_outputScale = 1.0;
    int m_roomIndex = -1;
    CViewSettings* m_settingsOverride = nullptr;
    std::array<double, 3> m_roomSize {};
    ViewProjection m_projection;
    int m_displayMode = 1;
    TreeSelection m_drawingSelection;
    TreeSelection m_treeSelection;
    CLampSystem* m_editedLampSystem = nullptr;
    CWorkSystem* m_editedArea = nullptr;
    CXSystem* m_editedObstacles = nullptr;
    std::array<CVector, 2> m_aimingPoints {};
    bool m_aimingShown = false;
    bool m_selectionShown = false;
    std::array<int, 4> m_selectionRect {};
    bool m_pageOutput = false;
    /** The scale of the page plan being drawn when it is not the room's own (0: the room's). */
    int m_pageScale = 0;
    bool m_layoutRequested = true;
    bool m_layoutHeld = false;
    int m_totalWidth = 0;
    int m_totalHeight = 0;
    /** The client size the plan was last laid out or resized for: a total size equal to it is fitted (none yet). */
    ScrollSize m_fittedClient { -1, -1 };
};

/** Returns "%1.2lf" below 2.0, "%1.1lf" below 20.0, else "%1.0lf" of the value. */
[[nodiscard]] std::string FormatValueByMagnitude(double value);

} // namespace kzev
