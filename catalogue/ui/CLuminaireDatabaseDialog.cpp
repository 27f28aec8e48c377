#include "catalogue/ui/CLuminaireDatabaseDialog.h"

#include "catalogue/EulumdatWriter.h"
#include "catalogue/PhotometryError.h"
#include "catalogue/PhotometryImporter.h"
#include "catalogue/ReferenceDatabase.h"
#include "catalogue/SelectionCatalogue.h"
#include "catalogue/ui/MakerDatabaseEditor.h"
#include "grid/GridWidget.h"
#include "model/CLuminaire.h"
#include "model/MakerWorkbook.h"
#include "platform/CData.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>

namespace {

constexpr int kColumns = 7;
constexpr std::array<int, 6> kHeadings { 61691, 61687, 61697, 61694, 61855, 61696 };
constexpr int kWriteFailed = 61920;
constexpr int kCategoryLabel = 64744;
constexpr int kBadCategory = 64743;
/** No column is wider than this share of the table: a third. */
constexpr int kWidestColumnShare = 3;

template <typename T>
T* named(T* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

CLuminaireDatabaseDialog::CLuminaireDatabaseDialog(
    std::string workbook, long maker, std::string makerName, BarSwitch bars, QWidget* parent)
    : QDialog(parent)
    , m_workbook(std::move(workbook))
    , m_maker(maker)
    , m_makerName(std::move(makerName))
    , m_bars(std::move(bars))
{
    setObjectName(QString::number(kTemplateId));
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setWindowTitle(QStringLiteral("Databáze svítidel ") + qs(m_workbook));

    m_filter = named(new QLineEdit(this), kFilterEditId);
    m_filter->setPlaceholderText(QStringLiteral("Typ nebo název"));
    auto* filterButton = named(new QPushButton(QStringLiteral("Filtrovat"), this), kFilterButtonId);
    auto* editButton = named(new QPushButton(QStringLiteral("Editovat"), this), kEditButtonId);
    auto* sheetButton = named(new QPushButton(QStringLiteral(" Katalogový list "), this), kCatalogueSheetButtonId);
    auto* importLdt = named(new QPushButton(QStringLiteral("Import LDT"), this), kImportLdtButtonId);
    auto* exportLdt = named(new QPushButton(QStringLiteral("Export LDT"), this), kExportLdtButtonId);
    auto* importIes = named(new QPushButton(QStringLiteral("Import IES"), this), kImportIesButtonId);
    m_number = named(new QCheckBox(QStringLiteral("Číslovat"), this), kNumberCheckId);
    m_number->setChecked(true);
    m_category = named(new QLineEdit(this), kCategoryEditId);
    m_category->setText(QString::number(kzev::PhotometryImporter::kDefaultMaintenanceCategory));
    m_category->setMaxLength(6);
    m_category->setFixedWidth(m_category->fontMetrics().horizontalAdvance(QStringLiteral("00000")));
    m_category->setToolTip(QStringLiteral("Kategorie údržby (1 až 6) zapsaná importovaným svítidlům"));
    auto* categoryLabel = new QLabel(qs(kzev::loadString(kCategoryLabel)), this);
    categoryLabel->setBuddy(m_category);
    m_sheetButton = sheetButton;
    sheetButton->setEnabled(false);
    filterButton->setDefault(true);
    for (QPushButton* button : { filterButton, editButton, sheetButton, importLdt, exportLdt, importIes })
        button->setAutoDefault(false);

    m_grid = named(new kzev::GridWidget(this), kGridId);
    CGridCtrl& grid = m_grid->grid();
    grid.SetEditable(false);
    grid.SetListMode(true);
    grid.SetHeaderSort(false);
    // A double click on a row does nothing here; a new selection decides the catalogue sheet's button.
    grid.SetNotifyHandler([this](kzev::GridNotification&) { OnUpdateCatalogueSheet(); });

    auto* controls = new QHBoxLayout;
    controls->addWidget(m_filter, 1);
    for (QWidget* widget : std::initializer_list<QWidget*> { filterButton, editButton, sheetButton, categoryLabel,
             m_category, importLdt, exportLdt, importIes, m_number })
        controls->addWidget(widget);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(m_grid, 1);

    connect(filterButton, &QPushButton::clicked, this, [this] { OnFilter(); });
    connect(m_filter, &QLineEdit::returnPressed, this, [this] { OnFilter(); });
    connect(editButton, &QPushButton::clicked, this, [this] { OnEdit(); });
    connect(importLdt, &QPushButton::clicked, this, [this] { OnImportLdt(); });
    connect(exportLdt, &QPushButton::clicked, this, [this] { OnExportLdt(); });
    connect(importIes, &QPushButton::clicked, this, [this] { OnImportIes(); });
    connect(sheetButton, &QPushButton::clicked, this, [this] { OnCatalogueSheet(); });

    setHeadings();
    resize(980, 520);
}

CLuminaireDatabaseDialog::~CLuminaireDatabaseDialog()
{
    if (m_sheetPreview)
        m_sheetPreview(nullptr);
    enableBars();
}

void CLuminaireDatabaseDialog::setSheetPreview(SheetPreview preview)
{
    m_sheetPreview = std::move(preview);
    OnUpdateCatalogueSheet();
}

namespace {

long firstSelectedRecord(CGridCtrl& grid)
{
    // The focus moves before the selection follows a click: the focused row counts while nothing is selected.
    const kzev::CellRange selected = grid.GetSelectedCellRange();
    const int row = selected.isValid() ? std::max(selected.minRow, grid.GetFixedRowCount()) : grid.GetFocusCell().row;
    if (row < grid.GetFixedRowCount() || row >= grid.GetRowCount() || (selected.isValid() && row > selected.maxRow))
        return 0;
    return static_cast<long>(grid.GetItemData(row, 0));
}

} // namespace

void CLuminaireDatabaseDialog::OnUpdateCatalogueSheet()
{
    if (m_sheetButton)
        m_sheetButton->setEnabled(m_sheetPreview && firstSelectedRecord(m_grid->grid()) >= 1);
}

void CLuminaireDatabaseDialog::OnCatalogueSheet()
{
    const long record = firstSelectedRecord(m_grid->grid());
    if (record < 1 || !m_sheetPreview)
        return;
    CLuminaire luminaire;
    if (!luminaire.LoadFromDataFile(m_maker, record, 1))
        return;
    m_sheetPreview(&luminaire);
}

void CLuminaireDatabaseDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_barsDisabled && m_bars) {
        m_bars(1);
        m_barsDisabled = true;
    }
    if (!m_filled) {
        m_filled = true;
        FillGrid();
    }
}

