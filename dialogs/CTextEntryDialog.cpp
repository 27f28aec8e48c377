#include "dialogs/CTextEntryDialog.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

CTextEntryDialog::CTextEntryDialog(QWidget* parent)
    : QDialog(parent)
    , m_edit(new QLineEdit(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Dialog"));
    m_edit->setMinimumWidth(260);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CTextEntryDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_edit);
    layout->addWidget(buttons);
}

int CTextEntryDialog::DoModal()
{
    if (!m_caption.empty())
        setWindowTitle(QString::fromStdString(m_caption));
    m_edit->setText(QString::fromStdString(m_text));
    m_edit->selectAll();
    m_edit->setFocus();
    return exec();
}

void CTextEntryDialog::accept()
{
    m_text = m_edit->text().toStdString();
    QDialog::accept();
}
