#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

namespace kzev {

// The small interfaces through which the headless core reaches the user
// interface. The application installs Qt-backed ones at start-up; tests
// install recording fakes; with none installed, quiet defaults apply.

/** The calculation log ("Výpočet" tab of the log bar). */
class ICalcLog {
public:
    virtual ~ICalcLog() = default;
    /** Starts a new line (CR LF) and writes the text on it. */
    virtual void addLine(const std::string& text) = 0;
    /** Appends the text to the current line, wrapping at the pane width. */
    virtual void addText(const std::string& text) = 0;
    /** Empties the log. */
    virtual void clear() = 0;
};

/** The status-bar progress and its gradient bar. */
class IProgress {
public:
    virtual ~IProgress() = default;
    /** Position -1 hides the bar; a range above 0 first sets the range 0..range. */
    virtual void setProgress(int position, int range) = 0;
    /** Sets the bar's text and text style (0x100 shows "%d%%" as the percentage). */
    virtual void setText(const std::string& text, std::uint32_t style) = 0;
    /** Sets the two gradient colours (0x00BBGGRR). */
    virtual void setGradient(std::uint32_t from, std::uint32_t to) = 0;
    /** Sets the idle text of the status bar. */
    virtual void setStatusText(const std::string& text) = 0;
};

enum class MessageIcon { None, Information, Warning, Error, Question };
enum class MessageButtons { Ok, YesNo, YesNoCancel, OkCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

/** Message boxes with a Czech text. */
class IMessageBox {
public:
    virtual ~IMessageBox() = default;
    virtual MessageAnswer show(const std::string& text, MessageIcon icon, MessageButtons buttons) = 0;
};

/** Keeps the window alive during a long calculation. */
class IMessagePump {
public:
    virtual ~IMessagePump() = default;
    /**
     * Processes pending events; cheap enough to call for every item of a
     * tight loop (it may look at the clock only every so many calls).
     */
    virtual void pump() = 0;
    /**
     * Processes pending events now if the window is due: for callers that
     * come back only every few hundredths of a second, between batches.
     */
    virtual void serve() { pump(); }
};

/** The project tree and the view, as far as the core asks them to refresh. */
class IViewRefresh {
public:
    virtual ~IViewRefresh() = default;
    /** Refills the project tree from the document's rooms. */
    virtual void fillProjectTree() = 0;
    /** Empties the project tree. */
    virtual void clearProjectTree() = 0;
    /** Re-reads the selected room and repaints the view. */
    virtual void refreshView(int resetProjection, int resetCamera) = 0;
    /** Asks the view to recompute its plan layout at the next drawing. */
    virtual void requestLayout() = 0;
    /**
     * Returns the room index of the tree's selected item, else of its
     * drop-highlighted item; none when neither exists.
     */
    virtual std::optional<int> selectedRoom() = 0;
    /**
     * Returns the room index and the area index when the tree's selected item,
     * else its drop-highlighted item, is a visual-task area listed under its
     * room; none for any other item or none.
     */
    virtual std::optional<std::pair<int, int>> selectedTaskArea() = 0;
};

/** The wait cursor shown during long commands. */
class IWaitCursor {
public:
    virtual ~IWaitCursor() = default;
    virtual void begin() = 0;
    virtual void end() = 0;
};

/** The process-wide set of services; members are never null. */
struct Services {
    ICalcLog* log;
    IProgress* progress;
    IMessageBox* messageBox;
    IMessagePump* pump;
    IViewRefresh* view;
    IWaitCursor* waitCursor;
};

/** Returns the installed services (quiet defaults where none is installed). */
[[nodiscard]] Services& services();

/** Installs the services for its lifetime (null members keep the current ones) and restores the previous set. */
class ScopedServices {
public:
    explicit ScopedServices(const Services& replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

private:
    Services m_previous;
};

/** Installs services for the rest of the process (the application at start-up). */
void installServices(const Services& replacement);

/** The process-wide stop flag that the stop command sets and the passes test. */
[[nodiscard]] bool stopRequested();
void setStopRequested(bool stop);

/** Shows the wait cursor for its lifetime. */
class WaitCursorGuard {
public:
    WaitCursorGuard() { services().waitCursor->begin(); }
    ~WaitCursorGuard() { services().waitCursor->end(); }
    WaitCursorGuard(const WaitCursorGuard&) = delete;
    WaitCursorGuard& operator=(const WaitCursorGuard&) = delete;
};

/** Shows a message box with the text of a string-table id. */
MessageAnswer messageBoxId(int stringId, MessageIcon icon = MessageIcon::Warning,
    MessageButtons buttons = MessageButtons::Ok);

} // namespace kzev
