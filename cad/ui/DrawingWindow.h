#pragma once

#include "cad/drawing/CadCommandProcessor.h"
#include "cad/drawing/CadDrawing.h"
#include "cad/drawing/DrawingAutomation.h"

#include <QMainWindow>

#include <filesystem>
#include <optional>

class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kzev {

class DrawingCanvas;

/**
 * "Výkres": the CAD program of our own on this system. A top-level window
 * holding one drawing, its plan, the command history and the command line.
 * It carries out the command lines and the automation calls of the CAD
 * link, lets the user pick points and polylines in the plan when one is
 * asked, and opens and saves the drawing as DXF.
 */
class DrawingWindow : public QMainWindow, public IDrawingHost {
    Q_OBJECT
public:
    explicit DrawingWindow(QWidget* parent = nullptr);
    ~DrawingWindow() override;

    /** Returns the drawing window, made and shown first when create is true; null when none is open. */
    static DrawingWindow* instance(bool create);

    [[nodiscard]] CadDrawing& drawing() { return m_drawing; }
    [[nodiscard]] CadCommandProcessor& processor() { return m_processor; }
    [[nodiscard]] DrawingCanvas& canvas() { return *m_canvas; }
    /** Returns the automation object of this window. */
    [[nodiscard]] std::unique_ptr<ICadApplication> application();

    /** Opens a DXF file; false (told) when it cannot be read. */
    bool openFile(const std::filesystem::path& path);
    /** Saves the drawing as DXF to the path; false (told) when it cannot be written. */
    bool saveFile(const std::filesystem::path& path);

    // IDrawingHost
    std::optional<DrawingPoint> pickPoint(const std::string& prompt, const std::optional<DrawingPoint>& base) override;
    void workBriefly() override;
    void showWindow() override;
    void closeWindow() override;
    void drawingChanged() override;
    bool openDrawing(const std::filesystem::path& path, std::string& error) override;

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();
    void typeCommandLine();
    /** Asks to save a changed drawing; false when the user cancels. */
    bool saveModified();

    CadDrawing m_drawing;
    CadCommandProcessor m_processor { m_drawing };
    DrawingCanvas* m_canvas = nullptr;
    QPlainTextEdit* m_history = nullptr;
    QLabel* m_prompt = nullptr;
    QLineEdit* m_commandLine = nullptr;
    QLabel* m_coordinates = nullptr;
    std::size_t m_shownHistory = 0;
    /** Whether the cross cursor is pushed over the program's (wait) cursor while a point is asked. */
    bool m_crossCursor = false;
    /** Whether the user stopped the last reading of a drawing. */
    bool m_readingStopped = false;
    /** The point a pending pick got; set when the user clicks or cancels. */
    std::optional<std::optional<DrawingPoint>> m_picked;
};

} // namespace kzev
