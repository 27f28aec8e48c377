#include "dialogs/obstacles/CObstacleDialog.h"
#include "dialogs/CCadPickButton.h"
#include "dialogs/OkCancelRow.h"

#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"
#include "view/CKzevView.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

double& axisOf(CVector& v, int k) { return k == 0 ? v.x : k == 1 ? v.y : v.z; }

// Reflectance and transmittance are fractions of one.
constexpr kzev::NumberRange kFraction { 0.0, 1.0 };
constexpr int kBadNumberId = 65341; // "„%s“ není platné číslo v rozsahu pole !"

QColor toQColor(std::uint32_t bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

std::uint32_t toBgr(const QColor& colour)
{
    return static_cast<std::uint32_t>(colour.red()) | (static_cast<std::uint32_t>(colour.green()) << 8)
        | (static_cast<std::uint32_t>(colour.blue()) << 16);
}

QLineEdit* numberEdit(QWidget* parent, const QString& name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setMinimumWidth(70);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

} // namespace

CObstacleDialog::CObstacleDialog(CKzevDoc& doc, int room, int obstacle, QWidget* parent)
    : ModelessObjectDialog(parent)
    , m_doc(doc)
    , m_session(doc, room, obstacle)
{
    setWindowTitle(QStringLiteral("Soustava překážek"));
    buildControls();
}

void CObstacleDialog::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Název:"), this));
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    top->addWidget(m_name, 1);
    layout->addLayout(top);

    auto* box = new QGroupBox(QStringLiteral("Rozměry a rozmístění"), this);
    auto* g = new QGridLayout(box);
    const char* heads[] = { "X", "Y", "Z" };
    for (int k = 0; k < 3; ++k)
        g->addWidget(new QLabel(QString::fromLatin1(heads[k]), box), 0, k + 1, Qt::AlignCenter);
    g->addWidget(new QLabel(QStringLiteral("Počet"), box), 0, 4, Qt::AlignCenter);
    const char* labels[] = { "Souřadnice:", "Vektor délky:", "Vektor šířky:", "Vektor výšky:", "Rozteč 1:",
        "Rozteč 2:" };
    const char* names[] = { "position", "length", "width", "height", "pitch1", "pitch2" };
    const char* pickTips[] = { "Určit překážku dvěma rohy ve výkresu CAD", "Určit vektor délky dvěma body ve výkresu CAD",
        "Určit vektor šířky dvěma body ve výkresu CAD", "Určit vektor výšky dvěma body ve výkresu CAD",
        "Určit rozteč 1 dvěma body ve výkresu CAD", "Určit rozteč 2 dvěma body ve výkresu CAD" };
    for (int row = 0; row < kRows; ++row) {
        g->addWidget(new QLabel(QString::fromUtf8(labels[row]), box), row + 1, 0);
        for (int k = 0; k < 3; ++k) {
            QLineEdit* edit = numberEdit(box, QStringLiteral("%1%2").arg(QLatin1String(names[row]), QLatin1String(heads[k])));
            m_edits[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)] = edit;
            g->addWidget(edit, row + 1, k + 1);
            connect(edit, &QLineEdit::editingFinished, this, [this, row, k] { onLengthEdited(row, k); });
        }
        auto* pick = new CCadPickButton(box);
        pick->setObjectName(QStringLiteral("%1Pick").arg(QLatin1String(names[row])));
        pick->setToolTip(QString::fromUtf8(pickTips[row]));
        pick->hide();
        m_picks[static_cast<std::size_t>(row)] = pick;
        g->addWidget(pick, row + 1, 5);
        connect(pick, &QPushButton::clicked, this, [this, row] { OnPick(static_cast<Row>(row)); });
    }
    m_count1 = numberEdit(box, QStringLiteral("count1"));
    m_count2 = numberEdit(box, QStringLiteral("count2"));
    g->addWidget(m_count1, Pitch1 + 1, 4);
    g->addWidget(m_count2, Pitch2 + 1, 4);
    for (QLineEdit* count : { m_count1, m_count2 })
        connect(count, &QLineEdit::editingFinished, this, [this, count] { onCountEdited(count); });
    layout->addWidget(box);

    // Step buttons: the position moves by the document's length step.
    auto* moves = new QHBoxLayout;
    moves->addWidget(new QLabel(QStringLiteral("Posun:"), this));
    const struct {
        Qt::ArrowType arrow;
        int dx, dy;
        const char* name;
    } arrows[] = { { Qt::RightArrow, 1, 0, "stepXPlus" }, { Qt::LeftArrow, -1, 0, "stepXMinus" },
        { Qt::UpArrow, 0, 1, "stepYPlus" }, { Qt::DownArrow, 0, -1, "stepYMinus" } };
    for (const auto& a : arrows) {
        auto* button = new QToolButton(this);
        button->setObjectName(QString::fromLatin1(a.name));
        button->setArrowType(a.arrow);
        button->setIconSize(QSize(16, 16));
        connect(button, &QToolButton::clicked, this, [this, dx = a.dx, dy = a.dy] {
            ReadControls();
            m_session.step(dx, dy);
            WriteControls();
            ShowPreview();
        });
        moves->addWidget(button);
    }
    moves->addStretch(1);
    m_byPitch = new QPushButton(QStringLiteral("Dle rozteče"), this);
    m_byPitch->setObjectName(QStringLiteral("byPitch"));
    auto* centre = new QPushButton(QStringLiteral("Centrovat"), this);
    centre->setObjectName(QStringLiteral("centre"));
    auto* redraw = new QPushButton(QStringLiteral("Překresli"), this);
    redraw->setObjectName(QStringLiteral("redraw"));
    moves->addWidget(m_byPitch);
    moves->addWidget(centre);
    moves->addWidget(redraw);
    layout->addLayout(moves);

    auto* lower = new QGridLayout;
    m_reflectance = new QComboBox(this);
    m_reflectance->setObjectName(QStringLiteral("reflectance"));
    m_reflectance->setEditable(true);
    for (int i = 0; i < 14; ++i)
        m_reflectance->addItem(qs(kzev::formatC("%1.2lf", 0.10 + 0.05 * i)));
    m_transmittance = new QComboBox(this);
    m_transmittance->setObjectName(QStringLiteral("transmittance"));
    m_transmittance->setEditable(true);
    lower->addWidget(new QLabel(QStringLiteral("Průměrná odraznost:"), this), 0, 0);
    lower->addWidget(m_reflectance, 0, 1);
    lower->addWidget(new QLabel(QStringLiteral("Průměrná propustnost:"), this), 1, 0);
    lower->addWidget(m_transmittance, 1, 1);
    m_generalPitch = new QCheckBox(QStringLiteral("Obecná rozteč"), this);
    m_generalPitch->setObjectName(QStringLiteral("generalPitch"));
    m_rectangular = new QCheckBox(QStringLiteral("Pravoúhlé překážky"), this);
    m_rectangular->setObjectName(QStringLiteral("rectangular"));
    lower->addWidget(m_generalPitch, 0, 2);
    lower->addWidget(m_rectangular, 1, 2);
    m_colour = new QPushButton(QStringLiteral("Barva"), this);
    m_colour->setObjectName(QStringLiteral("colour"));
    lower->addWidget(m_colour, 0, 3, 2, 1);
    lower->setColumnStretch(1, 1);
    layout->addLayout(lower);

    const kzev::OkCancelRow buttons = kzev::addOkCancelRow(*this, *layout);
    connect(buttons.ok, &QPushButton::clicked, this, &CObstacleDialog::OnOK);
    connect(buttons.cancel, &QPushButton::clicked, this, &CObstacleDialog::OnCancel);
    connect(redraw, &QPushButton::clicked, this, &CObstacleDialog::ShowPreview);
    connect(m_colour, &QPushButton::clicked, this, &CObstacleDialog::onColour);
    connect(m_byPitch, &QPushButton::clicked, this, [this] {
        ReadControls();
        if (m_session.countsFromPitches())
            WriteControls();
    });
    connect(centre, &QPushButton::clicked, this, [this] {
        ReadControls();
        m_session.centre();
        WriteControls();
    });
    for (QCheckBox* check : { m_generalPitch, m_rectangular }) {
        connect(check, &QCheckBox::clicked, this, [this] {
            m_session.working().m_generalPitch = m_generalPitch->isChecked() ? 1 : 0;
            m_session.working().m_rectangular = m_rectangular->isChecked() ? 1 : 0;
            EnableControls();
            m_session.markModified();
        });
    }
    // A typed reflectance or transmittance is taken at once; one picked from the list as well,
    // so that the project counts as changed.
    const auto comboValue = [this](QComboBox* combo, double CXSystem::*field) {
        const auto take = [this, combo, field] {
            m_session.markModified();
            double& value = m_session.working().*field;
            value = kzev::typedNumberOr(combo->currentText().toStdString(), value, kFraction);
        };
        connect(combo, &QComboBox::editTextChanged, this, [this, take] {
            if (m_initialised)
                take();
        });
    };
    comboValue(m_reflectance, &CXSystem::m_reflectance);
    comboValue(m_transmittance, &CXSystem::m_transmittance);
}

