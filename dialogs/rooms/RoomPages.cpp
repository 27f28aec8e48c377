#include "dialogs/rooms/RoomPages.h"

#include "dialogs/CCadPickButton.h"
#include "dialogs/CCadPickButton2.h"
#include "calc/MaintenanceFactor.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

constexpr int kFiguresTitle = 65220;            // "Hodnoty pro výpočet"
constexpr int kDirectFactorName = 61754;        // "Udržovací činitel přímé složky"
constexpr int kReflectanceReductionName = 61755; // "Snížení odraznosti znečištěním"

QString qs(const std::string& text) { return QString::fromStdString(text); }
std::string ss(const QString& text) { return text.toStdString(); }

QLineEdit* numberEdit(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setMinimumWidth(80);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

QComboBox* listCombo(QWidget* parent, const char* name, const QStringList& items)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setEditable(true);
    combo->addItems(items);
    combo->setMinimumWidth(80);
    return combo;
}

void setComboText(QComboBox* combo, const std::string& text)
{
    const int at = combo->findText(qs(text));
    if (at >= 0)
        combo->setCurrentIndex(at);
    combo->setEditText(qs(text));
}

QButtonGroup* radioGroup(QWidget* parent, QLayout* layout, const char* name, const QStringList& captions)
{
    auto* group = new QButtonGroup(parent);
    for (int i = 0; i < captions.size(); ++i) {
        auto* radio = new QRadioButton(captions[i], parent);
        radio->setObjectName(QStringLiteral("%1%2").arg(QString::fromLatin1(name)).arg(i));
        group->addButton(radio, i);
        layout->addWidget(radio);
    }
    return group;
}

void check(QButtonGroup* group, int id)
{
    if (QAbstractButton* button = group->button(id))
        button->setChecked(true);
}

} // namespace

CRoomDimesions::CRoomDimesions(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_number = new QLineEdit(this);
    m_number->setObjectName(QStringLiteral("number"));
    m_requirement = new QLineEdit(this);
    m_requirement->setObjectName(QStringLiteral("requirement"));
    auto* standard = new QPushButton(QStringLiteral("Norma"), this);
    standard->setObjectName(QStringLiteral("standard"));
    connect(standard, &QPushButton::clicked, this, &CRoomDimesions::standardRequested);
    top->addWidget(new QLabel(QStringLiteral("Název:"), this), 0, 0);
    top->addWidget(m_name, 0, 1, 1, 2);
    top->addWidget(new QLabel(QStringLiteral("M.č.:"), this), 1, 0);
    top->addWidget(m_number, 1, 1, 1, 2);
    top->addWidget(standard, 2, 0);
    top->addWidget(m_requirement, 2, 1, 1, 2);
    top->setColumnStretch(1, 1);
    layout->addLayout(top);

    auto* sizes = new QGroupBox(QStringLiteral("Rozměry"), this);
    auto* sizeGrid = new QGridLayout(sizes);
    const char* sizeNames[] = { "length", "width", "height" };
    const char* sizeLabels[] = { "Délka:", "Šířka:", "Výška:" };
    const char* pickTips[] = { "Odměřit délku ve výkresu CAD", "Odměřit šířku ve výkresu CAD",
        "Odměřit výšku ve výkresu CAD" };
    for (std::size_t i = 0; i < 3; ++i) {
        m_size[i] = numberEdit(this, sizeNames[i]);
        m_pickSize[i] = new CCadPickButton2(sizes);
        m_pickSize[i]->setObjectName(QStringLiteral("%1Pick").arg(QLatin1String(sizeNames[i])));
        m_pickSize[i]->setToolTip(QString::fromUtf8(pickTips[i]));
        m_pickSize[i]->hide();
        sizeGrid->addWidget(new QLabel(QString::fromUtf8(sizeLabels[i]), this), 0, static_cast<int>(3 * i));
        sizeGrid->addWidget(m_size[i], 0, static_cast<int>(3 * i + 1));
        sizeGrid->addWidget(m_pickSize[i], 0, static_cast<int>(3 * i + 2));
        connect(m_pickSize[i], &QPushButton::clicked, this, [this, i] { pickDistance(i); });
    }
    layout->addWidget(sizes);

    auto* origin = new QGroupBox(QStringLiteral("Počátek"), this);
    auto* originGrid = new QGridLayout(origin);
    const char* originNames[] = { "originX", "originY", "originZ" };
    const char* originLabels[] = { "X:", "Y:", "Z:" };
    for (std::size_t i = 0; i < 3; ++i) {
        m_origin[i] = numberEdit(this, originNames[i]);
        originGrid->addWidget(new QLabel(QString::fromLatin1(originLabels[i]), this), 0, static_cast<int>(2 * i));
        originGrid->addWidget(m_origin[i], 0, static_cast<int>(2 * i + 1));
    }
    m_pickCorners = new CCadPickButton(origin);
    m_pickCorners->setObjectName(QStringLiteral("cornersPick"));
    m_pickCorners->setToolTip(QStringLiteral("Určit počátek, délku a šířku dvěma rohy ve výkresu CAD"));
    m_pickCorners->hide();
    originGrid->addWidget(m_pickCorners, 0, 6);
    connect(m_pickCorners, &QPushButton::clicked, this, &CRoomDimesions::pickCorners);
    layout->addWidget(origin);

    m_irregular = new QPushButton(QStringLiteral("Nepravidel"), this);
    m_irregular->setObjectName(QStringLiteral("irregular"));
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(m_irregular);
    layout->addLayout(row);
    layout->addStretch(1);
}