void CLuminaireDatabaseDialog::closeEvent(QCloseEvent* event)
{
    enableBars();
    QDialog::closeEvent(event);
}

void CLuminaireDatabaseDialog::reject()
{
    enableBars();
    QDialog::reject();
}

void CLuminaireDatabaseDialog::enableBars()
{
    if (m_barsDisabled && m_bars)
        m_bars(0);
    m_barsDisabled = false;
}

void CLuminaireDatabaseDialog::setHeadings()
{
    CGridCtrl& grid = m_grid->grid();
    grid.DeleteAllItems();
    grid.SetColumnCount(kColumns);
    grid.SetRowCount(1);
    grid.SetFixedRowCount(1);
    grid.SetFixedColumnCount(1);
    for (std::size_t col = 0; col < kHeadings.size(); ++col)
        grid.SetItemText(0, static_cast<int>(col), kzev::loadString(kHeadings[col]));
    grid.AutoSizeColumns();
}

void CLuminaireDatabaseDialog::FillGrid()
{
    setHeadings();
    const auto rows = kzev::queryMakerLuminaireRows(m_maker, m_filter->text().toStdString());
    CGridCtrl& grid = m_grid->grid();
    if (rows) {
        for (const kzev::SelectionRow& row : *rows) {
            const int at = grid.InsertRow(row.cells[0]);
            if (at < 0)
                break;
            grid.SetItemData(at, 0, static_cast<std::int32_t>(row.record));
            for (int col = 1; col < kColumns - 1; ++col)
                grid.SetItemText(at, col, row.cells[static_cast<std::size_t>(col)]);
        }
    }
    grid.AutoSizeColumns();
    limitColumnWidths();
    if (grid.GetRowCount() > 1)
        grid.EnsureVisible(1, 0);
    grid.Refresh();
    OnUpdateCatalogueSheet();
}

