// Writes the three sample projects of the data folder through the program's own
// document code, with luminaires and lamps resolved from the sample makers'
// workbooks of the same folder (run kzev_make_databases first):
//   Vzor-kancelar.kzv   an office: one regular lamp system, a work plane, a desk and UGR observers,
//   Vzor-hala.kzv       a hall: two lamp systems, racks and machines as obstacles, two modes,
//   Vzor-silnice.kzv    a two-lane road laid out like the roadway set-up, luminance fields on R3.
//
//   kzev_make_projects [data folder]

#include "model/CKzevDoc.h"
#include "model/RegularLayout.h"
#include "platform/DataLocation.h"
#include "platform/IsolatedRun.h"
#include "platform/Services.h"

#include <cmath>
#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr std::int32_t kInteriorMaker = 1001;
constexpr std::int32_t kOtherMaker = 1002;
// Record numbers in the order kzev_make_databases imports the files.
constexpr std::int32_t kSquarePanel = 2;  // ugr_sample_02
constexpr std::int32_t kHighOutput = 1;   // ugr_sample_01
constexpr std::int32_t kRoundHighBay = 8; // ugr_sample_09
constexpr std::int32_t kRoadLuminaire = 1; // rs_road_luminaire

constexpr std::int32_t kHorizontal = 94;
constexpr std::int32_t kUgr = 89;
constexpr std::int32_t kRoadLuminance = 141;

/** Any message box of the document code means the sample is not what it should be. */
class FailingMessageBox final : public kzev::IMessageBox {
public:
    kzev::MessageAnswer show(const std::string& text, kzev::MessageIcon, kzev::MessageButtons) override
    {
        throw std::runtime_error("message: " + text);
    }
};

CWorkSystem area(const std::string& name, CVector origin, CVector step1, std::int32_t count1, CVector step2,
    std::int32_t count2, std::int32_t quantity, std::int32_t mode = 0)
{
    CWorkSystem a;
    a.m_name = name;
    a.m_origin = origin;
    a.m_step1 = step1;
    a.m_step2 = step2;
    a.m_count1 = count1;
    a.m_count2 = count2;
    a.m_points.assign(static_cast<std::size_t>(count1) * static_cast<std::size_t>(count2), CPointCalc {});
    a.m_quantityCode = quantity;
    a.m_modeIndex = mode;
    return a;
}

CLampSystem regularSystem(const std::string& name, std::int32_t maker, std::int32_t record, CVector origin,
    CVector pitch1, std::int32_t count1, CVector pitch2, std::int32_t count2, double workPlane, std::size_t modes)
{
    CLampSystem s;
    s.m_name = name;
    s.m_luminaireDatabase = maker;
    s.m_luminaireRecord = record;
    // Every sample luminaire has its own lamp under the same record number.
    s.m_lampDatabase = maker;
    s.m_lampRecord = record;
    s.m_origin = origin;
    s.m_pitch1 = pitch1;
    s.m_pitch2 = pitch2;
    s.m_count1 = count1;
    s.m_count2 = count2;
    s.m_mountingHeight = origin.z;
    s.m_workPlaneHeight = workPlane;
    s.m_numberOfLuminaires = count1 * count2;
    kzev::layOutRegularLuminaires(s, modes);
    return s;
}

CXSystem obstacles(const std::string& name, CVector origin, CVector a, CVector b, CVector c, CVector spacing,
    std::int32_t count, double reflectance, std::uint32_t colour)
{
    CXSystem x(colour);
    x.m_name = name;
    x.m_origin = origin;
    x.m_edgeA = a;
    x.m_edgeB = b;
    x.m_edgeC = c;
    x.m_spacing1 = spacing;
    x.m_count1 = count;
    x.m_count2 = 1;
    x.m_reflectance = reflectance;
    x.m_transmittance = 0.0;
    return x;
}

CRoom emptyRoom(const std::string& name, const std::string& number, double length, double width, double height)
{
    CRoom room;
    room.m_lampSystems.clear();
    room.m_workSystems.clear();
    room.m_obstacleSystems.clear();
    room.m_modes.clear();
    room.m_name = name;
    room.m_number = number;
    room.m_length = length;
    room.m_width = width;
    room.m_height = height;
    return room;
}

CLampState mode(const std::string& name)
{
    CLampState m;
    m.m_name = name;
    return m;
}