void CRoomDimesions::fill(const kzev::RoomSheetValues& values)
{
    m_name->setText(qs(values.name));
    m_number->setText(qs(values.number));
    m_requirement->setText(qs(values.requirement));
    for (std::size_t i = 0; i < 3; ++i) {
        m_size[i]->setText(qs(values.size[i]));
        m_origin[i]->setText(qs(values.origin[i]));
    }
}

void CRoomDimesions::setRequirement(const std::string& name)
{
    m_requirement->setText(qs(name));
}

void CRoomDimesions::attachCad(CKzevDoc& doc)
{
    m_doc = &doc;
    for (CCadPickButton2* button : m_pickSize)
        (void)button->attach(doc);
    (void)m_pickCorners->attach(doc);
}

QString CRoomDimesions::pickedText(double value) const
{
    return qs(kzev::formatC(m_doc->m_unitMm == 1 ? "%1.0lf" : "%1.3lf", value));
}

void CRoomDimesions::rememberDrawing(const std::string& name)
{
    if (!name.empty())
        m_doc->m_dwgFile = name;
}

void CRoomDimesions::pickDistance(std::size_t size)
{
    if (!m_doc)
        return;
    kzev::CadDistancePicker& picker = m_pickSize.at(size)->picker();
    if (picker.PickPoint() != 0)
        return;
    m_size.at(size)->setText(pickedText(picker.m_dDistance));
    rememberDrawing(picker.m_strDocName);
}

void CRoomDimesions::pickCorners()
{
    if (!m_doc)
        return;
    kzev::CadPicker& picker = m_pickCorners->picker();
    if (picker.PickPoint() <= 0)
        return;
    const kzev::CadPickedPoint& a = picker.m_ptFirst;
    const kzev::CadPickedPoint& b = picker.m_ptSecond;
    // Whichever corner the user took first, the room runs from the lower left one.
    m_size[0]->setText(pickedText(std::abs(b.x - a.x)));
    m_size[1]->setText(pickedText(std::abs(b.y - a.y)));
    m_origin[0]->setText(pickedText(std::min(a.x, b.x)));
    m_origin[1]->setText(pickedText(std::min(a.y, b.y)));
    m_origin[2]->setText(pickedText(a.z));
    rememberDrawing(picker.m_strDocName);
}

void CRoomDimesions::read(kzev::RoomSheetValues& values) const
{
    values.name = ss(m_name->text());
    values.number = ss(m_number->text());
    values.requirement = ss(m_requirement->text());
    for (std::size_t i = 0; i < 3; ++i) {
        values.size[i] = ss(m_size[i]->text());
        values.origin[i] = ss(m_origin[i]->text());
    }
}