bool CObstacleDialog::OnInitDialog()
{
    if (!m_session.valid())
        return false;
    const CXSystem& x = m_session.working();
    showColour();
    m_name->setText(qs(x.m_name));
    WriteControls();
    m_reflectance->setEditText(qs(kzev::formatC("%1.2lf", x.m_reflectance)));
    m_transmittance->setEditText(qs(kzev::formatC("%1.2lf", x.m_transmittance)));
    m_generalPitch->setChecked(x.m_generalPitch == 1);
    m_rectangular->setChecked(x.m_rectangular == 1);
    EnableControls();
    if (x.m_extra1 == 1)
        setWindowTitle(QStringLiteral("Rastr"));
    m_initialised = true;
    ShowPreview();
    for (CCadPickButton* pick : m_picks)
        (void)pick->attach(m_doc);
    if (m_doc.m_lxXDialog > 0 && m_doc.m_lyXDialog > 0)
        move(m_doc.m_lxXDialog, m_doc.m_lyXDialog);
    m_session.endOpening();
    return true;
}

CVector& CObstacleDialog::vectorOf(int row)
{
    CXSystem& x = m_session.working();
    switch (row) {
    case Position: return x.m_origin;
    case Length: return x.m_edgeA;
    case Width: return x.m_edgeB;
    case Height: return x.m_edgeC;
    case Pitch1: return x.m_spacing1;
    default: return x.m_spacing2;
    }
}

