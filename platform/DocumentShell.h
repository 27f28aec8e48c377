#pragma once

#include <string>

namespace kzev {

/**
 * The fields of the project dialog ("Projekt") that the document fills before
 * the dialog runs and reads back when it is confirmed. Check boxes are 0 or 1;
 * the project type is the radio index (0 interior, 1 outdoor area, 2 roads).
 */
struct ProjectDialogFields {
    std::string company;
    std::string projectName;
    std::string designer;
    int projectType = 0;
    std::string building;
    std::string dwgFile;
    int preferAutocad = 1;
    int acadUnicode = 0;
    int exportAtZero = 0;
    std::string date;
    std::string icadKey;
    std::string timeOnProject;
    std::string remark;
};

/**
 * What the document asks of the application shell at a new project: whether
 * the main window exists yet, the modal project dialog, and the new-roadway
 * command that builds the room of a road project.
 */
class IDocumentShell {
public:
    virtual ~IDocumentShell() = default;
    /** Returns whether the main window exists (not while the first document is made at start-up). */
    [[nodiscard]] virtual bool mainWindowExists() = 0;
    /** Runs the project dialog on the fields; returns true when it was confirmed. */
    virtual bool runProjectDialog(ProjectDialogFields& fields) = 0;
    /** Runs the new-roadway command (32882) of the main window. */
    virtual void newRoadway() = 0;
};

/** Returns the installed shell; with none installed, one without a main window. */
[[nodiscard]] IDocumentShell& documentShell();

/** Installs the shell for its lifetime and restores the previous one. */
class ScopedDocumentShell {
public:
    explicit ScopedDocumentShell(IDocumentShell& shell);
    ~ScopedDocumentShell();
    ScopedDocumentShell(const ScopedDocumentShell&) = delete;
    ScopedDocumentShell& operator=(const ScopedDocumentShell&) = delete;

private:
    IDocumentShell* m_previous;
};

/** Installs the shell for the rest of the process (the application at start-up). */
void installDocumentShell(IDocumentShell& shell);

} // namespace kzev
