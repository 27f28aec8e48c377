// The frame's command table: every command of the menus, toolbars and context
// menus, with its label, icon, handler and update handler.

#include "app/frame/CMainFrame.h"

#include "app/frame/CommandUi.h"

using kzev::CommandUi;
using kzev::FrameCommand;
using kzev::Glyph;

namespace {

template <int Id>
void toggle(CMainFrame& f)
{
    f.OnBarToggle(Id);
}
void updateToggle(CMainFrame& f, CommandUi& ui) { f.OnUpdateBarToggle(ui); }

template <int Id>
void viewDirection(CMainFrame& f)
{
    f.OnViewDirection(Id);
}

template <int Code>
void updateViewDirection(CMainFrame& f, CommandUi& ui)
{
    f.OnUpdateViewDirection(ui, Code);
}

void saveDocument(CMainFrame& f) { f.document().saveDocument(); }
void updateViewCommands(CMainFrame& f, CommandUi& ui) { f.OnUpdateViewCommands(ui); }
void updateNewObject(CMainFrame& f, CommandUi& ui) { f.OnUpdateNewObject(ui); }
void updateNeedsRoom(CMainFrame& f, CommandUi& ui) { f.OnUpdateNeedsRoom(ui); }
void updatePrint(CMainFrame& f, CommandUi& ui) { f.OnUpdatePrint(ui); }
void updateImport(CMainFrame& f, CommandUi& ui) { f.OnUpdateImport(ui); }
void updateNeedsScene(CMainFrame& f, CommandUi& ui) { f.OnUpdateNeedsScene(ui); }
void updateDrawInCad(CMainFrame& f, CommandUi& ui) { f.OnUpdateDrawInCad(ui); }

constexpr FrameCommand::Handler kApp = nullptr; // handled by the application
constexpr FrameCommand::UpdateHandler kNone = nullptr;

} // namespace

