#pragma once

#include "dialogs/grids/GridTemplateDialog.h"
#include "dialogs/grids/UsedLuminairesTable.h"

class CCadPickButton;
class CKzevDoc;

/**
 * "Použitá svítidla": the project's used luminaire and lamp combinations,
 * from which the selection page takes one. The designation is edited in
 * place; "Vyčistit" drops unused entries, "Seřadit" sorts them, the copy
 * button puts the used ones on the clipboard. The window keeps its place
 * and size in the project.
 */
class CUsedLuminairesDialog : public kzev::GridTemplateDialog {
    Q_OBJECT

public:
    explicit CUsedLuminairesDialog(CKzevDoc& doc, QWidget* parent = nullptr);
    ~CUsedLuminairesDialog() override;

    [[nodiscard]] kzev::UsedLuminairesTable& table() { return m_table; }
    [[nodiscard]] QPushButton* copyButton() const { return m_copy; }
    [[nodiscard]] QPushButton* clearButton() const { return m_clear; }
    [[nodiscard]] QPushButton* sortButton() const { return m_sort; }
    /** Draws the used entries as a table in the CAD drawing, at a corner the user picks there. */
    [[nodiscard]] CCadPickButton* pickButton() const { return m_pick; }

protected:
    void done(int result) override;

private:
    CKzevDoc& m_doc;
    kzev::UsedLuminairesTable m_table;
    QPushButton* m_copy;
    QPushButton* m_clear;
    QPushButton* m_sort;
    CCadPickButton* m_pick;
};
