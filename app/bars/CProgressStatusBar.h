#pragma once

#include "app/bars/StatusMessageList.h"

#include <QStatusBar>

#include <memory>
#include <string>
#include <vector>

class CGradientProgressCtrl;
class QLabel;
class QToolButton;

/**
 * The main frame's status line: panes of text, the gradient progress bar
 * laid over one pane, and an optional message history stepped through by
 * two (or three) small buttons beside a pane. The frame uses only the
 * progress bar, over pane 0.
 */
class CProgressStatusBar : public QStatusBar {
    Q_OBJECT

public:
    /** Option flags of Create. */
    static constexpr unsigned MessageButtons = 1;
    static constexpr unsigned MessageActionButton = 2;
    static constexpr unsigned ProgressControl = 4;
    /** Command ids of the buttons and the control id of the progress bar. */
    static constexpr int PreviousMessageId = 2001;
    static constexpr int NextMessageId = 2002;
    static constexpr int MessageActionId = 2003;
    static constexpr int ProgressCtrlId = 2004;

    explicit CProgressStatusBar(QWidget* parent = nullptr);
    ~CProgressStatusBar() override;

    /**
     * Sets the options, makes the progress bar over progressPane and the
     * message buttons beside buttonPane (-1: none). The frame passes
     * ProgressControl, 0, -1. Returns false at the first failure.
     */
    bool Create(unsigned flags, int progressPane, int buttonPane);

    /**
     * Replaces the panes: id 0 is the stretching text pane, any other id a
     * fixed pane as wide as its string-table text, which it shows.
     */
    void SetIndicators(const std::vector<int>& ids);
    /** Returns the index of the pane of the id, or -1. */
    [[nodiscard]] int CommandToIndex(int id) const;
    [[nodiscard]] int GetCount() const { return static_cast<int>(m_panes.size()); }
    void SetPaneText(int pane, const std::string& text);
    [[nodiscard]] std::string GetPaneText(int pane) const;
    /** Sets the pane's text and repaints the bar at once. */
    void SetPaneTextNow(const std::string& text, int pane);
    /** Returns the pane's rectangle in the bar's coordinates (empty when it does not exist). */
    [[nodiscard]] QRect GetItemRect(int pane) const;

    /**
     * Position -1 hides the progress bar; a range above 0 first sets the
     * range 0..range; then the bar is shown at the position.
     */
    void SetProgress(int position, int range);
    /** Returns the progress bar, or null without the ProgressControl option. */
    [[nodiscard]] CGradientProgressCtrl* GetProgressCtrl() const { return m_progress; }

    // The message history shown in pane 0.
    kzev::StatusMessage* AddMessage(const std::string& text, bool refresh = true, bool makeCurrent = false);
    kzev::StatusMessage* AddMessageObject(std::unique_ptr<kzev::StatusMessage> message, bool refresh = true,
        bool makeCurrent = false);
    void RemoveMessage(const kzev::StatusMessage* message, bool refresh = true);
    void RemoveAllMessages(bool refresh = true);
    /**
     * Shows the current message in pane 0 and enables the buttons that can
     * step from it; without a message (or with blank) shows "Ready". Returns
     * false without the MessageButtons option.
     */
    bool UpdateMessageDisplay(bool blank = false);
    void ShowPreviousMessage();
    void ShowNextMessage();
    /** The action of button 2003; does nothing here. */
    virtual void OnMessageAction(kzev::StatusMessage* message);
    [[nodiscard]] bool CanShowPrevious() const { return m_messages.canShowPrevious(); }
    [[nodiscard]] bool CanShowNext() const { return m_messages.canShowNext(); }
    [[nodiscard]] bool HasCurrentMessage() const { return m_messages.hasCurrent(); }

    /** Lays the progress bar over its pane and the buttons beside theirs. */
    void RepositionControls();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Pane {
        int id;
        QLabel* label;
    };

    bool CreateProgressCtrl();
    bool CreateMessageButtons();
    void DestroyControls();

    unsigned m_flags = 0;
    int m_buttonHeight = 13;
    int m_buttonGap = 2;
    int m_buttonWidth = 14;
    int m_thirdButtonWidth = 14;
    // Children of the bar; Qt owns them.
    QToolButton* m_previousButton = nullptr;
    QToolButton* m_nextButton = nullptr;
    QToolButton* m_actionButton = nullptr;
    CGradientProgressCtrl* m_progress = nullptr;
    int m_buttonPane = -1;
    int m_progressPane = -1;
    kzev::StatusMessageList m_messages;
    std::vector<Pane> m_panes;
};
