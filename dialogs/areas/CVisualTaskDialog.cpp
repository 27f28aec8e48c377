#include "dialogs/areas/CVisualTaskDialog.h"
#include "dialogs/OkCancelRow.h"

#include "dialogs/CCadPickButton.h"
#include "dialogs/areas/CValueTableDialog.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"
#include "view/CKzevView.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <limits>

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

constexpr int kBadNumber = 65341; // "„%s“ není platné číslo ..."

QLineEdit* numberEdit(QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setMinimumWidth(70);
    edit->setAlignment(Qt::AlignRight);
    return edit;
}

double& axis(CVector& v, int k) { return k == 0 ? v.x : k == 1 ? v.y : v.z; }

} // namespace

CVisualTaskDialog::CVisualTaskDialog(CKzevDoc& doc, int room, int area, QWidget* parent)
    : ModelessObjectDialog(parent)
    , m_doc(doc)
    , m_session(doc, room, area)
{
    setWindowTitle(qs(kzev::loadString(61454)));
    buildControls();
}

void CVisualTaskDialog::areaMoved()
{
    WriteControls();
    const int room = m_session.roomIndex();
    if (room >= 0 && static_cast<std::size_t>(room) < m_doc.m_rooms.size())
        kzev::moveBoundAreas(m_doc.m_rooms[static_cast<std::size_t>(room)].m_workSystems, m_session.areaIndex(),
            m_session.working().m_origin);
}

void CVisualTaskDialog::areaPointsSwitched()
{
    if (CKzevView* view = kzev::theView())
        view->RefreshView(0, 0);
}

void CVisualTaskDialog::changeEnded()
{
    m_doc.SetModifiedFlag(true);
}

