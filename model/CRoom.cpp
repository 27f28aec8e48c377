#include "model/CRoom.h"

#include "model/NumberedName.h"
#include "platform/Archive.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>

namespace {

constexpr int kIdsRoomName = 61450; // "Místnost"
constexpr int kIdsTaskAreaName = 61453; // "Místo zrakového úkolu %ld"
constexpr int kIdsModeName = 61999; // "Režim %d"
constexpr int kIdsModeAdded = 63321;
constexpr int kIdsAreaModeRepaired = 63322;

// A list of isoline texts: a 16-bit (escaped) count, then the texts.
void ioTexts(kzev::Archive& ar, std::vector<std::string>& list)
{
    if (ar.isStoring()) {
        ar.writeShortCount(static_cast<std::uint32_t>(list.size()));
        for (const auto& text : list)
            ar.writeString(text);
        return;
    }
    const std::uint32_t count = ar.readShortCount(1);
    list.clear();
    list.reserve(ar.reservable(count, sizeof(std::string)));
    for (std::uint32_t i = 0; i < count; ++i)
        list.push_back(ar.readString());
}

CLampState firstMode()
{
    CLampState mode;
    mode.m_name = kzev::numberedName(kIdsModeName, 1);
    return mode;
}

} // namespace

CRoom::CRoom(const std::array<std::uint32_t, 8>& colours)
    : m_name(kzev::loadString(kIdsRoomName))
    , m_viewSettings(colours)
{
    m_lampSystems.emplace_back();
    CWorkSystem area(CViewSettings::kWhite);
    area.m_name = kzev::numberedName(kIdsTaskAreaName, 1);
    area.m_viewSettings.m_showIlluminance = 1;
    area.m_viewSettings.m_showRoadLuminance = 0;
    area.m_viewSettings.m_showUgr = 0;
    area.m_viewSettings.m_showGr = 0;
    m_workSystems.push_back(std::move(area));
    m_modes.push_back(firstMode());
}

std::vector<std::string> CRoom::RepairModes()
{
    std::vector<std::string> repairs;
    if (m_modes.empty()) {
        m_modes.push_back(firstMode());
        for (CLampSystem& system : m_lampSystems)
            system.FitModeFactors(m_modes.size());
        repairs.push_back(kzev::formatC(kzev::loadString(kIdsModeAdded).c_str(), GetLabel().c_str()));
    }
    for (CWorkSystem& area : m_workSystems) {
        if (area.m_modeIndex >= 0 && static_cast<std::size_t>(area.m_modeIndex) < m_modes.size())
            continue;
        repairs.push_back(kzev::formatC(kzev::loadString(kIdsAreaModeRepaired).c_str(), area.m_name.c_str(),
            GetLabel().c_str(), static_cast<long>(area.m_modeIndex) + 1));
        area.m_modeIndex = 0;
    }
    if (!repairs.empty())
        InvalidateResults();
    return repairs;
}

std::string CRoom::GetLabel()
{
    const auto end = m_number.find_last_not_of(" \t\r\n\v\f");
    m_number.erase(end == std::string::npos ? 0 : end + 1);
    return m_number.empty() ? m_name : m_number + " : " + m_name;
}

void CRoom::SetLabel(const std::string& label)
{
    const auto colon = label.find(':');
    if (colon == std::string::npos) {
        m_name = label;
        m_number.clear();
        return;
    }
    m_number = label.substr(0, colon);
    m_name = label.substr(colon + 1);
}

bool CRoom::IsLampSystemLinked(std::int32_t index, std::int32_t flag) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= m_lampSystems.size())
        return false;
    if (m_lampSystems[static_cast<std::size_t>(index)].m_sourceSystem >= 0)
        return true;
    if (flag == 1)
        return false;
    for (std::size_t j = 0; j < m_lampSystems.size(); ++j) {
        if (j != static_cast<std::size_t>(index) && m_lampSystems[j].m_sourceSystem == index)
            return true;
    }
    return false;
}

CViewSettings& CRoom::CurrentViewSettings()
{
    if (m_currentViewArea >= 0 && static_cast<std::size_t>(m_currentViewArea) < m_workSystems.size())
        return m_workSystems[static_cast<std::size_t>(m_currentViewArea)].m_viewSettings;
    return m_viewSettings;
}

const CViewSettings& CRoom::CurrentViewSettings() const
{
    return const_cast<CRoom*>(this)->CurrentViewSettings();
}

