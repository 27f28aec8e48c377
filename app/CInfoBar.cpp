#include "app/CInfoBar.h"

#include "platform/StringTable.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextCursor>

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
    return kzev::InfoLogText::lineCapacity(m_tabs->width(), probeWidth);
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
    showChange(m_log.addText(text, LineCapacity()));
}

void CInfoBar::AddTextId(int stringId)
{
    AddText(kzev::loadString(stringId));
}

void CInfoBar::Clear()
{
    showChange(m_log.clear());
}