const std::vector<FrameCommand>& CMainFrame::commandTable()
{
    static const std::vector<FrameCommand> table {
        // File and the application's standard commands
        { 57600, "&Nový\tCtrl+N", Glyph::FileNew, kApp, kNone },
        { 57601, "&Otevřít...\tCtrl+O", Glyph::FileOpen, kApp, kNone },
        { 57603, "&Uložit\tCtrl+S", Glyph::FileSave, saveDocument,
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateFileSave(ui); } },
        { 57604, "Uložit &jako...", Glyph::None, kApp, kNone },
        { 57606, "&Nastavení tisku...", Glyph::None, kApp, kNone },
        { 57607, "&Tisk...\tCtrl+P", Glyph::FilePrint, [](CMainFrame& f) { f.OnFilePrint(); }, updatePrint },
        { 57609, "Ná&hled tisku", Glyph::PrintPreview, [](CMainFrame& f) { f.OnFilePrintPreview(); }, updatePrint },
        { 32941, "Export do PDF", Glyph::None, [](CMainFrame& f) { f.OnExportPdf(); }, updatePrint },
        { 57664, "&O programu Kzev ...", Glyph::Help, kApp, kNone },
        { 57665, "&Konec", Glyph::Exit, kApp, [](CMainFrame& f, CommandUi& ui) { f.OnUpdateAppExit(ui); } },
        { 32892, "&Vlastnosti projektu", Glyph::None, [](CMainFrame& f) { f.OnProjectProperties(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateProjectProperties(ui); } },
        { 32920, "Nastavení složek", Glyph::None, [](CMainFrame& f) { f.OnFolderSettings(); }, kNone },
        // Imports and exports
        { 32855, "&Import z Kzev 5.x", Glyph::None, [](CMainFrame& f) { f.OnImportZevInput(); }, updateImport },
        { 32875, "Import místnosti z Knep 3.x", Glyph::None, [](CMainFrame& f) { f.OnImportNepInput(); }, updateImport },
        { 32878, "Import z Knep 4.x", Glyph::KnepImport, [](CMainFrame& f) { f.OnImportKnepProject(); }, updateImport },
        { 32861, "Import svítidel z AutoCADu", Glyph::CadImport, [](CMainFrame& f) { f.OnImportCadBlocks(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateImportCadBlocks(ui); } },
        { 32857, "DXF soubor pro AutoCAD", Glyph::None, [](CMainFrame& f) { f.OnExportDxf(); }, updateNeedsScene },
        { 32856, "Script soubor pro Kresmont", Glyph::None, [](CMainFrame& f) { f.OnExportScript(); },
            updateNeedsScene },
        { 32862, "Export do HTML", Glyph::HtmlExport, [](CMainFrame& f) { f.OnExportHtml(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateExportHtml(ui); } },
        { 32860, "Přímé vykreslení do AutoCADu", Glyph::CadDraw1, [](CMainFrame& f) { f.OnDrawInCad(0); },
            updateDrawInCad },
        { 32942, "&Výkres (grafický editor)", Glyph::None, [](CMainFrame& f) { f.OnShowDrawingWindow(); }, kNone },
        { 32939, "Přímé vykreslení do AutoCADu - varianta 2", Glyph::CadDraw2, [](CMainFrame& f) { f.OnDrawInCad(1); },
            updateDrawInCad },
        { 32940, "Přímé vykreslení do AutoCADu - varianta 3", Glyph::CadDraw3, [](CMainFrame& f) { f.OnDrawInCad(2); },
            updateDrawInCad },
        // Edit
        { 57634, "&Kopírovat\tCtrl+C", Glyph::EditCopy, [](CMainFrame& f) { f.OnEditCopy(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateEditCopy(ui); } },
        { 32898, "Kopírovat tabulku výsledků", Glyph::None, [](CMainFrame& f) { f.OnCopyResultsTable(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateCopyResultsTable(ui); } },
        { 32889, "Kopírovat soustavu", Glyph::CopyLampSystem, [](CMainFrame& f) { f.OnCopyLampSystem(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateCopyLampSystem(ui); } },
        { 32890, "Vložit soustavu", Glyph::PasteLampSystem, [](CMainFrame& f) { f.OnPasteLampSystem(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdatePasteLampSystem(ui); } },
        { 32823, "&Odstranit", Glyph::Delete, [](CMainFrame& f) { f.OnEditDelete(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateEditDelete(ui); } },
        { 32822, "V&lastnosti", Glyph::Properties, [](CMainFrame& f) { f.OnEditProperties(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateEditProperties(ui); } },
        { 32924, "Třídění místností", Glyph::SortRooms, [](CMainFrame& f) { f.OnSortRooms(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateSortRooms(ui); } },
        // Creating objects
        { 32818, "Nová &místnost", Glyph::NewRoom, [](CMainFrame& f) { f.OnNewRoom(); }, kNone },
        { 32882, "Nová vo&zovka", Glyph::NewRoad, [](CMainFrame& f) { f.OnNewRoadway(); }, kNone },
        { 32819, "Nová soustava &svítidel", Glyph::NewLampSystem, [](CMainFrame& f) { f.OnNewLampSystem(); }, updateNewObject },
        { 32900, "Nová odvozená soustava svítidel", Glyph::DerivedLampSystem, [](CMainFrame& f) { f.OnNewDerivedLampSystem(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateNewDerivedLampSystem(ui); } },
        { 32913, "Zrušit vazbu", Glyph::CancelBinding, [](CMainFrame& f) { f.OnCancelBinding(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateCancelBinding(ui); } },
        { 32820, "Nové místo &zrakového úkolu", Glyph::NewTaskArea, [](CMainFrame& f) { f.OnNewWorkSystem(); },
            updateNewObject },
        { 32887, "Nové okolí úkol&u", Glyph::TaskSurroundings, [](CMainFrame& f) { f.OnNewTaskSurroundings(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateNewTaskSurroundings(ui); } },
        { 32821, "Nová soustava &překážek", Glyph::NewObstacles, [](CMainFrame& f) { f.OnNewObstacleSystem(); },
            updateNewObject },
        { 32864, "Překážka rohu místnosti tvaru L1", Glyph::CornerL1, [](CMainFrame& f) { f.OnCornerObstacle(1); },
            updateNeedsRoom },
        { 32865, "Překážka rohu místnosti tvaru L2", Glyph::CornerL2, [](CMainFrame& f) { f.OnCornerObstacle(2); },
            updateNeedsRoom },
        { 32866, "Překážka rohu místnosti tvaru L3", Glyph::CornerL3, [](CMainFrame& f) { f.OnCornerObstacle(3); },
            updateNeedsRoom },
        { 32867, "Překážka rohu místnosti tvaru L4", Glyph::CornerL4, [](CMainFrame& f) { f.OnCornerObstacle(4); },
            updateNeedsRoom },
        { 32877, "Řada překážek ve tvaru stěny", Glyph::WallRow, [](CMainFrame& f) { f.OnWallObstacleRow(); },
            updateNeedsRoom },
        { 32901, "Nový &rastr", Glyph::NewRaster, [](CMainFrame& f) { f.OnNewRaster(); }, updateNewObject },
        { 32902, "Nový režim", Glyph::None, [](CMainFrame& f) { f.OnNewMode(); }, updateNewObject },
        { 32868, "Rozložit do řad", Glyph::SplitRows, [](CMainFrame& f) { f.OnSplitIntoRows(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateSplit(ui); } },
        { 32869, "Rozložit do sloupců", Glyph::SplitColumns, [](CMainFrame& f) { f.OnSplitIntoColumns(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateSplit(ui); } },
        // View: directions (the view's commands, ticked here), zoom, sheets, named views
        { 32826, "Pohled k &podlaze", Glyph::ViewFloor, viewDirection<32826>, updateViewDirection<112> },
        { 32825, "Pohled na s&trop", Glyph::ViewCeiling, viewDirection<32825>, updateViewDirection<113> },
        { 32830, "Pohled ke stěně &1", Glyph::ViewWall1, viewDirection<32830>, updateViewDirection<114> },
        { 32827, "Pohled ke stěně &2", Glyph::ViewWall2, viewDirection<32827>, updateViewDirection<115> },
        { 32831, "Pohled ke stěně &3", Glyph::ViewWall3, viewDirection<32831>, updateViewDirection<116> },
        { 32829, "Pohled ke stěně &4", Glyph::ViewWall4, viewDirection<32829>, updateViewDirection<117> },
        { 32883, "Přiblížit", Glyph::ZoomIn, [](CMainFrame& f) { f.OnZoomIn(); }, updateViewCommands },
        { 32884, "Oddálit", Glyph::ZoomOut, [](CMainFrame& f) { f.OnZoomOut(); }, updateViewCommands },
        { 32885, "Na maximum", Glyph::ZoomFit, [](CMainFrame& f) { f.OnZoomFit(); }, updateViewCommands },
        { 32835, "Vlastnosti zobrazení ...", Glyph::DisplaySettings, [](CMainFrame& f) { f.OpenViewSheet(0, 1, 0); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateViewSheet(ui); } },
        { 32837, "Zobrazované hodnoty ...", Glyph::DisplayedValues, [](CMainFrame& f) { f.OpenViewSheet(1, 1, 0); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateViewDataProperties(ui); } },
        { 32839, "Vlastnosti tisku a dat", Glyph::None, [](CMainFrame& f) { f.OpenViewSheet(3, 0, 1); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateViewSheet(ui); } },
        { 32870, "Přepnout zobrazení", Glyph::DisplaySwitch, [](CMainFrame& f) { f.OnToggleViewSwitch(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateToggleViewSwitch(ui); } },
        { 32899, "Zobrazit OGL grafiku", Glyph::View3d, [](CMainFrame& f) { f.OnToggleOGLGraphics(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateToggleOGLGraphics(ui); } },
        { 32918, "Načtení pojemnovaného zobrazení", Glyph::NamedViewLoad, [](CMainFrame& f) { f.OnLoadNamedView(); },
            updateNeedsScene },
        { 32919, "Uložení pojmenovaného zobrazení", Glyph::NamedViewSave, [](CMainFrame& f) { f.OnSaveNamedView(); },
            updateNeedsScene },
        { 32914, "Legenda použitých svítidel", Glyph::LuminaireLegend, [](CMainFrame& f) { f.OnUsedLuminaires(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateUsedLuminairesLegend(ui); } },
        { 32921, "Legenda místností", Glyph::RoomLegend, [](CMainFrame& f) { f.OnRoomLegend(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateRoomLegend(ui); } },
        { 32925, "Vykreslení razítka", Glyph::TitleBlock, [](CMainFrame& f) { f.OnDrawTitleBlock(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateDrawTitleBlock(ui); } },
        { 32816, "Rozpoznat databáze výrobců", Glyph::DatabaseRecognition, [](CMainFrame& f) { f.OnRecognizeDatabases(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateRecognizeDatabases(ui); } },
        // Calculation
        { 32834, "Zahájit bodový výpočet", Glyph::CalcStart, [](CMainFrame& f) { f.OnCalcStart(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateCalcStart(ui); } },
        { 32836, "Nastavení bodového výpočtu ...", Glyph::CalcSettings, [](CMainFrame& f) { f.OpenViewSheet(2, 1, 0); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateViewDataProperties(ui); } },
        { 32852, "Přerušit výpočet", Glyph::CalcStop, [](CMainFrame& f) { f.OnCalcStop(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateCalcStop(ui); } },
        { 32938, "Výpočet všech místností", Glyph::None, [](CMainFrame& f) { f.OnRecalculateRooms(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateCalcStart(ui); } },
        { 32886, "Optimalizace rozmístění", Glyph::None, [](CMainFrame& f) { f.OnLayoutOptimisation(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateLayoutCommands(ui); } },
        { 32891, "Návrh počtu svítidel", Glyph::None, [](CMainFrame& f) { f.OnLampCountDesignTable(); },
            [](CMainFrame& f, CommandUi& ui) { f.OnUpdateLayoutCommands(ui); } },
        // Bars (menu 131)
        { 59392, "Standard Toolbar", Glyph::None, toggle<59392>, updateToggle },
        { 32832, "&Zobrazení", Glyph::None, toggle<32832>, updateToggle },
        { 32844, "&Výpočet", Glyph::None, toggle<32844>, updateToggle },
        { 32851, "&Úprava dat", Glyph::None, toggle<32851>, updateToggle },
        { 32871, "&Import a export", Glyph::None, toggle<32871>, updateToggle },
        { 32803, "&Pracovní oblast", Glyph::None, toggle<32803>, updateToggle },
        { 32804, "&Informační oblast", Glyph::None, toggle<32804>, updateToggle },
        { 32770, "&Upravit...", Glyph::None, [](CMainFrame& f) { f.OnViewCustomize(); }, kNone },
        // Help
        { 57670, "&Nápověda\tF1", Glyph::None, [](CMainFrame& f) { f.OnHelp(); }, kNone },
        { 57667, "&Témata nápovědy", Glyph::None, [](CMainFrame& f) { f.OnHelpFinder(); }, kNone },
        { 57669, "&Co je to?\tShift+F1", Glyph::None, [](CMainFrame& f) { f.OnContextHelp(); }, kNone },
        { 57671, "&Výchozí nápověda", Glyph::None, [](CMainFrame& f) { f.OnHelpFinder(); }, kNone },
        // Commands sent by the project tree
        { 153, "", Glyph::None, [](CMainFrame& f) { f.OnTreeSelChanged(); }, kNone },
        { 84, "", Glyph::None, [](CMainFrame& f) { f.OnTreeProperties(); }, kNone },
        { 156, "", Glyph::None, [](CMainFrame& f) { f.OnTreeShowRoomSize(); }, kNone },
        { 157, "", Glyph::None, [](CMainFrame& f) { f.OnTreeLabelEdited(); }, kNone },
        { 159, "", Glyph::None, [](CMainFrame& f) { f.OnTreeDelete(); }, kNone },
    };
    return table;
}

const FrameCommand* CMainFrame::findCommand(int id)
{
    for (const FrameCommand& command : commandTable()) {
        if (command.id == id)
            return &command;
    }
    return nullptr;
}