void CVisualTaskDialog::buildControls()
{
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGridLayout;
    m_name = new QLineEdit(this);
    m_name->setObjectName(QStringLiteral("name"));
    m_quantity = new QComboBox(this);
    m_quantity->setObjectName(QStringLiteral("quantity"));
    m_mode = new QComboBox(this);
    m_mode->setObjectName(QStringLiteral("mode"));
    top->addWidget(new QLabel(QStringLiteral("Název:"), this), 0, 0);
    top->addWidget(m_name, 0, 1, 1, 3);
    top->addWidget(new QLabel(QStringLiteral("Veličina:"), this), 1, 0);
    top->addWidget(m_quantity, 1, 1);
    top->addWidget(new QLabel(QStringLiteral("Režim:"), this), 1, 2);
    top->addWidget(m_mode, 1, 3);
    layout->addLayout(top);

    auto* plane = new QGroupBox(QStringLiteral("Soustava bodů"), this);
    auto* planeRow = new QHBoxLayout(plane);
    m_orientation = new QButtonGroup(this);
    const char* planes[] = { "Horizontální", "Vertikální YZ", "Vertikální XZ", "Obecná" };
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(QString::fromUtf8(planes[i]), plane);
        m_orientation->addButton(radio, i);
        planeRow->addWidget(radio);
    }
    layout->addWidget(plane);

    auto* grid = new QGroupBox(QStringLiteral("Síť bodů"), this);
    auto* g = new QGridLayout(grid);
    const char* heads[] = { "X", "Y", "Z" };
    for (int k = 0; k < 3; ++k)
        g->addWidget(new QLabel(QString::fromUtf8(heads[k]), grid), 0, k + 1, Qt::AlignCenter);
    g->addWidget(new QLabel(QStringLiteral("Počet"), grid), 0, 4, Qt::AlignCenter);
    const auto row = [&](int r, const char* label, std::array<QLineEdit*, 3>& edits, QLineEdit** count) {
        g->addWidget(new QLabel(QString::fromUtf8(label), grid), r, 0);
        for (int k = 0; k < 3; ++k) {
            edits[static_cast<std::size_t>(k)] = numberEdit(grid);
            g->addWidget(edits[static_cast<std::size_t>(k)], r, k + 1);
        }
        if (count) {
            *count = numberEdit(grid);
            g->addWidget(*count, r, 4);
        }
    };
    row(1, "Souřadnice:", m_origin, nullptr);
    row(2, "Rozteč 1:", m_step1, &m_count1);
    row(3, "Rozteč 2:", m_step2, &m_count2);
    row(4, "Kamera:", m_camera, nullptr);
    m_pick = new CCadPickButton(grid);
    m_pick->setObjectName(QStringLiteral("cadPick"));
    m_pick->setToolTip(QStringLiteral("Určit síť bodů dvěma rohy ve výkresu CAD"));
    m_pick->hide();
    g->addWidget(m_pick, 1, 4, Qt::AlignLeft);
    for (std::size_t k = 0; k < 3; ++k) {
        const QLatin1Char axisName(static_cast<char>('X' + k));
        m_origin[k]->setObjectName(QStringLiteral("origin%1").arg(axisName));
        m_step1[k]->setObjectName(QStringLiteral("step1%1").arg(axisName));
        m_step2[k]->setObjectName(QStringLiteral("step2%1").arg(axisName));
    }
    m_count1->setObjectName(QStringLiteral("count1"));
    m_count2->setObjectName(QStringLiteral("count2"));
    layout->addWidget(grid);

    auto* moves = new QHBoxLayout;
    m_byPitch = new QPushButton(QStringLiteral("Dle &rozteče"), this);
    m_byCount = new QPushButton(QStringLiteral("Dle &počtu"), this);
    auto* centre = new QPushButton(QStringLiteral("Ce&ntrovat"), this);
    auto* redraw = new QPushButton(QStringLiteral("&Překreslit"), this);
    m_fromWalls = new QCheckBox(QStringLiteral("&1 m od stěn"), this);
    for (QWidget* w : std::initializer_list<QWidget*> { m_byPitch, m_byCount, centre, redraw, m_fromWalls })
        moves->addWidget(w);
    const std::pair<Qt::ArrowType, std::pair<int, int>> arrows[] = { { Qt::UpArrow, { 0, 1 } },
        { Qt::LeftArrow, { -1, 0 } }, { Qt::RightArrow, { 1, 0 } }, { Qt::DownArrow, { 0, -1 } } };
    for (const auto& [arrow, step] : arrows) {
        auto* button = new QToolButton(this);
        button->setArrowType(arrow);
        button->setIconSize(QSize(16, 16));
        const auto [dx, dy] = step;
        connect(button, &QToolButton::clicked, this, [this, dx = dx, dy = dy] {
            ReadControls();
            m_session.move(dx, dy);
            WriteControls();
            RefreshPreview();
        });
        moves->addWidget(button);
    }
    layout->addLayout(moves);

    auto* lower = new QHBoxLayout;
    auto* view = new QGroupBox(QStringLiteral("Směr pohledu"), this);
    auto* v = new QGridLayout(view);
    const char* viewLabels[] = { "naklonění", "od", "počet", "krok" };
    const char* viewNames[] = { "tilt", "firstDirection", "directionCount", "directionStep" };
    for (int k = 0; k < 4; ++k) {
        v->addWidget(new QLabel(QString::fromUtf8(viewLabels[k]), view), 0, k);
        m_directions[static_cast<std::size_t>(k)] = numberEdit(view);
        m_directions[static_cast<std::size_t>(k)]->setObjectName(QString::fromLatin1(viewNames[k]));
        v->addWidget(m_directions[static_cast<std::size_t>(k)], 1, k);
    }
    lower->addWidget(view);
    auto* right = new QVBoxLayout;
    auto* rho = new QHBoxLayout;
    rho->addWidget(new QLabel(QStringLiteral("Průměrná odraznost:"), this));
    m_reflectance = new QComboBox(this);
    m_reflectance->setEditable(true);
    for (int i = 0; i < 14; ++i)
        m_reflectance->addItem(qs(kzev::formatC("%1.2lf", 0.10 + 0.05 * i)));
    rho->addWidget(m_reflectance);
    right->addLayout(rho);
    m_reflected = new QCheckBox(QStringLiteral("Odražená složka"), this);
    m_hideOff = new QCheckBox(QStringLiteral("Neviditelnost vypnutých bodů"), this);
    right->addWidget(m_reflected);
    right->addWidget(m_hideOff);
    lower->addLayout(right);
    layout->addLayout(lower);

    const kzev::OkCancelRow buttons = kzev::addOkCancelRow(*this, *layout);
    m_edit = new QPushButton(QStringLiteral("Editovat"), this);
    m_edit->setObjectName(QStringLiteral("edit"));
    buttons.row->insertWidget(0, m_edit);
    connect(buttons.ok, &QPushButton::clicked, this, &CVisualTaskDialog::OnOK);
    connect(buttons.cancel, &QPushButton::clicked, this, &CVisualTaskDialog::OnCancel);
    connect(m_edit, &QPushButton::clicked, this, &CVisualTaskDialog::onEditValues);
    connect(m_pick, &QPushButton::clicked, this, &CVisualTaskDialog::OnPickCorners);
    connect(redraw, &QPushButton::clicked, this, &CVisualTaskDialog::RefreshPreview);
    connect(m_byPitch, &QPushButton::clicked, this, [this] {
        ReadControls();
        if (m_session.layOutByPitch())
            WriteControls();
        RefreshPreview();
    });
    connect(m_byCount, &QPushButton::clicked, this, [this] {
        ReadControls();
        if (m_session.layOutByCount())
            WriteControls();
        RefreshPreview();
    });
    connect(centre, &QPushButton::clicked, this, [this] {
        ReadControls();
        m_session.centre();
        WriteControls();
        RefreshPreview();
    });
    connect(m_fromWalls, &QCheckBox::toggled, this, [this](bool on) { m_session.fromWalls = on; });
    connect(m_orientation, &QButtonGroup::idClicked, this, [this](int) {
        EnableByOrientation();
        RefreshPreview();
    });
    connect(m_quantity, qOverload<int>(&QComboBox::activated), this, [this](int) {
        ReadControls();
        EnableByQuantity();
        RefreshPreview();
    });
    for (auto* edits : { &m_origin, &m_step1, &m_step2, &m_camera }) {
        for (QLineEdit* edit : *edits)
            connect(edit, &QLineEdit::editingFinished, this, [this, edit] { onFieldFinished(edit); });
    }
    for (QLineEdit* edit : { m_count1, m_count2 })
        connect(edit, &QLineEdit::editingFinished, this, [this, edit] { onFieldFinished(edit); });
    connect(m_hideOff, &QCheckBox::toggled, this, [this](bool on) {
        m_session.working().m_extra1 = on ? 1 : 0;
        RefreshPreview();
    });
}

