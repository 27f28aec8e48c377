#include "cad/CadTextChannel.h"

#include "model/CKzevDoc.h"
#include "model/CadDetection.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "platform/CaseFold.h"
#include "platform/Codepage1250.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kTextWindowNotFound = 64900;
constexpr int kPromptTimedOut = 64901;
constexpr int kWaitCancelled = 64902;
constexpr int kCadClosed = 64903;
constexpr int kCommandTooLong = 64904;

constexpr std::chrono::milliseconds kSearchPause { 100 };

int seconds(std::chrono::milliseconds duration)
{
    return static_cast<int>(std::chrono::duration_cast<std::chrono::seconds>(duration).count());
}

// UTF-16 little endian of UTF-8 text, with the terminating zero.
std::vector<std::uint8_t> utf16WithZero(const std::string& utf8)
{
    std::vector<std::uint8_t> out;
    const auto put = [&](unsigned unit) {
        out.push_back(static_cast<std::uint8_t>(unit & 0xFF));
        out.push_back(static_cast<std::uint8_t>(unit >> 8));
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        unsigned code = c;
        std::size_t length = 1;
        if (c >= 0xF0 && i + 3 < utf8.size()) {
            code = ((c & 0x07) << 18) | ((utf8[i + 1] & 0x3F) << 12) | ((utf8[i + 2] & 0x3F) << 6) | (utf8[i + 3] & 0x3F);
            length = 4;
        } else if (c >= 0xE0 && i + 2 < utf8.size()) {
            code = ((c & 0x0F) << 12) | ((utf8[i + 1] & 0x3F) << 6) | (utf8[i + 2] & 0x3F);
            length = 3;
        } else if (c >= 0xC0 && i + 1 < utf8.size()) {
            code = ((c & 0x1F) << 6) | (utf8[i + 1] & 0x3F);
            length = 2;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            put(0xD800 | (code >> 10));
            put(0xDC00 | (code & 0x3FF));
        } else {
            put(code);
        }
        i += length;
    }
    put(0);
    return out;
}

} // namespace

CadTextChannel::CadTextChannel()
    : CadTextChannel(*cadLink().desktop)
{
}

CadTextChannel::CadTextChannel(ICadDesktop& desktop)
    : m_desktop(desktop)
{
}

void CadTextChannel::stop(const std::string& message)
{
    if (m_bStopped)
        return;
    m_bStopped = true;
    services().messageBox->show(message, MessageIcon::Warning, MessageButtons::Ok);
}

CadWindowHandle CadTextChannel::FindWindowByTitlePrefix(std::string_view prefix)
{
    return FindTopWindowByTitlePrefix(m_desktop, prefix, &m_strWindowTitle);
}

bool CadTextChannel::FindLtTextWindow()
{
    return findTextWindow("AutoCAD LT Text", "AutoCAD LT Text Window", m_nLtVersion >= 2011);
}

bool CadTextChannel::FindTextWindow()
{
    if (m_nMode == CadKindDrawing)
        return findTextWindow(kDrawingTextWindowTitle, {}, false);
    return findTextWindow("AutoCAD Text", "AutoCAD Text Window", false);
}

bool CadTextChannel::findTextWindow(std::string_view prefix, std::string_view englishTitle, bool fiveLevelsUnderMain)
{
    if (m_bStopped)
        return false;
    // Without the CAD main window (a detection that found nothing, a program
    // closed since) no text window will come: give up at once.
    const auto deadline = m_desktop.now() + m_searchLimit;
    while ((m_hTextWnd = FindWindowByTitlePrefix(prefix)) == 0) {
        if (m_hMainWnd == 0 || !m_desktop.windowExists(m_hMainWnd) || m_desktop.now() >= deadline) {
            stop(formatC(loadString(kTextWindowNotFound).c_str(), seconds(m_searchLimit)));
            return false;
        }
        if (!m_desktop.pause(kSearchPause)) {
            stop(loadString(kWaitCancelled));
            return false;
        }
    }
    if (!englishTitle.empty() && m_strWindowTitle.compare(0, englishTitle.size(), englishTitle) == 0)
        m_strPrompt = "Command: ";
    if (fiveLevelsUnderMain)
        walk(m_hMainWnd, 1, 5);
    else
        walk(m_hTextWnd, 1, 3);
    return true;
}

void CadTextChannel::walk(CadWindowHandle window, int level, int depth)
{
    for (const CadWindowInfo& child : m_desktop.childWindows(window)) {
        if (level == depth) {
            // The name under which the window is listed, not what it shows now.
            const std::string& text = child.text;
            if (text == "Headlands")
                m_hCommandLine = child.handle;
            else if (text == "MountTam" && depth == 3)
                m_hHistory = child.handle;
        } else {
            walk(child.handle, level + 1, depth);
        }
    }
}

bool CadTextChannel::SendToTextWindow(const std::string& command)
{
    if (m_bStopped)
        return false;
    if (!CopyDataToWindow(m_hMainWnd, command))
        return false;
    m_desktop.setFocus(m_hMainWnd);
    return true;
}

bool CadTextChannel::CopyDataToWindow(CadWindowHandle window, const std::string& text)
{
    const std::string ansi = utf8ToCp1250(text);
    if (ansi.size() > kCommandLimit) {
        // The channel's buffer holds 511 bytes and the zero; a longer command
        // is refused whole rather than cut or overrun.
        services().log->addLine(formatC(loadString(kCommandTooLong).c_str(), static_cast<int>(kCommandLimit),
            text.substr(0, 60).c_str()));
        return false;
    }
    std::vector<std::uint8_t> data;
    if (acadUnicode() == 1) {
        data = utf16WithZero(cp1250ToUtf8(ansi));
    } else {
        data.assign(ansi.begin(), ansi.end());
        data.push_back(0);
    }
    return m_desktop.copyData(window, 1, data);
}

int CadTextChannel::ReadCommandLine(const std::string& expected)
{
    if (m_bStopped)
        return kStopped;
    const std::string wanted = upperCase(expected);
    const auto deadline = m_desktop.now() + m_promptLimit;
    for (;;) {
        m_strLastLine = upperCase(GetCommandLineText(m_hCommandLine));
        if (m_strLastLine == wanted)
            return kPromptShown;
        if (m_hCommandLine == 0 || !m_desktop.windowExists(m_hCommandLine)) {
            stop(loadString(kCadClosed));
            return kClosed;
        }
        if (m_desktop.now() >= deadline) {
            stop(formatC(loadString(kPromptTimedOut).c_str(), seconds(m_promptLimit)));
            return kTimedOut;
        }
        if (!m_desktop.pause(std::chrono::milliseconds(m_nPollMs))) {
            stop(loadString(kWaitCancelled));
            return kCancelled;
        }
    }
}

std::string CadTextChannel::GetCommandLineText(CadWindowHandle window)
{
    constexpr std::size_t kTextLimit = 102400;
    if (window == 0)
        return {};
    std::string text = m_desktop.windowText(window);
    if (text.size() > kTextLimit)
        text.resize(kTextLimit);
    return text;
}

} // namespace kzev
