#include "app/frame/CCadImportReportDialog.h"

#include "cad/LuminaireBlockImport.h"
#include "model/CLampSystem.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

using kzev::formatC;
using kzev::loadString;

constexpr int kTitle = 64951;       // "Import svítidel z AutoCADu"
constexpr int kSummary = 64952;     // "Místnost %s: načteno %d svítidel v %d soustavách."
constexpr int kUnknownMaker = 64953;
constexpr int kUnidentified = 64954;
constexpr int kWithoutLamp = 64955;
constexpr int kNothingSkipped = 64956;
constexpr int kColumns = 64957;     // "Soustava;Svítidlo;Počet;Výška [m]"

QString qs(const std::string& text)
{
    return QString::fromStdString(text);
}

} // namespace

std::vector<std::string> CCadImportReportDialog::skippedLines(const kzev::LuminaireImportReport& report)
{
    std::vector<std::string> lines;
    for (const auto& [maker, count] : report.unknownMakers)
        lines.push_back(formatC(loadString(kUnknownMaker).c_str(), maker, count));
    if (report.unidentified > 0)
        lines.push_back(formatC(loadString(kUnidentified).c_str(), report.unidentified));
    if (report.withoutLamp > 0)
        lines.push_back(formatC(loadString(kWithoutLamp).c_str(), report.withoutLamp));
    return lines;
}

CCadImportReportDialog::CCadImportReportDialog(const kzev::LuminaireImportReport& report,
    const std::vector<CLampSystem>& systems, const std::string& roomName, QWidget* parent)
    : QDialog(parent)
{
    setWindowTitle(qs(loadString(kTitle)));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(qs(formatC(loadString(kSummary).c_str(), roomName.c_str(), report.imported,
        static_cast<int>(systems.size())))));

    auto* table = new QTreeWidget;
    table->setObjectName("importedSystems");
    table->setRootIsDecorated(false);
    QStringList headers;
    for (const QString& column : qs(loadString(kColumns)).split(';'))
        headers << column;
    table->setHeaderLabels(headers);
    for (const CLampSystem& system : systems) {
        auto* row = new QTreeWidgetItem(table);
        row->setText(0, qs(system.m_name));
        row->setText(1, qs(system.m_luminaireName));
        row->setText(2, QString::number(system.m_numberOfLuminaires));
        row->setText(3, qs(formatC("%.3f", system.m_origin.z)));
        row->setTextAlignment(2, Qt::AlignRight);
        row->setTextAlignment(3, Qt::AlignRight);
    }
    table->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table->setMinimumWidth(560);
    layout->addWidget(table);

    const std::vector<std::string> skipped = skippedLines(report);
    std::string text = skipped.empty() ? loadString(kNothingSkipped) : std::string();
    for (const std::string& line : skipped)
        text += (text.empty() ? "" : "\n") + line;
    auto* skippedLabel = new QLabel(qs(text));
    skippedLabel->setObjectName("skippedBlocks");
    skippedLabel->setWordWrap(true);
    layout->addWidget(skippedLabel);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
}
