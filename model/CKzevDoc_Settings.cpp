#include "model/CKzevDoc.h"

#include "model/UserSettings.h"
#include "platform/ProfileStore.h"

using namespace kzev;

namespace {

constexpr const char* kMainLogFont = "mainLogFont";

} // namespace

int CKzevDoc::LoadMainFont()
{
    const std::vector<std::uint8_t> stored = profileStore().getBinary(kMainSection, kMainLogFont);
    if (const std::optional<LogFont> font = LogFont::fromBytes(stored))
        m_logFont = *font;
    else
        m_logFont = LogFont::pointFont(m_fontHeight * 10, m_baseFont);
    return 1;
}

int CKzevDoc::SaveMainFont()
{
    profileStore().setBinary(kMainSection, kMainLogFont, m_logFont.toBytes());
    return 1;
}

void CKzevDoc::readOpenSettings()
{
    // The file's own BaseFont and HeightFont give way to the user's.
    m_blockPrefix = profileStore().getString(kMainSection, "BlockPrefix", m_blockPrefix);
    LoadMainFont();
    readSettings(userSettings(*this, nullptr), kAtOpen, profileStore());
}
