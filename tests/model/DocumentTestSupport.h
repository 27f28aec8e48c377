#pragma once

#include "model/CKzevDoc.h"
#include "model/RegularLayout.h"
#include "platform/DocumentShell.h"
#include "platform/ProfileStore.h"
#include "support/FakeServices.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>

namespace kzev::test {

/** A shell whose project dialog answers from the fields the test sets. */
class ScriptedShell final : public IDocumentShell {
public:
    bool mainWindowExists() override { return windowExists; }
    bool runProjectDialog(ProjectDialogFields& fields) override
    {
        shownWith = fields;
        ++dialogRuns;
        if (confirm)
            fields = answer;
        return confirm;
    }
    void newRoadway() override { ++roadwayCommands; }

    bool windowExists = true;
    bool confirm = true;
    ProjectDialogFields answer;
    ProjectDialogFields shownWith;
    int dialogRuns = 0;
    int roadwayCommands = 0;
};

/**
 * Every document test gets an empty settings store, recording services, the
 * current file version, the process-wide CAD values at their start values
 * and a folder of its own.
 */
class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto store = std::make_unique<MemoryProfileStore>();
        m_store = store.get();
        installProfileStore(std::move(store));
        setProjectFileVersion(kCurrentFileVersion);
        acadUnicode() = 0;
        icadProgramId() = "Icad.Application";
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(info->test_suite_name()) + "-" + info->name();
        for (char& c : name)
            if (c == '/')
                c = '_';   // parameterised tests carry slashes in their names
        m_folder = std::filesystem::temp_directory_path() / ("kzev-doc-" + std::to_string(::getpid()) + "-" + name);
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }

    void TearDown() override
    {
        std::filesystem::remove_all(m_folder);
        setProjectFileVersion(kCurrentFileVersion);
    }

    /** Returns a path in the test's own folder. */
    std::filesystem::path file(const std::string& name) const { return m_folder / name; }

    /** Fixes the document's clock, so that the work time it writes is known. */
    static void fixClock(CKzevDoc& doc, std::time_t now = 1'700'000'000)
    {
        doc.m_now = [now] { return now; };
        doc.m_startTime = now;
    }

    MemoryProfileStore& store() { return *m_store; }

    FakeServices m_services;
    ScriptedShell m_shell;
    ScopedDocumentShell m_shellScope { m_shell };

private:
    MemoryProfileStore* m_store = nullptr;
    std::filesystem::path m_folder;
};

/** Returns a room with something of every kind: lamp systems with luminaires, areas with points, obstacles, modes. */
inline CRoom makeRichRoom(int index)
{
    CRoom room;
    room.m_name = "Místnost č. " + std::to_string(index);
    room.m_number = std::to_string(100 + index);
    room.m_length = 8.0 + index;
    room.m_width = 5.5;
    room.m_height = 3.2;
    room.m_ceilingReflectance = 0.8;
    room.m_wallReflectances = { 0.5, 0.6, 0.4, 0.3 };
    room.m_uncertainty = 5.0;
    room.m_computeGr = 1;
    room.m_printScale = 100;
    room.m_requirement = "Kanceláře";
    room.m_viewSettings.m_isoIlluminance = { "100", "200", "300" };

    CLampState second;
    second.m_name = "Režim 2";
    CWorkSystem wall(0x00FF00);
    wall.m_name = "Stěna 1";
    wall.m_count1 = 2;
    wall.m_count2 = 2;
    wall.m_points.resize(4);
    wall.m_points[1].value(5) = 321.5;
    second.m_surfaces.push_back(wall);
    room.m_modes.push_back(second);

    CLampSystem& system = room.m_lampSystems.front();
    system.m_name = "Řada A";
    system.m_count1 = 3;
    system.m_count2 = 2;
    system.m_pitch1 = CVector(2.0, 0.0, 0.0);
    system.m_pitch2 = CVector(0.0, 2.5, 0.0);
    system.m_origin = CVector(1.0, 1.25, 3.0);
    system.m_luminaireRecord = 12;
    system.m_luminaireDatabase = 15;
    system.m_lampRecord = 3;
    system.m_lampDatabase = 15;
    system.m_lampFlux = 3350.0;
    layOutRegularLuminaires(system, room.m_modes.size());
    system.m_luminaires[2].m_switchedOff = 1;
    system.m_numberOfLuminaires = 5;   // switched on, as the legend counts them after an open

    CLampSystem loose = system;
    loose.m_name = "Volná";
    loose.m_nonRegular = 1;
    loose.m_luminaires.resize(2);
    loose.m_numberOfLuminaires = 2;
    loose.m_luminaires[1].m_position = CVector(4.0, 4.0, 2.8);
    room.m_lampSystems.push_back(loose);

    CWorkSystem& area = room.m_workSystems.front();
    area.m_count1 = 3;
    area.m_count2 = 2;
    area.m_points.resize(6);
    area.m_points[4].value(1) = 512.25;
    area.m_points[4].m_ugrByDirection = { 17.5, 18.0 };
    area.m_avg[CWorkSystem::kSlotHorizontal] = 480.0;

    CXSystem obstacle(0x0000FF);
    obstacle.m_name = "Skříň";
    obstacle.m_origin = CVector(0.5, 0.5, 0.0);
    obstacle.m_edgeA = CVector(1.0, 0.0, 0.0);
    obstacle.m_edgeB = CVector(0.0, 0.6, 0.0);
    obstacle.m_edgeC = CVector(0.0, 0.0, 2.0);
    obstacle.m_count1 = 2;
    room.m_obstacleSystems.push_back(obstacle);
    return room;
}

/** Fills the document with three rich rooms, used luminaires and non-default document values. */
inline void fillRichProject(CKzevDoc& doc)
{
    doc.m_rooms.clear();
    for (int i = 1; i <= 3; ++i)
        doc.m_rooms.push_back(makeRichRoom(i));
    CLuminaireLamp used;
    used.m_luminaireName = "Downlight";
    used.m_luminaireType = "DL 218";
    used.m_manufacturer = "Výrobce";
    used.m_lampDescription = "TC-D 18 W";
    used.m_protection = "IP20";
    used.m_legendName = "A";
    used.m_luminaireRecord = 12;
    used.m_luminaireDatabase = 15;
    used.m_lampRecord = 3;
    used.m_lampDatabase = 15;
    used.m_lampFlux = 3350.0;
    doc.m_usedLuminaires = { used, used };
    doc.m_usedLuminaires[1].m_lampFlux = 1200.0;

    doc.m_projectName = "Škola Hradec";
    doc.m_projectType = 0;
    doc.m_leftMargin = 20;
    doc.m_projectCompany = "Projekce s.r.o.";
    doc.m_projectDesigner = "Ing. Novák";
    doc.m_dxfScale = 100;
    doc.m_reserved = 7;
    doc.m_printRoomext = 1;
    doc.m_printContent = 0;
    doc.m_date = "9.12.2026";
    doc.m_testPoints = 0;
    doc.m_immediateCalc = 1;
    doc.m_dwgFile = "C:\\výkresy\\půdorys.dwg";
    doc.m_building = "Pavilon B";
    doc.m_cadBlockMode = 1;
    doc.m_remark = "Poznámka";
}

} // namespace kzev::test
