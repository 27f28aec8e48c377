#pragma once

#include <QDialog>

#include <functional>
#include <string>

class CLuminaire;
class QCheckBox;
class QLineEdit;
class QPushButton;

namespace kzev {
class GridWidget;
}

/**
 * The modeless dialog "Databáze svítidel" on one maker's workbook: the list
 * of its luminaires with a filter, the start of the database editor, and the
 * import of EULUMDAT and IES files into the workbook and the export of
 * luminaires as EULUMDAT files. While it is open the frame's bars are
 * disabled through the switch it is given.
 */
class CLuminaireDatabaseDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 197;
    static constexpr int kGridId = 1051;
    static constexpr int kFilterEditId = 10634;
    static constexpr int kFilterButtonId = 1139;
    static constexpr int kEditButtonId = 1140;
    static constexpr int kCatalogueSheetButtonId = 1141;
    static constexpr int kImportLdtButtonId = 1142;
    static constexpr int kExportLdtButtonId = 1143;
    static constexpr int kImportIesButtonId = 1144;
    static constexpr int kNumberCheckId = 1233;
    /** The maintenance category the import writes for the luminaires it adds. */
    static constexpr int kCategoryEditId = 10635;

    /** Disables the frame's bars with 1 and enables them with 0. */
    using BarSwitch = std::function<void(int disable)>;
    /** Shows the catalogue sheet of the luminaire in the print preview; null ends the catalogue sheet. */
    using SheetPreview = std::function<void(const CLuminaire* luminaire)>;

    CLuminaireDatabaseDialog(std::string workbook, long maker, std::string makerName, BarSwitch bars,
        QWidget* parent = nullptr);
    ~CLuminaireDatabaseDialog() override;

    [[nodiscard]] const std::string& workbook() const { return m_workbook; }
    [[nodiscard]] long maker() const { return m_maker; }
    [[nodiscard]] const std::string& makerName() const { return m_makerName; }
    [[nodiscard]] kzev::GridWidget* luminaireGrid() const { return m_grid; }

    /** Lists the workbook's luminaires that pass the filter. */
    void FillGrid();
    void OnFilter() { FillGrid(); }
    void OnEdit();
    void OnImportLdt();
    void OnImportIes();
    void OnExportLdt();
    /** Loads the luminaire of the first selected row and shows its catalogue sheet in the print preview. */
    void OnCatalogueSheet();
    /** Enables " Katalogový list " while a luminaire row is selected and a preview can be shown. */
    void OnUpdateCatalogueSheet();
    void setSheetPreview(SheetPreview preview);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void setHeadings();
    /** Narrows every column that is wider than a share of the table. */
    void limitColumnWidths();
    void importFiles(bool ies);
    void enableBars();

    std::string m_workbook;
    long m_maker = 0;
    std::string m_makerName;
    BarSwitch m_bars;
    SheetPreview m_sheetPreview;
    QPushButton* m_sheetButton = nullptr;
    bool m_barsDisabled = false;
    bool m_filled = false;

    QLineEdit* m_filter = nullptr;
    QCheckBox* m_number = nullptr;
    QLineEdit* m_category = nullptr;
    kzev::GridWidget* m_grid = nullptr;
};
