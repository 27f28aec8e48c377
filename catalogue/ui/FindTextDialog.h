#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kzev {

/**
 * The modeless find window of the tables: one text, "match case", and
 * "Najít další", which asks the owner to search on from where the last hit
 * was. It searches down only, without a whole-word option.
 */
class FindTextDialog : public QDialog {
    Q_OBJECT

public:
    FindTextDialog(const std::string& text, QWidget* parent);

    [[nodiscard]] std::string text() const;
    [[nodiscard]] bool matchCase() const;

    [[nodiscard]] QLineEdit* textEdit() const { return m_text; }
    [[nodiscard]] QCheckBox* matchCaseBox() const { return m_matchCase; }
    [[nodiscard]] QPushButton* findNextButton() const { return m_findNext; }

signals:
    void findNext();

private:
    QLineEdit* m_text;
    QCheckBox* m_matchCase;
    QPushButton* m_findNext;
};

} // namespace kzev
