#pragma once

// Answers a modal dialog the way a person would while it is open: the test arms the
// answer, then clicks what opens the dialog; the answer runs inside the dialog's own loop.

#include <QApplication>
#include <QDialog>
#include <QPointer>
#include <QTimer>

#include <functional>

namespace kzev::test {

/**
 * Does the deed once, on the first modal dialog of the type that shows. The watch ends
 * with this object, so it never acts on a later test's dialog; a dialog the deed left
 * open (a failed step inside it) is rejected, so that the test ends instead of hanging.
 */
template <class Dialog>
class WhenShown {
public:
    explicit WhenShown(std::function<void(Dialog&)> deed)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this, deed = std::move(deed)] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (!dialog || !dialog->isVisible())
                return;
            m_poll.stop();
            m_done = true;
            const QPointer<Dialog> open(dialog);
            deed(*dialog);
            if (open && open->isVisible())
                static_cast<QDialog*>(open.data())->reject();
        });
        m_poll.start(20);
    }
    WhenShown(const WhenShown&) = delete;
    WhenShown& operator=(const WhenShown&) = delete;

    /** Whether the dialog came and the deed ran. */
    [[nodiscard]] bool done() const { return m_done; }

private:
    QTimer m_poll;
    bool m_done = false;
};

} // namespace kzev::test
