#include "dialogs/CBindingDialog.h"

#include "dialogs/BindingPicture.h"
#include "platform/Services.h"

#include "platform/StringTable.h"
#include "platform/TypedNumber.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

constexpr int kTitle = 64850;          // "Definice vazby"
constexpr int kFirstOption = 64851;    // "Symetrie podle osy X" ... "Posun souřadnic"
constexpr int kKeepBinding = 64855;    // "Vazbu uchovat"
constexpr int kKindGroup = 64856;      // "Typ vazby"
constexpr int kCoordinatesMm = 64857;  // "Souřadnice [mm]"
constexpr int kCoordinatesM = 64858;   // "Souřadnice [m]"
constexpr int kCancel = 64859;         // "Storno"

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

QString text(int id)
{
    return qs(kzev::loadString(id));
}

} // namespace

CBindingDialog::CBindingDialog(const kzev::BindingSettings& settings, double roomLength, double roomWidth, int unitMm,
    QWidget* parent)
    : QDialog(parent)
    , m_roomLength(roomLength)
    , m_roomWidth(roomWidth)
    , m_unitMm(unitMm)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(text(kTitle));

    auto* kinds = new QGroupBox(text(kKindGroup), this);
    auto* kindsLayout = new QVBoxLayout(kinds);
    auto* group = new QButtonGroup(this);
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        m_options[i] = new QRadioButton(text(kFirstOption + static_cast<int>(i)), kinds);
        group->addButton(m_options[i], static_cast<int>(i));
        auto* row = new QHBoxLayout;
        m_pictures[i] = new BindingPicture(static_cast<int>(i), m_options[i], kinds);
        row->addWidget(m_pictures[i]);
        row->addWidget(m_options[i], 1);
        kindsLayout->addLayout(row);
    }
    if (settings.bindingType >= 0 && settings.bindingType < 4)
        m_options[static_cast<std::size_t>(settings.bindingType)]->setChecked(true);
    connect(group, &QButtonGroup::idClicked, this, &CBindingDialog::onOption);

    auto* coordinates = new QGroupBox(text(unitMm == 1 ? kCoordinatesMm : kCoordinatesM), this);
    auto* form = new QFormLayout(coordinates);
    const std::array<const char*, 3> labels { "&X", "&Y", "&Z" };
    const std::array<std::string, 3> texts { settings.shiftX, settings.shiftY, settings.shiftZ };
    for (std::size_t i = 0; i < labels.size(); ++i) {
        m_shift[i] = new QLineEdit(qs(texts[i]), coordinates);
        m_shift[i]->setAlignment(Qt::AlignRight);
        form->addRow(QString::fromUtf8(labels[i]), m_shift[i]);
    }

    m_keepBinding = new QCheckBox(text(kKeepBinding), this);
    m_keepBinding->setChecked(settings.keepBinding == 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(text(kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* top = new QHBoxLayout;
    top->addWidget(kinds);
    top->addWidget(coordinates);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_keepBinding);
    layout->addWidget(buttons);
}

CBindingDialog::~CBindingDialog() = default;

void CBindingDialog::onOption(int option)
{
    const kzev::BindingShiftSuggestion edits
        = kzev::suggestedBindingShift(static_cast<kzev::BindingType>(option), m_roomLength, m_roomWidth, m_unitMm);
    const std::array<const std::optional<std::string>*, 3> texts { &edits.x, &edits.y, &edits.z };
    const std::array<bool, 3> enabled { edits.xEnabled, edits.yEnabled, edits.zEnabled };
    for (std::size_t i = 0; i < m_shift.size(); ++i) {
        if (*texts[i])
            m_shift[i]->setText(qs(**texts[i]));
        m_shift[i]->setEnabled(enabled[i]);
    }
}

void CBindingDialog::accept()
{
    // A shift that is no number would move the derived luminaires nowhere or to infinity.
    for (QLineEdit* edit : m_shift) {
        if (kzev::readTypedNumber(edit->text().toStdString()))
            continue;
        kzev::services().messageBox->show("Zadejte číslo.", kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        edit->setEnabled(true);
        edit->setFocus();
        edit->selectAll();
        return;
    }
    QDialog::accept();
}

kzev::BindingSettings CBindingDialog::settings() const
{
    kzev::BindingSettings result;
    result.shiftX = m_shift[0]->text().toStdString();
    result.shiftY = m_shift[1]->text().toStdString();
    result.shiftZ = m_shift[2]->text().toStdString();
    result.keepBinding = m_keepBinding->isChecked() ? 1 : 0;
    result.bindingType = -1;
    for (std::size_t i = 0; i < m_options.size(); ++i) {
        if (m_options[i]->isChecked())
            result.bindingType = static_cast<int>(i);
    }
    return result;
}
