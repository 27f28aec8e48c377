// The width of a task area's surroundings band, asked for as one text.

#include "app/FrameInputs.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <QInputDialog>

namespace kzev {

namespace {

constexpr int kPrompt = 61966; // "Šířka okolí místa úkolu"
constexpr double kDefaultBand = 0.5;

} // namespace

std::optional<double> askSurroundingsWidth(QWidget* parent, CKzevDoc& doc, const CWorkSystem&)
{
    const std::string start
        = doc.m_unitMm == 1 ? formatC("%1.0lf", kDefaultBand * 1000.0) : formatC("%1.3lf", kDefaultBand);
    const QString prompt = QString::fromStdString(loadString(kPrompt));
    bool ok = false;
    const QString text
        = QInputDialog::getText(parent, prompt, prompt, QLineEdit::Normal, QString::fromStdString(start), &ok);
    if (!ok)
        return std::nullopt;
    // Text that is no number counts as 0, as every length the user types.
    return doc.ParseLength(text.toStdString());
}

} // namespace kzev
