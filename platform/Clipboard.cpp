#include "platform/Clipboard.h"

namespace kzev {

namespace {

/** Without a window system nothing can hold the text. */
class QuietClipboard final : public IClipboard {
public:
    bool setText(const std::string&) override { return false; }
};

QuietClipboard g_quietClipboard;
IClipboard* g_clipboard = &g_quietClipboard;

} // namespace

IClipboard& clipboard() { return *g_clipboard; }

void installClipboard(IClipboard* replacement) { g_clipboard = replacement ? replacement : &g_quietClipboard; }

ScopedClipboard::ScopedClipboard(IClipboard& replacement)
    : m_previous(g_clipboard)
{
    g_clipboard = &replacement;
}

ScopedClipboard::~ScopedClipboard() { g_clipboard = m_previous; }

} // namespace kzev
