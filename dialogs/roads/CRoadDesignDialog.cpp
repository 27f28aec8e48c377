#include "dialogs/roads/CRoadDesignDialog.h"
#include "dialogs/OkCancelRow.h"

#include "dialogs/rooms/CDialogRoom.h"
#include "dialogs/rooms/RoomPages.h"
#include "model/CKzevDoc.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }
std::string ss(const QComboBox* combo) { return combo->currentText().trimmed().toStdString(); }

QComboBox* editableCombo(QWidget* parent, const char* name)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumWidth(90);
    return combo;
}

void setText(QComboBox* combo, const std::string& text)
{
    const int at = combo->findText(qs(text));
    if (at >= 0)
        combo->setCurrentIndex(at);
    combo->setEditText(qs(text));
}

} // namespace

CRoadDesignDialog::CRoadDesignDialog(CKzevDoc& doc, QWidget* parent)
    : QDialog(parent)
    , m_doc(doc)
{
    setWindowTitle(QStringLiteral("Návrh osvětlení vozovky"));
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    m_lanesLeftToRight = editableCombo(this, "lanesLeftToRight");
    m_lanesRightToLeft = editableCombo(this, "lanesRightToLeft");
    for (QComboBox* lanes : { m_lanesLeftToRight, m_lanesRightToLeft }) {
        for (int n = 1; n <= 5; ++n)
            lanes->addItem(QString::number(n));
    }
    const auto lengths = [this](const char* name, const std::vector<int>& millimetres) {
        QComboBox* combo = editableCombo(this, name);
        for (const std::string& text : kzev::offeredLengths(m_doc, millimetres))
            combo->addItem(qs(text));
        return combo;
    };
    m_laneWidth = lengths("laneWidth", { 2000, 2500, 3000, 3500, 4000, 4500, 5000 });
    m_stripWidth = lengths("stripWidth", { 500, 1000, 1500, 2000, 2500, 3000, 4000, 5000, 7500, 10000, 3000, 3500, 4000 });
    m_surroundingsWidth = lengths("surroundingsWidth", { 2000, 2500, 3000, 3500, 4000, 4500, 5000 });
    m_spacing = lengths("spacing", { 5000, 10000, 15000, 20000, 25000, 30000, 35000, 40000, 45000 });
    m_height = lengths("height", { 5000, 6000, 8000, 10000, 12000, 14000, 16000, 20000 });
    const std::string unit = m_doc.m_unitMm == 1 ? " [mm]" : " [m]";
    const struct {
        const char* label;
        bool length;
        QComboBox* combo;
    } rows[] = {
        { "Počet pruhů z&leva doprava", false, m_lanesLeftToRight },
        { "Počet pruhů z&prava doleva", false, m_lanesRightToLeft },
        { "Šířka pr&uhu", true, m_laneWidth },
        { "Šířka dělícího pásu", true, m_stripWidth },
        { "Šířka pásu okolí", true, m_surroundingsWidth },
        { "Ro&zteč svítidel", true, m_spacing },
        { "Výška svítidel", true, m_height },
    };
    int row = 0;
    for (const auto& r : rows) {
        auto* label = new QLabel(QString::fromUtf8(r.label) + (r.length ? qs(unit) : QString()) + QStringLiteral(":"), this);
        label->setBuddy(r.combo);
        grid->addWidget(label, row, 0);
        grid->addWidget(r.combo, row, 1);
        ++row;
    }
    layout->addLayout(grid);

    auto* options = new QHBoxLayout;
    auto* quantity = new QGroupBox(QStringLiteral("&Počítaná hodnota"), this);
    auto* quantityRow = new QVBoxLayout(quantity);
    m_quantity = new QButtonGroup(this);
    const char* quantities[] = { "Osvětlenost", "Jas" };
    const char* quantityNames[] = { "illuminance", "luminance" };
    for (int i = 0; i < 2; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(quantities[i]), quantity);
        radio->setObjectName(QString::fromLatin1(quantityNames[i]));
        m_quantity->addButton(radio, i);
        quantityRow->addWidget(radio);
    }
    options->addWidget(quantity);
    auto* right = new QVBoxLayout;
    m_staggered = new QCheckBox(QStringLiteral("Vystřídaná soustava"), this);
    m_staggered->setObjectName(QStringLiteral("staggered"));
    right->addWidget(m_staggered);
    m_maintenance = new QPushButton(QStringLiteral("Údržba"), this);
    m_maintenance->setObjectName(QStringLiteral("maintenance"));
    right->addWidget(m_maintenance);
    right->addStretch(1);
    options->addLayout(right);
    layout->addLayout(options);

    auto* surface = new QGroupBox(QStringLiteral("&Třída povrchu"), this);
    auto* surfaceRow = new QVBoxLayout(surface);
    m_surface = new QComboBox(surface);
    m_surface->setObjectName(QStringLiteral("surface"));
    m_surface->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    surfaceRow->addWidget(m_surface);
    layout->addWidget(surface);

    const kzev::OkCancelRow buttons = kzev::addOkCancelRow(*this, *layout);
    connect(buttons.ok, &QPushButton::clicked, this, &CRoadDesignDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &CRoadDesignDialog::reject);
    connect(m_maintenance, &QPushButton::clicked, this, &CRoadDesignDialog::onMaintenance);
    // The surroundings follow the lane width, typed or picked.
    connect(m_laneWidth, &QComboBox::editTextChanged, this,
        [this](const QString& text) { m_surroundingsWidth->setEditText(text); });
}

