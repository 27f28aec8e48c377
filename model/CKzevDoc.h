#pragma once

#include "model/CLamp.h"
#include "model/CLampSystem.h"
#include "model/CLuminaire.h"
#include "model/CLuminaireLamp.h"
#include "model/CRoom.h"
#include "model/CWorkSystem.h"
#include "model/CXSystem.h"
#include "model/DocumentFields.h"
#include "model/LogFont.h"
#include "model/LuminaireResolution.h"
#include "model/UndoStack.h"
#include "platform/Archive.h"
#include "platform/FileIo.h"

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

/**
 * The one document: the whole project in memory (rooms, the used-luminaire
 * list, the undo steps), the project's own texts and print settings that
 * travel in the project file (kzev::DocumentFields), and the user settings of
 * the section `Main` of the profile store. It is made once and reused for
 * every new or opened project.
 *
 * Opening reads into a fresh copy and takes it over only when the whole file
 * was read; saving replaces the file only after a complete write.
 */
namespace kzev {
struct LuminaireImportReport;
}

class CKzevDoc : public kzev::DocumentFields {
public:
    CKzevDoc();
    ~CKzevDoc();
    CKzevDoc(const CKzevDoc&) = delete;
    CKzevDoc& operator=(const CKzevDoc&) = delete;

    // ---- Lifecycle -------------------------------------------------------
    /** Makes a new project of one room from the user settings; false when refused or while a calculation runs. */
    bool OnNewDocument();
    /**
     * Opens the project file; on any failure says so and leaves the open
     * project as it was. Refused, with the project kept, while a calculation runs.
     */
    bool OnOpenDocument(const std::filesystem::path& path);
    /** Saves the project to the path; on failure says so and leaves an existing file whole. */
    bool OnSaveDocument(const std::filesystem::path& path);
    /** Writes the settings of the section `Main` back, as the project closes. */
    void OnCloseDocument();

    [[nodiscard]] bool IsModified() const { return m_modified; }
    void SetModifiedFlag(bool modified = true) { m_modified = modified; }
    /** Returns the path of the open project; empty for a new one never saved. */
    [[nodiscard]] const std::filesystem::path& GetPathName() const { return m_pathName; }

    // ---- Project file ----------------------------------------------------
    /**
     * Stores the project, or loads one and takes it over, like the framework's
     * archive would; loading sets the process-wide file version from the
     * file. A load that throws leaves the document and the version as they
     * were. OnOpenDocument adds the steps of an open around it.
     */
    void Serialize(kzev::Archive& ar);
    /** Returns the bytes of the project file as a save would write them. */
    [[nodiscard]] std::vector<std::uint8_t> SaveToBytes();

    // ---- Imports of earlier projects (the import library defines them) ----
    /** Replaces the rooms by the room of a predecessor input file; 1 when imported, 0 after a message. */
    int ImportZevInput(const std::string& path);
    /** Replaces the rooms by the room of an older daylight program's input file; 1 or 0 after a message. */
    int ImportNepInput(const std::string& path);
    /** Replaces the rooms by those of a daylight project and takes its settings; 1 or 0 after a message. */
    int ImportKnepProject(const std::string& path);
    /**
     * Takes imported rooms over as the project's rooms. The project becomes
     * untitled and modified, so that saving never overwrites the file they
     * came from; the undo steps of the old rooms go. The luminaire legend
     * (counts and used luminaires) is built for the new rooms. When the
     * import has told the user already why lamp systems have no luminaire
     * (unassignedTold), those systems are not told of again.
     */
    void TakeOverImportedRooms(std::vector<CRoom> rooms, bool unassignedTold = false);

    // ---- Object files (named views) ---------------------------------------
    /** Writes one object's record, and nothing else, into its own file; throws on failure. */
    template <typename T>
    static int StoreObjectToFile(const std::filesystem::path& path, T& object);
    /**
     * Reads one object's record from its own file under the current file
     * version; throws kzev::FileError or kzev::ArchiveError, leaving the
     * object unchanged, when the file cannot be read or is short.
     */
    template <typename T>
    static int LoadObjectFromFile(const std::filesystem::path& path, T& object);

    // ---- Services --------------------------------------------------------
    /** Lets pending window events run during a long calculation. */
    static void PumpMessages();
    /** Sorts the rooms by the number value of their room numbers, keeping equal ones in order. */
    void SortRooms();
    /** Copies the room's lamp systems into a new undo step. */
    void PushUndo(const CRoom& room);

