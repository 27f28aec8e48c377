#include "dialogs/lamps/CLampsSystemNonregular.h"

#include "grid/GridWidget.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

CLampsSystemNonregular::CLampsSystemNonregular(
    const kzev::LampSheetContext& context, kzev::NonregularHooks hooks, QWidget* parent)
    : QWidget(parent)
    , m_context(context)
    , m_grid(new kzev::GridWidget(this))
{
    setObjectName(QString::number(kTemplateId));
    setWindowTitle(QStringLiteral("Nepravidelná soustava"));
    m_grid->setObjectName(QString::number(kGridId));
    m_grid->grid().SetControlId(kGridId);
    m_logic = std::make_unique<kzev::NonregularLampPageLogic>(context, m_grid->grid(), std::move(hooks));
    m_grid->grid().SetNotifyHandler([this](kzev::GridNotification& notification) {
        m_logic->OnGridNotify(notification);
        if (notification.code == kzev::gvn::EndLabelEdit)
            syncButtons();
    });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_grid, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_add = addButton(QStringLiteral("Přidat"), &kzev::NonregularLampPageLogic::OnAdd);
    m_remove = addButton(QStringLiteral("Odebrat"), &kzev::NonregularLampPageLogic::OnRemove);
    m_moveToOther = addButton(QStringLiteral("Do jiné"), &kzev::NonregularLampPageLogic::OnMoveToOther);
    m_undo = addButton(QStringLiteral("&Zpět"), &kzev::NonregularLampPageLogic::OnUndo);
    for (QPushButton* pushButton : { m_add, m_remove, m_moveToOther, m_undo })
        buttons->addWidget(pushButton);
    layout->addLayout(buttons);
    qApp->installEventFilter(this);
}

CLampsSystemNonregular::~CLampsSystemNonregular()
{
    qApp->removeEventFilter(this);
}

QPushButton* CLampsSystemNonregular::addButton(const QString& caption, void (kzev::NonregularLampPageLogic::*action)())
{
    auto* pushButton = new QPushButton(caption, this);
    pushButton->setAutoDefault(false);
    connect(pushButton, &QPushButton::clicked, this, [this, action] {
        ((*m_logic).*action)();
        syncButtons();
    });
    return pushButton;
}

QPushButton* CLampsSystemNonregular::button(const QString& caption) const
{
    for (QPushButton* pushButton : { m_add, m_remove, m_moveToOther, m_undo }) {
        if (pushButton->text() == caption)
            return pushButton;
    }
    return nullptr;
}

void CLampsSystemNonregular::syncButtons()
{
    m_undo->setEnabled(m_logic->canUndo());
    m_moveToOther->setEnabled(m_logic->canMoveToOther());
    m_grid->viewport()->update();
}

void CLampsSystemNonregular::OnSetActive()
{
    m_logic->OnSetActive();
    syncButtons();
}

void CLampsSystemNonregular::OnKillActive()
{
    m_logic->OnKillActive();
}

bool CLampsSystemNonregular::eventFilter(QObject* watched, QEvent* event)
{
    // Enter moves to the next cell, in the grid, in its editor and elsewhere on the page.
    if (event->type() == QEvent::KeyPress && isVisible()) {
        auto* widget = qobject_cast<QWidget*>(watched);
        auto* key = static_cast<QKeyEvent*>(event);
        if (widget && isAncestorOf(widget) && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, key->modifiers() & ~Qt::KeypadModifier);
            QApplication::sendEvent(widget, &tab);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
