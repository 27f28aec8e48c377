#include "dialogs/lamps/CLampSystemDialog.h"

#include "model/CKzevDoc.h"
#include "platform/Services.h"

#include <QApplication>
#include <QButtonGroup>
#include <QKeyEvent>
#include <QStyle>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using kzev::DesignField;

CLampSystemDialog::CLampSystemDialog(const kzev::LampSheetContext& context, kzev::DesignHooks hooks, QWidget* parent)
    : QWidget(parent)
    , m_design(context, std::move(hooks))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Návrh soustavy svítidel"));
    build();
    qApp->installEventFilter(this);
}

CLampSystemDialog::~CLampSystemDialog()
{
    qApp->removeEventFilter(this);
}

bool CLampSystemDialog::OnMoveKey(int key, Qt::KeyboardModifiers modifiers)
{
    int axis = -1;
    int direction = 0;
    switch (key) {
    case Qt::Key_Left: axis = 0; direction = -1; break;
    case Qt::Key_Right: axis = 0; direction = 1; break;
    case Qt::Key_Up: axis = 1; direction = 1; break;
    case Qt::Key_Down: axis = 1; direction = -1; break;
    default: return false;
    }
    const Qt::KeyboardModifiers held = modifiers & (Qt::ControlModifier | Qt::ShiftModifier | Qt::AltModifier);
    if (held == (Qt::ControlModifier | Qt::ShiftModifier))
        m_design.OnAimKeepingMove(axis, direction);
    else if (held == Qt::ControlModifier)
        m_design.OnStepMove(axis, direction);
    else if (held == Qt::ShiftModifier)
        m_design.OnWalk(direction);
    else
        return false;
    syncFromDesign();
    return true;
}

bool CLampSystemDialog::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isVisible()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // Keys of this page, and of the sheet around it while the page is shown.
        if (widget && widget->window() == window()) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (OnMoveKey(key->key(), key->modifiers()))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

QPushButton* CLampSystemDialog::button(const QString& caption) const
{
    const auto found = m_buttons.find(caption);
    return found == m_buttons.end() ? nullptr : found->second;
}

QPushButton* CLampSystemDialog::addButton(const QString& caption, void (kzev::LampSystemDesign::*action)())
{
    auto* pushButton = new QPushButton(caption, this);
    pushButton->setAutoDefault(false);
    m_buttons[caption] = pushButton;
    connect(pushButton, &QPushButton::clicked, this, [this, action] {
        (m_design.*action)();
        syncFromDesign();
    });
    return pushButton;
}

