#pragma once

#include <optional>
#include <string>

class CLuminaire;

namespace kzev {

// What the application and the frame need of the document, the calculation
// run and the view. The application plugs in the real ones, tests their fakes.

/** The document as the shell sees it. */
class IDocumentSeam {
public:
    virtual ~IDocumentSeam() = default;
    /** Returns the document's calculation-running flag. */
    [[nodiscard]] virtual bool calcRunning() const = 0;
    /** Starts a new empty project (File New); false when it could not be made. */
    virtual bool newDocument() = 0;
    /**
     * Opens a project file; on failure the document has told the user why
     * and returns false.
     */
    virtual bool openDocument(const std::string& path) = 0;
    /** Returns whether the project changed since it was opened or saved. */
    [[nodiscard]] virtual bool isModified() const = 0;
    /** Returns whether the project has no file yet (a new project). */
    [[nodiscard]] virtual bool isUntitled() const = 0;
    /** Saves the project (File Save). */
    virtual void saveDocument() = 0;
    /** Saves the project under a new name (File Save As). */
    virtual void saveDocumentAs() = 0;
    /** Asks to save a modified project; false when the user cancels. */
    virtual bool saveModified() = 0;
    /** Lets the document write its settings as the program closes. */
    virtual void closeDocument() = 0;
    /** Shows the project's name in the window title again, after the project changed its file (an import). */
    virtual void updateTitle() {}
};

/** The point calculation of the room selected in the project tree. */
class ICalculationSeam {
public:
    virtual ~ICalculationSeam() = default;
    /** Runs the calculation; it sets the running flag and syncs the bars itself. */
    virtual void runPointCalculation() = 0;
};

/** The main view as far as the frame's update handlers and Copy need it. */
class IViewSeam {
public:
    virtual ~IViewSeam() = default;
    /** Returns the scene-shown flag (false while the start-up picture is drawn). */
    [[nodiscard]] virtual bool sceneShown() const = 0;
    /** Returns whether a luminaire catalogue sheet is shown. */
    [[nodiscard]] virtual bool catalogueSheetShown() const = 0;
    /** Returns the view code (112-117) of the view settings in use, if any. */
    [[nodiscard]] virtual std::optional<int> viewCode() const = 0;
    /** Copies the view's picture to the clipboard. */
    virtual void copy() = 0;
    /** Sets the objects the tree selected: lamp system, visual-task area, obstacle system (-1 none). */
    virtual void setTreeSelection(int lampSystem, int area, int obstacle) = 0;
    /** Follows a model change: takes the tree's room anew and repaints. */
    virtual void refreshView(int resetProjection, int resetCamera) = 0;
    /** Recomputes the plan layout at the next drawing. */
    virtual void requestLayout() = 0;
    /** Sets the scene-shown flag: the view draws the project instead of its start-up picture. */
    virtual void showScene() { }
};

/**
 * The frame as its project tree and workspace bar reach it: the commands the
 * tree sends, the bars the catalogue's dialog disables, the catalogue sheet
 * and the view the tree's changes refresh.
 */
class IFrameSeam {
public:
    virtual ~IFrameSeam() = default;
    /** Runs a command as if chosen from a menu; returns whether anything handled it. */
    virtual bool sendCommand(int id) = 0;
    /** 1 disables, any other value enables the menu bar, "Standard", "Úprava dat" and the workspace bar. */
    virtual void EnableBars(int disable) = 0;
    /** Shows the luminaire's catalogue sheet in the print preview; null ends the catalogue sheet. */
    virtual void OnCatalogueSheet(const CLuminaire* luminaire) = 0;
    /** Returns the view the frame drives. */
    [[nodiscard]] virtual IViewSeam& view() const = 0;
};

/** Returns the one main frame as its tree and bars reach it, or null while none exists. */
[[nodiscard]] IFrameSeam* frameSeam();

} // namespace kzev
