#include "dialogs/project/CProjectDialog.h"

#include "cad/CadDrawingOpen.h"
#include "model/ProjectProperties.h"
#include "platform/CadLink.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/qt/FileFilter.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <ctime>

namespace {

// Control ids of the dialog template; the widgets carry them as object names.
constexpr int kBuilding = 1007;
constexpr int kProject = 1006;
constexpr int kCompany = 1004;
constexpr int kDesigner = 1005;
constexpr int kDate = 1009;
constexpr int kRemark = 1245;
constexpr int kDrawing = 1008;
constexpr int kFirstType = 1187;
constexpr int kPreferAutocad = 1222;
constexpr int kAcadUnicode = 1241;
constexpr int kExportAtZero = 1223;
constexpr int kIcadKey = 1010;
constexpr int kTimeOnProject = 1244;
constexpr int kBrowse = 1221;
constexpr int kOpen = 1220;
constexpr int kToday = 3;
constexpr int kNoDrawingNamed = 63547;

constexpr int kTitle = 63510;
constexpr int kFirstLabel = 63511; // "&Stavba" ... "Dw&g soubor" in the order of kLabelled
constexpr int kTypeGroup = 63518;
constexpr int kFirstTypeText = 63519;
constexpr int kPreferText = 63522;
constexpr int kUnicodeText = 63523;
constexpr int kExportText = 63524;
constexpr int kIcadText = 63525;
constexpr int kTimeText = 63526;
constexpr int kOpenText = 63527;
constexpr int kTodayText = 63528;
constexpr int kCancelText = 63529;
constexpr int kPrintGroup = 63548;
constexpr int kCadGroup = 63549;
constexpr int kDrawingFilter = 61504;

QString text(int id)
{
    return QString::fromStdString(kzev::loadString(id));
}

QString qs(const std::string& value)
{
    return QString::fromStdString(value);
}

QString controlName(int id)
{
    return QString::number(id);
}

bool openInInstalledCad(bool preferAutocad, const std::string& path)
{
    return kzev::openProjectDrawing(*kzev::cadLink().automation, preferAutocad, std::filesystem::path(path));
}

} // namespace

CProjectDialog::CProjectDialog(QWidget* parent)
    : QDialog(parent)
    , m_openDrawing(openInInstalledCad)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(text(kTitle));

    // The texts of the printouts.
    auto* print = new QGroupBox(text(kPrintGroup), this);
    auto* printForm = new QFormLayout(print);
    const std::array<int, 4> texts { kBuilding, kProject, kCompany, kDesigner };
    for (std::size_t i = 0; i < texts.size(); ++i)
        printForm->addRow(text(kFirstLabel + static_cast<int>(i)), addEdit(texts[i]));
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(addEdit(kDate), 1);
    m_today = new QPushButton(text(kTodayText), print);
    m_today->setObjectName(controlName(kToday));
    dateRow->addWidget(m_today);
    auto* dateLabel = new QLabel(text(kFirstLabel + 4), print);
    dateLabel->setBuddy(edit(kDate));
    printForm->addRow(dateLabel, dateRow);
    printForm->addRow(text(kFirstLabel + 5), addEdit(kRemark));

    // The kind of project.
    auto* types = new QGroupBox(text(kTypeGroup), this);
    auto* typesLayout = new QVBoxLayout(types);
    auto* typeGroup = new QButtonGroup(this);
    for (std::size_t i = 0; i < m_types.size(); ++i) {
        m_types[i] = new QRadioButton(text(kFirstTypeText + static_cast<int>(i)).trimmed(), types);
        m_types[i]->setObjectName(controlName(kFirstType + static_cast<int>(i)));
        typeGroup->addButton(m_types[i], static_cast<int>(i));
        typesLayout->addWidget(m_types[i]);
    }
    typesLayout->addStretch();

    // The CAD program and the drawing.
    auto* cad = new QGroupBox(text(kCadGroup), this);
    auto* cadGrid = new QGridLayout(cad);
    auto* drawingLabel = new QLabel(text(kFirstLabel + 6), cad);
    drawingLabel->setBuddy(addEdit(kDrawing));
    cadGrid->addWidget(drawingLabel, 0, 0);
    cadGrid->addWidget(edit(kDrawing), 0, 1);
    m_browse = new QPushButton(QStringLiteral("..."), cad);
    m_browse->setObjectName(controlName(kBrowse));
    m_browse->setFixedWidth(m_browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    cadGrid->addWidget(m_browse, 0, 2);
    m_open = new QPushButton(text(kOpenText), cad);
    m_open->setObjectName(controlName(kOpen));
    cadGrid->addWidget(m_open, 0, 3);
    m_preferAutocad = new QCheckBox(text(kPreferText), cad);
    m_preferAutocad->setObjectName(controlName(kPreferAutocad));
    m_acadUnicode = new QCheckBox(text(kUnicodeText), cad);
    m_acadUnicode->setObjectName(controlName(kAcadUnicode));
    m_exportAtZero = new QCheckBox(text(kExportText), cad);
    m_exportAtZero->setObjectName(controlName(kExportAtZero));
    cadGrid->addWidget(m_preferAutocad, 1, 1);
    cadGrid->addWidget(m_acadUnicode, 2, 1);
    cadGrid->addWidget(m_exportAtZero, 3, 1);
    auto* icadLabel = new QLabel(text(kIcadText), cad);
    icadLabel->setBuddy(addEdit(kIcadKey));
    cadGrid->addWidget(icadLabel, 4, 0);
    cadGrid->addWidget(edit(kIcadKey), 4, 1, 1, 3);
    cadGrid->setColumnStretch(1, 1);

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(new QLabel(text(kTimeText), this));
    QLineEdit* time = addEdit(kTimeOnProject);
    time->setReadOnly(true);
    time->setAlignment(Qt::AlignRight);
    time->setMaximumWidth(time->fontMetrics().horizontalAdvance(QStringLiteral("00000:00:00")) + 16);
    timeRow->addWidget(time);
    timeRow->addStretch();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(text(kCancelText));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(print, 1);
    top->addWidget(types);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(cad);
    layout->addLayout(timeRow);
    layout->addWidget(buttons);

    connect(m_browse, &QPushButton::clicked, this, &CProjectDialog::OnBrowseDwg);
    connect(m_open, &QPushButton::clicked, this, &CProjectDialog::OnOpenDwg);
    connect(m_today, &QPushButton::clicked, this, &CProjectDialog::OnToday);
    // Every text starts empty and no kind is chosen until the caller fills them.
    setMinimumWidth(560);
}

