#pragma once

#include "dialogs/settings/FolderSettings.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

/**
 * "Nastavení složek": the data, documents and pictures folders of the
 * program, each typed or chosen in the folder browser. The caller makes them
 * the program's after OK.
 */
class CFolderSettingsDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 231;

    explicit CFolderSettingsDialog(const kzev::FolderSettings& folders, QWidget* parent = nullptr);
    ~CFolderSettingsDialog() override;

    [[nodiscard]] kzev::FolderSettings folders() const;
    /** The edits of the data (0), documents (1) and pictures (2) folders. */
    [[nodiscard]] QLineEdit* folderEdit(int index) const { return m_edits.at(static_cast<std::size_t>(index)); }
    [[nodiscard]] QPushButton* browseButton(int index) const { return m_browse.at(static_cast<std::size_t>(index)); }

private:
    void browse(int index);

    std::array<QLineEdit*, 3> m_edits {};
    std::array<QPushButton*, 3> m_browse {};
};