bool CVisualTaskDialog::OnInitDialog()
{
    if (!m_session.valid())
        return false;
    CWorkSystem& area = m_session.working();
    m_name->setText(qs(area.m_name));
    m_reflected->setChecked(area.m_reflectedComponent == 1);
    m_hideOff->setChecked(area.m_extra1 == 1);

    m_session.open();
    if (QAbstractButton* radio = m_orientation->button(static_cast<int>(m_session.orientation())))
        radio->setChecked(true);
    for (const auto& [text, code] : kzev::quantityChoices())
        m_quantity->addItem(qs(text), code);
    m_quantity->setCurrentIndex(m_quantity->findData(area.m_quantityCode));
    WriteControls();
    EnableByOrientation();
    EnableByQuantity();

    const CRoom& room = m_doc.m_rooms[static_cast<std::size_t>(m_session.roomIndex())];
    for (const CLampState& mode : room.m_modes)
        m_mode->addItem(qs(mode.m_name));
    m_mode->setCurrentIndex(area.m_modeIndex);
    m_mode->setEnabled(room.m_modes.size() >= 2);
    (void)m_pick->attach(m_doc);
    if (m_doc.m_lxWorkDialog > 0 && m_doc.m_lyWorkDialog > 0)
        move(m_doc.m_lxWorkDialog, m_doc.m_lyWorkDialog);
    m_initialised = true;
    RefreshPreview();
    return true;
}

QString CVisualTaskDialog::lengthText(double metres) const
{
    if (m_doc.m_unitMm == 1)
        return qs(kzev::formatC(kzev::loadString(61463).c_str(), metres * 1000.0));
    return qs(kzev::formatC(kzev::loadString(61465).c_str(), metres));
}

