#include "app/bars/CInfoBar.h"

#include "platform/StringTable.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <cmath>

namespace {

QString toDisplay(const std::string& text)
{
    QString shown = QString::fromStdString(text);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

} // namespace

CInfoBar::CInfoBar(QWidget* parent, int textLimit)
    : QDockWidget(QString::fromStdString(kzev::loadString(61865)), parent)
    , m_log(textLimit)
    , m_tabs(new QTabWidget(this))
    , m_edit(new QPlainTextEdit(m_tabs))
{
    setObjectName(QStringLiteral("CInfoBar"));
    setProperty("controlId", ControlId);

    m_tabs->setObjectName(QStringLiteral("InfoBarTabs"));
    m_tabs->setTabPosition(QTabWidget::South);
    m_tabs->setDocumentMode(true);

    m_edit->setObjectName(QStringLiteral("InfoBarLog"));
    // Lines run on without wrapping, as the log is written, and scroll sideways.
    m_edit->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_edit->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Writers always append at the end; a click into the log must not move where the next line goes.
    m_edit->setReadOnly(true);
    m_edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    m_edit->setFont(QFontDatabase::systemFont(QFontDatabase::GeneralFont));
    m_edit->clear();

    m_tabs->addTab(m_edit, QString::fromStdString(kzev::loadString(61918)));
    setWidget(m_tabs);
}

int CInfoBar::LineCapacity() const
{
    const int probeWidth = m_edit->fontMetrics().horizontalAdvance(QString::fromLatin1(kzev::InfoLogText::Probe));
    return kzev::InfoLogText::lineCapacity(textWidth(), probeWidth);
}

int CInfoBar::textWidth() const
{
    // The lines' own room: the log's viewport (no frame, no scroll bar) less the document's margins.
    return m_edit->viewport()->width() - 2 * static_cast<int>(std::ceil(m_edit->document()->documentMargin()));
}

void CInfoBar::showChange(const kzev::InfoLogText::Change& change)
{
    if (change.reset) {
        m_edit->setPlainText(toDisplay(m_log.text()));
    } else {
        QTextCursor cursor = m_edit->textCursor();
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(toDisplay(change.appended));
    }
    m_edit->moveCursor(QTextCursor::End);
    m_edit->ensureCursorVisible();
}

void CInfoBar::AddLine(const std::string& text)
{
    showChange(m_log.addLine(text));
}

void CInfoBar::AddLineId(int stringId)
{
    AddLine(kzev::loadString(stringId));
}

void CInfoBar::AddText(const std::string& text)
{
    // The log ends a line after the piece that finds it past its capacity, so a line can grow by two
    // pieces beyond it; and pieces of digits are wider than the probe's letters. The capacity handed
    // over is counted in the wider of the two and leaves room for those two pieces, so that the
    // pieces (the bounces' "Plocha n: ") stay inside the pane.
    const QString piece = toDisplay(text);
    const QFontMetrics metrics = m_edit->fontMetrics();
    const double probe = metrics.horizontalAdvance(QString::fromLatin1(kzev::InfoLogText::Probe)) / 10.0;
    const double own = piece.isEmpty() ? 0.0 : metrics.horizontalAdvance(piece) / static_cast<double>(piece.size());
    const double perCharacter = std::max(probe, own);
    const int capacity = perCharacter > 0.0 ? static_cast<int>(textWidth() / perCharacter) : INT_MAX;
    const int pieceLength = static_cast<int>(piece.size());
    showChange(m_log.addText(text, std::max(0, capacity == INT_MAX ? capacity : capacity - 2 * pieceLength)));
}

void CInfoBar::AddTextId(int stringId)
{
    AddText(kzev::loadString(stringId));
}

void CInfoBar::Clear()
{
    showChange(m_log.clear());
}
