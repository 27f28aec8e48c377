#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

/**
 * Asks for one line of text: one edit field and OK, under a caption the
 * caller chooses ("Dialog" while it chooses none). It has no Storno button;
 * Esc or the close box end it without the text.
 */
class CTextEntryDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 215;

    explicit CTextEntryDialog(QWidget* parent = nullptr);

    /** The text: set by the caller as the default, read back after OK. */
    std::string m_text;
    /** The window's title; empty keeps "Dialog". */
    std::string m_caption;

    /** Shows the text and caption and runs the dialog; QDialog::Accepted after OK. */
    int DoModal();

    [[nodiscard]] QLineEdit* textEdit() const { return m_edit; }

protected:
    void accept() override;

private:
    QLineEdit* m_edit;
};
