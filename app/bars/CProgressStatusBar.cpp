#include "app/bars/CProgressStatusBar.h"

#include "app/bars/CGradientProgressCtrl.h"
#include "platform/StringTable.h"

#include <QEvent>
#include <QLabel>
#include <QStyle>
#include <QToolButton>

namespace {

// The framework's own idle text of the message pane.
constexpr const char* ReadyText = "Ready";

} // namespace

CProgressStatusBar::CProgressStatusBar(QWidget* parent)
    : QStatusBar(parent)
{
    setObjectName(QStringLiteral("CProgressStatusBar"));
    SetIndicators({ 0 });
}

CProgressStatusBar::~CProgressStatusBar() = default;

bool CProgressStatusBar::Create(unsigned flags, int progressPane, int buttonPane)
{
    RemoveAllMessages(false);
    DestroyControls();
    m_flags = flags;
    m_progressPane = progressPane;
    m_buttonPane = buttonPane;
    if (!CreateProgressCtrl() || !CreateMessageButtons())
        return false;
    RepositionControls();
    return true;
}

bool CProgressStatusBar::CreateProgressCtrl()
{
    if ((m_flags & ProgressControl) == 0)
        return true;
    m_progress = new CGradientProgressCtrl(this);
    m_progress->setProperty("controlId", ProgressCtrlId);
    m_progress->setFont(font());
    m_progress->hide();
    return true;
}

bool CProgressStatusBar::CreateMessageButtons()
{
    auto makeButton = [this](int commandId, Qt::ArrowType arrow) {
        auto* button = new QToolButton(this);
        button->setProperty("commandId", commandId);
        button->setAutoRaise(true);
        if (arrow != Qt::NoArrow)
            button->setArrowType(arrow);
        else
            button->setIcon(style()->standardIcon(QStyle::SP_MessageBoxInformation));
        button->setEnabled(false);
        button->show();
        return button;
    };
    if (m_flags & MessageButtons) {
        m_previousButton = makeButton(PreviousMessageId, Qt::LeftArrow);
        m_nextButton = makeButton(NextMessageId, Qt::RightArrow);
        connect(m_previousButton, &QToolButton::clicked, this, [this] { ShowPreviousMessage(); });
        connect(m_nextButton, &QToolButton::clicked, this, [this] { ShowNextMessage(); });
    }
    if (m_flags & MessageActionButton) {
        m_actionButton = makeButton(MessageActionId, Qt::NoArrow);
        connect(m_actionButton, &QToolButton::clicked, this, [this] {
            if (m_messages.hasCurrent())
                OnMessageAction(m_messages.current());
        });
    }
    return true;
}

void CProgressStatusBar::DestroyControls()
{
    delete m_previousButton;
    delete m_nextButton;
    delete m_actionButton;
    delete m_progress;
    m_previousButton = nullptr;
    m_nextButton = nullptr;
    m_actionButton = nullptr;
    m_progress = nullptr;
}

void CProgressStatusBar::SetIndicators(const std::vector<int>& ids)
{
    for (const Pane& pane : m_panes) {
        removeWidget(pane.label);
        delete pane.label;
    }
    m_panes.clear();
    for (const int id : ids) {
        auto* label = new QLabel(this);
        label->setProperty("indicatorId", id);
        if (id == 0 && m_panes.empty()) {
            label->setMinimumWidth(1);
            addWidget(label, 1);
        } else {
            const QString text = QString::fromStdString(kzev::loadString(id));
            label->setText(text);
            label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 6);
            addPermanentWidget(label);
        }
        label->installEventFilter(this);
        m_panes.push_back({ id, label });
    }
    RepositionControls();
}

int CProgressStatusBar::CommandToIndex(int id) const
{
    for (std::size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i].id == id)
            return static_cast<int>(i);
    }
    return -1;
}

void CProgressStatusBar::SetPaneText(int pane, const std::string& text)
{
    if (pane >= 0 && pane < GetCount())
        m_panes[static_cast<std::size_t>(pane)].label->setText(QString::fromStdString(text));
}

std::string CProgressStatusBar::GetPaneText(int pane) const
{
    if (pane < 0 || pane >= GetCount())
        return {};
    return m_panes[static_cast<std::size_t>(pane)].label->text().toStdString();
}

