#pragma once

#include "app/bars/InfoLogText.h"

#include <QDockWidget>

#include <string>

class QPlainTextEdit;
class QTabWidget;

/**
 * The docking bar "Informační oblast" with its one tab "Výpočet": the
 * calculation log. The calculation, the catalogue, the CAD link and the
 * imports append lines and texts to it (through the log service); the text
 * and its wrapping rules live in kzev::InfoLogText.
 */
class CInfoBar : public QDockWidget {
    Q_OBJECT

public:
    /** The bar's control id in the frame. */
    static constexpr int ControlId = 32804;

    explicit CInfoBar(QWidget* parent = nullptr, int textLimit = kzev::InfoLogText::DefaultLimit);

    /** Starts a new line with the text. */
    void AddLine(const std::string& text);
    void AddLineId(int stringId);
    /** Appends the text to the current line, wrapping at the pane width. */
    void AddText(const std::string& text);
    void AddTextId(int stringId);
    /** Empties the log. */
    void Clear();

    /** Returns the log as the edit holds it (lines joined by CR LF). */
    [[nodiscard]] const std::string& LogText() const { return m_log.text(); }
    /** Returns how many characters fit on a line of the pane now. */
    [[nodiscard]] int LineCapacity() const;

    [[nodiscard]] QPlainTextEdit* LogEdit() const { return m_edit; }
    [[nodiscard]] QTabWidget* TabWindow() const { return m_tabs; }

private:
    void showChange(const kzev::InfoLogText::Change& change);
    /** The width in pixels the log's lines have. */
    [[nodiscard]] int textWidth() const;

    kzev::InfoLogText m_log;
    QTabWidget* m_tabs;
    QPlainTextEdit* m_edit;
};