    // ---- Lengths, results and lamp-system layout ---------------------------
    /** Returns the area's minimum summary for its quantity code. */
    [[nodiscard]] static double GetResultValue(const CWorkSystem& area);
    /** Returns the area's shown summary for its quantity code, with adaptive decimals. */
    [[nodiscard]] std::string FormatResultValue(const CWorkSystem& area) const;
    /** Returns a length in metres as text in the user's unit. */
    [[nodiscard]] std::string FormatLength(double metres) const;
    /** Returns a length in metres as text in the user's unit, as the property sheets show it. */
    [[nodiscard]] std::string FormatPropertyLength(double metres) const;
    /** Returns the count as text. */
    [[nodiscard]] std::string FormatCount(std::int32_t count) const;
    /** Returns the typed length in metres, read in the user's unit. */
    [[nodiscard]] double ParseLength(const std::string& text) const;
    /** Lays the luminaires of a regular lamp system out anew, with one factor per mode. */
    void LayOutRegularLuminaires(CLampSystem& system, std::size_t modeCount = 1);
    /** Returns the copy mirrored about the line y = Vy (binding type 0). */
    [[nodiscard]] CLampSystem DeriveLampSystemMirrorX(CLampSystem system, CVector v, std::int32_t type) const;
    /** Returns the copy mirrored about the line x = Vx (binding type 1). */
    [[nodiscard]] CLampSystem DeriveLampSystemMirrorY(CLampSystem system, CVector v, std::int32_t type) const;
    /** Returns the copy reflected through the point (Vx, Vy) of the floor (binding type 2). */
    [[nodiscard]] CLampSystem DeriveLampSystemMirrorDiagonal(CLampSystem system, CVector v, std::int32_t type) const;
    /** Returns the copy moved by the binding vector (binding type 3). */
    [[nodiscard]] CLampSystem DeriveLampSystemShift(CLampSystem system, CVector v, std::int32_t type);
    /** Returns the copy moved back by the binding vector. */
    [[nodiscard]] CLampSystem DeriveLampSystemShiftBack(CLampSystem system, CVector v, std::int32_t type);
    /** Returns where the luminaire's optical axis meets the floor. */
    [[nodiscard]] static CVector IntersectLineWithFloor(const COneLampSystem& luminaire);

    // ---- Catalogue -------------------------------------------------------
    /** Finds or loads the system's luminaire and writes its index and name into it; 1 when found. */
    int ResolveLuminaire(CLampSystem& system, int showMessages);
    /** Finds or loads the system's lamp and writes its index, name and flux into it; 1 when found. */
    int ResolveLamp(CLampSystem& system, int showMessages);
    /** Returns the loaded luminaire of a used-luminaire entry, or null. */
    [[nodiscard]] const CLuminaire* FindLuminaire(const CLuminaireLamp& entry) const;
    /** Returns the manufacturer name of a database number, or the number as text. */
    [[nodiscard]] std::string GetManufacturerName(long number) const;
    /** Reads the sibling module's lamp list into the legend keys and names. */
    void LoadDadLampList();
    /** Reads the makers' numbers and names of the data folder; empty lists when it has none. */
    void LoadManufacturerNames();
    /** Rebuilds the used-luminaire list from all rooms; returns 1. */
    int BuildLuminaireLegend();
    /** Returns the legend name of the used-luminaire entry matching the system, or an empty text. */
    [[nodiscard]] std::string FindLuminaireLampName(const CLampSystem& system) const;
    /** Sorts the used-luminaire list by legend name. */
    void SortUsedLuminaires();

