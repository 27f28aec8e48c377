// The frame's menus: the main menu 128, the context menus 88 and 92, and the
// toolbar menu 131, built from the menu definitions of FrameMenus.cpp.

#include "app/frame/CMainFrame.h"

#include "app/CKzevApp.h"
#include "app/frame/FrameMenus.h"

#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr int kFirstRecentFile = 57616;

} // namespace

void CMainFrame::createMenus()
{
    using Kind = kzev::MenuItemDef::Kind;

    // The main menu: submenus nest by Popup / EndPopup.
    std::vector<QMenu*> open;
    for (const kzev::MenuItemDef& item : kzev::mainMenu()) {
        switch (item.kind) {
        case Kind::Popup: {
            const QString title = QString::fromUtf8(item.text);
            QMenu* sub = open.empty() ? menuBar()->addMenu(title) : open.back()->addMenu(title);
            connect(sub, &QMenu::aboutToShow, this, [this, sub] { updateMenu(sub); });
            if (open.empty() && m_fileMenu == nullptr)
                m_fileMenu = sub;
            open.push_back(sub);
            break;
        }
        case Kind::EndPopup:
            open.pop_back();
            break;
        case Kind::Separator:
            open.back()->addSeparator();
            break;
        case Kind::Command:
            open.back()->addAction(commandAction(item.id));
            break;
        case Kind::RecentFiles:
            m_recentAnchor = open.back()->addSeparator();
            m_recentAnchor->setVisible(false);
            break;
        case Kind::ToolbarMenu: {
            // Rebuilt from menu 131 each time it opens.
            QMenu* sub = open.back()->addMenu(QString::fromUtf8(item.text));
            sub->menuAction()->setData(item.id);
            connect(sub, &QMenu::aboutToShow, this, [this, sub] {
                sub->clear();
                fillToolbarMenu(sub);
                updateMenu(sub);
            });
            break;
        }
        }
    }
    if (m_fileMenu)
        connect(m_fileMenu, &QMenu::aboutToShow, this, &CMainFrame::fillRecentFiles);

    auto buildFlat = [this](std::span<const kzev::MenuItemDef> items) {
        auto* popup = new QMenu(this);
        for (const kzev::MenuItemDef& item : items) {
            if (item.kind == Kind::Separator)
                popup->addSeparator();
            else
                popup->addAction(commandAction(item.id));
        }
        connect(popup, &QMenu::aboutToShow, this, [this, popup] { updateMenu(popup); });
        return popup;
    };
    m_projectMenu = buildFlat(kzev::projectMenu());
    m_projectMenu->setObjectName(QStringLiteral("Menu88"));
    m_viewMenu = buildFlat(kzev::viewMenu());
    m_viewMenu->setObjectName(QStringLiteral("Menu92"));
    m_toolbarMenu = buildFlat(kzev::toolbarMenu());
    m_toolbarMenu->setObjectName(QStringLiteral("Menu131"));
}

void CMainFrame::fillToolbarMenu(QMenu* menu)
{
    for (const kzev::MenuItemDef& item : kzev::toolbarMenu()) {
        if (item.kind == kzev::MenuItemDef::Kind::Separator)
            menu->addSeparator();
        else
            menu->addAction(commandAction(item.id));
    }
}

void CMainFrame::fillRecentFiles()
{
    for (QAction* action : m_recentActions) {
        m_fileMenu->removeAction(action);
        action->deleteLater();
    }
    m_recentActions.clear();
    if (!m_app || !m_recentAnchor)
        return;

    // The recent files stand between the print commands and Exit, "&1 name" as usual.
    const std::vector<std::string>& files = m_app->recentFiles();
    m_recentAnchor->setVisible(!files.empty());
    for (std::size_t i = 0; i < files.size(); ++i) {
        const QString name = QFileInfo(QString::fromStdString(files[i])).fileName();
        auto* action = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name), m_fileMenu);
        action->setStatusTip(QString::fromStdString(files[i]));
        const int id = kFirstRecentFile + static_cast<int>(i);
        connect(action, &QAction::triggered, this, [this, id] { sendCommand(id); });
        m_fileMenu->insertAction(m_recentAnchor, action);
        m_recentActions.push_back(action);
    }
}
