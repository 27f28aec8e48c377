#include "model/CKzevDoc.h"

#include "model/UserSettings.h"
#include "platform/ProfileStore.h"

#include <algorithm>

using namespace kzev;

namespace {

constexpr const char* kMainLogFont = "mainLogFont";
/** The largest point size a font takes; a damaged HeightFont must not overflow the tenths. */
constexpr std::int32_t kMaxFontPoints = 1638;

} // namespace

int CKzevDoc::LoadMainFont()
{
    const std::vector<std::uint8_t> stored = profileStore().getBinary(kMainSection, kMainLogFont);
    if (const std::optional<LogFont> font = LogFont::fromBytes(stored))
        m_logFont = *font;
    else
        m_logFont = LogFont::pointFont(std::clamp(m_fontHeight, -kMaxFontPoints, kMaxFontPoints) * 10, m_baseFont);
    return 1;
}

int CKzevDoc::SaveMainFont()
{
    profileStore().setBinary(kMainSection, kMainLogFont, m_logFont.toBytes());
    return 1;
}

void CKzevDoc::readOpenSettings()
{
    // The font falls back on the file's BaseFont and HeightFont; then the
    // user's own replace them.
    LoadMainFont();
    readSettings(userSettings(*this, nullptr), kAtOpen, profileStore());
}
