#pragma once

#include "dialogs/settings/PropertyPage.h"
#include "dialogs/settings/ViewPageValues.h"

#include <QWidget>

#include <array>

class CKzevDoc;
class QCheckBox;
class QComboBox;
class QLineEdit;

/**
 * The page "Tisk a export": company and designer, the unit of lengths, the
 * page margins, the print scale of the room, the DXF scale, the CAD block
 * prefix and what the printed report contains. It loads the document's and
 * the room's values as it is shown and writes them back as it is left,
 * whatever button closes the sheet afterwards.
 */
class CViewPrintProperties : public QWidget, public kzev::IPropertyPage {
    Q_OBJECT

public:
    explicit CViewPrintProperties(CKzevDoc& doc, QWidget* parent = nullptr);

    void OnSetActive() override;
    void OnKillActive() override;

    [[nodiscard]] kzev::ViewPrintValues values() const;
    [[nodiscard]] QLineEdit* companyEdit() const { return m_company; }
    [[nodiscard]] QLineEdit* designerEdit() const { return m_designer; }
    [[nodiscard]] QCheckBox* unitBox() const { return m_unitMm; }
    [[nodiscard]] QComboBox* printScaleBox() const { return m_printScale; }
    [[nodiscard]] QComboBox* leftMarginBox() const { return m_left; }

private:
    [[nodiscard]] CRoom* room() const;

    CKzevDoc& m_doc;
    QLineEdit* m_company;
    QLineEdit* m_designer;
    QCheckBox* m_unitMm;
    QComboBox* m_top;
    QComboBox* m_left;
    QComboBox* m_bottom;
    QComboBox* m_right;
    QComboBox* m_printScale;
    QComboBox* m_dxfScale;
    QLineEdit* m_blockPrefix;
    std::array<QCheckBox*, 14> m_content {};
};
