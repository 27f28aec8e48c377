#pragma once

#include "model/CLampState.h"
#include "model/CLampSystem.h"
#include "model/CVector.h"
#include "model/CViewSettings.h"
#include "model/CWorkSystem.h"
#include "model/CXSystem.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace kzev {
class Archive;
}

/**
 * One room of a project, or one stretch of road: name and number, the box
 * geometry, reflectances, maintenance data, glare and road classes, the
 * calculation switches, road-design values, and, by value, its modes, lamp
 * systems, visual-task areas, obstacle systems and view settings.
 */
class CRoom {
public:
    static constexpr std::array<std::uint32_t, 8> kWhiteColours { 0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF,
        0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF };

    std::int32_t m_roomFlag = 0;
    std::string m_name;
    /** Corner of the room in project coordinates. */
    CVector m_origin { 0.0, 0.0, 0.0 };
    double m_height = 3.0;
    /** Y extent. */
    double m_width = 6.0;
    /** X extent. */
    double m_length = 10.0;
    double m_ceilingReflectance = 0.7;
    std::array<double, 4> m_wallReflectances { 0.5, 0.5, 0.5, 0.5 };
    double m_floorReflectance = 0.3;
    /** Hours. */
    std::int32_t m_lampReplacementInterval = 0;
    /** Months. */
    std::int32_t m_cleaningInterval = 12;
    /** Months. */
    std::int32_t m_surfaceRenewalInterval = 36;
    double m_functionalReliability = 1.0;
    /** Used when m_maintenanceFactorMode is 2. */
    double m_enteredMaintenanceFactor = 0.8;
    double m_reflectanceReduction = 0.8;
    /** Working value of the maintenance-factor calculation; not stored. */
    double m_reflectanceReductionInUse = 0.8;
    /** 1 computed by the standard, 2 entered. */
    std::int32_t m_maintenanceFactorMode = 1;
    /** 1 individual, 2 group. */
    std::int32_t m_lampReplacement = 1;
    /** 1 very clean to 5 very dirty. */
    std::int32_t m_cleanlinessClass = 2;
    /** Degrees; read by the limiting-luminance method, set by nothing yet. */
    double m_viewingAngle = 0.0;
    /** Written by the calculation of outdoor projects. */
    double m_upwardFluxShare = 0.0;
    /** 1 very high to 4 low. */
    std::int32_t m_glareClass = 3;
    std::int32_t m_roadSurfaceClass = 1;
    /** Page the room property sheet opens with; not stored. */
    std::int32_t m_activePage = 0;
    /** 1: the values of the room surfaces are shown as luminances ("Na plochách jasy"). */
    std::int32_t m_luminanceOnSurfaces = 0;
    std::vector<CLampState> m_modes;
    /** The mode the view shows, chosen in the project tree; not stored. */
    std::int32_t m_currentMode = 0;
    std::int32_t m_roomValue2 = 0;
    /** Percent; results are multiplied by 1 − value / 100. */
    double m_uncertainty = 0.0;
    std::int32_t m_reflectedComponent = 1;
    /** Metres; 0.000001 or less means "do not divide". */
    double m_elementarySurfaceSize = 1.0;
    double m_divisionRatio = 10.0;
    std::int32_t m_iterations = 3;
    std::int32_t m_computeIlluminance = 1;
    std::int32_t m_computeUgr = 0;
    std::int32_t m_computeRoadLuminance = 0;
    std::int32_t m_computeGr = 0;
    /** 1 after a complete run: the calculation surfaces need no rebuild. */
    std::int32_t m_surfacesUpToDate = 0;
    /** 1 after a complete run. */
    std::int32_t m_resultsValid = 0;
    /** Not stored. */
    std::int32_t m_wallReflections = 1;
    /** Metres; not stored. */
    double m_minimumSurfaceSize = 0.05;
    double m_roomValue5 = 1.0;
    /** Not stored; copied. */
    std::array<std::int32_t, 4> m_workingValues {};
    std::vector<CLampSystem> m_lampSystems;
    std::vector<CWorkSystem> m_workSystems;
    std::vector<CXSystem> m_obstacleSystems;
    CViewSettings m_viewSettings;
    std::string m_roomText;
    /** Name of the requirement chosen from the standard's table. */
    std::string m_requirement;
    /** Room number ("M.č."). */
    std::string m_number;
    /** Lanes of the second carriageway (N2). */
    std::int32_t m_roadLanes2 = 0;
    /** Lanes of the first carriageway (N1). */
    std::int32_t m_roadLanes1 = 0;
    /** n of the print scale 1:n; 0 or below prints at the largest scale. */
    std::int32_t m_printScale = 0;
    std::array<double, 5> m_roadLengths { 3.5, 12.0, 35.0, 15.0, 3.5 };
    std::int32_t m_roadValue4 = 0;
    std::int32_t m_roadValue5 = 0;

    /** Makes a room with one lamp system, one visual-task area and one mode. */
    explicit CRoom(const std::array<std::uint32_t, 8>& colours = kWhiteColours);

    /** Returns "number : name", or the name alone when the number is blank; trims the number's trailing blanks. */
    [[nodiscard]] std::string GetLabel();
    /** Splits an edited label at its first colon into number and name. */
    void SetLabel(const std::string& label);
    /**
     * Returns whether lamp system i has a source; with a flag other than 1
     * also whether another lamp system names i as its source.
     */
    [[nodiscard]] bool IsLampSystemLinked(std::int32_t index, std::int32_t flag) const;

    /**
     * Returns the view settings the view uses for the room: the room's own, or
     * those of the visual-task area chosen with UseAreaViewSettings.
     */
    [[nodiscard]] CViewSettings& CurrentViewSettings();
    [[nodiscard]] const CViewSettings& CurrentViewSettings() const;
    void UseOwnViewSettings() { m_currentViewArea = -1; }
    void UseAreaViewSettings(std::int32_t areaIndex) { m_currentViewArea = areaIndex; }

    /**
     * Marks the calculation surfaces and the results out of date; whoever
     * changes the room's luminaires, surfaces or reflectances calls it, so the
     * next run rebuilds the surfaces and nothing stale is shown as current.
     */
    void InvalidateResults()
    {
        m_surfacesUpToDate = 0;
        m_resultsValid = 0;
    }

    /**
     * Gives a room without modes its one default mode (as files older than
     * modes get) and an area that names a mode the room lacks the first mode;
     * anything repaired marks the results out of date. Returns one line per
     * repair, in Czech, for the user.
     */
    std::vector<std::string> RepairModes();

    /** Stores the current record, or loads the record of the process-wide file version. */
    void Serialize(kzev::Archive& ar);

private:
    // The current view settings are named by area index (−1 = the room's own)
    // rather than by address, so copies and moved rooms never point elsewhere.
    std::int32_t m_currentViewArea = -1;
};
