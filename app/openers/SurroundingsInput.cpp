// The width of a task area's surroundings band, asked for as one text.

#include "app/openers/FrameInputs.h"
#include "dialogs/CTextEntryDialog.h"
#include "model/CKzevDoc.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kPrompt = 61966; // "Šířka okolí místa úkolu"
constexpr double kDefaultBand = 0.5;

} // namespace

std::optional<double> askSurroundingsWidth(QWidget* parent, CKzevDoc& doc, const CWorkSystem&)
{
    CTextEntryDialog dialog(parent);
    dialog.m_caption = loadString(kPrompt);
    dialog.m_text = doc.m_unitMm == 1 ? formatC("%1.0lf", kDefaultBand * 1000.0) : formatC("%1.3lf", kDefaultBand);
    if (dialog.DoModal() != QDialog::Accepted)
        return std::nullopt;
    // Text that is no number counts as 0, as every length the user types.
    return doc.ParseLength(dialog.m_text);
}

} // namespace kzev