void CRoom::Serialize(kzev::Archive& ar)
{
    const bool storing = ar.isStoring();
    const std::int32_t version = kzev::projectFileVersion();
    const auto from = [&](std::int32_t threshold) { return storing || version >= threshold; };
    CViewSettings& v = m_viewSettings;

    ar.io(m_name);
    ar.io(m_roomFlag);
    ar.io(m_length);
    ar.io(m_width);
    ar.io(m_height);
    ar.io(m_divisionRatio);
    ar.io(m_upwardFluxShare);
    ar.io(m_glareClass);
    ar.io(m_roadSurfaceClass);

    ar.io(v.m_draw3D);
    ar.io(v.m_displayValue5);
    ar.io(v.m_displayValue6);
    ar.io(v.m_viewCode);
    for (std::int32_t* field : { &v.m_drawRoom, &v.m_drawObstacles, &v.m_drawPoints, &v.m_fillSurfaces,
             &v.m_surfaceLabels, &v.m_pointLabels, &v.m_relief, &v.m_isolines, &v.m_luminaires })
        ar.io(*field);

    if (from(1021))
        ar.io(m_roomText);
    if (from(1015)) {
        ar.io(v.m_showGr);
        ar.io(v.m_glareMarks);
        for (double* field : { &v.m_illuminanceLimit, &v.m_luminanceLimit, &v.m_ugrLimit, &v.m_grLimit })
            ar.io(*field);
        ar.io(m_computeGr);
    }
    if (from(1013)) {
        ar.io(v.m_showIlluminance);
        ar.io(v.m_showUgr);
        ar.io(v.m_showRoadLuminance);
        ar.io(m_uncertainty);
        for (int i = 0; i < 5; ++i)
            ar.io(v.m_colors[i]);
    } else if (m_computeUgr == 1) {
        // Older files kept glare results that are no longer trusted.
        m_resultsValid = 0;
    }
    if (from(1015)) {
        for (int i = 5; i < 8; ++i)
            ar.io(v.m_colors[i]);
    }
    if (from(1016)) {
        ar.io(v.m_displaySwitch);
        ar.io(m_roomValue2);
    }
    if (from(1018)) {
        ar.io(m_requirement);
        ar.io(m_number);
    }
    if (from(1019)) {
        ar.io(m_roadLanes2);
        ar.io(m_roadLanes1);
    }

    if (storing)
        ar.writeLong(0);
    else
        (void)ar.readLong(); // a retired field
    ar.io(m_reflectedComponent);
    ar.io(m_elementarySurfaceSize);
    ar.io(m_divisionRatio); // stored twice; this later copy is the one kept
    ar.io(m_iterations);
    ar.io(m_computeIlluminance);
    ar.io(m_computeRoadLuminance);
    ar.io(m_computeUgr);
    ar.io(v.m_lampSystemLabels);
    if (from(1008))
        ar.io(v.m_luminaireAxes);
    if (from(1010)) {
        ar.io(v.m_luminaireCoordinates);
        ar.io(m_luminanceOnSurfaces);
        ar.io(v.m_outdoorIlluminance);
        ar.io(v.m_artificialOff);
        ar.io(v.m_addDaylight);
        ar.io(v.m_daylightAvailable);
    }
    if (from(1012)) {
        ar.io(m_roomValue5);
        // Storing writes 1 here; the settings' own record carries V15 from 1021 on.
        if (storing)
            ar.writeLong(1);
        else
            v.m_luminaireCharacteristics = ar.readLong();
    }
    ar.io(m_surfacesUpToDate);
    if (storing) {
        // The mark of an area whose figures belong to a lighting that is gone is not stored: such a room is
        // stored as not computed, so that the area's cleared points are not read as 0 lx when it is opened again.
        const bool staleArea = std::any_of(m_workSystems.begin(), m_workSystems.end(),
            [](const CWorkSystem& area) { return area.m_resultsStale == 1; });
        ar.writeLong(staleArea ? 0 : m_resultsValid);
    } else {
        ar.io(m_resultsValid);
    }

    if (from(1003)) {
        ar.io(m_ceilingReflectance);
        for (double& wall : m_wallReflectances)
            ar.io(wall);
        ar.io(m_floorReflectance);
        ar.io(m_lampReplacementInterval);
        ar.io(m_cleaningInterval);
        ar.io(m_surfaceRenewalInterval);
        ar.io(m_functionalReliability);
        ar.io(m_enteredMaintenanceFactor);
        ar.io(m_reflectanceReduction);
        ar.io(m_maintenanceFactorMode);
        ar.io(m_lampReplacement);
        ar.io(m_cleanlinessClass);
    }
    if (from(1024)) {
        ar.io(m_roadValue5);
        ar.io(m_printScale);
        for (double& length : m_roadLengths)
            ar.io(length);
        ar.io(m_roadValue4);
    }

    if (storing) {
        m_viewSettings.Serialize(ar);
    } else {
        m_lampSystems.clear();
        m_workSystems.clear();
        m_obstacleSystems.clear();
        m_modes.clear();
        if (version >= 1021) {
            m_viewSettings.Serialize(ar);
        } else if (version >= 1017) {
            // These versions kept a list of named views that is no longer used.
            (void)ar.readDword();
            const std::uint32_t count = ar.readArrayCount(CViewSettings::MinRecordBytes());
            for (std::uint32_t i = 0; i < count; ++i) {
                CViewSettings discarded;
                discarded.Serialize(ar);
            }
        }
    }

    kzev::serializeArray(ar, m_lampSystems, CLampSystem::MinRecordBytes());
    kzev::serializeArray(ar, m_workSystems, CWorkSystem::MinRecordBytes(),
        [] { return CWorkSystem(CViewSettings::kWhite); });
    if (from(1016)) {
        kzev::serializeArray(ar, m_modes, CLampState::MinRecordBytes());
    } else {
        // Before modes existed a room had one set of calculation surfaces:
        // they become the surfaces of its one mode.
        m_modes.push_back(firstMode());
        kzev::serializeArray(ar, m_modes.back().m_surfaces, CWorkSystem::MinRecordBytes(),
            [] { return CWorkSystem(CViewSettings::kWhite); });
    }
    kzev::serializeArray(ar, m_obstacleSystems, CXSystem::MinRecordBytes(),
        [] { return CXSystem(CViewSettings::kWhite); });

    ioTexts(ar, v.m_isoIlluminance);
    ioTexts(ar, v.m_isoUgr);
    if (from(1015))
        ioTexts(ar, v.m_isoGr);
    ioTexts(ar, v.m_isoLuminance);
    m_origin.Serialize(ar);

    if (!storing && !m_modes.empty()) {
        // Each luminaire needs one factor per mode, whatever the file held.
        for (auto& system : m_lampSystems)
            system.FitModeFactors(m_modes.size());
    }
}