CRoomReflectances::CRoomReflectances(QWidget* parent)
    : QWidget(parent)
{
    const QStringList items { "0.10", "0.15", "0.20", "0.25", "0.30", "0.35", "0.40", "0.45", "0.50", "0.55", "0.60",
        "0.65", "0.70", "0.75" };
    const char* names[] = { "ceiling", "wall1", "wall2", "wall3", "wall4", "floor" };
    for (std::size_t i = 0; i < 6; ++i)
        m_combos[i] = listCombo(this, names[i], items);
    auto* grid = new QGridLayout(this);
    m_ceiling = new QLabel(this);
    m_walls = new QLabel(this);
    m_floor = new QLabel(this);
    grid->addWidget(m_ceiling, 0, 0);
    grid->addWidget(m_combos[0], 0, 1);
    grid->addWidget(m_walls, 1, 0);
    for (std::size_t i = 1; i <= 4; ++i) {
        grid->addWidget(new QLabel(QStringLiteral("%1:").arg(i), this), static_cast<int>(i), 1, Qt::AlignRight);
        grid->addWidget(m_combos[i], static_cast<int>(i), 2);
    }
    grid->addWidget(m_floor, 5, 0);
    grid->addWidget(m_combos[5], 5, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(6, 1);
}

void CRoomReflectances::fill(const kzev::RoomSheetValues& values, bool outdoor)
{
    m_ceiling->setText(outdoor ? QStringLiteral("Horní hranice") : QStringLiteral("Strop"));
    m_floor->setText(outdoor ? QStringLiteral("Terén") : QStringLiteral("Podlaha"));
    m_walls->setText(outdoor ? QStringLiteral("Boční hranice") : QStringLiteral("Stěny"));
    for (std::size_t i = 0; i < 6; ++i)
        setComboText(m_combos[i], values.reflectances[i]);
}

void CRoomReflectances::read(kzev::RoomSheetValues& values) const
{
    for (std::size_t i = 0; i < 6; ++i)
        values.reflectances[i] = ss(m_combos[i]->currentText());
}

CRoomMaintenance::CRoomMaintenance(QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    auto* modeBox = new QGroupBox(QStringLiteral("Udržovací činitel"), this);
    auto* modeRow = new QHBoxLayout(modeBox);
    m_factorMode = radioGroup(this, modeRow, "factorMode", { QStringLiteral("&Počítat dle normy"), QStringLiteral("&Zadat") });
    layout->addWidget(modeBox);

    auto* values = new QGridLayout;
    m_replacementInterval = numberEdit(this, "replacementInterval");
    m_cleaningInterval = listCombo(this, "cleaningInterval", { "3", "6", "9", "12", "18", "24" });
    m_renewalInterval = listCombo(this, "renewalInterval", { "12", "18", "24", "36", "48" });
    m_reliability = numberEdit(this, "reliability");
    m_factor = numberEdit(this, "factor");
    m_reduction = numberEdit(this, "reduction");
    const std::pair<const char*, QWidget*> rows[] = {
        { "Interval výměny z&drojů [h]:", m_replacementInterval },
        { "Interval čištění s&vítidel [měsíce]:", m_cleaningInterval },
        { "Interval &obnovy povrchů [měsíce]:", m_renewalInterval },
        { "&Funkční spolehlivost:", m_reliability },
        { "U&držovací činitel přímý:", m_factor },
        { "S&nížení odraznosti:", m_reduction },
    };
    int r = 0;
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(QString::fromUtf8(caption), this);
        label->setBuddy(field);
        values->addWidget(label, r, 0);
        values->addWidget(field, r, 1);
        ++r;
    }
    values->setColumnStretch(2, 1);
    layout->addLayout(values);

    auto* lower = new QHBoxLayout;
    auto* replacementBox = new QGroupBox(QStringLiteral("Výměna zdrojů"), this);
    auto* replacementColumn = new QVBoxLayout(replacementBox);
    m_replacement = radioGroup(this, replacementColumn, "replacement", { QStringLiteral("&Individuální"), QStringLiteral("&Skupinová") });
    replacementColumn->addStretch(1);
    auto* cleanlinessBox = new QGroupBox(QStringLiteral("Čistota prostředí"), this);
    auto* cleanlinessColumn = new QVBoxLayout(cleanlinessBox);
    m_cleanliness = radioGroup(this, cleanlinessColumn, "cleanliness",
        { QStringLiteral("&1 velmi čisté"), QStringLiteral("&2 čisté"), QStringLiteral("&3 průměrné"),
            QStringLiteral("&4 špinavé"), QStringLiteral("&5 velmi špinavé") });
    lower->addWidget(replacementBox);
    lower->addWidget(cleanlinessBox);
    layout->addLayout(lower);

    // What the calculation will take, under the names the printout gives it: entered or computed.
    auto* figuresBox = new QGroupBox(QString::fromStdString(kzev::loadString(kFiguresTitle)), this);
    auto* figuresColumn = new QVBoxLayout(figuresBox);
    m_figures = new QLabel(figuresBox);
    m_figures->setObjectName(QStringLiteral("figures"));
    m_figures->setWordWrap(true);
    m_figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    figuresColumn->addWidget(m_figures);
    layout->addWidget(figuresBox);
    layout->addStretch(1);

    connect(m_factorMode, &QButtonGroup::idClicked, this, [this](int) {
        updateEnabling();
        changed();
    });
    connect(m_replacement, &QButtonGroup::idClicked, this, [this](int) {
        updateEnabling();
        changed();
    });
    connect(m_cleanliness, &QButtonGroup::idClicked, this, [this](int) { changed(); });
    for (QLineEdit* edit : { m_replacementInterval, m_reliability, m_factor, m_reduction })
        connect(edit, &QLineEdit::textEdited, this, [this] { changed(); });
    for (QComboBox* combo : { m_cleaningInterval, m_renewalInterval })
        connect(combo, &QComboBox::currentTextChanged, this, [this] { changed(); });
}

