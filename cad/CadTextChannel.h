#pragma once

#include "platform/CadDesktop.h"

#include <chrono>
#include <string>
#include <string_view>

namespace kzev {

/** Title of the drawing window's command-line window (its text window). */
inline constexpr std::string_view kDrawingTextWindowTitle = "Příkazový řádek výkresu";

/**
 * The text-window channel to a CAD program: command lines handed to its main
 * window, and the wait until its command line shows the bare idle prompt
 * again. The pick button and every drawing run that types into the CAD
 * program hold one for the duration of their work.
 *
 * Every wait is bounded and can be cancelled by the user: a window search
 * gives up after m_searchLimit, a prompt wait after m_promptLimit. The first
 * failure (not found, time out, cancelled, the CAD program closed) is told
 * once and stops the channel, so the rest of the run sends nothing and waits
 * for nothing.
 */
class CadTextChannel {
public:
    /** Results of ReadCommandLine. */
    static constexpr int kPromptShown = 0;
    static constexpr int kTimedOut = -1;
    static constexpr int kCancelled = -2;
    static constexpr int kClosed = -3;
    static constexpr int kStopped = -4;

    /** A command line may hold at most this many bytes (ANSI) before its terminating zero. */
    static constexpr std::size_t kCommandLimit = 511;

    /** Uses the installed desktop seam. */
    CadTextChannel();
    explicit CadTextChannel(ICadDesktop& desktop);

    /** Finds the AutoCAD LT text window and its command line; false (told) when it does not come. */
    bool FindLtTextWindow();
    /** Finds the text window of the full AutoCAD (or of the drawing window) and its command line. */
    bool FindTextWindow();
    /** Returns the first top-level window whose title begins with the prefix and keeps its title. */
    CadWindowHandle FindWindowByTitlePrefix(std::string_view prefix);
    /** Hands one command line to the CAD main window; false when it was refused or the channel stopped. */
    bool SendToTextWindow(const std::string& command);
    /** Sends the text with the copy-data message (ANSI, or UTF-16 by the "AutoCAD LT 2007" option). */
    bool CopyDataToWindow(CadWindowHandle window, const std::string& text);
    /** Waits until the command line shows the expected text (case ignored); kPromptShown or why not. */
    int ReadCommandLine(const std::string& expected);
    /** Returns the whole text of a window; empty for a null window. */
    [[nodiscard]] std::string GetCommandLineText(CadWindowHandle window);

    /** Returns whether a failure or a cancel stopped the channel for the rest of its run. */
    [[nodiscard]] bool stopped() const { return m_bStopped; }

    CadWindowHandle m_hMainWnd = 0;
    CadWindowHandle m_hTextWnd = 0;
    CadWindowHandle m_hCommandLine = 0;
    CadWindowHandle m_hHistory = 0;
    int m_nPollMs = 800;
    std::string m_strLastLine;
    std::string m_strPrompt = "Příkaz: ";
    std::string m_strWindowTitle;
    int m_nLtVersion = 0;
    /** The CAD kind of the program reached (the drawing window has a text window of its own). */
    int m_nMode = 0;
    std::chrono::milliseconds m_searchLimit { std::chrono::seconds(10) };
    std::chrono::milliseconds m_promptLimit { std::chrono::minutes(5) };

private:
    bool findTextWindow(std::string_view prefix, std::string_view englishTitle, bool fiveLevelsUnderMain);
    void walk(CadWindowHandle window, int level, int depth);
    void stop(const std::string& message);

    ICadDesktop& m_desktop;
    bool m_bStopped = false;
};

} // namespace kzev