void CLampSystemDialog::build()
{
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        auto* edit = new QLineEdit(this);
        edit->setMinimumWidth(70);
        edit->setAlignment(Qt::AlignRight);
        const auto which = static_cast<DesignField>(i);
        // A value is taken when the user has finished typing it (Enter, leaving the field), whole or
        // not at all: read at every key, "1e999" would leave "1e9" behind.
        connect(edit, &QLineEdit::editingFinished, this, [this, which, edit] { takeField(which, edit); });
        m_fields[i] = edit;
    }
    field(DesignField::Luminaire)->setReadOnly(true);
    field(DesignField::Lamp)->setReadOnly(true);
    field(DesignField::Luminaire)->setAlignment(Qt::AlignLeft);
    field(DesignField::Lamp)->setAlignment(Qt::AlignLeft);

    auto* layout = new QVBoxLayout(this);
    auto* names = new QGridLayout;
    names->addWidget(new QLabel(QStringLiteral("Svítidlo"), this), 0, 0);
    names->addWidget(field(DesignField::Luminaire), 0, 1);
    names->addWidget(new QLabel(QStringLiteral("Zdroj"), this), 1, 0);
    names->addWidget(field(DesignField::Lamp), 1, 1);
    names->setColumnStretch(1, 1);
    layout->addLayout(names);

    const QString unit = m_design.context().doc && m_design.context().doc->m_unitMm == 1 ? QStringLiteral("[mm]") : QStringLiteral("[m]");
    auto* positions = new QGroupBox(QStringLiteral("Rozmístění"), this);
    auto* grid = new QGridLayout(positions);
    grid->addWidget(new QLabel(QStringLiteral("X ") + unit, this), 0, 1, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Y ") + unit, this), 0, 2, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Z ") + unit, this), 0, 3, Qt::AlignCenter);
    grid->addWidget(new QLabel(QStringLiteral("Počet"), this), 0, 4, Qt::AlignCenter);
    const struct {
        const char* caption;
        DesignField first;
        int count;
    } rows[] = { { "Souřadnice", DesignField::OriginX, -1 }, { "Rozteč 1", DesignField::Pitch1X, 0 },
        { "Rozteč 2", DesignField::Pitch2X, 1 } };
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(new QLabel(QString::fromUtf8(rows[r].caption), this), r + 1, 0);
        for (int c = 0; c < 3; ++c)
            grid->addWidget(field(static_cast<DesignField>(static_cast<int>(rows[r].first) + c)), r + 1, c + 1);
    }
    auto* arrows = new QHBoxLayout;
    const struct {
        QStyle::StandardPixmap icon;
        int key;
        const char* tip;
    } moves[] = { { QStyle::SP_ArrowLeft, Qt::Key_Left, "Posunout vlevo (Ctrl+šipka)" },
        { QStyle::SP_ArrowRight, Qt::Key_Right, "Posunout vpravo (Ctrl+šipka)" },
        { QStyle::SP_ArrowUp, Qt::Key_Up, "Posunout nahoru (Ctrl+šipka)" },
        { QStyle::SP_ArrowDown, Qt::Key_Down, "Posunout dolů (Ctrl+šipka)" } };
    for (const auto& move : moves) {
        auto* arrow = new QPushButton(style()->standardIcon(move.icon), QString(), this);
        arrow->setAutoDefault(false);
        arrow->setToolTip(QString::fromUtf8(move.tip));
        arrow->setMaximumWidth(32);
        arrow->setObjectName(QStringLiteral("arrow%1").arg(move.key));
        connect(arrow, &QPushButton::clicked, this, [this, key = move.key] { OnMoveKey(key, Qt::ControlModifier); });
        arrows->addWidget(arrow);
    }
    arrows->addStretch(1);
    grid->addLayout(arrows, 0, 0);
    grid->addWidget(field(DesignField::Count1), 2, 4);
    grid->addWidget(field(DesignField::Count2), 3, 4);
    auto* layouts = new QHBoxLayout;
    layouts->addWidget(addButton(QStringLiteral("Dle &roztečí"), &kzev::LampSystemDesign::OnLayoutByPitches));
    layouts->addWidget(addButton(QStringLiteral("Dle &počtů"), &kzev::LampSystemDesign::OnLayoutByCounts));
    layouts->addWidget(addButton(QStringLiteral("Ce&ntrovat"), &kzev::LampSystemDesign::OnCentre));
    layouts->addWidget(addButton(QStringLiteral("&Rozmístit"), &kzev::LampSystemDesign::OnDistribute));
    grid->addLayout(layouts, 4, 0, 1, 5);

    auto* lumen = new QGroupBox(QStringLiteral("Metoda toku"), this);
    auto* lumenGrid = new QGridLayout(lumen);
    lumenGrid->addWidget(addButton(QStringLiteral("&Em [lx]"), &kzev::LampSystemDesign::OnEmButton), 0, 0);
    lumenGrid->addWidget(field(DesignField::Em), 0, 1);
    lumenGrid->addWidget(addButton(QStringLiteral("P&očet"), &kzev::LampSystemDesign::OnCountButton), 1, 0);
    lumenGrid->addWidget(field(DesignField::LumenCount), 1, 1);
    m_layoutNote = new QLabel(this);
    m_layoutNote->setObjectName(QStringLiteral("layoutNote"));
    m_layoutNote->setWordWrap(true);
    lumenGrid->addWidget(m_layoutNote, 2, 0, 1, 2);
    lumenGrid->setRowStretch(3, 1);

    auto* top = new QHBoxLayout;
    top->addWidget(positions, 3);
    top->addWidget(lumen, 1);
    layout->addLayout(top);

    auto* angles = new QGroupBox(QStringLiteral("&Úhel svítidel"), this);
    auto* angleGrid = new QGridLayout(angles);
    angleGrid->addWidget(new QLabel(QStringLiteral("Naklonění"), this), 0, 0, Qt::AlignCenter);
    angleGrid->addWidget(new QLabel(QStringLiteral("Natočení"), this), 0, 1, Qt::AlignCenter);
    angleGrid->addWidget(new QLabel(QStringLiteral("Otočení"), this), 0, 2, Qt::AlignCenter);
    angleGrid->addWidget(field(DesignField::Tilt), 1, 0);
    angleGrid->addWidget(field(DesignField::Rotation), 1, 1);
    angleGrid->addWidget(field(DesignField::Spin), 1, 2);
    auto* plus = new QPushButton(QStringLiteral("+"), this);
    auto* minus = new QPushButton(QStringLiteral("-"), this);
    for (auto [pushButton, direction] : { std::pair { plus, 1 }, std::pair { minus, -1 } }) {
        pushButton->setAutoDefault(false);
        pushButton->setMaximumWidth(32);
        m_buttons[pushButton->text()] = pushButton;
        connect(pushButton, &QPushButton::clicked, this, [this, direction = direction] {
            m_design.OnSpinStep(direction);
            syncFromDesign();
        });
    }
    angleGrid->addWidget(plus, 1, 3);
    angleGrid->addWidget(minus, 1, 4);

    auto* axis = new QGroupBox(QStringLiteral("Zadání optické osy"), this);
    auto* axisGrid = new QGridLayout(axis);
    auto* group = new QButtonGroup(this);
    const char* modes[] = { "&Úhly", "S&měrovým bodem", "&Vektorem" };
    for (int m = 0; m < 3; ++m) {
        m_axisModes[static_cast<std::size_t>(m)] = new QRadioButton(QString::fromUtf8(modes[m]), this);
        group->addButton(m_axisModes[static_cast<std::size_t>(m)], m + 1);
        axisGrid->addWidget(m_axisModes[static_cast<std::size_t>(m)], 0, m + 1);
    }
    connect(group, &QButtonGroup::idClicked, this, [this](int mode) {
        m_design.OnAxisMode(mode);
        syncFromDesign();
    });
    axisGrid->addWidget(new QLabel(QStringLiteral("Optická osa"), this), 1, 0);
    axisGrid->addWidget(new QLabel(QStringLiteral("Osa C0"), this), 2, 0);
    for (int c = 0; c < 3; ++c) {
        axisGrid->addWidget(field(static_cast<DesignField>(static_cast<int>(DesignField::AxisX) + c)), 1, c + 1);
        axisGrid->addWidget(field(static_cast<DesignField>(static_cast<int>(DesignField::C0X) + c)), 2, c + 1);
    }
    auto* align = new QHBoxLayout;
    align->addWidget(addButton(QStringLiteral("C&0 || XY"), &kzev::LampSystemDesign::OnC0Horizontal));
    align->addWidget(addButton(QStringLiteral("C&90 || XY"), &kzev::LampSystemDesign::OnC90Horizontal));
    align->addStretch(1);
    axisGrid->addLayout(align, 3, 1, 1, 3);

    auto* orientation = new QHBoxLayout;
    orientation->addWidget(angles, 2);
    orientation->addWidget(axis, 3);
    layout->addLayout(orientation);

    m_centre = new QCheckBox(QStringLiteral("&Centrovat při rozmístění"), this);
    m_generalOrientation = new QCheckBox(QStringLiteral("Obecná orientace svítidel"), this);
    m_generalPitch = new QCheckBox(QStringLiteral("Obecná rozteč svítidel"), this);
    m_nonRegular = new QCheckBox(QStringLiteral("Nepravidelná soustava"), this);
    connect(m_centre, &QCheckBox::clicked, this, [this](bool on) {
        m_design.OnCentreCheck(on);
        syncFromDesign();
    });
    connect(m_generalOrientation, &QCheckBox::clicked, this, [this](bool on) {
        m_design.OnGeneralOrientation(on);
        syncFromDesign();
    });
    connect(m_generalPitch, &QCheckBox::clicked, this, [this](bool on) {
        m_design.OnGeneralPitch(on);
        syncFromDesign();
    });
    connect(m_nonRegular, &QCheckBox::clicked, this, [this](bool on) {
        m_design.OnNonRegular(on);
        syncFromDesign();
    });
    auto* checks = new QGridLayout;
    checks->addWidget(m_centre, 0, 0);
    checks->addWidget(m_generalOrientation, 0, 1);
    checks->addWidget(m_generalPitch, 1, 0);
    checks->addWidget(m_nonRegular, 1, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addLayout(checks, 1);
    bottom->addWidget(addButton(QStringLiteral("Přidat"), &kzev::LampSystemDesign::OnAddLuminaire));
    bottom->addWidget(addButton(QStringLiteral("Odebrat"), &kzev::LampSystemDesign::OnRemoveLuminaire));
    bottom->addWidget(addButton(QStringLiteral("&Zpět"), &kzev::LampSystemDesign::OnUndo));
    bottom->addWidget(addButton(QStringLiteral("&Překreslit"), &kzev::LampSystemDesign::OnRedraw));
    layout->addLayout(bottom);
    layout->addStretch(1);
}

