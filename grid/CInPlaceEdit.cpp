#include "grid/CInPlaceEdit.h"

#include "grid/CGridCtrl.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>

#include <algorithm>

using namespace kzev;

namespace {

// One editor ends at a time: ending moves the focus, which would end it again.
bool g_ending = false;

/** The grid's key code of a key that ends editing, 0 for others. */
unsigned exitKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
        return vk::Prior;
    case Qt::Key_PageDown:
        return vk::Next;
    case Qt::Key_Down:
        return vk::Down;
    case Qt::Key_Up:
        return vk::Up;
    case Qt::Key_Right:
        return vk::Right;
    case Qt::Key_Left:
        return vk::Left;
    default:
        return 0;
    }
}

constexpr unsigned kEnter = 13;
constexpr unsigned kBackspace = 8;
constexpr char32_t kBlank = U' ';

} // namespace

CInPlaceEdit::CInPlaceEdit(QWidget* parent, CGridCtrl& grid, const InPlaceEditRequest& request)
    : QLineEdit(parent)
    , m_grid(&grid)
    , m_nRow(request.row)
    , m_nColumn(request.col)
    , m_sInitText(QString::fromStdString(request.text))
    , m_bExitOnArrows(request.start.key != vk::LButton)
    , m_Rect(request.rect.left, request.rect.top, request.rect.width() + 1, request.rect.height() + 1)
{
    setObjectName(QStringLiteral("CInPlaceEdit"));
    setFrame(true);
    switch (request.alignment) {
    case EditAlignment::Right:
        setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        break;
    case EditAlignment::Center:
        setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
        break;
    case EditAlignment::Left:
        setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        break;
    }
    setFont(parent->font());
    setGeometry(m_Rect);
    setText(m_sInitText);
    show();
    setFocus(Qt::OtherFocusReason);

    const EditStart start = request.start;
    if (start.character == kBlank) {
        selectAll();
    } else if (start.character != 0) {
        // The typed character replaces the text.
        selectAll();
        insert(QString::fromUcs4(&start.character, 1));
        grow();
    } else if (start.key == vk::LButton || start.key == kEnter) {
        deselect();
        end(false);
    } else if (start.key == kBackspace) {
        end(false);
        backspace();
    } else {
        // Tab and the navigation keys that moved here from the cell before.
        selectAll();
    }
}

CInPlaceEdit::~CInPlaceEdit() = default;

bool CInPlaceEdit::event(QEvent* event)
{
    // Tab ends the edit here instead of moving the focus along the dialog.
    if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            leaveWith(vk::Tab, key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier) != 0);
            return true;
        }
    }
    if (event->type() == QEvent::ShortcutOverride) {
        // Alt+letter stays in the editor instead of opening a menu.
        const auto* key = static_cast<QKeyEvent*>(event);
        if ((key->modifiers() & Qt::AltModifier) != 0) {
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void CInPlaceEdit::keyPressEvent(QKeyEvent* event)
{
    const bool ctrl = (event->modifiers() & Qt::ControlModifier) != 0;
    if (const unsigned key = exitKey(event->key()); key != 0) {
        if (m_bExitOnArrows || ctrl) {
            leaveWith(key, false);
            return;
        }
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        leaveWith(kEnter, false);
        return;
    case Qt::Key_Escape:
        setText(m_sInitText);
        leaveWith(vk::Escape, false);
        return;
    default:
        break;
    }
    QLineEdit::keyPressEvent(event);
    if (!event->text().isEmpty())
        grow();
}

void CInPlaceEdit::leaveWith(unsigned key, bool shift)
{
    m_nLastChar = key;
    m_bShift = shift;
    if (QWidget* parent = parentWidget())
        parent->setFocus(Qt::OtherFocusReason);
    // Without a focus change (the grid already had it in the test's window) the edit ends here.
    endEdit();
}

void CInPlaceEdit::grow()
{
    const int width = fontMetrics().horizontalAdvance(text() + QStringLiteral("  ")) + 2 * frameGeometry().width()
        - 2 * contentsRect().width() + 8;
    if (width <= m_Rect.width())
        return;
    const int parentRight = parentWidget() != nullptr ? parentWidget()->width() : m_Rect.right() + 1;
    m_Rect.setRight(std::min(m_Rect.left() + width, parentRight) - 1);
    setGeometry(m_Rect);
}

void CInPlaceEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // A popup (the context menu of the editor) takes the focus only for a while.
    if (event->reason() != Qt::PopupFocusReason)
        endEdit();
}

void CInPlaceEdit::endEdit()
{
    if (g_ending || m_ended)
        return;
    g_ending = true;
    m_ended = true;
    const std::string finalText = text().toStdString();
    hide();
    if (m_grid != nullptr) {
        KeyModifiers modifiers;
        modifiers.shift = m_bShift;
        m_grid->OnEndInPlaceEdit(m_nRow, m_nColumn, finalText, m_nLastChar, modifiers);
    }
    deleteLater();
    g_ending = false;
}
