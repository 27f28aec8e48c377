#pragma once

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace kzev {

/**
 * A plain modal form that asks for a few texts, a check box and a block of
 * lines, for the shaping commands whose own dialogs are not there yet. Each
 * field is found by its label text as its object name.
 */
class StandInForm final : public QDialog {
    Q_OBJECT

public:
    StandInForm(QWidget* parent, const std::string& title);

    /** Adds a line edit with its label and starting text. */
    QLineEdit* addText(const std::string& label, const std::string& text);
    /** Adds a check box. */
    QCheckBox* addCheck(const std::string& label, bool checked);
    /** Adds a block of lines (one entry per line). */
    QPlainTextEdit* addLines(const std::string& label, const std::string& text);
    /** Adds OK and "Storno" below the fields; call after the fields. */
    void finish();

    /** Returns the text of the line edit of a label. */
    [[nodiscard]] std::string text(const std::string& label) const;
    /** Returns the lines of the block of a label. */
    [[nodiscard]] std::vector<std::string> lines(const std::string& label) const;
    [[nodiscard]] bool checked(const std::string& label) const;
};

} // namespace kzev
