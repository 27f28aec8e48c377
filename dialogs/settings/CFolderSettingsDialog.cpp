#include "dialogs/settings/CFolderSettingsDialog.h"

#include "platform/StringTable.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kTitle = 63550;
constexpr int kCancel = 63554;
// Labels, edits, buttons and browser titles of the data, documents and pictures folders.
constexpr std::array<int, 3> kLabels { 63551, 63553, 63552 };
constexpr std::array<int, 3> kEditIds { 1064, 1065, 1207 };
constexpr std::array<int, 3> kButtonIds { 1204, 1206, 1205 };
constexpr std::array<const char*, 3> kBrowserTitles { "Data", "Documents", "Pictures" };

QString text(int id)
{
    return QString::fromStdString(kzev::loadString(id));
}

} // namespace

CFolderSettingsDialog::CFolderSettingsDialog(const kzev::FolderSettings& folders, QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(text(kTitle));
    const std::array<const std::string*, 3> values { &folders.data, &folders.documents, &folders.pictures };
    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < m_edits.size(); ++i) {
        auto* label = new QLabel(text(kLabels[i]), this);
        m_edits[i] = new QLineEdit(QString::fromStdString(*values[i]), this);
        m_edits[i]->setObjectName(QString::number(kEditIds[i]));
        m_edits[i]->setMinimumWidth(m_edits[i]->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 48);
        label->setBuddy(m_edits[i]);
        m_browse[i] = new QPushButton(QStringLiteral("..."), this);
        m_browse[i]->setObjectName(QString::number(kButtonIds[i]));
        m_browse[i]->setFixedWidth(m_browse[i]->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
        const int row = static_cast<int>(i);
        grid->addWidget(label, row, 0);
        grid->addWidget(m_edits[i], row, 1);
        grid->addWidget(m_browse[i], row, 2);
        connect(m_browse[i], &QPushButton::clicked, this, [this, row] { browse(row); });
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(text(kCancel));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
}

CFolderSettingsDialog::~CFolderSettingsDialog() = default;

kzev::FolderSettings CFolderSettingsDialog::folders() const
{
    return { m_edits[0]->text().toStdString(), m_edits[1]->text().toStdString(), m_edits[2]->text().toStdString() };
}

void CFolderSettingsDialog::browse(int index)
{
    const auto i = static_cast<std::size_t>(index);
    const QString folder = QFileDialog::getExistingDirectory(this, QString::fromUtf8(kBrowserTitles[i]),
        m_edits[i]->text(), QFileDialog::ShowDirsOnly);
    if (!folder.isEmpty())
        m_edits[i]->setText(folder);
}
