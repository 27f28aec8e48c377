#pragma once

class QBoxLayout;
class QHBoxLayout;
class QPushButton;
class QWidget;

namespace kzev {

/** The row of OK and "Storno" at a dialog's bottom right; OK is the default button. */
struct OkCancelRow {
    QHBoxLayout* row = nullptr;
    QPushButton* ok = nullptr;
    QPushButton* cancel = nullptr;
};

/** Adds the row to the layout; the buttons are named "ok" and "cancel" for the window tests. */
OkCancelRow addOkCancelRow(QWidget& dialog, QBoxLayout& layout);

} // namespace kzev
