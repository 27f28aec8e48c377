#pragma once

#include "platform/DocumentShell.h"

#include <QDialog>

#include <array>
#include <functional>
#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

/**
 * "Projekt": the texts that head the project's printouts (building, project,
 * company, designer, date, remark), the kind of project, the CAD preferences
 * and the IntelliCAD key, the time spent on the project, and a drawing that
 * can be opened in the running CAD program. It edits a copy of the fields,
 * which the caller takes back after OK.
 */
class CProjectDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 219;

    /** Opens a drawing in CAD, the AutoCAD type first when preferred, then the other; true when it was opened. */
    using DrawingOpener = std::function<bool(bool preferAutocad, const std::string& path)>;

    explicit CProjectDialog(QWidget* parent = nullptr);
    ~CProjectDialog() override;

    void setFields(const kzev::ProjectDialogFields& fields);
    /** Returns the fields as the dialog shows them (project type -1 while none is chosen). */
    [[nodiscard]] kzev::ProjectDialogFields fields() const;
    /** Replaces the way a drawing is opened in CAD (the CAD link plugs in here). */
    void setDrawingOpener(DrawingOpener opener) { m_openDrawing = std::move(opener); }

    /** "...": chooses the drawing file. */
    void OnBrowseDwg();
    /** "Otevřít": opens the drawing in CAD, the preferred program first. */
    void OnOpenDwg();
    /** "Dnešní": today's date. */
    void OnToday();

    [[nodiscard]] QLineEdit* edit(int controlId) const;
    [[nodiscard]] QRadioButton* typeButton(int type) const { return m_types.at(static_cast<std::size_t>(type)); }
    [[nodiscard]] QCheckBox* check(int controlId) const;
    [[nodiscard]] QPushButton* button(int controlId) const;

private:
    QLineEdit* addEdit(int controlId);

    std::array<QRadioButton*, 3> m_types {};
    QCheckBox* m_preferAutocad = nullptr;
    QCheckBox* m_acadUnicode = nullptr;
    QCheckBox* m_exportAtZero = nullptr;
    QPushButton* m_browse = nullptr;
    QPushButton* m_open = nullptr;
    QPushButton* m_today = nullptr;
    DrawingOpener m_openDrawing;
};
