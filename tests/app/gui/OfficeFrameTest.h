#pragma once

// The application opened on the shipped office project with its window shown,
// for the tests that run the frame's commands on it: the tree's items, a click
// that selects one, and a dump of a folder's items.

#include "support/FakeServices.h"
#include "support/gui/UserInput.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "app/tree/CProjectTree.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace kzev::test {

class OfficeFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto settings = std::make_unique<MemoryProfileStore>();
        // A new project here goes without the modal project dialog.
        settings->setInt("Main", "ViewProjectDialog", 0);
        installProfileStore(std::move(settings));
        const std::filesystem::path office = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / "Vzor-kancelar.kzv";
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(office.string()) }, false));
        m_scope = std::make_unique<ScopedServices>(Services { nullptr, nullptr, &m_messages, nullptr, nullptr, nullptr });
        frame().resize(1100, 800);
        frame().show();
        QApplication::processEvents();
        doc().SetModifiedFlag(false);
    }

    CMainFrame& frame() { return *m_app.frame(); }
    CProjectTree& tree() { return *frame().projectTree(); }
    CKzevDoc& doc() { return *theDocument(); }
    CRoom& room(std::size_t i = 0) { return doc().m_rooms.at(i); }

    /** The object's item: child index of the room's folder. */
    QTreeWidgetItem* item(int roomIndex, TreeItemKind folder, int child)
    {
        QTreeWidgetItem* parent = tree().folderItem(roomIndex, folder);
        return parent && child < parent->childCount() ? parent->child(child) : nullptr;
    }

    /** Clicks the item in the tree, as the user selects it. */
    void select(QTreeWidgetItem* target)
    {
        ASSERT_NE(target, nullptr);
        tree().scrollToItem(target);
        click(tree().viewport(), tree().visualItemRect(target).center());
        ASSERT_EQ(tree().currentItem(), target);
    }

    /** One line per item of the folder: its text, icon and item data. */
    std::string folderDump(int roomIndex, TreeItemKind folder)
    {
        std::string out;
        const QTreeWidgetItem* parent = tree().folderItem(roomIndex, folder);
        for (int i = 0; parent && i < parent->childCount(); ++i) {
            const QTreeWidgetItem* child = parent->child(i);
            out += child->text(0).toStdString() + " #" + std::to_string(child->data(0, CProjectTree::kIconRole).toInt())
                + " @" + std::to_string(CProjectTree::dataOf(child)) + "\n";
        }
        return out;
    }

    FakeServices m_services;
    CKzevApp m_app;
    ScriptedMessageBox m_messages;
    std::unique_ptr<ScopedServices> m_scope;
};

} // namespace kzev::test