    // ---- CAD link ----------------------------------------------------------
    /**
     * Finds the running CAD program through the installed CAD seams and
     * records its kind, window, icon, clone flag and version; returns 1 when
     * one was found and a channel chosen, else 0.
     */
    int DetectCadApplication();
    /**
     * Imports the luminaire blocks inside the room's window from the drawing
     * of the CAD program found, by the channel its kind calls for: the
     * room's lamp systems are replaced, as one undo step, only when the
     * drawing was read. Returns 1 then, 0 after a reported failure; the
     * report, when given, tells what was read and what was passed over.
     */
    int ImportCadBlocks(CRoom& room, kzev::LuminaireImportReport* report = nullptr);
    /** By attribute extraction typed into the text window (AutoCAD LT, the drawing window). */
    int ImportCadAttributesByScript(CRoom& room, kzev::LuminaireImportReport* report = nullptr);
    /** By attribute extraction sent through the AutoCAD-type model (its clones). */
    int ImportCadAttributesIcad(CRoom& room, kzev::LuminaireImportReport* report = nullptr);
    /** By a walk over the selected objects through the AutoCAD-type model. */
    int ImportCadBlocksAcad(CRoom& room, kzev::LuminaireImportReport* report = nullptr);
    /** By a walk over the selected objects through the IntelliCAD-type model. */
    int ImportCadBlocksInsert(CRoom& room, kzev::LuminaireImportReport* report = nullptr);

    // ---- User settings ---------------------------------------------------
    /** Replaces the main font by the stored `mainLogFont`, else by a point font of BaseFont/HeightFont. */
    int LoadMainFont();
    /** Stores the main font as `mainLogFont`. */
    int SaveMainFont();

    // ---- Members ---------------------------------------------------------
    kzev::LogFont m_logFont;                        ///< the main font
    std::vector<CRoom> m_rooms;                     ///< the project's rooms in project order
    std::vector<CLuminaire> m_luminaires;           ///< loaded for this run, never stored; only grow
    std::vector<CLamp> m_lamps;                     ///< loaded for this run, never stored; only grow
    std::vector<CLuminaireLamp> m_usedLuminaires;   ///< legend list of luminaire/lamp combinations
    std::int32_t m_unitMm = 1;                      ///< 1 millimetres, 0 metres (Unitmm)
    std::string m_textLumFilter;                    ///< luminaire text filter of the selection page
    std::int32_t m_powerLampFilter = 1;             ///< lamp power filter of the selection page
    std::int32_t m_calcRunning = 0;                 ///< 1 while a calculation runs
    std::int32_t m_roadSetup = 1;                   ///< read by the new-roadway command; not stored
    std::int32_t m_cadKind = 0;                     ///< owned by the CAD link
    std::int32_t m_cadCommand = 0;                  ///< owned by the CAD link
    std::string m_contactText;                      ///< contact line printed on the sheets
    std::int32_t m_cadImportState = 0;              ///< read by the CAD block import
    std::vector<std::string> m_manufacturerNumbers; ///< database numbers as text
    std::vector<std::string> m_manufacturerNames;   ///< name i belongs to number i
    std::int32_t m_cornerObstacleOption = 1;        ///< handed to the L-corner obstacle dialog
    std::int32_t m_selectionPageSwitch = 1;         ///< toggled by the luminaire selection page

    // Dialog positions and sizes; -1 = not placed yet.
    std::int32_t m_lxLampDialog = -1, m_lyLampDialog = -1;
    std::int32_t m_lxWorkDialog = -1, m_lyWorkDialog = -1;
    std::int32_t m_lxXDialog = -1, m_lyXDialog = -1;
    std::int32_t m_lxSetDialog = -1, m_lySetDialog = -1;
    std::int32_t m_lxRoomDialog = -1, m_lyRoomDialog = -1;
    std::int32_t m_lxStandardDialog = -1, m_lyStandardDialog = -1;
    std::int32_t m_lsxStandardDialog = -1, m_lsyStandardDialog = -1;
    std::int32_t m_lxRoomsLegendDialog = -1, m_lyRoomsLegendDialog = -1;
    std::int32_t m_lsxRoomsLegendDialog = -1, m_lsyRoomsLegendDialog = -1;
    std::int32_t m_lxLuminairesLegendDialog = -1, m_lyLuminairesLegendDialog = -1;
    std::int32_t m_lsxLuminairesLegendDialog = -1, m_lsyLuminairesLegendDialog = -1;