void CVisualTaskDialog::WriteControls()
{
    const CWorkSystem& area = m_session.working();
    for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        CVector origin = area.m_origin, s1 = area.m_step1, s2 = area.m_step2, camera = area.m_cameraPosition;
        m_origin[i]->setText(lengthText(axis(origin, k)));
        m_step1[i]->setText(lengthText(axis(s1, k)));
        m_step2[i]->setText(lengthText(axis(s2, k)));
        m_camera[i]->setText(lengthText(axis(camera, k)));
    }
    m_count1->setText(QString::number(area.m_count1));
    m_count2->setText(QString::number(area.m_count2));
    m_directions[0]->setText(QString::number(area.m_tilt));
    m_directions[1]->setText(QString::number(area.m_firstDirection));
    m_directions[2]->setText(QString::number(area.m_directionCount));
    m_directions[3]->setText(QString::number(area.m_directionStep));
    m_reflectance->setEditText(qs(kzev::formatC("%1.2lf", area.m_reflectance)));
}

void CVisualTaskDialog::ReadControls()
{
    // A text that reads no number keeps the stored value; OK names the first such field.
    m_refused = nullptr;
    const auto refused = [this](QWidget* field) {
        if (!m_refused)
            m_refused = field;
    };
    CWorkSystem& area = m_session.working();
    const auto take = [&](double& target, QLineEdit* edit) {
        if (edit->isEnabled() && !m_session.takeLength(target, edit->text().toStdString()))
            refused(edit);
    };
    for (int k = 0; k < 3; ++k) {
        const auto i = static_cast<std::size_t>(k);
        take(axis(area.m_origin, k), m_origin[i]);
        take(axis(area.m_step1, k), m_step1[i]);
        take(axis(area.m_step2, k), m_step2[i]);
        take(axis(area.m_cameraPosition, k), m_camera[i]);
    }
    const std::string count1 = m_count1->text().toStdString();
    if (!m_session.takeCounts(count1, m_count2->text().toStdString()))
        refused(kzev::readTypedWhole(count1, 0, std::numeric_limits<std::int32_t>::max()) ? m_count2 : m_count1);
    if (!m_session.takeReflectance(m_reflectance->currentText().toStdString()))
        refused(m_reflectance);
    std::int32_t* const directions[] = { &area.m_tilt, &area.m_firstDirection, &area.m_directionCount,
        &area.m_directionStep };
    for (std::size_t k = 0; k < m_directions.size(); ++k) {
        if (m_directions[k]->isEnabled()
            && !kzev::VisualTaskSession::takeWhole(*directions[k], m_directions[k]->text().toStdString()))
            refused(m_directions[k]);
    }
    const int orientation = m_orientation->checkedId();
    if (orientation >= 0)
        area.m_viewCode = kzev::viewCodeOf(static_cast<kzev::AreaOrientation>(orientation));
    if (m_quantity->currentIndex() >= 0)
        area.m_quantityCode = m_quantity->currentData().toInt();
}

void CVisualTaskDialog::EnableByOrientation()
{
    const int id = m_orientation->checkedId();
    const auto orientation = static_cast<kzev::AreaOrientation>(id < 0 ? 0 : id);
    m_session.setOrientation(orientation);
    // Which step components stay editable: the first step's and the second step's axis.
    std::array<bool, 3> first { true, true, true };
    std::array<bool, 3> second { true, true, true };
    switch (orientation) {
    case kzev::AreaOrientation::Horizontal: first = { true, false, false }; second = { false, true, false }; break;
    case kzev::AreaOrientation::VerticalYZ: first = { false, true, false }; second = { false, false, true }; break;
    case kzev::AreaOrientation::VerticalXZ: first = { true, false, false }; second = { false, false, true }; break;
    case kzev::AreaOrientation::General: break;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        m_step1[k]->setEnabled(first[k]);
        m_step2[k]->setEnabled(second[k]);
        if (!first[k])
            m_step1[k]->setText(QStringLiteral("0"));
        if (!second[k])
            m_step2[k]->setText(QStringLiteral("0"));
    }
    const bool general = orientation == kzev::AreaOrientation::General;
    m_byPitch->setEnabled(!general);
    m_byCount->setEnabled(!general);
    ReadControls();
}

void CVisualTaskDialog::EnableByQuantity()
{
    m_session.setQuantity(m_session.working().m_quantityCode);
    const kzev::QuantityControls controls = kzev::controlsFor(m_session.working().m_quantityCode);
    for (QLineEdit* edit : m_directions)
        edit->setEnabled(controls.directions);
    for (QLineEdit* edit : m_camera)
        edit->setEnabled(controls.camera);
    if (controls.reflectedFixed)
        m_reflected->setChecked(true);
    m_reflected->setEnabled(!controls.reflectedFixed);
    m_edit->setEnabled(controls.values);
}

