#pragma once

#include "view/PageComposer.h"
#include "view/PlanMouse.h"
#include "view/PlanView.h"
#include "view/PlanZoom.h"
#include "view/ResultLayers.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QPixmap>

#include <array>

#include <functional>
#include <memory>

class QPainter;
class QPrinter;
class COpenGLBase;
class CLuminaire;
class CViewSettings;
class QRect;

namespace kzev {
class GLScene;

/** Enable state and tick of a command as the view's update handler gives it. */
struct CommandState {
    bool enabled = false;
    bool checked = false;
};
} // namespace kzev

namespace kzev {
class CadFileExport;
}

/**
 * The main view: the window in the middle of the frame that shows the room
 * selected in the project tree as a plan onto the floor, the ceiling or a
 * wall, or the start-up picture while no scene is shown. It keeps no logic of
 * its own: the plan (kzev::PlanView) holds the state and draws the layers,
 * the window paints it through a QPainter surface and scrolls over it.
 */
class CKzevView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CKzevView(QWidget* parent = nullptr);
    ~CKzevView() override;

    [[nodiscard]] kzev::PlanView& plan() { return m_plan; }
    [[nodiscard]] const kzev::PlanView& plan() const { return m_plan; }

    /** Follows a model change: takes the tree's room anew and repaints. */
    void RefreshView(int resetProjection, int resetCamera);
    /** Fits the plan to the window at the next paint. */
    void requestLayout();
    /** Sets the objects the tree selected (lamp system, visual-task area, obstacle system; -1 none). */
    void setTreeSelection(int lampSystem, int area, int obstacle);
    [[nodiscard]] bool sceneShown() const { return m_plan.sceneShown(); }
    void setSceneShown(bool shown);
    /** Returns the view code of the view settings in use, if a room is shown. */
    [[nodiscard]] std::optional<int> viewCode();

    void OnViewFloor() { m_plan.OnViewFloor(); }
    void OnViewCeiling() { m_plan.OnViewCeiling(); }
    void OnViewWall1() { m_plan.OnViewWall1(); }
    void OnViewWall2() { m_plan.OnViewWall2(); }
    void OnViewWall3() { m_plan.OnViewWall3(); }
    void OnViewWall4() { m_plan.OnViewWall4(); }
    /** Runs the view-direction command of the id (32826, 32825, 32830, 32827, 32831, 32829); false for others. */
    bool OnViewDirectionCommand(int commandId);

    /** Replaces the luminaire source (null returns to the document's). */
    void setLuminaireSource(kzev::ILuminaireSource* source);
    /** Shows the view's context menu at a global position (the frame supplies menu 92). */
    void setContextMenuHandler(std::function<void(const QPoint&)> handler) { m_contextMenu = std::move(handler); }

    // ---- Mouse ---------------------------------------------------------------------------
    /** The open dialog hands its object over (with setEditedObjects of the plan); null takes the link back. */
    void setEditLink(kzev::IEditLink* link) { m_mouse.setEditLink(link); }
    [[nodiscard]] kzev::IEditLink* editLink() const { return m_mouse.editLink(); }
    /** The project tree as the double click picks in it (the frame supplies it). */
    void setTreePickHooks(kzev::TreePickHooks hooks) { m_mouse.setTreePickHooks(std::move(hooks)); }
    /** Runs the room's calculation after a drag while immediate calculation is on (the frame supplies it). */
    void setCalculationHandler(std::function<void()> handler) { m_calculate = std::move(handler); }
    [[nodiscard]] const kzev::PlanMouse& mouse() const { return m_mouse; }

    /** Writes the room shown into a DXF file the user chooses; 1 when written, 0 on cancel or failure. */
    int ExportDxf();
    /** Writes the room shown into a CAD script file the user chooses; 1 when written. */
    int ExportScript();
    /**
     * Draws the room shown straight into the running CAD program, through the
     * channel of the document's CAD kind; mode 0 luminaires and results, 1
     * luminaires, 2 results.
     */
    void DrawInCad(int mode);

    /** Renders the client area as it is painted now (the 3-D picture while the 3-D view is on). */
    [[nodiscard]] QPixmap grabPlan();

    // ---- Zoom, scrolling and copy ------------------------------------------------------
    /** Zooms the plan in by 13/10 (command 32883). */
    void OnZoomIn();
    /** Zooms the plan out by 10/13 (command 32884). */
    void OnZoomOut();
    /** Fits the plan to the window (command 32885). */
    void OnZoomFit();
    /** Returns whether the copy and zoom commands are enabled: while a scene is shown. */
    [[nodiscard]] bool OnUpdateViewCommands() const { return sceneShown(); }
    /** Copies the picture of the view to the clipboard (command 57634); a beep when no picture can be had. */
    void OnEditCopy();
    /** Returns the total scroll size the plan is laid out over. */
    [[nodiscard]] kzev::ScrollSize totalSize() const { return m_plan.totalSize(); }
    /** Returns the scroll position (the panning of the middle button starts from it). */
    [[nodiscard]] kzev::DevicePoint scrollPosition() const;

    // ---- 3-D view --------------------------------------------------------------------------
    /** Switches the 3-D view of the tree's room on or off (command 32899). */
    void OnToggleOGLGraphics();
    /** Returns the update state of command 32899: disabled without a room, ticked while 3-D is on. */
    [[nodiscard]] kzev::CommandState OnUpdateToggleOGLGraphics();
    /** Returns whether the view settings in use show the room in 3-D. */
    [[nodiscard]] bool is3D() const;
    /** Returns the OpenGL window of the 3-D view, made when first asked for (not shown by this). */
    [[nodiscard]] COpenGLBase& glWindow();
    [[nodiscard]] kzev::GLScene& glScene() { return *m_glScene; }

    // ---- Printing hooks --------------------------------------------------------------------
    /** Installs the print composer the hooks call (null: nothing can be printed). */
    void setPageComposer(kzev::IPageComposer* composer) { m_composer = composer; }
    /** Set while the luminaire database dialog prints a catalogue sheet: always one page. */
    void setCatalogueSheet(bool sheet) { m_catalogueSheet = sheet; }
    [[nodiscard]] bool catalogueSheet() const { return m_catalogueSheet; }
    /** Keeps a copy of the luminaire whose catalogue sheet is printed. */
    void setSheetLuminaire(const CLuminaire& luminaire);
    /** Returns the luminaire of the catalogue sheet, or null while none was given. */
    [[nodiscard]] const CLuminaire* sheetLuminaire() const { return m_sheetLuminaire.get(); }
    /**
     * Prepares a print on the printer: the rooms of the project in turn
     * prepared by the composer, its counting pass giving the last page.
     * False without a composer or without a page.
     */
    bool OnPreparePrinting(QPrinter& printer, kzev::PrintInfo& info);
    /** Makes the six print fonts for the printer and selects the base one. */
    void OnBeginPrinting(QPainter& painter, kzev::PrintInfo& info);
    /** Lets the composer draw the page info.currentPage. */
    void OnPrint(kzev::IDrawSurface& surface, kzev::PrintInfo& info);
    /** Returns to the screen's view settings and frees the print fonts. */
    void OnEndPrinting();
    /** Returns print font 1 to 6 (base, bold, underlined, both, 1.5 x italic, 2 x bold) while a print runs. */
    [[nodiscard]] const QFont& printFont(int number) const;
    /**
     * Draws the plan of the room in the mode with the view settings onto the
     * page below the depth already used (0.1 mm, y negative downwards),
     * showing the areas of the display mode; area is the one the plan is of
     * (-1 for the room's own plan).
     */
    void printPlan(kzev::IDrawSurface& surface, int roomIndex, CViewSettings& settings, int mode, int displayMode,
        int area, kzev::ScrollSize paper, int depth, const kzev::PageFraming& framing = {});
    /** Returns how the plan of the area (-1: the room) with the view settings is framed in the space (0.1 mm). */
    [[nodiscard]] kzev::PageFraming planFraming(int roomIndex, CViewSettings& settings, int area, int width, int height);
    /**
     * Renders the room's 3-D scene in the mode with the view settings off the
     * screen and draws it fitted into the rectangle of device pixels; false
     * when no picture could be had.
     */
    bool printScene(kzev::IDrawSurface& surface, int roomIndex, CViewSettings& settings, int mode,
        const QRect& devicePixels);
    /** Returns the pages the composer counts for the printer as it is set up now; 0 when nothing can be printed. */
    int countPages(QPrinter& printer);
    /**
     * Prints the pages the composer counts on the printer (a printer or a PDF
     * file): all of them, or those of the printer's page range. The progress
     * is told after each page and may stop the print. False when nothing
     * printed or the print was stopped.
     */
    bool printDocument(QPrinter& printer, bool preview = false, const kzev::PageProgress& progress = {});
    /** Returns whether the last print was stopped by its progress. */
    [[nodiscard]] bool printStopped() const { return m_printStopped; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    void OnDraw(QPainter& painter);
    /** Takes the tree's room for a mouse message; false while no scene is shown in the plan. */
    [[nodiscard]] bool planReadyForMouse();
    /** Takes the tree's room for a mouse message; true while the 3-D view is shown. */
    [[nodiscard]] bool cameraReadyForMouse();
    void applyMouseOutcome(const kzev::MouseOutcome& outcome);
    void drawSplash(QPainter& painter);
    void updateScrollBars();
    /** Keeps the scroll bars in step with the plan's new total size and repaints. */
    void totalSizeChanged();
    /** Shows the OpenGL window over the plan while 3-D is on, hides it otherwise. */
    void sync3D();
    [[nodiscard]] kzev::ScrollSize clientSize() const;
    int exportCadFile(int commandId, int filterId, const char* extension,
        const std::function<std::string(kzev::CadFileExport&)>& write);

    kzev::PlanView m_plan;
    kzev::PlanMouse m_mouse { m_plan };
    std::function<void()> m_calculate;
    /** Set while the calculation a drag started runs: its event pumping must not start another. */
    bool m_calculating = false;
    /** Where the last step of a camera drag in the 3-D view ended. */
    QPoint m_cameraLast;
    kzev::ResultLayers m_resultLayers;
    std::unique_ptr<kzev::ILuminaireSource> m_documentLuminaires;
    std::function<void(const QPoint&)> m_contextMenu;
    std::unique_ptr<kzev::GLScene> m_glScene;
    COpenGLBase* m_gl = nullptr;
    /** Wheel turns not yet worth a notch (touchpads send small steps). */
    int m_wheelRemainder = 0;
    kzev::IPageComposer* m_composer = nullptr;
    bool m_catalogueSheet = false;
    std::unique_ptr<CLuminaire> m_sheetLuminaire;
    std::array<QFont, 6> m_printFonts;
    bool m_printStopped = false;
    /** The view's picture kept on screen while a print with progress runs. */
    QPixmap m_shownWhilePrinting;
};

namespace kzev {
/** Returns the one view, or null while none exists. */
[[nodiscard]] CKzevView* theView();
/** Returns the picture shown while no project is shown: "Kzev.bmp" of the program folder, else the built-in one. */
[[nodiscard]] QPixmap splashPicture();
} // namespace kzev
