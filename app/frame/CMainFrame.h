#pragma once

#include "app/frame/FrameCommand.h"
#include "app/frame/FrameSeams.h"
#include "app/tree/ProjectTreeLayout.h"
#include "calc/LayoutCandidate.h"
#include "model/ClipboardFile.h"

#include <QMainWindow>

#include <array>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CInfoBar;
class CKzevApp;
class CKzevDoc;
class CKzevView;
class CLuminaire;
class CProgressStatusBar;
class CProjectTree;
class CWorkspaceBar;
class QAction;
class QDockWidget;
class QMenu;
class QPrinter;
class QTimer;
class QToolBar;

namespace kzev {
class BarServices;
class CommandUi;
class KzevViewSeam;
}

/**
 * The main frame: menu bar, six toolbars, the workspace bar (left) and the
 * calculation-log bar (bottom), the status bar, and the command table that
 * routes every command of the menus, toolbars and context menus. It owns one
 * QAction per command id, shared by all menus and toolbars; update handlers
 * run when a menu opens and on idle for the toolbars.
 */
class CMainFrame : public QMainWindow, public kzev::IFrameSeam {
    Q_OBJECT

public:
    /** Toolbar resource ids in their order on the frame. */
    static constexpr std::array<int, 6> kToolbarIds { 128, 163, 187, 189, 195, 239 };

    /** The application may be null (tests build the frame alone). */
    explicit CMainFrame(CKzevApp* app = nullptr, QWidget* parent = nullptr);
    ~CMainFrame() override;

    /** Plugs in the document, the calculation run and the view (non-owning; null keeps the one in use). */
    void setSeams(kzev::IDocumentSeam* document, kzev::ICalculationSeam* calculation, kzev::IViewSeam* view);
    [[nodiscard]] kzev::IDocumentSeam& document() const { return *m_document; }
    [[nodiscard]] kzev::IViewSeam& view() const override { return *m_view; }

    /** Returns the command table (one row per id). */
    static const std::vector<kzev::FrameCommand>& commandTable();
    /** Returns the table row of an id, or null. */
    static const kzev::FrameCommand* findCommand(int id);

    /** Runs a command as if chosen from a menu; returns whether anything handled it. */
    bool sendCommand(int id) override;
    /** Runs the update handler of a command and applies it to its action. */
    void updateCommandUi(int id);
    /** Updates every command that has a button on a toolbar (the idle update). */
    void updateToolbarCommands();
    /** Sets the idle text of the status line: the next step while the start picture is shown. */
    void updateStartHint();

    /** Returns the shared action of a command id (created on first use). */
    QAction* commandAction(int id);
    [[nodiscard]] QToolBar* toolBar(int resourceId) const;
    [[nodiscard]] QDockWidget* workspaceBar() const { return m_workspaceBar; }
    [[nodiscard]] CInfoBar* infoBar() const { return m_infoBar; }
    [[nodiscard]] CProgressStatusBar* progressStatusBar() const { return m_statusBar; }
    /** Returns the menu of a resource id: 128 main, 88 project, 92 view, 131 toolbars. */
    [[nodiscard]] QMenu* menu(int menuId) const;

    /** 1 disables, any other value enables the menu bar, "Standard", "Úprava dat" and the workspace bar. */
    void EnableBars(int disable) override;
    /** EnableBars with the document's calculation-running flag. */
    void SyncBarsWithCalcFlag();
    /** Shows the elapsed time of the running calculation on the progress bar. */
    void ShowCalcTime(std::time_t start);
    void setCalcStartTime(std::time_t start) { m_calcStartTime = start; }
    [[nodiscard]] std::time_t calcStartTime() const { return m_calcStartTime; }
    [[nodiscard]] int interactiveCalc() const { return m_interactiveCalc; }
    void setInteractiveCalc(int flag) { m_interactiveCalc = flag; }
    [[nodiscard]] int previewFlag() const { return m_previewFlag; }
    void OnSetPreviewMode(bool preview) { m_previewFlag = preview ? 1 : 0; }
    /** The open lamp-system sheet, kept by the properties command. */
    QWidget* m_pLampSheet = nullptr;

    /** Stores the bar layout in the profile section "Settings". */
    void saveBarState();
    /** Restores the bar layout stored by saveBarState, if any. */
    void loadBarState();

