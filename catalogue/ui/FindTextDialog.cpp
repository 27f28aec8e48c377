#include "catalogue/ui/FindTextDialog.h"

#include "platform/StringTable.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kzev {

namespace {
constexpr int kCancelTextId = 61458;
} // namespace

FindTextDialog::FindTextDialog(const std::string& text, QWidget* parent)
    : QDialog(parent)
    , m_text(new QLineEdit(QString::fromStdString(text), this))
    , m_matchCase(new QCheckBox(QStringLiteral("&Rozlišovat malá a velká písmena"), this))
    , m_findNext(new QPushButton(QStringLiteral("Najít &další"), this))
{
    setWindowTitle(QStringLiteral("Najít"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    m_text->setObjectName(QStringLiteral("findText"));
    m_text->setMinimumWidth(220);
    m_matchCase->setObjectName(QStringLiteral("matchCase"));
    m_findNext->setObjectName(QStringLiteral("findNext"));
    m_findNext->setDefault(true);
    auto* cancel = new QPushButton(QString::fromStdString(loadString(kCancelTextId)), this);
    cancel->setObjectName(QStringLiteral("cancel"));

    auto* label = new QLabel(QStringLiteral("&Najít:"), this);
    label->setBuddy(m_text);
    auto* grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0);
    grid->addWidget(m_text, 0, 1);
    grid->addWidget(m_matchCase, 1, 0, 1, 2);
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_findNext);
    buttons->addWidget(cancel);
    buttons->addStretch(1);
    grid->addLayout(buttons, 0, 2, 2, 1);

    const auto enable = [this] { m_findNext->setEnabled(!m_text->text().isEmpty()); };
    connect(m_text, &QLineEdit::textChanged, this, enable);
    enable();
    connect(m_findNext, &QPushButton::clicked, this, &FindTextDialog::findNext);
    connect(cancel, &QPushButton::clicked, this, &QDialog::close);
}

std::string FindTextDialog::text() const
{
    return m_text->text().toStdString();
}

bool FindTextDialog::matchCase() const
{
    return m_matchCase->isChecked();
}

} // namespace kzev