// What a designer looks at once the sample is calculated: the plan from above with the layers given,
// the room's and every area's own settings alike, so that picking an area in the tree keeps the picture.
struct ResultView {
    bool values = false;
    bool isolines = false;
    bool falseColours = false;
    bool roadLuminance = false;
};

void showResults(CViewSettings& v, const ResultView& shown)
{
    v.m_draw3D = 0;
    v.m_viewCode = 112;
    v.m_drawPoints = shown.values ? 0 : 1;
    v.m_pointLabels = shown.values ? 1 : 0;
    v.m_isolines = shown.isolines ? 1 : 0;
    v.m_fillSurfaces = shown.falseColours ? 1 : 0;
    v.m_showRoadLuminance = shown.roadLuminance ? 1 : 0;
    v.m_luminaires = 1;
}

void showResults(CRoom& room, const ResultView& shown)
{
    showResults(room.m_viewSettings, shown);
    for (CWorkSystem& area : room.m_workSystems)
        showResults(area.m_viewSettings, shown);
}

void describe(CKzevDoc& doc, const std::string& name, std::int32_t type, const std::string& remark)
{
    doc.m_projectName = name;
    doc.m_projectType = type;
    doc.m_building = "Vzorové projekty Kzev";
    doc.m_date = "2026";
    doc.m_remark = remark;
}

// Resolves every lamp system from the workbooks through the document, so the
// saved project carries the descriptions and lamp fluxes, and fills the
// used-luminaire list.
void resolveAndSave(CKzevDoc& doc, const fs::path& path)
{
    doc.LoadManufacturerNames();
    if (doc.GetManufacturerName(kInteriorMaker) == std::to_string(kInteriorMaker))
        throw std::runtime_error("no makers' names in the data folder");
    for (CRoom& room : doc.m_rooms)
        for (CLampSystem& system : room.m_lampSystems)
            if (!doc.ResolveLuminaire(system, 1) || !doc.ResolveLamp(system, 1))
                throw std::runtime_error("cannot resolve " + system.m_name);
    doc.m_usedLuminaires.clear();
    doc.BuildLuminaireLegend();
    // The samples are made, not worked on: no work time, so a slow run writes the same bytes.
    doc.m_now = [&doc] { return doc.m_startTime; };
    if (!doc.OnSaveDocument(path))
        throw std::runtime_error("cannot save " + path.string());
    std::cout << path.filename().string() << ": " << doc.m_rooms.size() << " room(s)\n";
}

void makeOffice(const fs::path& folder)
{
    CKzevDoc doc;
    describe(doc, "Vzorový projekt – kancelář", 0,
        "Kancelář 8 × 6 m s pravidelnou soustavou svítidel, srovnávací rovinou, plochou zrakového úkolu u stolu "
        "a pozorovateli pro UGR. Udržovací činitel se počítá z ilustrativních údajů datové složky.");
    CRoom room = emptyRoom("Kancelář", "1.01", 8.0, 6.0, 3.0);
    room.m_ceilingReflectance = 0.7;
    room.m_wallReflectances = { 0.5, 0.5, 0.5, 0.5 };
    room.m_floorReflectance = 0.2;
    room.m_maintenanceFactorMode = 1;
    room.m_cleanlinessClass = 2;
    room.m_cleaningInterval = 12;
    room.m_surfaceRenewalInterval = 36;
    room.m_lampReplacement = 1;
    room.m_functionalReliability = 1.0;
    room.m_computeIlluminance = 1;
    room.m_computeUgr = 1;
    room.m_requirement = "Kanceláře: psaní, psaní na stroji, čtení, zpracování dat";
    room.m_modes.push_back(mode("Běžný provoz"));

    CLampSystem lights = regularSystem("Vestavná svítidla LED", kInteriorMaker, kSquarePanel, { 1.0, 1.0, 3.0 },
        { 2.0, 0.0, 0.0 }, 4, { 0.0, 2.0, 0.0 }, 3, 0.75, 1);
    lights.m_em = 500.0;
    room.m_lampSystems.push_back(lights);

    room.m_workSystems.push_back(area("Srovnávací rovina", { 0.5, 0.5, 0.75 }, { 0.5, 0.0, 0.0 }, 15,
        { 0.0, 0.5, 0.0 }, 11, kHorizontal));
    // The desk's points sit in the middle of the plane's cells, so both sets of values can be read at once.
    room.m_workSystems.push_back(area("Zrakový úkol – psací stůl", { 2.25, 1.75, 0.75 }, { 0.5, 0.0, 0.0 }, 4,
        { 0.0, 0.5, 0.0 }, 2, kHorizontal));
    CWorkSystem observers = area("UGR – pozorovatelé vsedě", { 2.0, 1.0, 1.2 }, { 2.0, 0.0, 0.0 }, 3,
        { 0.0, 2.0, 0.0 }, 2, kUgr);
    observers.m_firstDirection = 0;
    observers.m_directionCount = 4;
    observers.m_directionStep = 90;
    room.m_workSystems.push_back(observers);
    showResults(room, { .values = true, .isolines = true });
    // The observers' ratings stand where the plane's values are: the room shows the illuminance, the
    // observers picked in the tree show their ratings and glare marks alone.
    room.m_viewSettings.m_showUgr = 0;
    for (CWorkSystem& area : room.m_workSystems)
        area.m_viewSettings.m_showUgr = 0;
    CViewSettings& glare = room.m_workSystems.back().m_viewSettings;
    glare.m_showIlluminance = 0;
    glare.m_showUgr = 1;
    glare.m_glareMarks = 1;
    doc.m_rooms.push_back(room);
    resolveAndSave(doc, folder / "Vzor-kancelar.kzv");
}