    // Handlers of this frame (the table in CMainFrame_Commands.cpp binds them).
    void OnCalcStart();
    void OnCalcStop();
    void OnUpdateCalcStart(kzev::CommandUi& ui);
    void OnUpdateCalcStop(kzev::CommandUi& ui);
    void OnUpdateAppExit(kzev::CommandUi& ui);
    /** Enables Save for a modified or untitled project while no calculation runs. */
    void OnUpdateFileSave(kzev::CommandUi& ui);
    void OnEditCopy();
    void OnUpdateEditCopy(kzev::CommandUi& ui);
    void OnViewCustomize();
    void OnHelpFinder();
    void OnHelp();
    void OnContextHelp();
    /** Shows or hides the bar of a toggle command (menu 131). */
    void OnBarToggle(int commandId);
    /** Ticks a toggle command while its bar is visible. */
    void OnUpdateBarToggle(kzev::CommandUi& ui);
    /** Runs a view-direction command of the view. */
    void OnViewDirection(int commandId);
    /** Returns the main view. */
    [[nodiscard]] CKzevView* kzevView() const { return m_kzevView; }
    /** Ticks a view-direction command while the view code in use is its own. */
    void OnUpdateViewDirection(kzev::CommandUi& ui, int viewCode);
    /** Searches the pitches of the selected room's first lamp system (32886). */
    void OnLayoutOptimisation();
    /** Shows the lamp-count design table of the selected room (32891). */
    void OnLampCountDesignTable();
    /** Enables 32886 and 32891 for a selected room while no calculation runs. */
    void OnUpdateLayoutCommands(kzev::CommandUi& ui);
    /** Imports a predecessor input file, an older daylight input file or a daylight project (32855, 32875, 32878). */
    void OnImportZevInput();
    void OnImportNepInput();
    void OnImportKnepProject();
    /** Enables the imports while no calculation runs. */
    void OnUpdateImport(kzev::CommandUi& ui);
    /** Imports the luminaire blocks of the selected room from the drawing of the CAD program found (32861). */
    void OnImportCadBlocks();
    /** Enables the import while a CAD program is found and no calculation runs. */
    void OnUpdateImportCadBlocks(kzev::CommandUi& ui);
    /** Rebuilds the reference database of makers and lists them anew in the database tree (32816). */
    void OnRecognizeDatabases();
    /** Enables the rebuild while no calculation runs (the calculation reads the makers' databases). */
    void OnUpdateRecognizeDatabases(kzev::CommandUi& ui);
    /** Puts the selected task area's point values on the clipboard as a table (32898). */
    void OnCopyResultsTable();
    /** Enables 32898 for a task area of a room with current results. */
    void OnUpdateCopyResultsTable(kzev::CommandUi& ui);
    /** Writes the project's HTML report to a file the user names and opens it (32862). */
    void OnExportHtml();
    void OnFilePrint();
    /**
     * Prints the project's report on the printer; false when nothing could be
     * printed or the user stopped it. Outside the preview the progress bar
     * counts the pages and the stop button ends the print.
     */
    bool printReport(QPrinter& printer, bool preview);
    /** Returns the pages of the project's report on the printer as it is set up now. */
    int countReportPages(QPrinter& printer);
    /** Returns whether a print is running (the stop button ends it). */
    [[nodiscard]] bool printing() const { return m_printing; }
    void OnFilePrintPreview();
    void OnExportPdf();
    /** Shows the luminaire's catalogue sheet in the print preview; null ends the catalogue sheet. */
    void OnCatalogueSheet(const CLuminaire* luminaire) override;
    /** The rooms as the tree lists them; without a tree, in the document's order. */
    [[nodiscard]] static std::vector<int> roomsInTreeOrder(const CProjectTree* tree, const CKzevDoc& doc);
    /** Enables 32862 while the view shows a project. */
    void OnUpdateExportHtml(kzev::CommandUi& ui);
    /** Opens the view property sheet on a page (32835, 32837, 32836, 32839) and refreshes the view after it. */
    void OpenViewSheet(int startPage, int resetProjection, int resetCamera);
    /** Enables 32835 and 32839 while no calculation runs and no lamp-system sheet is open. */
    void OnUpdateViewSheet(kzev::CommandUi& ui);
    /** Enables 32837 (and 32836) as OnUpdateViewSheet, and only while the view shows a project. */
    void OnUpdateViewDataProperties(kzev::CommandUi& ui);
    /** Writes the room shown into a DXF file and says so (32857). */
    void OnExportDxf();
    /** Opens the drawing window, the CAD program of this system. */
    void OnShowDrawingWindow();
    /** Writes the room shown into a CAD script file (32856). */
    void OnExportScript();
    /** Enables a command while the view shows a project scene. */
    void OnUpdateNeedsScene(kzev::CommandUi& ui);
    /** Rebuilds the used-luminaire legend and draws the room shown into the running CAD program (32860, 32939, 32940). */
    void OnDrawInCad(int mode);
    /** Enables the direct drawing while the view shows a scene and a CAD program is found. */
    void OnUpdateDrawInCad(kzev::CommandUi& ui);
    // Drawing into the running CAD program (CMainFrame_Cad.cpp).
    /** Runs the legend of used luminaires (32914), which builds and draws its own legend. */
    void OnUsedLuminaires();
    /** Enables 32914 while the project holds a luminaire and no calculation runs. */
    void OnUpdateUsedLuminairesLegend(kzev::CommandUi& ui);
    /** Runs the rooms legend dialog (32921) and refills the tree after it. */
    void OnRoomLegend();
    /** Enables 32921 while a project is open and no calculation runs. */
    void OnUpdateRoomLegend(kzev::CommandUi& ui);
    /** Draws the title block at a corner picked in the CAD program (32925). */
    void OnDrawTitleBlock();
    /** Enables 32925 while a CAD program is found. */
    void OnUpdateDrawTitleBlock(kzev::CommandUi& ui);
    // The clipboard of lamp systems, task areas and obstacle systems (CMainFrame_Clipboard.cpp).
    void OnCopyLampSystem();
    void OnUpdateCopyLampSystem(kzev::CommandUi& ui);
    void OnPasteLampSystem();
    void OnUpdatePasteLampSystem(kzev::CommandUi& ui);
    /** Puts the payload of a copied non-regular lamp system and its table on the system clipboard. */
    void PutLampSystemText(const std::vector<std::uint8_t>& payload, const std::string& table);