void CVisualTaskDialog::RefreshPreview()
{
    if (!m_initialised)
        return;
    if (CKzevView* view = kzev::theView()) {
        view->plan().setEditedObjects(nullptr, &m_session.working(), nullptr);
        view->setEditLink(this);
        view->setSceneShown(true);
        view->RefreshView(0, 1);
    }
}

void CVisualTaskDialog::onFieldFinished(QLineEdit* edit)
{
    // Taken when the user has finished typing, whole or not at all.
    if (!m_initialised || !edit->isModified())
        return;
    edit->setModified(false);
    ReadControls();
    if (m_refused) {
        refuseTyped();
        return;
    }
    RefreshPreview();
}

void CVisualTaskDialog::refuseTyped()
{
    // Nothing that is no number reaches the area: the field shows its value again.
    QWidget* field = m_refused;
    const auto* edit = qobject_cast<QLineEdit*>(field);
    const QString typed = edit ? edit->text() : m_reflectance->currentText();
    (void)kzev::services().messageBox->show(
        kzev::formatC(kzev::loadString(kBadNumber).c_str(), typed.toStdString().c_str()),
        kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
    WriteControls();
    field->setFocus(Qt::OtherFocusReason);
}

void CVisualTaskDialog::onEditValues()
{
    ReadControls();
    CWorkSystem& area = m_session.working();
    if (area.m_points.size() != static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2)
        && kzev::countsAllowed(area))
        kzev::rebuildPoints(area);
    CValueTableDialog table(area, this);
    if (table.exec() == QDialog::Accepted)
        RefreshPreview();
}

void CVisualTaskDialog::OnPickCorners()
{
    ReadControls();
    kzev::CadPicker& picker = m_pick->picker();
    if (picker.PickPoint() <= 0)
        return;
    const kzev::CadPickedPoint& a = picker.m_ptFirst;
    const kzev::CadPickedPoint& b = picker.m_ptSecond;
    if (!m_session.layOutByCadCorners({ a.x, a.y, b.x, b.y }))
        return;
    WriteControls();
    RefreshPreview();
}

void CVisualTaskDialog::OnOK()
{
    CWorkSystem& area = m_session.working();
    area.m_name = m_name->text().toStdString();
    area.m_reflectedComponent = m_reflected->isChecked() ? 1 : 0;
    ReadControls();
    if (m_refused) {
        // The dialog stays.
        refuseTyped();
        return;
    }
    if (m_mode->currentIndex() >= 0)
        area.m_modeIndex = m_mode->currentIndex();
    const auto result = m_session.ok([] {
        return kzev::services().messageBox->show(kzev::loadString(62019), kzev::MessageIcon::Information,
                   kzev::MessageButtons::YesNo)
            == kzev::MessageAnswer::Yes;
    });
    if (result == kzev::VisualTaskSession::OkResult::DaylightDeclined)
        return;
    if (result == kzev::VisualTaskSession::OkResult::CountTooLarge) {
        (void)kzev::services().messageBox->show(
            kzev::formatC(kzev::loadString(62010).c_str(), kzev::kMaxAreaPointsPerRow), kzev::MessageIcon::Warning,
            kzev::MessageButtons::Ok);
        return;
    }
    if (result == kzev::VisualTaskSession::OkResult::DirectionsOutOfRange) {
        (void)kzev::services().messageBox->show(
            kzev::formatC(kzev::loadString(62016).c_str(), kzev::kMaxViewingDirections), kzev::MessageIcon::Warning,
            kzev::MessageButtons::Ok);
        return;
    }
    finish(true, 1, m_doc.m_lxWorkDialog, m_doc.m_lyWorkDialog);
}

void CVisualTaskDialog::OnCancel() { finish(false, 1, m_doc.m_lxWorkDialog, m_doc.m_lyWorkDialog); }

void CVisualTaskDialog::closeEvent(QCloseEvent* event)
{
    if (!finished())
        OnCancel();
    event->accept();
}
