#include "dialogs/rooms/CRoomLCornerDialog.h"

#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>
#include <optional>
#include <string>

namespace {

constexpr int kCancelTextId = 61458;

/** The whole text as one finite number (a decimal comma counts as the point); none otherwise. */
std::optional<double> numberOf(const QString& typed)
{
    return kzev::readTypedNumber(typed.toStdString());
}

QLineEdit* lengthField(QWidget* parent, const char* name)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromUtf8(name));
    edit->setAlignment(Qt::AlignRight);
    edit->setMinimumWidth(120);
    return edit;
}

} // namespace

CRoomLCornerDialog::CRoomLCornerDialog(QWidget* parent)
    : QDialog(parent)
    , m_lengthEdit(lengthField(this, "Délka"))
    , m_widthEdit(lengthField(this, "Šířka"))
    , m_switchOff(new QCheckBox(QStringLiteral("Vypnout body uvnitř"), this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Roh místnosti tvaru L"));
    m_switchOff->setObjectName(m_switchOff->text());
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Délka:"), m_lengthEdit);
    form->addRow(QStringLiteral("Šířka:"), m_widthEdit);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QString::fromStdString(kzev::loadString(kCancelTextId)));
    connect(buttons, &QDialogButtonBox::accepted, this, &CRoomLCornerDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_switchOff);
    layout->addWidget(buttons);
}

int CRoomLCornerDialog::DoModal()
{
    m_lengthEdit->setText(QString::fromStdString(kzev::formatC("%.15g", m_length)));
    m_widthEdit->setText(QString::fromStdString(kzev::formatC("%.15g", m_width)));
    m_switchOff->setChecked(m_switchOffInside == 1);
    return exec();
}

void CRoomLCornerDialog::accept()
{
    const std::optional<double> length = numberOf(m_lengthEdit->text());
    const std::optional<double> width = numberOf(m_widthEdit->text());
    if (!length || !width) {
        // The field that is no number keeps the dialog open and takes the focus.
        QLineEdit* wrong = length ? m_widthEdit : m_lengthEdit;
        kzev::services().messageBox->show("Zadejte číslo.", kzev::MessageIcon::Warning, kzev::MessageButtons::Ok);
        wrong->setFocus();
        wrong->selectAll();
        return;
    }
    m_length = *length;
    m_width = *width;
    m_switchOffInside = m_switchOff->isChecked() ? 1 : 0;
    QDialog::accept();
}