void CRoomMaintenance::changed()
{
    if (m_changed && !m_filling)
        m_changed();
}

void CRoomMaintenance::showFigures(const kzev::RoomMaintenanceFigures& preview)
{
    const auto number = [](const std::optional<double>& value) {
        return value ? kzev::formatC("%1.3lf", *value) : std::string("–");
    };
    std::string text;
    for (const kzev::RoomMaintenanceFigures::LampSystemFactor& row : preview.factors)
        text += (row.factor ? kzev::maintenanceFactorLine(row.name, *row.factor)
                            : kzev::loadString(kDirectFactorName) + " – " + row.name + ": " + number(row.factor))
            + "\n";
    text += preview.reflectanceReduction ? kzev::reflectanceReductionLine(*preview.reflectanceReduction)
                                         : kzev::loadString(kReflectanceReductionName) + ": " + number({});
    if (!preview.problem.empty())
        text += "\n" + preview.problem;
    m_figures->setText(QString::fromStdString(text));
}

void CRoomMaintenance::fill(const kzev::RoomSheetValues& values)
{
    // The figures follow the user's changes, not the page's own filling.
    const bool wasFilling = m_filling;
    m_filling = true;
    m_replacementInterval->setText(qs(values.replacementInterval));
    setComboText(m_cleaningInterval, values.cleaningInterval);
    setComboText(m_renewalInterval, values.renewalInterval);
    m_reliability->setText(qs(values.reliability));
    m_factor->setText(qs(values.maintenanceFactor));
    m_reduction->setText(qs(values.reflectanceReduction));
    check(m_factorMode, values.factorMode);
    check(m_replacement, values.replacementMode);
    check(m_cleanliness, values.cleanliness);
    updateEnabling();
    m_filling = wasFilling;
}

void CRoomMaintenance::read(kzev::RoomSheetValues& values) const
{
    values.replacementInterval = ss(m_replacementInterval->text());
    values.cleaningInterval = ss(m_cleaningInterval->currentText());
    values.renewalInterval = ss(m_renewalInterval->currentText());
    values.reliability = ss(m_reliability->text());
    values.maintenanceFactor = ss(m_factor->text());
    values.reflectanceReduction = ss(m_reduction->text());
    values.factorMode = std::max(0, m_factorMode->checkedId());
    values.replacementMode = std::max(0, m_replacement->checkedId());
    values.cleanliness = std::max(0, m_cleanliness->checkedId());
}

void CRoomMaintenance::updateEnabling()
{
    const bool byStandard = m_factorMode->checkedId() != 1;
    for (QWidget* w : { static_cast<QWidget*>(m_cleaningInterval), static_cast<QWidget*>(m_renewalInterval) })
        w->setEnabled(byStandard);
    for (QAbstractButton* b : m_cleanliness->buttons())
        b->setEnabled(byStandard);
    for (QAbstractButton* b : m_replacement->buttons())
        b->setEnabled(byStandard);
    m_factor->setEnabled(!byStandard);
    m_reduction->setEnabled(!byStandard);
    const bool group = m_replacement->checkedId() == 1;
    m_replacementInterval->setEnabled(byStandard && group);
    m_reliability->setEnabled(byStandard && !group);
}