    // Project properties, named views, folders and the small commands (CMainFrame_Small.cpp).
    void OnProjectProperties();
    void OnUpdateProjectProperties(kzev::CommandUi& ui);
    void OnSaveNamedView();
    void OnLoadNamedView();
    void OnFolderSettings();
    void OnSortRooms();
    void OnRecalculateRooms();
    /** Enables a command that changes the project while a project is shown. */
    void OnUpdateSortRooms(kzev::CommandUi& ui);

    // Creating, editing and deleting the objects of the project (CMainFrame_Objects.cpp).
    void OnNewRoom();
    void OnNewLampSystem();
    void OnNewWorkSystem();
    void OnNewObstacleSystem();
    void OnNewRaster();
    void OnNewMode();
    /** Enables the tree-driven creation commands while the tree has a selected or drop-highlighted item. */
    void OnUpdateNewObject(kzev::CommandUi& ui);
    void OnEditDelete();
    void OnUpdateEditDelete(kzev::CommandUi& ui);

    // Shaping a room: corner blocks, wall rows, split lamp systems (CMainFrame_Shaping.cpp).
    /** Cuts corner 1 to 4 (commands 32864 to 32867) out of the selected room. */
    void OnCornerObstacle(int corner);
    void OnWallObstacleRow();
    /** Enables the corner blocks and the wall row while the tree's item belongs to a room. */
    void OnUpdateNeedsRoom(kzev::CommandUi& ui);
    void OnSplitIntoColumns();
    void OnSplitIntoRows();
    /** Enables the splits for a lamp system of the tree. */
    void OnUpdateSplit(kzev::CommandUi& ui);

    // Roads and task surroundings (CMainFrame_Roadway.cpp).
    void OnNewRoadway();
    void OnNewTaskSurroundings();
    /** Enables 32887 for a visual-task area of the tree. */
    void OnUpdateNewTaskSurroundings(kzev::CommandUi& ui);

    // Derived lamp systems and bindings (CMainFrame_Bindings.cpp).
    void OnNewDerivedLampSystem();
    void OnUpdateNewDerivedLampSystem(kzev::CommandUi& ui);
    void OnCancelBinding();
    void OnUpdateCancelBinding(kzev::CommandUi& ui);

