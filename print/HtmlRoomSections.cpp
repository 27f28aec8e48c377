#include "print/HtmlSections.h"

#include "calc/RoadTable.h"
#include "model/CKzevDoc.h"
#include "model/CLamp.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "print/HtmlWriter.h"

#include <cstdint>
#include <vector>

namespace kzev {

namespace {

constexpr int kDash = 61767;
constexpr int kMonths = 61768;
constexpr int kDegrees = 61772;
constexpr int kMillimetres = 61749;
constexpr int kFormat2 = 61462;
constexpr int kFormat0 = 61463;
constexpr int kFormat3 = 61465;
constexpr int kNotGiven = 61818;
constexpr int kCountsLabel = 61782;
constexpr int kLuminaireLabel = 61816;
constexpr int kTypeLabel = 61689;
constexpr int kMakerLabel = 4493;
constexpr int kNameLabel = 61690;
constexpr int kFirstCleanliness = 61761;
constexpr int kLastCleanliness = 61765;
constexpr int kPositionLabelId = 61943;

void emptyParagraph(HtmlWriter& out)
{
    out.HtmlParagraph("");
}

std::string counts(std::int32_t first, std::int32_t second)
{
    return formatC("%ld  %ld", static_cast<long>(first), static_cast<long>(second));
}

// Three components with three decimals, as vectors and positions are shown.
std::string axis(const CVector& v, const char* format)
{
    return formatC(format, withoutNegativeZero(v.x, 3), withoutNegativeZero(v.y, 3), withoutNegativeZero(v.z, 3));
}

template <typename T>
const T* entry(const std::vector<T>& list, std::int32_t index)
{
    return index >= 0 && static_cast<std::size_t>(index) < list.size() ? &list[static_cast<std::size_t>(index)]
                                                                        : nullptr;
}

void writeRoom(HtmlWriter& out, const CRoom& room)
{
    out.HtmlIdParagraph(61741, kHtmlHeading);
    out.HtmlTableBegin(100);
    out.HtmlTextRow(61742, room.m_number + " " + room.m_name, kDash, 1);
    out.HtmlLengthRow(61743, room.m_length);
    out.HtmlLengthRow(61744, room.m_width);
    out.HtmlLengthRow(61745, room.m_height);
    out.HtmlTableEnd();
}

void writeReflectances(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room,
    const std::filesystem::path& dataFolder)
{
    emptyParagraph(out);
    out.HtmlTableBegin(100);
    if (doc.m_printRoomro == 1 && room.m_reflectedComponent == 1) {
        const auto& walls = room.m_wallReflectances;
        out.HtmlFormatRow(61746, room.m_ceilingReflectance, kFormat2, kDash);
        out.HtmlTextRow(61747, formatC("%1.2lf  %1.2lf  %1.2lf  %1.2lf", walls[0], walls[1], walls[2], walls[3]),
            kDash, 0);
        out.HtmlFormatRow(61748, room.m_floorReflectance, kFormat2, kDash);
    }
    if (doc.m_printRoomext == 1) {
        if (doc.m_limitLuminanceLog == 1)
            out.HtmlLongRow(61769, room.m_glareClass, kDash);
        if (room.m_computeRoadLuminance == 1)
            out.HtmlTextRow(61770, roadTableTitle(dataFolder, room.m_roadSurfaceClass), kDash, 0);
    }
    out.HtmlTableEnd();
}

void writeMaintenance(HtmlWriter& out, const CRoom& room)
{
    emptyParagraph(out);
    out.HtmlTableBegin(100);
    const bool computed = room.m_maintenanceFactorMode == 1;
    out.HtmlTextRow(61753, loadString(computed ? 61751 : 61752), kDash, 1);
    if (computed) {
        // A class outside the five named ones is shown as its number; the class is
        // checked before it names a text, as a damaged project may hold any number.
        const std::int64_t cleanliness = std::int64_t { kFirstCleanliness - 1 } + room.m_cleanlinessClass;
        out.HtmlTextRow(61756,
            cleanliness >= kFirstCleanliness && cleanliness <= kLastCleanliness
                ? loadString(static_cast<int>(cleanliness))
                : formatC("%ld", static_cast<long>(room.m_cleanlinessClass)),
            kDash, 0);
        out.HtmlLongRow(61757, room.m_cleaningInterval, kMonths);
        out.HtmlLongRow(61759, room.m_surfaceRenewalInterval, kMonths);
        if (room.m_lampReplacement == 1) {
            out.HtmlTextRow(61758, loadString(61766), kDash, 0);
            out.HtmlFormatRow(61760, room.m_functionalReliability, kFormat2, kDash);
        } else {
            out.HtmlLongRow(61758, room.m_lampReplacementInterval, kMonths);
        }
        // What the calculation worked with, as the printed sheet and the room sheet give it.
        std::string factors;
        for (const CLampSystem& system : room.m_lampSystems) {
            if (system.m_switchedOff == 1)
                continue;
            factors += (factors.empty() ? "" : ", ") + system.m_name + " " + formatC("%1.3lf", system.m_maintenanceFactor);
        }
        out.HtmlTextRow(61754, factors.empty() ? loadString(kDash) : factors, kDash, 0);
        out.HtmlFormatRow(61755, room.m_reflectanceReductionInUse, kFormat3, kDash);
    } else {
        out.HtmlFormatRow(61754, room.m_enteredMaintenanceFactor, kFormat3, kDash);
        out.HtmlFormatRow(61755, room.m_reflectanceReduction, kFormat3, kDash);
    }
    out.HtmlTableEnd();
}

void writeTaskAreas(HtmlWriter& out, const CRoom& room)
{
    out.HtmlIdParagraph(61773, kHtmlHeading);
    for (std::size_t k = 0; k < room.m_workSystems.size(); ++k) {
        if (k > 0)
            emptyParagraph(out);
        const CWorkSystem& area = room.m_workSystems[k];
        if (area.m_excluded == 1)
            continue;
        out.HtmlTableBegin(100);
        out.HtmlTextRow(61774, area.m_name, kDash, 1);
        out.HtmlVectorRow(61778, area.m_origin);
        out.HtmlVectorRow(61779, area.m_step1);
        out.HtmlVectorRow(61780, area.m_step2);
        out.HtmlTextRow(kCountsLabel, counts(area.m_count1, area.m_count2), kDash, 0);
        if (room.m_computeUgr == 1)
            out.HtmlTextRow(61781, axis(area.m_viewDirection, "%1.3lf  %1.3lf  %1.3lf"), kDash, 0);
        out.HtmlTableEnd();
    }
}

void writePositions(HtmlWriter& out, const CLampSystem& system)
{
    out.HtmlTableBegin(100);
    out.HtmlHeaderRow(loadString(kLuminaireLabel), 61945, 61946, 61947, 0);
    const std::string label = loadString(kPositionLabelId);
    for (std::size_t k = 0; k < system.m_luminaires.size(); ++k) {
        const COneLampSystem& luminaire = system.m_luminaires[k];
        if (luminaire.m_switchedOff == 1)
            continue;
        const CVector& p = luminaire.m_position;
        out.HtmlRowBegin();
        out.HtmlTextCell(formatC(label.c_str(), static_cast<int>(k + 1)));
        out.HtmlTextCell(out.millimetres() ? formatC("%6.0lf  %6.0lf  %6.0lf", withoutNegativeZero(p.x * 1000.0, 0),
                                                 withoutNegativeZero(p.y * 1000.0, 0), withoutNegativeZero(p.z * 1000.0, 0))
                                           : axis(p, "%6.3lf  %6.3lf  %6.3lf"));
        out.HtmlTextCell(axis(luminaire.m_opticalAxis, "%6.3lf  %6.3lf  %6.3lf"));
        out.HtmlTextCell(axis(luminaire.m_c0Axis, "%6.3lf  %6.3lf  %6.3lf"));
        out.HtmlRowEnd();
    }
    out.HtmlTableEnd();
}

void writeLampSystems(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room)
{
    out.HtmlIdParagraph(61783, kHtmlHeading);
    for (std::size_t k = 0; k < room.m_lampSystems.size(); ++k) {
        if (k > 0)
            emptyParagraph(out);
        const CLampSystem& system = room.m_lampSystems[k];
        if (system.m_switchedOff == 1)
            continue;
        out.HtmlTableBegin(100);
        out.HtmlTextRow(61892, system.m_name, kDash, 1);
        const CLuminaire* luminaire = entry(doc.m_luminaires, system.m_luminaireIndex);
        out.HtmlTextRow(kLuminaireLabel, luminaire ? luminaire->m_type : loadString(kNotGiven), kDash, 0);
        const CLamp* lamp = entry(doc.m_lamps, system.m_lampIndex);
        std::string lampText = loadString(kNotGiven);
        if (lamp)
            lampText = system.m_ownFlux == 1 ? formatC("%s - %1.0lf lm", lamp->m_type.c_str(), system.m_lampFlux)
                                             : lamp->m_type;
        out.HtmlTextRow(61817, lampText, kDash, 0);
        out.HtmlVectorRow(61785, system.m_origin);
        out.HtmlVectorRow(61786, system.m_pitch1);
        out.HtmlVectorRow(61787, system.m_pitch2);
        out.HtmlTextRow(kCountsLabel, counts(system.m_count1, system.m_count2), kDash, 0);
        out.HtmlTextRow(61789, axis(system.m_opticalAxis, "%1.3lf  %1.3lf  %1.3lf"), kDash, 0);
        out.HtmlTextRow(61788, axis(system.m_c0Axis, "%1.3lf  %1.3lf  %1.3lf"), kDash, 0);
        out.HtmlFormatRow(61790, system.m_rotation, kFormat0, kDegrees);
        out.HtmlFormatRow(61792, system.m_tilt, kFormat0, kDegrees);
        out.HtmlFormatRow(61791, system.m_turn, kFormat0, kDegrees);
        out.HtmlTableEnd();
        if (system.m_nonRegular != 0)
            writePositions(out, system);
    }
}

// The luminaires and lamps that the room's lamp systems name, in list order.
std::vector<bool> usedEntries(std::size_t listSize, const CRoom& room, std::int32_t CLampSystem::*index)
{
    std::vector<bool> used(listSize, false);
    for (const CLampSystem& system : room.m_lampSystems) {
        const std::int32_t i = system.*index;
        if (i >= 0 && static_cast<std::size_t>(i) < listSize)
            used[static_cast<std::size_t>(i)] = true;
    }
    return used;
}

void writeUsedLuminaires(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room)
{
    out.HtmlIdParagraph(61871, kHtmlHeading);
    const std::vector<bool> luminaires = usedEntries(doc.m_luminaires.size(), room, &CLampSystem::m_luminaireIndex);
    for (std::size_t k = 0; k < luminaires.size(); ++k) {
        if (!luminaires[k])
            continue;
        if (k > 0)
            emptyParagraph(out);
        const CLuminaire& luminaire = doc.m_luminaires[k];
        const auto& size = luminaire.m_overallDimensions;
        out.HtmlTableBegin(100);
        out.HtmlTextRow(kTypeLabel, luminaire.m_type, kDash, 1);
        out.HtmlTextRow(kMakerLabel, doc.GetManufacturerName(luminaire.m_databaseNumber), kDash, 0);
        out.HtmlTextRow(kNameLabel, luminaire.m_name, kDash, 0);
        out.HtmlTextRow(61697, luminaire.m_protection, kDash, 0);
        out.HtmlTextRow(61873,
            formatC("%1.0lf x %1.0lf x %1.0lf", size[0] * 1000.0, size[1] * 1000.0, size[2] * 1000.0), kMillimetres,
            0);
        out.HtmlTextRow(61855, catalogueFigureText(luminaire.m_efficiency), 61879, 0);
        out.HtmlTableEnd();
    }

    out.HtmlIdParagraph(61874, kHtmlHeading);
    const std::vector<bool> lamps = usedEntries(doc.m_lamps.size(), room, &CLampSystem::m_lampIndex);
    for (std::size_t k = 0; k < lamps.size(); ++k) {
        if (!lamps[k])
            continue;
        if (k > 0)
            emptyParagraph(out);
        const CLamp& lamp = doc.m_lamps[k];
        out.HtmlTableBegin(100);
        out.HtmlTextRow(kTypeLabel, lamp.m_type, kDash, 1);
        out.HtmlTextRow(kMakerLabel, doc.GetManufacturerName(lamp.m_databaseNumber), kDash, 0);
        out.HtmlTextRow(kNameLabel, lamp.m_name, kDash, 0);
        out.HtmlTextRow(61896, lampPowerText(lamp.m_power), 61872, 0);
        out.HtmlFormatRow(61875, lamp.m_luminousFlux, kFormat0, 61876);
        out.HtmlLongRow(61878, lamp.m_life, 61877);
        if (lamp.m_colourRendering > 0.01)
            out.HtmlPairRow("Ra", formatC("%1.0lf", lamp.m_colourRendering), kDash, 0);
        out.HtmlTableEnd();
    }
}

void writeObstacles(HtmlWriter& out, const CRoom& room)
{
    if (room.m_obstacleSystems.empty())
        return;
    out.HtmlIdParagraph(61794, kHtmlHeading);
    for (std::size_t k = 0; k < room.m_obstacleSystems.size(); ++k) {
        if (k > 0)
            emptyParagraph(out);
        const CXSystem& obstacles = room.m_obstacleSystems[k];
        // Road markings cast no shadow and are no obstacles a reader looks for.
        if (obstacles.m_off == 1 || obstacles.m_noRay == 1)
            continue;
        out.HtmlTableBegin(100);
        out.HtmlTextRow(61795, obstacles.m_name, kDash, 1);
        out.HtmlVectorRow(61796, obstacles.m_origin);
        out.HtmlVectorRow(61797, obstacles.m_spacing1);
        out.HtmlVectorRow(61798, obstacles.m_spacing2);
        out.HtmlTextRow(kCountsLabel, counts(obstacles.m_count1, obstacles.m_count2), kDash, 0);
        out.HtmlVectorRow(61799, obstacles.m_edgeA);
        out.HtmlVectorRow(61800, obstacles.m_edgeB);
        out.HtmlVectorRow(61801, obstacles.m_edgeC);
        out.HtmlFormatRow(61802, obstacles.m_reflectance, kFormat3, kDash);
        out.HtmlTableEnd();
    }
}

} // namespace

void writeHtmlRoomSections(HtmlWriter& out, const CKzevDoc& doc, const CRoom& room,
    const std::filesystem::path& dataFolder)
{
    if (doc.m_printRoomdim == 1)
        writeRoom(out, room);
    if (doc.m_printRoomro == 1 || doc.m_printRoomext == 1)
        writeReflectances(out, doc, room, dataFolder);
    if (doc.m_printRoomz == 1)
        writeMaintenance(out, room);
    if (doc.m_printWork == 1)
        writeTaskAreas(out, room);
    if (doc.m_printLamps == 1)
        writeLampSystems(out, doc, room);
    if (doc.m_printLuminaires == 1)
        writeUsedLuminaires(out, doc, room);
    if (doc.m_printX == 1)
        writeObstacles(out, room);
}

} // namespace kzev
