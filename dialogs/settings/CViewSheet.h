#pragma once

#include "model/CViewSettings.h"

#include <QDialog>

#include <vector>

class CKzevDoc;
class CPropertyCalc;
class CViewDataProperties;
class CViewPrintProperties;
class CViewProperties;
class QDialogButtonBox;
class QTabWidget;

namespace kzev {
class IPropertyPage;
}

/**
 * The modal property sheet "Nastavení": how the room or the visual-task
 * area is shown, which results are shown, how the point calculation runs and
 * what is printed. It works on a copy of one view settings, which the view
 * draws from while the sheet is open; OK keeps the copy, "Storno" drops it.
 * The calculation and print pages write the room and the document as they
 * are left. The sheet remembers where it stood.
 */
class CViewSheet : public QDialog {
    Q_OBJECT

public:
    static constexpr int kCaptionId = 61939;

    /**
     * Builds the pages on a copy of the settings. Without a shown room only
     * the style page is offered, unless the sheet starts on the print page.
     * The owner flag is 1 for the room's own settings, 0 for an area's.
     */
    CViewSheet(CKzevDoc& doc, const CViewSettings& settings, int ownerIsRoom, bool sceneShown, int startPage,
        QWidget* parent = nullptr);
    ~CViewSheet() override;

    /** Runs the sheet; on OK marks the document modified. Returns QDialog::Accepted or Rejected. */
    int DoModal();

    [[nodiscard]] CViewSettings& working() { return m_working; }
    [[nodiscard]] int ownerIsRoom() const { return m_ownerIsRoom; }
    [[nodiscard]] bool sceneShown() const { return m_sceneShown; }
    [[nodiscard]] QTabWidget* tabs() const { return m_tabs; }
    [[nodiscard]] QDialogButtonBox* buttons() const { return m_buttons; }
    [[nodiscard]] CViewProperties* stylePage() const { return m_style; }
    [[nodiscard]] CViewDataProperties* dataPage() const { return m_data; }
    [[nodiscard]] CPropertyCalc* calcPage() const { return m_calc; }
    [[nodiscard]] CViewPrintProperties* printPage() const { return m_print; }

    void OnOK();
    void OnCancel();

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void addPage(QWidget* page, kzev::IPropertyPage* logic);
    void onTabChanged(int index);
    [[nodiscard]] kzev::IPropertyPage* page(int index) const;
    /** Keeps the sheet's corner in the document for the next opening. */
    void rememberPosition();

    CKzevDoc& m_doc;
    CViewSettings m_working;
    int m_ownerIsRoom;
    bool m_sceneShown;
    int m_startPage;
    QTabWidget* m_tabs;
    QDialogButtonBox* m_buttons;
    CViewProperties* m_style = nullptr;
    CViewDataProperties* m_data = nullptr;
    CPropertyCalc* m_calc = nullptr;
    CViewPrintProperties* m_print = nullptr;
    std::vector<kzev::IPropertyPage*> m_pages;
    int m_activePage = -1;
    bool m_placed = false;
};