void CObstacleDialog::WriteControls()
{
    for (int row = 0; row < kRows; ++row) {
        CVector& v = vectorOf(row);
        for (int k = 0; k < 3; ++k)
            m_edits[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)]->setText(
                qs(m_session.lengthText(axisOf(v, k))));
    }
    m_count1->setText(QString::number(m_session.working().m_count1));
    m_count2->setText(QString::number(m_session.working().m_count2));
}

void CObstacleDialog::ReadControls()
{
    for (int row = 0; row < kRows; ++row) {
        for (int k = 0; k < 3; ++k) {
            const QLineEdit* edit = m_edits[static_cast<std::size_t>(row)][static_cast<std::size_t>(k)];
            if (edit->isEnabled())
                takeLength(row, k);
        }
    }
    CXSystem& x = m_session.working();
    takeCounts();
    x.m_generalPitch = m_generalPitch->isChecked() ? 1 : 0;
    x.m_rectangular = m_rectangular->isChecked() ? 1 : 0;
    x.m_reflectance = kzev::typedNumberOr(m_reflectance->currentText().toStdString(), x.m_reflectance, kFraction);
    x.m_transmittance
        = kzev::typedNumberOr(m_transmittance->currentText().toStdString(), x.m_transmittance, kFraction);
}

void CObstacleDialog::takeLength(int row, int axis)
{
    // A text that reads no length keeps the value the edit had.
    const QLineEdit* edit = m_edits[static_cast<std::size_t>(row)][static_cast<std::size_t>(axis)];
    double& value = axisOf(vectorOf(row), axis);
    value = m_session.lengthOf(edit->text().toStdString()).value_or(value);
}

void CObstacleDialog::takeCounts()
{
    CXSystem& x = m_session.working();
    constexpr long kMost = std::numeric_limits<std::int32_t>::max();
    x.m_count1 = static_cast<std::int32_t>(kzev::readTypedWhole(m_count1->text().toStdString(), 0, kMost).value_or(x.m_count1));
    x.m_count2 = static_cast<std::int32_t>(kzev::readTypedWhole(m_count2->text().toStdString(), 0, kMost).value_or(x.m_count2));
}

void CObstacleDialog::EnableControls()
{
    const CXSystem& x = m_session.working();
    const bool raster = x.m_extra1 == 1;
    const bool rectangular = m_rectangular->isChecked();
    const bool general = m_generalPitch->isChecked();
    const auto set = [this](Row row, std::array<bool, 3> enabled) {
        for (std::size_t k = 0; k < 3; ++k)
            m_edits[static_cast<std::size_t>(row)][k]->setEnabled(enabled[k]);
    };
    // An axis-aligned box: length along X, width along Y, height along Z.
    set(Length, { !raster, !raster && !rectangular, !raster && !rectangular });
    set(Width, { !raster && !rectangular, !raster, !raster && !rectangular });
    set(Height, { !raster && !rectangular, !raster && !rectangular, !raster });
    // Without a general pitch the first runs along X and the second along Y.
    set(Pitch1, { true, general, general });
    set(Pitch2, { general, true, general });
    m_reflectance->setEnabled(!raster);
    m_transmittance->setEnabled(!raster);
    m_rectangular->setEnabled(!raster);
    m_byPitch->setEnabled(raster);
}

