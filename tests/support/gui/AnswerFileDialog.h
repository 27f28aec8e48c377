#pragma once

#include <QAbstractItemView>
#include <QApplication>
#include <QCompleter>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <memory>
#include <string>

namespace kzev::test {

/** Answers the next file dialog by typing the path and pressing Enter. */
[[nodiscard]] inline std::unique_ptr<QTimer> answerFileDialog(const std::string& path, bool& answered)
{
    auto timer = std::make_unique<QTimer>();
    const QString text = QString::fromStdString(path);
    QObject::connect(timer.get(), &QTimer::timeout, [text, &answered] {
        QFileDialog* dialog = nullptr;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* candidate = qobject_cast<QFileDialog*>(widget); candidate && candidate->isVisible())
                dialog = candidate;
        }
        auto* name = dialog ? dialog->findChild<QLineEdit*>("fileNameEdit") : nullptr;
        if (!name)
            return;
        if (name->text() != text) {
            name->selectAll();
            QTest::keyClicks(name, text);
            return;
        }
        // A completer list that popped up takes the key first, as it would for a person typing.
        QCompleter* completer = name->completer();
        if (completer && completer->popup() && completer->popup()->isVisible())
            QTest::keyClick(completer->popup(), Qt::Key_Escape);
        else
            QTest::keyClick(name, Qt::Key_Return);
        answered = true;
    });
    timer->start(20);
    return timer;
}

} // namespace kzev::test
