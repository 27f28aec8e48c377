#pragma once

// The main window on a shipped sample with the drawing window standing in for
// the CAD program (or no CAD program at all), for the tests of the CAD picks.

#include "support/DrawingWithUser.h"
#include "support/FakeServices.h"
#include "support/RecordingCad.h"

#include "app/CKzevApp.h"
#include "app/frame/CMainFrame.h"
#include "model/CKzevDoc.h"
#include "platform/ProfileStore.h"

#include <QApplication>
#include <QString>
#include <QWidget>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

namespace kzev::test {

class DrawingFrameTest : public ::testing::Test {
protected:
    /** Opens the shipped project with the drawing window running, or with no CAD program at all. */
    void open(const char* project, bool withDrawing = true)
    {
        kzev::installProfileStore(std::make_unique<kzev::MemoryProfileStore>());
        const std::filesystem::path file = std::filesystem::path(KZEV_SOURCE_DIR) / "data" / project;
        ASSERT_TRUE(m_app.InitInstance({ "--nologo", QString::fromStdString(file.string()) }, false));
        if (withDrawing)
            m_link.emplace(m_drawing.link());
        else
            m_link.emplace(m_nothing.link());
        m_app.frame()->resize(1100, 800);
        m_app.frame()->show();
        QApplication::processEvents();
        doc().SetModifiedFlag(false);
    }

    CKzevDoc& doc() { return *kzev::theDocument(); }
    CRoom& room() { return doc().m_rooms.at(0); }

    template <class T>
    static T* field(QWidget& dialog, const char* name)
    {
        return dialog.findChild<T*>(QString::fromLatin1(name));
    }

    FakeServices m_services;
    CKzevApp m_app;
    DrawingWithUser m_drawing;
    RecordingCad m_nothing;
    std::optional<kzev::ScopedCadLink> m_link;
};

} // namespace kzev::test
