#include "app/StandInForm.h"

#include "platform/StringTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

namespace kzev {

namespace {

constexpr int kCancel = 64859; // "Storno"

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

StandInForm::StandInForm(QWidget* parent, const std::string& title)
    : QDialog(parent)
{
    setWindowTitle(qs(title));
    setModal(true);
    new QFormLayout(this);
}

QLineEdit* StandInForm::addText(const std::string& label, const std::string& text)
{
    auto* edit = new QLineEdit(qs(text), this);
    edit->setObjectName(qs(label));
    static_cast<QFormLayout*>(layout())->addRow(qs(label), edit);
    return edit;
}

QCheckBox* StandInForm::addCheck(const std::string& label, bool checked)
{
    auto* box = new QCheckBox(qs(label), this);
    box->setObjectName(qs(label));
    box->setChecked(checked);
    static_cast<QFormLayout*>(layout())->addRow(box);
    return box;
}

QPlainTextEdit* StandInForm::addLines(const std::string& label, const std::string& text)
{
    auto* edit = new QPlainTextEdit(qs(text), this);
    edit->setObjectName(qs(label));
    static_cast<QFormLayout*>(layout())->addRow(qs(label), edit);
    return edit;
}

void StandInForm::finish()
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setText(qs(loadString(kCancel)));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    static_cast<QFormLayout*>(layout())->addRow(buttons);
}

std::string StandInForm::text(const std::string& label) const
{
    const auto* edit = findChild<QLineEdit*>(qs(label));
    return edit ? edit->text().toStdString() : std::string {};
}

std::vector<std::string> StandInForm::lines(const std::string& label) const
{
    std::vector<std::string> result;
    const auto* edit = findChild<QPlainTextEdit*>(qs(label));
    if (!edit)
        return result;
    for (const QString& line : edit->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        result.push_back(line.toStdString());
    return result;
}

bool StandInForm::checked(const std::string& label) const
{
    const auto* box = findChild<QCheckBox*>(qs(label));
    return box && box->isChecked();
}

} // namespace kzev
