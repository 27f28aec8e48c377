#include "dialogs/settings/CPropertyCalc.h"

#include "model/CKzevDoc.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

int checked(const QCheckBox* box) { return box->isChecked() ? 1 : 0; }

QComboBox* editableCombo(QWidget* parent)
{
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMinimumContentsLength(10);
    return combo;
}

void fillCombo(QComboBox* combo, const std::vector<std::string>& items, const std::string& text)
{
    combo->clear();
    for (const std::string& item : items)
        combo->addItem(qs(item));
    combo->setEditText(qs(text));
}

} // namespace

CPropertyCalc::CPropertyCalc(CKzevDoc& doc, QWidget* parent)
    : QWidget(parent)
    , m_doc(doc)
    , m_illuminance(new QCheckBox(QStringLiteral("Výpočet &osvětlenosti"), this))
    , m_ugr(new QCheckBox(QStringLiteral("Výpočet činitele oslnění UGR"), this))
    , m_gr(new QCheckBox(QStringLiteral("Výpočet činitele oslnění GR"), this))
    , m_road(new QCheckBox(QStringLiteral("Výpočet &jasů vozovek"), this))
    , m_reflected(new QCheckBox(QStringLiteral("Výpočet odražené složky osvětlenosti"), this))
    , m_walls(new QCheckBox(QStringLiteral("Výpočet odrazů od stěn"), this))
    , m_testPoints(new QCheckBox(QStringLiteral("Kontrola bodů v překážkách před výpočtem"), this))
    , m_ratio(editableCombo(this))
    , m_elementary(editableCombo(this))
    , m_minimum(editableCombo(this))
    , m_iterations(editableCombo(this))
    , m_lengthStep(editableCombo(this))
    , m_angleStep(editableCombo(this))
    , m_cylinderStep(editableCombo(this))
    , m_immediate(new QCheckBox(QStringLiteral("Okamžitý výpočet"), this))
    , m_saveBefore(new QCheckBox(QStringLiteral("Uložit před výpočtem"), this))
    , m_uncertainty(new QLineEdit(this))
    , m_printUncertainty(new QCheckBox(QStringLiteral("Tisk nejistoty"), this))
{
    setWindowTitle(QStringLiteral("Bodový výpočet a další"));

    auto* quantities = new QGroupBox(QStringLiteral("Počítané veličiny"), this);
    auto* q = new QVBoxLayout(quantities);
    for (QCheckBox* box : { m_illuminance, m_ugr, m_gr, m_road })
        q->addWidget(box);

    auto* reflections = new QGroupBox(QStringLiteral("Odražená složka"), this);
    auto* r = new QGridLayout(reflections);
    r->addWidget(m_reflected, 0, 0, 1, 2);
    r->addWidget(m_walls, 1, 0, 1, 2);
    auto addRow = [](QGridLayout* grid, int row, const QString& caption, QWidget* field) {
        auto* label = new QLabel(caption, field->parentWidget());
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
    };
    addRow(r, 2, QStringLiteral("&Dělící poměr bod.zdroje"), m_ratio);
    addRow(r, 3, QStringLiteral("&Rozměr elementární plochy"), m_elementary);
    addRow(r, 4, QStringLiteral("Minimální rozměr plochy"), m_minimum);
    for (std::size_t i = 0; i < m_lengthUnits.size(); ++i)
        m_lengthUnits[i] = new QLabel(this);
    r->addWidget(m_lengthUnits[0], 3, 2);
    r->addWidget(m_lengthUnits[1], 4, 2);
    addRow(r, 5, QStringLiteral("Počet &iterací - odrazů"), m_iterations);

    auto* steps = new QGroupBox(QStringLiteral("Kroky a volby"), this);
    auto* s = new QGridLayout(steps);
    addRow(s, 0, QStringLiteral("Krok délky"), m_lengthStep);
    s->addWidget(m_lengthUnits[2], 0, 2);
    addRow(s, 1, QStringLiteral("Krok úhlu"), m_angleStep);
    addRow(s, 2, QStringLiteral("Krok válcového\nsvítidla"), m_cylinderStep);
    s->addWidget(m_testPoints, 3, 0, 1, 2);
    s->addWidget(m_immediate, 4, 0, 1, 2);
    s->addWidget(m_saveBefore, 5, 0, 1, 2);

    auto* uncertainty = new QGroupBox(QStringLiteral("Nejistota"), this);
    auto* u = new QGridLayout(uncertainty);
    addRow(u, 0, QStringLiteral("&Nejistota výpočtu [%]"), m_uncertainty);
    u->addWidget(m_printUncertainty, 1, 0, 1, 2);

    auto* layout = new QGridLayout(this);
    layout->addWidget(quantities, 0, 0);
    layout->addWidget(reflections, 1, 0);
    layout->addWidget(steps, 0, 1);
    layout->addWidget(uncertainty, 1, 1);
    layout->setRowStretch(2, 1);

    connect(m_reflected, &QCheckBox::clicked, this, [this] { OnReflectedComponent(); });
}