void CProgressStatusBar::SetPaneTextNow(const std::string& text, int pane)
{
    SetPaneText(pane, text);
    repaint();
}

QRect CProgressStatusBar::GetItemRect(int pane) const
{
    if (pane < 0 || pane >= GetCount())
        return {};
    return m_panes[static_cast<std::size_t>(pane)].label->geometry();
}

void CProgressStatusBar::SetProgress(int position, int range)
{
    if ((m_flags & ProgressControl) == 0 || !m_progress)
        return;
    if (position == -1) {
        m_progress->hide();
        return;
    }
    // The full 32-bit range: a long run must not wrap at 65535 steps.
    if (range > 0)
        m_progress->SetRange(0, range);
    RepositionControls();
    m_progress->show();
    m_progress->raise();
    m_progress->SetPos(position);
}

kzev::StatusMessage* CProgressStatusBar::AddMessage(const std::string& text, bool refresh, bool makeCurrent)
{
    return AddMessageObject(std::make_unique<kzev::StatusMessage>(text), refresh, makeCurrent);
}

kzev::StatusMessage* CProgressStatusBar::AddMessageObject(std::unique_ptr<kzev::StatusMessage> message, bool refresh,
    bool makeCurrent)
{
    kzev::StatusMessage* added = m_messages.add(std::move(message), makeCurrent);
    if (refresh)
        UpdateMessageDisplay();
    return added;
}

void CProgressStatusBar::RemoveMessage(const kzev::StatusMessage* message, bool refresh)
{
    m_messages.remove(message);
    if (refresh)
        UpdateMessageDisplay();
}

void CProgressStatusBar::RemoveAllMessages(bool refresh)
{
    m_messages.removeAll();
    if (refresh)
        UpdateMessageDisplay();
}

bool CProgressStatusBar::UpdateMessageDisplay(bool blank)
{
    if ((m_flags & MessageButtons) == 0)
        return false;
    const bool show = m_messages.hasCurrent() && !blank;
    if (m_previousButton)
        m_previousButton->setEnabled(show && m_messages.canShowPrevious());
    if (m_nextButton)
        m_nextButton->setEnabled(show && m_messages.canShowNext());
    if (m_actionButton)
        m_actionButton->setEnabled(show && (m_flags & MessageActionButton));
    SetPaneText(0, show ? m_messages.current()->text() : std::string(ReadyText));
    return true;
}

void CProgressStatusBar::ShowPreviousMessage()
{
    if ((m_flags & MessageButtons) && m_messages.showPrevious())
        UpdateMessageDisplay();
}

void CProgressStatusBar::ShowNextMessage()
{
    if ((m_flags & MessageButtons) && m_messages.showNext())
        UpdateMessageDisplay();
}

void CProgressStatusBar::OnMessageAction(kzev::StatusMessage*)
{
}

void CProgressStatusBar::RepositionControls()
{
    if ((m_flags & MessageButtons) && m_previousButton && m_nextButton && m_buttonPane >= 0
        && m_buttonPane < GetCount()) {
        const QRect pane = GetItemRect(m_buttonPane);
        const int top = pane.top() + (pane.height() - m_buttonHeight) / 2;
        int right = pane.right() - 1;
        if ((m_flags & MessageActionButton) && m_actionButton) {
            m_actionButton->setGeometry(right - m_thirdButtonWidth + 1, top, m_thirdButtonWidth, m_buttonHeight);
            right -= m_thirdButtonWidth + m_buttonGap;
        }
        m_nextButton->setGeometry(right - m_buttonWidth + 1, top, m_buttonWidth, m_buttonHeight);
        right -= m_buttonWidth + m_buttonGap;
        m_previousButton->setGeometry(right - m_buttonWidth + 1, top, m_buttonWidth, m_buttonHeight);
    }
    if ((m_flags & ProgressControl) && m_progress && m_progressPane >= 0 && m_progressPane < GetCount())
        m_progress->setGeometry(GetItemRect(m_progressPane));
}

bool CProgressStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize || event->type() == QEvent::Move)
        RepositionControls();
    return QStatusBar::eventFilter(watched, event);
}

void CProgressStatusBar::resizeEvent(QResizeEvent* event)
{
    QStatusBar::resizeEvent(event);
    RepositionControls();
}