void CObstacleDialog::ShowPreview()
{
    if (!m_initialised)
        return;
    if (CKzevView* view = kzev::theView()) {
        view->plan().setEditedObjects(nullptr, nullptr, &m_session.working());
        view->setEditLink(this);
        view->setSceneShown(true);
        view->RefreshView(0, 0);
    }
}

void CObstacleDialog::obstaclesMoved()
{
    // The position edits show where the mouse put the system; OK counts it as a change.
    m_session.markModified();
    const CVector& at = m_session.working().m_origin;
    for (int axis = 0; axis < 3; ++axis) {
        QLineEdit* edit = m_edits[Position][static_cast<std::size_t>(axis)];
        const QSignalBlocker quiet(edit);
        edit->setText(qs(m_session.lengthText(axis == 0 ? at.x : axis == 1 ? at.y : at.z)));
    }
}

void CObstacleDialog::showColour()
{
    const QColor colour = toQColor(m_session.working().m_colour);
    // The button's face is the colour; its caption stays readable on dark colours.
    const QString text = colour.lightness() < 128 ? QStringLiteral("white") : QStringLiteral("black");
    m_colour->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; color: %2; padding: 4px 12px; }")
                                .arg(colour.name(), text));
}

void CObstacleDialog::onLengthEdited(int row, int axis)
{
    // Taken when the user has finished typing, whole or not at all.
    QLineEdit* edit = m_edits[static_cast<std::size_t>(row)][static_cast<std::size_t>(axis)];
    if (!edit->isModified())
        return;
    edit->setModified(false);
    m_session.markModified();
    if (!m_initialised)
        return;
    if (!m_session.lengthOf(edit->text().toStdString())) {
        refuse(edit);
        edit->setText(qs(m_session.lengthText(axisOf(vectorOf(row), axis))));
        return;
    }
    takeLength(row, axis);
    ShowPreview();
}

void CObstacleDialog::onCountEdited(QLineEdit* count)
{
    if (!count->isModified())
        return;
    count->setModified(false);
    m_session.markModified();
    if (!m_initialised)
        return;
    if (!kzev::readTypedWhole(count->text().toStdString(), 0, std::numeric_limits<std::int32_t>::max())) {
        refuse(count);
        const CXSystem& x = m_session.working();
        count->setText(QString::number(count == m_count1 ? x.m_count1 : x.m_count2));
        return;
    }
    takeCounts();
    ShowPreview();
}

void CObstacleDialog::refuse(QLineEdit* edit)
{
    (void)kzev::services().messageBox->show(
        kzev::formatC(kzev::loadString(kBadNumberId).c_str(), edit->text().toStdString().c_str()),
        kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
    edit->setFocus(Qt::OtherFocusReason);
}

void CObstacleDialog::onColour()
{
    const QColor chosen = QColorDialog::getColor(toQColor(m_session.working().m_colour), this,
        QStringLiteral("Barva"), QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return;
    m_session.setColour(toBgr(chosen));
    showColour();
    if (CKzevView* view = kzev::theView())
        view->viewport()->update();
}

void CObstacleDialog::OnPick(Row row)
{
    ReadControls();
    kzev::CadPicker& picker = m_picks.at(static_cast<std::size_t>(row))->picker();
    if (picker.PickPoint() <= 0)
        return;
    const auto vector = [](const kzev::CadPickedPoint& p) { return CVector { p.x, p.y, p.z }; };
    using Pick = kzev::ObstacleSession::CadPick;
    constexpr Pick picks[kRows] = { Pick::Box, Pick::Length, Pick::Width, Pick::Height, Pick::Pitch1, Pick::Pitch2 };
    m_session.takeCadPoints(picks[row], vector(picker.m_ptFirst), vector(picker.m_ptSecond));
    WriteControls();
    ShowPreview();
}

void CObstacleDialog::OnOK()
{
    m_session.working().m_name = m_name->text().toStdString();
    ReadControls();
    if (!m_session.countsAllowed()) {
        (void)kzev::services().messageBox->show(
            kzev::formatC("Soustava může mít nejvýše %lld překážek (i v každém směru) !",
                static_cast<long long>(CXSystem::kMaxObstacles)),
            kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        return;
    }
    m_session.ok();
    finish(true, 0, m_doc.m_lxXDialog, m_doc.m_lyXDialog);
}

void CObstacleDialog::OnCancel()
{
    m_session.cancel();
    finish(false, 0, m_doc.m_lxXDialog, m_doc.m_lyXDialog);
}

void CObstacleDialog::closeEvent(QCloseEvent* event)
{
    // Nothing was written: the room's results stand as they did, as with Storno.
    if (!finished())
        OnCancel();
    event->accept();
}