std::optional<int> CPropertyCalc::selectedRoom() const
{
    const std::optional<int> room = kzev::services().view->selectedRoom();
    if (!room || *room < 0 || static_cast<std::size_t>(*room) >= m_doc.m_rooms.size())
        return std::nullopt;
    return room;
}

void CPropertyCalc::show(const kzev::PointCalcValues& v)
{
    const kzev::PointCalcLists lists = kzev::pointCalcLists(m_doc.m_unitMm);
    for (QLabel* unit : m_lengthUnits)
        unit->setText(m_doc.m_unitMm == 1 ? QStringLiteral("mm") : QStringLiteral("m"));
    m_illuminance->setChecked(v.computeIlluminance == 1);
    m_ugr->setChecked(v.computeUgr == 1);
    m_ugr->setEnabled(v.reflectedComponent == 1);
    m_gr->setChecked(v.computeGr == 1);
    m_road->setChecked(v.computeRoadLuminance == 1);
    m_reflected->setChecked(v.reflectedComponent == 1);
    m_walls->setChecked(v.wallReflections == 1);
    m_testPoints->setChecked(v.testPoints == 1);
    fillCombo(m_ratio, lists.divisionRatio, v.divisionRatio);
    fillCombo(m_elementary, lists.elementarySize, v.elementarySize);
    fillCombo(m_minimum, lists.minimumSize, v.minimumSize);
    fillCombo(m_iterations, lists.iterations, v.iterations);
    fillCombo(m_lengthStep, lists.lengthStep, v.lengthStep);
    fillCombo(m_angleStep, lists.angleStep, v.angleStep);
    fillCombo(m_cylinderStep, lists.cylinderStep, v.cylinderStep);
    m_immediate->setChecked(v.immediateCalc == 1);
    m_saveBefore->setChecked(v.saveBeforeCalc == 1);
    m_uncertainty->setText(qs(v.uncertainty));
    m_printUncertainty->setChecked(v.printUncertainty == 1);
}

kzev::PointCalcValues CPropertyCalc::values() const
{
    kzev::PointCalcValues v;
    v.computeIlluminance = checked(m_illuminance);
    v.computeUgr = checked(m_ugr);
    v.computeGr = checked(m_gr);
    v.computeRoadLuminance = checked(m_road);
    v.reflectedComponent = checked(m_reflected);
    v.wallReflections = checked(m_walls);
    v.testPoints = checked(m_testPoints);
    v.divisionRatio = m_ratio->currentText().toStdString();
    v.elementarySize = m_elementary->currentText().toStdString();
    v.minimumSize = m_minimum->currentText().toStdString();
    v.iterations = m_iterations->currentText().toStdString();
    v.lengthStep = m_lengthStep->currentText().toStdString();
    v.angleStep = m_angleStep->currentText().toStdString();
    v.cylinderStep = m_cylinderStep->currentText().toStdString();
    v.immediateCalc = checked(m_immediate);
    v.saveBeforeCalc = checked(m_saveBefore);
    v.uncertainty = m_uncertainty->text().toStdString();
    v.printUncertainty = checked(m_printUncertainty);
    return v;
}

void CPropertyCalc::OnSetActive()
{
    const std::optional<int> room = selectedRoom();
    if (!room)
        return;
    show(kzev::fillPointCalc(m_doc, m_doc.m_rooms[static_cast<std::size_t>(*room)]));
}

void CPropertyCalc::OnKillActive()
{
    const std::optional<int> room = selectedRoom();
    if (!room)
        return;
    kzev::storePointCalc(m_doc, m_doc.m_rooms[static_cast<std::size_t>(*room)], values());
    kzev::services().view->refreshView(0, 0);
}

void CPropertyCalc::OnReflectedComponent()
{
    if (!m_reflected->isChecked()) {
        // Switching off drops the surfaces computed for the reflected pass: only with the user's yes.
        const std::optional<int> room = selectedRoom();
        if (room && !kzev::confirmReflectionOff(m_doc.m_rooms[static_cast<std::size_t>(*room)])) {
            m_reflected->setChecked(true);
            return;
        }
        m_ugr->setChecked(false);
    }
    m_ugr->setEnabled(m_reflected->isChecked());
}