void CLuminaireDatabaseDialog::limitColumnWidths()
{
    // One long text (an imported file's type of a hundred characters) would push every other column out of
    // view; the cell's title tip shows the whole of it.
    CGridCtrl& grid = m_grid->grid();
    const int table = m_grid->viewport()->width() > 0 ? m_grid->viewport()->width() : width();
    const int widest = std::max(table / kWidestColumnShare, 1);
    for (int col = 0; col < grid.GetColumnCount(); ++col) {
        if (grid.GetColumnWidth(col) > widest)
            grid.SetColumnWidth(col, widest);
    }
}

void CLuminaireDatabaseDialog::OnEdit()
{
    kzev::startDatabaseEditor(m_workbook);
}

void CLuminaireDatabaseDialog::OnImportLdt()
{
    importFiles(false);
}

void CLuminaireDatabaseDialog::OnImportIes()
{
    importFiles(true);
}

void CLuminaireDatabaseDialog::importFiles(bool ies)
{
    // A category the maintenance table does not know would stop every calculation with the luminaire.
    const QString categoryText = m_category->text().trimmed();
    bool isNumber = false;
    const long category = categoryText.toLong(&isNumber);
    if (!isNumber || !kzev::PhotometryImporter::isMaintenanceCategory(category)) {
        kzev::services().messageBox->show(kzev::formatC(kzev::loadString(kBadCategory).c_str(),
                                              categoryText.toStdString().c_str(),
                                              static_cast<long>(CLuminaire::kMaintenanceCategories)),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        m_category->setFocus();
        m_category->selectAll();
        return;
    }
    const QStringList files = QFileDialog::getOpenFileNames(this, QString(), QString(),
        ies ? QStringLiteral("Databázové soubory IES (*.ies)") : QStringLiteral("Databázové soubory Eulumdat (*.ldt)"));
    if (files.isEmpty())
        return;
    const auto format = ies ? kzev::PhotometryImporter::Format::Ies : kzev::PhotometryImporter::Format::Eulumdat;
    bool imported = false;
    {
        kzev::WaitCursorGuard wait;
        for (const QString& file : files) {
            kzev::PhotometryImporter::Prepared prepared;
            try {
                prepared = kzev::PhotometryImporter::prepareFile(format, file.toStdString());
                prepared.maintenanceCategory = category;
            } catch (const std::exception& error) {
                // Files imported before this one stay.
                kzev::services().messageBox->show(kzev::PhotometryImporter::readFailureMessage(format, error),
                    kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
                break;
            }
            try {
                CData workbook;
                kzev::PhotometryImporter::write(workbook, m_workbook, prepared);
                imported = true;
            } catch (const std::exception& error) {
                kzev::services().messageBox->show(error.what(), kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
                break;
            }
        }
    }
    // The lamp-system sheet finds a maker's groups in the reference database: what was added is usable at once.
    if (imported)
        (void)kzev::updateReferenceDatabase({ m_workbook, m_maker });
    FillGrid();
}

void CLuminaireDatabaseDialog::OnExportLdt()
{
    const kzev::CellRange selected = m_grid->grid().GetSelectedCellRange();
    if (!selected.isValid())
        return;
    const bool numbered = m_number->isChecked();
    QString folder;
    // The selected luminaires are read from the maker's workbook opened once.
    MakerWorkbook workbook;
    for (int row = std::max(selected.minRow, 1); row <= selected.maxRow; ++row) {
        const long record = m_grid->grid().GetItemData(row, 0);
        CLuminaire luminaire;
        if (record <= 0 || !luminaire.LoadFromDataFile(workbook, m_maker, record, 1))
            continue;
        const kzev::EulumdatExport data = kzev::EulumdatWriter::exportOf(luminaire, m_makerName);
        const QString name = qs(kzev::EulumdatWriter::proposedName(data.luminaireNumber, row, numbered));
        QString path;
        if (folder.isNull()) {
            path = QFileDialog::getSaveFileName(
                this, QString(), name + QStringLiteral(".ldt"), QStringLiteral("Databázové soubory Eulumdat (*.ldt)"));
            if (path.isEmpty())
                return;
            folder = QFileInfo(path).absolutePath();
        } else {
            path = folder + QLatin1Char('/') + name + QStringLiteral(".ldt");
        }
        try {
            kzev::EulumdatWriter::write(path.toStdString(), data);
        } catch (const std::exception& error) {
            const auto answer = kzev::services().messageBox->show(kzev::loadString(kWriteFailed) + "\n" + error.what(),
                kzev::MessageIcon::Warning, kzev::MessageButtons::OkCancel);
            if (answer == kzev::MessageAnswer::Cancel)
                return;
        }
    }
}