void CRoadDesignDialog::OnInitDialog()
{
    setText(m_lanesLeftToRight, m_values.lanesLeftToRight);
    setText(m_lanesRightToLeft, m_values.lanesRightToLeft);
    setText(m_laneWidth, m_values.laneWidth);
    // After the lane width, which the surroundings follow.
    setText(m_surroundingsWidth, m_values.surroundingsWidth);
    setText(m_stripWidth, m_values.stripWidth);
    setText(m_spacing, m_values.spacing);
    setText(m_height, m_values.height);
    if (QAbstractButton* radio = m_quantity->button(m_values.quantity == 1 ? 1 : 0))
        radio->setChecked(true);
    m_staggered->setChecked(m_values.staggered == 1);

    m_surface->clear();
    const std::vector<kzev::RoadSurfaceEntry> tables = kzev::listRoadSurfaceTables(kzev::appFolders().PathData);
    for (const kzev::RoadSurfaceEntry& entry : tables)
        m_surface->addItem(qs(entry.title).trimmed(), entry.number);
    m_surface->setCurrentIndex(kzev::entryOfTable(tables, m_values.tableNumber));

    const bool roomExists = m_values.room >= 0 && static_cast<std::size_t>(m_values.room) < m_doc.m_rooms.size();
    m_maintenance->setEnabled(roomExists);
}

int CRoadDesignDialog::DoModal()
{
    OnInitDialog();
    return exec();
}

void CRoadDesignDialog::readControls()
{
    m_values.lanesLeftToRight = ss(m_lanesLeftToRight);
    m_values.lanesRightToLeft = ss(m_lanesRightToLeft);
    m_values.laneWidth = ss(m_laneWidth);
    m_values.stripWidth = ss(m_stripWidth);
    m_values.surroundingsWidth = ss(m_surroundingsWidth);
    m_values.spacing = ss(m_spacing);
    m_values.height = ss(m_height);
    m_values.quantity = m_quantity->checkedId() == 1 ? 1 : 0;
    m_values.staggered = m_staggered->isChecked() ? 1 : 0;
}

void CRoadDesignDialog::accept()
{
    readControls();
    if (const std::optional<std::string> unreadable = kzev::unreadableRoadText(m_doc, m_values)) {
        (void)kzev::services().messageBox->show(kzev::formatC(kzev::loadString(65341).c_str(), unreadable->c_str()),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        return;
    }
    if (!kzev::roadDesignComplete(m_doc, m_values)) {
        (void)kzev::services().messageBox->show(
            "Nulová hodnota", kzev::MessageIcon::Information, kzev::MessageButtons::Ok);
        return;
    }
    m_values.tableNumber = m_surface->currentIndex() >= 0 ? m_surface->currentData().toInt() : -1;
    QDialog::accept();
}

void CRoadDesignDialog::onMaintenance()
{
    readControls();
    CDialogRoom sheet(m_doc, m_values.room, this);
    sheet.m_road = 1;
    sheet.setWindowIcon(windowIcon());
    if (!sheet.OnInitDialog())
        return;
    // The button asks for the maintenance, whichever page the sheet was last left on.
    auto* tabs = sheet.findChild<QTabWidget*>();
    if (auto* page = sheet.findChild<CRoomMaintenance*>(); tabs && page)
        tabs->setCurrentWidget(page);
    (void)sheet.exec();
}