void makeHall(const fs::path& folder)
{
    CKzevDoc doc;
    describe(doc, "Vzorový projekt – výrobní hala", 0,
        "Hala 24 × 15 m: celkové osvětlení a osvětlení strojů, regály a stroje jako překážky, "
        "dva režimy (plný a noční provoz). Udržovací činitel je zadán.");
    CRoom room = emptyRoom("Výrobní hala", "2.01", 24.0, 15.0, 8.0);
    room.m_ceilingReflectance = 0.5;
    room.m_wallReflectances = { 0.3, 0.3, 0.3, 0.3 };
    room.m_floorReflectance = 0.2;
    room.m_maintenanceFactorMode = 2;
    room.m_enteredMaintenanceFactor = 0.8;
    room.m_reflectanceReduction = 0.8;
    room.m_cleanlinessClass = 3;
    room.m_computeIlluminance = 1;
    room.m_computeUgr = 0;
    room.m_requirement = "Průmysl: středně jemná práce, montáž";
    // Three-metre elements keep the inter-reflection of a hall with obstacles quick.
    room.m_elementarySurfaceSize = 3.0;
    room.m_modes.push_back(mode("Plný provoz"));
    room.m_modes.push_back(mode("Noční provoz"));

    CLampSystem general = regularSystem("Celkové osvětlení", kInteriorMaker, kHighOutput, { 2.0, 1.875, 7.5 },
        { 4.0, 0.0, 0.0 }, 6, { 0.0, 3.75, 0.0 }, 4, 0.75, 2);
    // At night every second row along the hall stays off.
    for (std::size_t k = 0; k < general.m_luminaires.size(); ++k)
        general.m_luminaires[k].m_modeFactors[1] = (k / 4) % 2 == 0 ? 1.0 : 0.0;
    room.m_lampSystems.push_back(general);
    CLampSystem machines = regularSystem("Osvětlení strojů", kInteriorMaker, kRoundHighBay, { 19.0, 3.5, 6.0 },
        { 0.0, 4.0, 0.0 }, 3, { 0.0, 0.0, 0.0 }, 1, 0.85, 2);
    for (COneLampSystem& luminaire : machines.m_luminaires)
        luminaire.m_modeFactors[1] = 0.0;
    room.m_lampSystems.push_back(machines);

    room.m_obstacleSystems.push_back(obstacles("Regály", { 2.0, 1.5, 0.0 }, { 12.0, 0.0, 0.0 }, { 0.0, 1.2, 0.0 },
        { 0.0, 0.0, 4.0 }, { 0.0, 3.5, 0.0 }, 3, 0.3, 0x4080C0));
    room.m_obstacleSystems.push_back(obstacles("Stroje", { 18.0, 2.5, 0.0 }, { 2.0, 0.0, 0.0 }, { 0.0, 2.0, 0.0 },
        { 0.0, 0.0, 1.8 }, { 0.0, 4.0, 0.0 }, 3, 0.4, 0x808080));

    room.m_workSystems.push_back(area("Srovnávací rovina – plný provoz", { 0.5, 0.5, 0.75 }, { 1.0, 0.0, 0.0 }, 24,
        { 0.0, 1.0, 0.0 }, 15, kHorizontal, 0));
    room.m_workSystems.push_back(area("Srovnávací rovina – noční provoz", { 0.5, 0.5, 0.75 }, { 1.0, 0.0, 0.0 }, 24,
        { 0.0, 1.0, 0.0 }, 15, kHorizontal, 1));
    showResults(room, { .isolines = true, .falseColours = true });
    // The floor's false colours in a warm tone (0x00BBGGRR), brighter where it is lit more.
    room.m_viewSettings.m_colors[2] = 0x0060C0FF;
    doc.m_rooms.push_back(room);
    resolveAndSave(doc, folder / "Vzor-hala.kzv");
}