    // Handlers of the project tree's commands (CMainFrame_Tree.cpp).
    [[nodiscard]] CWorkspaceBar* workspace() const;
    [[nodiscard]] CProjectTree* projectTree() const;
    void OnTreeSelChanged();
    void OnTreeProperties();
    /** Opens the property window of the tree's selected object (32822). */
    void OnEditProperties();
    void OnUpdateEditProperties(kzev::CommandUi& ui);
    void OnTreeShowRoomSize();
    /** Empties the status bar's room-size pane (no room is left to measure). */
    void clearRoomSize();
    void OnTreeLabelEdited();
    void OnTreeDelete();
    void OnToggleViewSwitch();
    // The view's zoom and 3-D commands, forwarded to it.
    void OnZoomIn();
    void OnZoomOut();
    void OnZoomFit();
    void OnUpdateViewCommands(kzev::CommandUi& ui);
    void OnToggleOGLGraphics();
    void OnUpdateToggleOGLGraphics(kzev::CommandUi& ui);
    void OnUpdateToggleViewSwitch(kzev::CommandUi& ui);
    void OnUpdatePrint(kzev::CommandUi& ui);

    /** Returns the bar that a toggle command shows or hides, or null. */
    [[nodiscard]] QWidget* barOfToggle(int commandId) const;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    QMenu* createPopupMenu() override;

private:
    /** Holds the project as a calculation does while a print lets the window answer. */
    class PrintRun {
    public:
        PrintRun(CMainFrame& frame, CKzevDoc& doc);
        ~PrintRun();
        PrintRun(const PrintRun&) = delete;
        PrintRun& operator=(const PrintRun&) = delete;

    private:
        CMainFrame& m_frame;
        CKzevDoc& m_doc;
    };

    int OnCreate();
    /** The bars and the road passes for the layout commands. */
    kzev::LayoutCommandHooks layoutHooks(CKzevDoc& doc);
    void createMenus();
    void fillToolbarMenu(QMenu* menu);
    void fillRecentFiles();
    void updateMenu(QMenu* menu);
    using ObjectCreator = std::optional<int> (*)(CKzevDoc&, int room, std::optional<int> copyOf);
    /** Creates an object of the kind in the selected room (a copy when one of that kind is selected) and shows it. */
    void createObject(ObjectCreator create, kzev::TreeItemKind kind);
    /** Splits the selected lamp system into columns (0) or rows (1), then offers to delete it. */
    void splitSelected(int rows);
    /** Derives a new lamp system from the selected one by the binding type and shows it. */
    void deriveSelected(int bindingType);
    /** The workspace bar shows its "Projekt" tab (or has no tabs yet). */
    [[nodiscard]] bool workspaceShowsProjectTab() const;

    CKzevApp* m_app;
    kzev::IDocumentSeam* m_document;
    kzev::ICalculationSeam* m_calculation;
    kzev::IViewSeam* m_view;
    CKzevView* m_kzevView = nullptr;
    std::unique_ptr<kzev::KzevViewSeam> m_viewSeam;

    std::time_t m_calcStartTime = 0;
    int m_previewFlag = 0;
    int m_interactiveCalc = 1;
    /** The window was asked to close during a calculation and closes when it has stopped. */
    bool m_closeAfterCalculation = false;
    bool m_printing = false;

    std::map<int, QAction*> m_actions;
    std::array<QToolBar*, 6> m_toolbars {};
    QDockWidget* m_workspaceBar = nullptr;
    CInfoBar* m_infoBar = nullptr;
    CProgressStatusBar* m_statusBar = nullptr;
    /** The log and progress services on the two bars, installed while the frame lives. */
    std::unique_ptr<kzev::BarServices> m_barServices;
    QMenu* m_projectMenu = nullptr;
    QMenu* m_viewMenu = nullptr;
    QMenu* m_toolbarMenu = nullptr;
    QMenu* m_fileMenu = nullptr;
    QAction* m_recentAnchor = nullptr;
    std::vector<QAction*> m_recentActions;
    QTimer* m_idleTimer = nullptr;
    /** The file of copied objects, whose header the paste's update handler keeps between updates. */
    kzev::ClipboardFile m_clipboardFile;
};