void CLampSystemDialog::takeField(kzev::DesignField which, QLineEdit* edit)
{
    // Only a text the user changed; the message box below takes the focus and finishes the edit once more.
    if (m_syncing || !edit->isModified())
        return;
    edit->setModified(false);
    const std::string typed = edit->text().toStdString();
    if (const std::string refusal = m_design.refusal(which, typed); !refusal.empty()) {
        kzev::services().messageBox->show(refusal, kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        syncFromDesign();
        edit->setFocus(Qt::OtherFocusReason);
        edit->selectAll();
        return;
    }
    m_design.OnFieldChanged(which, typed);
    syncFromDesign();
}

void CLampSystemDialog::syncFromDesign()
{
    m_syncing = true;
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        const auto which = static_cast<DesignField>(i);
        const QString text = QString::fromStdString(m_design.text(which));
        if (m_fields[i]->text() != text)
            m_fields[i]->setText(text);
        m_fields[i]->setEnabled(m_design.enabled(which) || which == DesignField::Luminaire || which == DesignField::Lamp);
    }
    const kzev::DesignControls& controls = m_design.controls();
    m_centre->setChecked(m_design.centreOnLayout());
    m_generalOrientation->setChecked(m_design.generalOrientation());
    m_generalPitch->setChecked(m_design.generalPitch());
    m_generalPitch->setEnabled(controls.generalPitchCheck);
    m_nonRegular->setChecked(m_design.nonRegular());
    for (std::size_t m = 0; m < m_axisModes.size(); ++m) {
        m_axisModes[m]->setEnabled(controls.axisRadios);
        m_axisModes[m]->setChecked(static_cast<int>(m) + 1 == m_design.axisMode());
    }
    for (const char* caption : { "C&0 || XY", "C&90 || XY" })
        m_buttons.at(QString::fromUtf8(caption))->setEnabled(controls.alignButtons);
    for (const char* caption : { "Dle &roztečí", "Dle &počtů", "&Rozmístit" })
        m_buttons.at(QString::fromUtf8(caption))->setEnabled(controls.layoutButtons);
    m_buttons.at(QStringLiteral("Ce&ntrovat"))->setEnabled(controls.centreButton);
    m_buttons.at(QStringLiteral("Přidat"))->setEnabled(controls.addRemove);
    m_buttons.at(QStringLiteral("Odebrat"))->setEnabled(controls.addRemove);
    m_buttons.at(QStringLiteral("&Zpět"))->setEnabled(controls.undo);
    m_layoutNote->setText(QString::fromStdString(m_design.layoutNote()));
    m_layoutNote->setVisible(!m_design.layoutNote().empty());
    m_syncing = false;
}

void CLampSystemDialog::OnSetActive()
{
    m_design.OnSetActive();
    syncFromDesign();
}

void CLampSystemDialog::OnKillActive()
{
    m_design.OnKillActive();
}