// A two-lane road as the roadway set-up lays one out: one lane each way (3.5 m),
// no dividing strip, 3.5 m of surroundings on each side, luminaires 12 m high
// at a spacing of 35 m on one side, luminance on the surface R3.
void makeRoad(const fs::path& folder)
{
    CKzevDoc doc;
    describe(doc, "Vzorový projekt – silnice", 2,
        "Dvoupruhová silnice, svítidla na jedné straně ve výšce 12 m s roztečí 35 m, povrch R3, "
        "jas vozovky v jízdních pásech a pruzích.");
    constexpr double w = 3.5;  // lane width
    constexpr double e = 3.5;  // surroundings strip
    constexpr double m = 0.0;  // dividing strip
    constexpr double d = 35.0; // luminaire spacing
    constexpr double h = 12.0; // luminaire height
    constexpr std::int32_t lanes = 1;
    const double length = d * 5.0 + 2.0;
    const double width = 2.0 * e + 2.0 * lanes * w + m;

    CRoom room = emptyRoom("Vozovka", "", length, width, h);
    room.m_ceilingReflectance = 0.01;
    room.m_wallReflectances = { 0.01, 0.01, 0.01, 0.01 };
    room.m_computeUgr = 0;
    room.m_computeRoadLuminance = 1;
    room.m_computeIlluminance = 1;
    room.m_reflectedComponent = 0;
    room.m_wallReflections = 0;
    room.m_roadSurfaceClass = 3;
    room.m_roadValue5 = 1; // the road's design computes luminance, as its fields do
    room.m_roadLanes1 = lanes;
    room.m_roadLanes2 = lanes;
    room.m_roadLengths = { w, h, d, m, e };
    room.m_maintenanceFactorMode = 1;
    room.m_cleanlinessClass = 3;
    room.m_cleaningInterval = 24;
    room.m_lampReplacement = 2;
    room.m_lampReplacementInterval = 8000;
    room.m_modes.push_back(mode("Provoz"));

    // Markings: guide lines on both outer lane edges, one dashed centre line.
    const std::uint32_t white = 0xFFFFFF;
    room.m_obstacleSystems.push_back(obstacles("Vodící čáry", { 0.0, e, 0.01 }, { length, 0.0, 0.0 },
        { 0.0, 0.15, 0.0 }, { 0.0, 0.0, 0.0 }, { 0.0, 0.0, 0.0 }, 1, 0.5, white));
    room.m_obstacleSystems.push_back(obstacles("Vodící čáry", { 0.0, e + lanes * w + m + lanes * w, 0.01 },
        { length, 0.0, 0.0 }, { 0.0, 0.15, 0.0 }, { 0.0, 0.0, 0.0 }, { 0.0, 0.0, 0.0 }, 1, 0.5, white));
    const auto dashes = static_cast<std::int32_t>(length * 0.2 + 0.5);
    room.m_obstacleSystems.push_back(obstacles("Dělící čáry", { 0.0, e + w, 0.01 }, { 3.0, 0.0, 0.0 },
        { 0.0, 0.15, 0.0 }, { 0.0, 0.0, 0.0 }, { length / dashes, 0.0, 0.0 }, dashes, 0.5, white));
    for (CXSystem& marking : room.m_obstacleSystems)
        marking.m_noRay = 1;

    // Fields: N points per spacing, two spacings away from the start.
    const std::int32_t n = d > 30.0001 ? static_cast<std::int32_t>(d / 3.0 + 0.5) : 10;
    const double s = d / n;
    const double x0 = 1.0 + 2.0 * d + s / 2.0;
    CWorkSystem forward = area("Jízdní pás doprava (dolní)", { x0, e + w / 6.0, 0.0 }, { s, 0.0, 0.0 }, n,
        { 0.0, w / 3.0, 0.0 }, 3 * lanes, kRoadLuminance);
    forward.m_cameraPosition = { x0 - s / 2.0 - 60.0, e + w / 2.0, 1.5 };
    CWorkSystem backward = area("Jízdní pás doleva (horní)", { x0, (lanes + 1.0 / 6.0) * w + e + m, 0.0 },
        { s, 0.0, 0.0 }, n, { 0.0, w / 3.0, 0.0 }, 3 * lanes, kRoadLuminance);
    backward.m_cameraPosition = { 3.0 * d + 61.0, (lanes + 0.5) * w + e + m, 1.5 };
    // Drivers of the carriageways look along the road, each the other way; their threshold increment is wanted.
    forward.m_drivingDirection = 1;
    backward.m_drivingDirection = 0;
    forward.m_tiFlag = 1;
    backward.m_tiFlag = 1;
    room.m_workSystems.push_back(forward);
    room.m_workSystems.push_back(backward);
    CWorkSystem laneForward = forward;
    laneForward.m_name = "Jízdní pruh doprava 1";
    laneForward.m_cameraPosition.y = 0.5 * w + e;
    laneForward.m_tiFlag = 0;
    CWorkSystem laneBackward = backward;
    laneBackward.m_name = "Jízdní pruh doleva 1";
    laneBackward.m_cameraPosition.y = (0.5 + lanes) * w + m + e;
    laneBackward.m_tiFlag = 0;
    room.m_workSystems.push_back(laneForward);
    room.m_workSystems.push_back(laneBackward);
    room.m_workSystems.push_back(area("Okolí vozovky", { x0, e / 6.0, 0.0 }, { s, 0.0, 0.0 }, n,
        { 0.0, e / 3.0, 0.0 }, 3, kHorizontal));
    room.m_workSystems.push_back(area("Okolí vozovky", { x0, 2.0 * lanes * w + m + e * 1.1666666666666667, 0.0 },
        { s, 0.0, 0.0 }, n, { 0.0, e / 3.0, 0.0 }, 3, kHorizontal));

    // One row of luminaires 1 m beside the road's edge, C0 along the road. The luminaire's main beam
    // lies in its C270 half, so C0 points against x and C270 points across the carriageway.
    CLampSystem row = regularSystem("Uliční svítidla", kOtherMaker, kRoadLuminaire, { 1.0, e - 1.0, h },
        { d, 0.0, 0.0 }, static_cast<std::int32_t>(length / d + 1.001), { 0.0, 0.0, 0.0 }, 1, 0.0, 1);
    row.m_c0Axis = { -1.0, 0.0, 0.0 };
    kzev::layOutRegularLuminaires(row, 1);
    room.m_lampSystems.push_back(row);
    // A road is long and narrow: in the whole plan its fields are a strip, so it shows their luminance
    // isolines and the summary figures; the values at the points are read zoomed in.
    showResults(room, { .isolines = true, .roadLuminance = true });
    // The fields' luminance stands alone; the surroundings' illuminance shows when they are picked.
    room.m_viewSettings.m_showIlluminance = 0;
    for (CWorkSystem& field : room.m_workSystems)
        field.m_viewSettings.m_showIlluminance = field.m_quantityCode == kRoadLuminance ? 0 : 1;
    doc.m_rooms.push_back(room);
    resolveAndSave(doc, folder / "Vzor-silnice.kzv");
}

} // namespace

int main(int argc, char** argv)
{
    kzev::seeHelperEnds(); // the workbooks it reads are judged by how their reader ends
    const fs::path folder = argc > 1 ? fs::path(argv[1]) : fs::path(KZEV_SOURCE_DIR) / "data";
    static FailingMessageBox messages;
    kzev::Services quiet = kzev::services();
    quiet.messageBox = &messages;
    kzev::ScopedServices scoped(quiet);
    kzev::ScopedDataLocation location({ folder.string(), "ZEV-", "Excel 8.0" });
    try {
        makeOffice(folder);
        makeHall(folder);
        makeRoad(folder);
    } catch (const std::exception& error) {
        std::cerr << "kzev_make_projects: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
