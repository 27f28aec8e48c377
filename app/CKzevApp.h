#pragma once

#include "app/frame/FrameSeams.h"

#include <QStringList>

#include <memory>
#include <string>
#include <vector>

class CKzevDoc;
class CMainFrame;
class QPrinter;
class QTranslator;

namespace kzev {
struct AppFolders;
class KzevDocumentSeam;
class ScopedDocumentShell;
class PointCalculationSeam;
}

/**
 * The application object: the start-up sequence (profile, folders, recent
 * files, command line, the main frame and the first project), the commands of
 * the application (File New, Open, Save As, print set-up, the recent files,
 * the about dialog, Exit) and the folder settings every subsystem reads.
 * The folders live in kzev::appFolders() so the headless core can read them.
 */
class CKzevApp {
public:
    /** The command line as start-up understands it. */
    struct CommandLine {
        std::string fileName;                     ///< project file to open, empty for a new project
        bool showSplash = true;                   ///< false with /nologo
        std::string icadProgId;                   ///< "/i<program id>": the IntelliCAD program to drive
        std::vector<std::string> ignoredSwitches; ///< Windows automation switches, noted and ignored
    };

    /** Number of entries of the recent-file list. */
    static constexpr std::size_t kRecentFileCount = 4;
    /** Id of the first recent-file command. */
    static constexpr int kFirstRecentFileId = 57616;

    CKzevApp();
    ~CKzevApp();
    CKzevApp(const CKzevApp&) = delete;
    CKzevApp& operator=(const CKzevApp&) = delete;

    /**
     * Plugs in the document, the calculation and the view (non-owning; null
     * keeps the current one); call before InitInstance. Without a document
     * seam, start-up makes the real document.
     */
    void setSeams(kzev::IDocumentSeam* document, kzev::ICalculationSeam* calculation, kzev::IViewSeam* view);

    /** Installs the Qt message boxes, message pump and wait cursor. */
    static void installPlatformServices();

    /**
     * Runs the start-up sequence with the program's arguments (without the
     * program name); false ends the program.
     */
    bool InitInstance(const QStringList& arguments, bool showMainWindow = true);
    /** Ends the program's work; returns the exit code. */
    int ExitInstance();

    /** Parses the program's arguments. */
    [[nodiscard]] static CommandLine ParseCommandLine(const QStringList& arguments);

    [[nodiscard]] CMainFrame* frame() const { return m_frame.get(); }
    /** Returns the document seam in use (null before start-up without a plugged-in one). */
    [[nodiscard]] kzev::IDocumentSeam* document() const { return m_document; }
    [[nodiscard]] kzev::AppFolders& folders() const;
    [[nodiscard]] const std::vector<std::string>& recentFiles() const { return m_recentFiles; }
    /** Puts a path first in the recent-file list and stores the list. */
    void AddToRecentFileList(const std::string& path);
    /** Returns the path of the help file. */
    [[nodiscard]] std::string helpFilePath() const;
    /** The printer whose set-up File/Print Setup edits. */
    [[nodiscard]] QPrinter& printer();

    /** Opens a project file through the document; adds it to the recent files on success. */
    bool OpenDocumentFile(const std::string& path);

    /** Runs an application command; false when the id is not one of them. */
    bool OnCommand(int id);
    /** Returns whether the id is an application command. */
    [[nodiscard]] bool HasCommand(int id) const;

    void OnAppAbout();
    void OnFileNew();
    void OnFileOpen();
    void OnFileSaveAs();
    void OnFilePrintSetup();
    void OnAppExit();
    void OnOpenRecentFile(int index);

private:
    void readFolders();
    void loadRecentFiles();
    void saveRecentFiles();
    void loadQtTranslations();

    kzev::IDocumentSeam* m_document = nullptr;
    std::unique_ptr<CKzevDoc> m_doc;
    std::unique_ptr<kzev::KzevDocumentSeam> m_docSeam;
    std::unique_ptr<kzev::ScopedDocumentShell> m_docShell;
    std::unique_ptr<kzev::PointCalculationSeam> m_calcSeam;
    /** Null: start-up binds the calculation to the document it makes. */
    kzev::ICalculationSeam* m_calculation = nullptr;
    /** Null: the frame drives its own view. */
    kzev::IViewSeam* m_view = nullptr;

    std::vector<std::string> m_recentFiles;
    std::unique_ptr<CMainFrame> m_frame;
    std::unique_ptr<QTranslator> m_qtTranslator;
    std::unique_ptr<QPrinter> m_printer;
};

namespace kzev {
/** Returns the one application object, or null while none exists. */
[[nodiscard]] CKzevApp* theApp();
}
