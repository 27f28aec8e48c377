#pragma once

#include "catalogue/SelectionCatalogue.h"
#include "catalogue/ui/LampSheetPage.h"
#include "model/CLuminaire.h"

#include <QWidget>

#include <functional>
#include <optional>
#include <string>

class CPictureButton;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kzev {
class GridWidget;
struct GridNotification;
}

/**
 * Page 157 "Výběr svítidla a světelného zdroje" of the lamp-system sheet:
 * the makers' luminaire and lamp groups, the luminaires and lamps of the
 * chosen groups, a filter and a search over all makers, the lamp flux, and
 * the chosen luminaire's intensity diagram or photo. The choice goes into
 * the sheet's working copy as the page is left. The reading of the
 * databases is in kzev::SelectionCatalogue; this class is the window.
 */
class CLampSelectDialog : public QWidget, public kzev::ILampSheetPage {
    Q_OBJECT

public:
    static constexpr int kTemplateId = 157;
    static constexpr int kLuminaireTreeId = 10501;
    static constexpr int kLuminaireGridId = 1051;
    static constexpr int kLampTreeId = 1052;
    static constexpr int kLampGridId = 1048;
    static constexpr int kFilterEditId = 10634;
    static constexpr int kFilterButtonId = 11041;
    static constexpr int kLampFilterCheckId = 1103;
    static constexpr int kFluxEditId = 10644;
    static constexpr int kOwnFluxCheckId = 1133;
    static constexpr int kSearchButtonId = 1169;
    static constexpr int kUsedButtonId = 1183;
    static constexpr int kEnlargeListId = 11212;
    static constexpr int kEnlargePictureId = 11762;
    static constexpr int kToggleCurveId = 11763;

    explicit CLampSelectDialog(QWidget* parent = nullptr);
    ~CLampSelectDialog() override;

    /** The sheet gives the page its document, indexes, working copy and push. */
    void setContext(const kzev::LampSheetContext& context);
    /** Opens the used-luminaires list modally; true when an entry of the legend list was chosen. */
    void setUsedLuminairePicker(std::function<std::optional<int>()> picker) { m_usedPicker = std::move(picker); }

    // ---- filled by the sheet ----------------------------------------------------
    /** Fills both group trees from the reference database. */
    void FillGroupTrees();
    /** Gives both grids their columns and headings. */
    void SetupGrids();
    /** Shows the working copy's luminaire and lamp in the trees and grids. */
    void SelectCurrentLuminaire();

    // ---- ILampSheetPage ----------------------------------------------------------
    void OnSetActive() override;
    void OnKillActive() override;

    // ---- actions -----------------------------------------------------------------
    void FillLuminaireGrid(long maker, long subgroup, long recordToSelect, long lampMaker, long lampRecord);
    void FillLampGrid();
    void SelectLuminaireRow(int row, long lampMaker, long lampRecord);
    void SelectLamp(long lampMaker, long lampRecord);
    void ShowLuminaireRecord(long maker, long record, long lampMaker, long lampRecord);
    void OnLuminaireGroupSelChanged();
    void OnFilter();
    void OnSearch();
    void OnLuminaireGridClick(int row);
    void OnLampGridClick();
    void OnLuminaireGridDblClk(int row);
    void OnOwnFlux();
    void OnToggleCurvePhoto();
    void OnEnlargeList();
    void OnEnlargePicture();
    void OnUsedLuminaires();

    // ---- state for the sheet and for tests -------------------------------------------
    [[nodiscard]] QTreeWidget* luminaireTree() const { return m_luminaireTree; }
    [[nodiscard]] QTreeWidget* lampTree() const { return m_lampTree; }
    [[nodiscard]] kzev::GridWidget* luminaireGrid() const { return m_luminaireGrid; }
    [[nodiscard]] kzev::GridWidget* lampGrid() const { return m_lampGrid; }
    [[nodiscard]] CPictureButton* pictureButton() const { return m_picture; }
    [[nodiscard]] long currentMaker() const { return m_currentMaker; }
    [[nodiscard]] int makerCount() const { return m_makerCount; }
    [[nodiscard]] const std::string& picturePath() const { return m_picturePath; }
    [[nodiscard]] bool listEnlarged() const { return m_enlarged; }
    /** The luminaire shown in the picture area, if any. */
    [[nodiscard]] const CLuminaire* shownLuminaire() const { return m_shown ? &*m_shown : nullptr; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void onGridNotify(const kzev::GridNotification& note);
    void drawPicture(QPainter& painter, const QRect& rect);
    void fillTree(QTreeWidget* tree, const std::vector<kzev::CatalogueTreeItem>& roots);
    [[nodiscard]] QTreeWidgetItem* makerItem(QTreeWidget* tree, long maker) const;
    [[nodiscard]] int firstSelectedRow(const kzev::GridWidget* grid) const;
    void selectGridRow(kzev::GridWidget* grid, int row);
    void emptyLampGrid();
    void setFluxEditable(bool editable);
    void updatePictureButtons();
    void selectTreeItem(QTreeWidget* tree, QTreeWidgetItem* item);

    kzev::LampSheetContext m_context;
    std::function<std::optional<int>()> m_usedPicker;

    QTreeWidget* m_luminaireTree = nullptr;
    QTreeWidget* m_lampTree = nullptr;
    kzev::GridWidget* m_luminaireGrid = nullptr;
    kzev::GridWidget* m_lampGrid = nullptr;
    QLineEdit* m_filter = nullptr;
    QPushButton* m_filterButton = nullptr;
    QCheckBox* m_lampFilter = nullptr;
    QLineEdit* m_flux = nullptr;
    QCheckBox* m_ownFlux = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_used = nullptr;
    QPushButton* m_enlargeList = nullptr;
    QPushButton* m_enlargePicture = nullptr;
    QPushButton* m_toggleCurve = nullptr;
    CPictureButton* m_picture = nullptr;
    QLabel* m_luminaireLabel = nullptr;
    QLabel* m_lampLabel = nullptr;
    QList<QWidget*> m_hiddenWhenEnlarged;

    long m_currentMaker = 0;
    long m_currentLampMaker = 0;
    long m_currentLampSubgroup = 0;
    int m_makerCount = 0;
    std::string m_picturePath;
    bool m_enlarged = false;
    bool m_ready = true;
    std::optional<CLuminaire> m_shown;
};