    std::string m_blockPrefix = "DAD";              ///< prefix of luminaire block names in CAD
    double m_dimIncrement = 0.05;                   ///< move step of the lamp-system pages, metres
    double m_angIncrement = 15.0;                   ///< rotate step, degrees
    double m_cylIncrement = 30.0;                   ///< step of the cylindrical luminaire
    double m_wheelStep = 2.0;                       ///< step of the view's mouse wheel
    std::vector<std::string> m_legendKeys;          ///< sibling lamp list: "db-id" keys
    std::vector<std::string> m_legendNames;         ///< name i belongs to key i
    double m_wallWidth = 0.05;                      ///< thickness of wall rows
    CLampSystem m_newLampSystem;                    ///< defaults of every new lamp system
    CWorkSystem m_newWorkSystem;                    ///< defaults of new visual-task areas
    CXSystem m_newXSystem;                          ///< defaults of new obstacle systems
    std::int32_t m_clipboardMarker = 0;             ///< exchanged with the lamp-system clipboard file
    std::string m_designer;                         ///< the user's designer (Projektant)
    std::string m_company;                          ///< the user's company (Company)
    std::int32_t m_viewProjectDialog = 1;           ///< show the project dialog at a new project
    double m_derivedOffsetX = 0.0;                  ///< binding shift of the last binding dialog, metres
    double m_derivedOffsetY = 0.0;
    double m_derivedOffsetZ = 0.0;
    std::int32_t m_keepBinding = 1;                 ///< 1: a derived system stays bound to its source
    std::int32_t m_bindingType = -1;                ///< last binding type chosen: 0 mirror X ... 3 shift
    std::int32_t m_saveBeforeCalc = 1;              ///< SaveBeforeCalc
    std::time_t m_startTime = 0;                    ///< when the document was made; never reset
    kzev::UndoStack m_undo;                         ///< at most ten undo steps
    std::vector<CLampSystem> m_lampSystemSnapshot;  ///< taken when the lamp-system sheet opens
    std::int32_t m_preferAutocad = 1;               ///< bAcadPrefere
    std::int32_t m_export0 = 0;                     ///< export at height 0 (Export0)
    std::int32_t m_printUncer = 1;                  ///< print the calculation uncertainty
    // Written by the CAD detection.
    std::int32_t m_cadIconId = 0;                   ///< icon of the CAD program found
    std::uint64_t m_cadWnd = 0;                     ///< its window; 0 after a full miss
    std::int32_t m_acadClone = 0;                   ///< 1: the AutoCAD-type model served by another program
    std::int32_t m_cadVersion = 0;                  ///< AutoCAD LT release year from its title
    std::string m_cadNote;                          ///< why the program found cannot be driven; empty when it can
    std::int32_t m_selectionSetCounter = 0;         ///< numbers the selection sets of the IntelliCAD-type import

    /** The clock of the work time; tests fix it. */
    std::function<std::time_t()> m_now;

private:
    void readOpenSettings();
    void newProjectDialog();
    void makeFirstRoom(CRoom& templateRoom);
    void resolveAfterOpen(bool unassignedTold = false);
    [[nodiscard]] kzev::LuminaireLists catalogueLists();
    [[nodiscard]] std::uint32_t workTimeToWrite() const;

    std::filesystem::path m_pathName;
    bool m_modified = false;
};

namespace kzev {

/** Returns the document made last, through which the shell reaches it; null before. */
[[nodiscard]] CKzevDoc* theDocument();

/** The "AutoCAD LT 2007" option (bAcadUnicode), kept process-wide. */
[[nodiscard]] int& acadUnicode();
/** The automation program id of the AutoCAD-type model, chosen by the CAD detection. */
[[nodiscard]] std::string& acadProgramId();
/** The automation program id of the IntelliCAD family (IcadKey). */
[[nodiscard]] std::string& icadProgramId();

/** Returns the message that the file cannot be read as a project: 61446 or a fitting one. */
[[nodiscard]] std::string projectOpenMessage(const std::filesystem::path& path, const std::exception& error);

} // namespace kzev

template <typename T>
int CKzevDoc::StoreObjectToFile(const std::filesystem::path& path, T& object)
{
    kzev::Archive ar = kzev::Archive::forStoring();
    object.Serialize(ar);
    kzev::warnIfFolderUnflushed(path, kzev::writeFileReplacing(path, ar.bytes()));
    return 1;
}

template <typename T>
int CKzevDoc::LoadObjectFromFile(const std::filesystem::path& path, T& object)
{
    // Loaded into a copy, so that a short or damaged file leaves the object as it was.
    kzev::Archive ar = kzev::Archive::forLoading(kzev::readWholeFile(path));
    T loaded = object;
    loaded.Serialize(ar);
    object = std::move(loaded);
    return 1;
}