CProjectDialog::~CProjectDialog() = default;

QLineEdit* CProjectDialog::addEdit(int controlId)
{
    auto* edit = new QLineEdit(this);
    edit->setObjectName(controlName(controlId));
    return edit;
}

QLineEdit* CProjectDialog::edit(int controlId) const
{
    return findChild<QLineEdit*>(controlName(controlId));
}

QCheckBox* CProjectDialog::check(int controlId) const
{
    return findChild<QCheckBox*>(controlName(controlId));
}

QPushButton* CProjectDialog::button(int controlId) const
{
    return findChild<QPushButton*>(controlName(controlId));
}

void CProjectDialog::setFields(const kzev::ProjectDialogFields& fields)
{
    edit(kBuilding)->setText(qs(fields.building));
    edit(kProject)->setText(qs(fields.projectName));
    edit(kCompany)->setText(qs(fields.company));
    edit(kDesigner)->setText(qs(fields.designer));
    edit(kDate)->setText(qs(fields.date));
    edit(kRemark)->setText(qs(fields.remark));
    edit(kDrawing)->setText(qs(fields.dwgFile));
    edit(kIcadKey)->setText(qs(fields.icadKey));
    edit(kTimeOnProject)->setText(qs(fields.timeOnProject));
    for (std::size_t i = 0; i < m_types.size(); ++i)
        m_types[i]->setChecked(fields.projectType == static_cast<int>(i));
    m_preferAutocad->setChecked(fields.preferAutocad == 1);
    m_acadUnicode->setChecked(fields.acadUnicode == 1);
    m_exportAtZero->setChecked(fields.exportAtZero == 1);
}

kzev::ProjectDialogFields CProjectDialog::fields() const
{
    kzev::ProjectDialogFields fields;
    fields.building = edit(kBuilding)->text().toStdString();
    fields.projectName = edit(kProject)->text().toStdString();
    fields.company = edit(kCompany)->text().toStdString();
    fields.designer = edit(kDesigner)->text().toStdString();
    fields.date = edit(kDate)->text().toStdString();
    fields.remark = edit(kRemark)->text().toStdString();
    fields.dwgFile = edit(kDrawing)->text().toStdString();
    fields.icadKey = edit(kIcadKey)->text().toStdString();
    fields.timeOnProject = edit(kTimeOnProject)->text().toStdString();
    fields.projectType = -1;
    for (std::size_t i = 0; i < m_types.size(); ++i) {
        if (m_types[i]->isChecked())
            fields.projectType = static_cast<int>(i);
    }
    fields.preferAutocad = m_preferAutocad->isChecked() ? 1 : 0;
    fields.acadUnicode = m_acadUnicode->isChecked() ? 1 : 0;
    fields.exportAtZero = m_exportAtZero->isChecked() ? 1 : 0;
    return fields;
}

void CProjectDialog::OnBrowseDwg()
{
    const QString current = edit(kDrawing)->text();
    const QString path = QFileDialog::getOpenFileName(this, QString(), current,
        kzev::qtFileFilter(kzev::loadString(kDrawingFilter)));
    if (!path.isEmpty())
        edit(kDrawing)->setText(path);
}

void CProjectDialog::OnOpenDwg()
{
    // With no file named there is nothing to open: no empty drawing window, no word about a missing document.
    const QString named = edit(kDrawing)->text().trimmed();
    if (named.isEmpty()) {
        kzev::messageBoxId(kNoDrawingNamed);
        return;
    }
    (void)m_openDrawing(m_preferAutocad->isChecked(), named.toStdString());
}

void CProjectDialog::OnToday()
{
    const std::time_t now = std::time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    edit(kDate)->setText(qs(kzev::projectDateText(local)));
}
