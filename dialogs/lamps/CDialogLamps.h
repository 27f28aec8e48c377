#pragma once

#include "catalogue/ui/LampSheetPage.h"
#include "dialogs/lamps/LampSheetSession.h"
#include "view/EditLink.h"

#include <QDialog>

#include <functional>
#include <vector>

class CKzevDoc;
class CLampSelectDialog;
class CLampSystemDialog;
class CLampsSystemNonregular;
class QDialogButtonBox;
class QTabWidget;

/**
 * The modeless property sheet of one lamp system: its pages as tabs (the
 * luminaire and lamp selection first), the buttons OK, "Storno" and
 * "Použít". The pages edit one working copy and push it into the document
 * as they are left or applied, so the view follows at once; OK keeps it,
 * "Storno" restores the room's lamp systems as they were, Esc and closing
 * keep what was pushed. The window deletes itself when it closes. While it
 * is open the view drags, aims and picks its working copy.
 */
class CDialogLamps : public QDialog, public kzev::IEditLink {
    Q_OBJECT

public:
    static constexpr int kTitleId = 61892;

    CDialogLamps(CKzevDoc& doc, int room, int lampSystem, QWidget* parent = nullptr);
    ~CDialogLamps() override;

    /** Fills the pages and shows the page of the lamp system's last OK; false when the lamp system is gone. */
    bool OnInitDialog();

    /** Runs after the sheet has closed, whichever way (the frame enables its bars and refreshes). */
    void setClosedHandler(std::function<void(bool accepted)> handler) { m_closed = std::move(handler); }

    void OnOK();
    void OnCancel();
    void OnEscape();
    void OnApply();

    [[nodiscard]] CLampSelectDialog* selectionPage() const { return m_selection; }
    /** The regular design page (page 1), made by OnInitDialog. */
    [[nodiscard]] CLampSystemDialog* regularPage() const { return m_regular; }
    /** The non-regular page (page 2 while the lamp system is non-regular), made by OnInitDialog. */
    [[nodiscard]] CLampsSystemNonregular* nonRegularPage() const { return m_nonRegular; }
    [[nodiscard]] QTabWidget* tabs() const { return m_tabs; }
    [[nodiscard]] QDialogButtonBox* buttons() const { return m_buttons; }
    [[nodiscard]] kzev::LampSheetSession& session() { return m_session; }

    // ---- The view's mouse on the working copy --------------------------------------
    [[nodiscard]] int activePage() const override { return m_activePage; }
    [[nodiscard]] int editedLampSystemIndex() const override { return m_session.lampSystem(); }
    void beginLampChange() override;
    void lampSystemChanged(kzev::LampChange change) override;
    void changeEnded() override;

    /** The sheet open now, or null. */
    [[nodiscard]] static CDialogLamps* openSheet();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    /** Says that the sheet waits for the running calculation; true while one runs. */
    [[nodiscard]] bool refusedWhileCalculating() const;
    void onTabChanged(int index);
    [[nodiscard]] kzev::ILampSheetPage* page(int index) const;
    void finish(bool accepted, bool closeWindow = true);
    /** Shows the non-regular page while the working copy is non-regular, and only then. */
    void OnSwitchNonregular();
    /** Hands the working copy to the view, or takes it back (null). */
    void linkView(bool linked);

    CKzevDoc& m_doc;
    kzev::LampSheetSession m_session;
    QTabWidget* m_tabs;
    CLampSelectDialog* m_selection;
    CLampSystemDialog* m_regular = nullptr;
    CLampsSystemNonregular* m_nonRegular = nullptr;
    QDialogButtonBox* m_buttons;
    std::vector<kzev::ILampSheetPage*> m_pages;
    int m_activePage = 0;
    bool m_finished = false;
    std::function<void(bool)> m_closed;
};
