// Rebuilds the databases of the data folder through the program's own data
// library and photometric import:
//   ZEV-1001.xls, ZEV-1002.xls   two sample makers' workbooks (luminaires imported from
//                                public EULUMDAT files, their lamps, sections),
//   ZEV-VYROBCI.xls              the makers' names and their numbers in the predecessor program,
//   ZEV-SKUPINY.xls              the names of the subgroups,
//   ZEV-Odkazy.mdb               which maker holds which groups and sections,
//   ZEV-N12464-1.xls, ZEV-N12464-2.xls   the standard's requirement tables.
//
//   kzev_make_databases [shared folder] [data folder]
// The defaults are the shared folder beside the checkout and data/ of the source tree.

#include "catalogue/EulumdatReader.h"
#include "catalogue/PhotometryImporter.h"
#include "catalogue/SelectionCatalogue.h"
#include "platform/CData.h"
#include "platform/IsolatedRun.h"
#include "platform/TextUtil.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using kzev::DataValue;
using kzev::formatC;

namespace {

constexpr int kLong = kzev::kDataTypeLong;
constexpr int kText = kzev::kDataTypeText;
constexpr int kDouble = kzev::kDataTypeDouble;
constexpr std::int64_t kGroup = 20;

// Subgroups of group 20 (the names are in ZEV-SKUPINY.xls).
constexpr std::int64_t kInteriorLuminaires = 1;
constexpr std::int64_t kRoadLuminaires = 2;
constexpr std::int64_t kLedLamps = 11;
constexpr std::int64_t kSodiumLamps = 12;

// Sections of the makers' workbooks (their names are in each sheet "Oddíly$").
constexpr std::int64_t kSectionInterior = 1;
constexpr std::int64_t kSectionOutdoor = 2;
constexpr std::int64_t kSectionLamps = 3;

const char* const kPlaceholderNote
    = "Krytí, kategorie údržby a údaje zdroje (Život, Gama, Tau) jsou ilustrativní: fotometrický soubor je neuvádí. "
      "Nahraďte je údaji výrobce.";

/** Lamp data that the photometric files do not carry: illustrative, marked as such in the workbook. */
struct LampPlaceholder {
    std::int64_t subgroup;
    std::int64_t life;   ///< hours
    double residual;     ///< "Gama": residual flux fraction
    double timeConstant; ///< "Tau": hours
};

constexpr LampPlaceholder kLed { kLedLamps, 50000, 0.7, 100000.0 };
constexpr LampPlaceholder kSodium { kSodiumLamps, 16000, 0.5, 30000.0 };

struct LuminaireSource {
    const char* file; ///< relative to the shared photometry folder
    std::int64_t subgroup;
    std::int64_t section;
    const char* protection;
    std::int64_t maintenanceCategory;
    LampPlaceholder lamp;
};

struct Maker {
    long number;
    const char* name;
    /**
     * The maker's number in the predecessor program ("DBF" of the makers' list);
     * its luminaires' numbers there ("ČísloZev") are 100 x this + the record number.
     * Illustrative: they let a predecessor input file of the sample makers translate.
     */
    long predecessorNumber;
    std::vector<LuminaireSource> luminaires;
};

// Maker numbers from 1000 up: the workbook is then named alike whether a
// caller pads the number to four digits or not.
const std::vector<Maker>& makers()
{
    static const std::vector<Maker> list {
        { 1001, "Vzorová svítidla A (anonymizovaná měření)", 11,
            {
                { "ldt/ugr_sample_01.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
                { "ldt/ugr_sample_02.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
                { "ldt/ugr_sample_03.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
                { "ldt/ugr_sample_04.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
                { "ldt/ugr_sample_05.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
                { "ldt/ugr_sample_06.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
                { "ldt/ugr_sample_07.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
                { "ldt/ugr_sample_09.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
                { "ldt/ugr_sample_11.ldt", kInteriorLuminaires, kSectionInterior, "IP20", 2, kLed },
            } },
        { 1002, "Vzorová svítidla B (ukázkové soubory)", 12,
            {
                { "ldt/rs_road_luminaire.ldt", kRoadLuminaires, kSectionOutdoor, "IP66", 5, kSodium },
                { "ldt/rs_wiki-batwing.ldt", kInteriorLuminaires, kSectionInterior, "IP40", 4, kLed },
            } },
    };
    return list;
}

void check(int result, CData& data, const std::string& what)
{
    if (!result)
        throw std::runtime_error(what + ": " + data.lastError());
}

struct Column {
    const char* name;
    int type;
};

void createTable(CData& data, const std::string& name, const std::vector<Column>& columns)
{
    for (const Column& column : columns)
        check(data.AddColBeforeCreateTable(column.name, column.type, 255, -2), data, name);
    check(data.CreateTable(name), data, name);
}

void setText(CData& data, const std::string& column, const std::string& text)
{
    check(data.SetStringValue(column, text, -1, 0), data, column);
}

void setLong(CData& data, const std::string& column, std::int64_t value)
{
    check(data.SetValue(column, DataValue(value), -1, 0), data, column);
}

void setDouble(CData& data, const std::string& column, double value)
{
    check(data.SetValue(column, DataValue(value), -1, 0), data, column);
}

std::string freshFile(const fs::path& path)
{
    fs::remove(path);
    return path.string();
}

// ---- Makers' workbooks --------------------------------------------------------

void createMakerWorkbook(const std::string& file)
{
    CData data;
    check(data.Create(file, ""), data, file);
    createTable(data, "Luminaires$",
        { { "Věta", kLong }, { "Skupina", kLong }, { "Podskupina", kLong }, { "Oddíl", kLong }, { "Typ", kText },
            { "Název", kText }, { "Krytí", kText }, { "Blok", kText }, { "Divez", kLong }, { "Výkon", kLong },
            { "Zdroj", kText }, { "Zdrojů", kLong }, { "PodskupinaZdroje", kLong }, { "Účinnost", kLong },
            { "RozmCelkové", kText }, { "RozmSvítící", kText }, { "Symetrie", kLong }, { "KatÚdržby", kLong },
            { "ÚhlyClonění", kText }, { "Table", kText }, { "J0_45_85", kText }, { "J9_45_85", kText },
            { "Picture", kText }, { "Prepocet", kDouble }, { "Datum", kText }, { "ImportLamp", kText },
            { "ImportFile", kText }, { "ČísloZev", kLong }, { "Poznámka", kText } });
    data.CloseTable();
    createTable(data, "Lamps$",
        { { "Věta", kLong }, { "Skupina", kLong }, { "Podskupina", kLong }, { "Oddíl", kLong }, { "Typ", kText },
            { "Název", kText }, { "Výkon", kLong }, { "Tau", kDouble }, { "Gama", kDouble }, { "Život", kLong },
            { "SvTok", kDouble }, { "Čirý", kLong }, { "Ppr", kDouble }, { "PodBarev", kDouble },
            { "Poznámka", kText } });
    data.CloseTable();
    createTable(data, "Oddíly$", { { "Oddíl", kLong }, { "Název", kText } });
    for (auto [section, name] : { std::pair { kSectionInterior, "Interiérová svítidla" },
             std::pair { kSectionOutdoor, "Venkovní a uliční svítidla" },
             std::pair { kSectionLamps, "Světelné zdroje" } }) {
        check(data.AddRow(), data, "Oddíly$");
        setLong(data, "Oddíl", section);
        setText(data, "Název", name);
    }
    data.Close();
}

const char* sectionName(std::int64_t section)
{
    switch (section) {
    case kSectionInterior:
        return "Interiérová svítidla";
    case kSectionOutdoor:
        return "Venkovní a uliční svítidla";
    default:
        return "Světelné zdroje";
    }
}

void importLuminaire(const Maker& maker, const std::string& workbook, const fs::path& photometry,
    const LuminaireSource& source)
{
    const fs::path path = photometry / source.file;
    // The import files the luminaire under the sample's own section (found by its name) and category.
    kzev::PhotometryImporter::Prepared prepared
        = kzev::PhotometryImporter::prepareFile(kzev::PhotometryImporter::Format::Eulumdat, path);
    prepared.section = sectionName(source.section);
    prepared.maintenanceCategory = source.maintenanceCategory;
    prepared.file = source.file;
    CData data;
    const long record = kzev::PhotometryImporter::write(data, workbook, prepared);

    check(data.Open(workbook, "Excel 8.0", kzev::kOpenToWrite, 0), data, workbook);
    check(data.OpenTable("Luminaires$", "", 0), data, "Luminaires$");
    check(data.FindFirst(formatC("Věta=%ld", record)), data, "Luminaires$ record");
    std::string lampReference;
    check(data.GetStringValue("Zdroj", lampReference, -1, -1, 0), data, "Zdroj");
    const long lampRecord = kzev::parseLampReference(lampReference).record;
    // What the import leaves to the catalogue editor.
    setLong(data, "Podskupina", source.subgroup);
    setText(data, "Krytí", source.protection);
    setLong(data, "PodskupinaZdroje", source.lamp.subgroup);
    setLong(data, "ČísloZev", 100 * maker.predecessorNumber + record);
    setText(data, "Poznámka", kPlaceholderNote);
    data.CloseTable();

    // The lamp that fits the luminaire, as the maker's catalogue would give it.
    check(data.OpenTable("Lamps$", "", 0), data, "Lamps$");
    check(data.FindFirst(formatC("Věta=%ld", lampRecord)), data, "Lamps$ record");
    setLong(data, "Podskupina", source.lamp.subgroup);
    setLong(data, "Oddíl", kSectionLamps);
    setLong(data, "Život", source.lamp.life);
    setDouble(data, "Gama", source.lamp.residual);
    setDouble(data, "Tau", source.lamp.timeConstant);
    setText(data, "Poznámka", kPlaceholderNote);
    data.Close();
    std::cout << "  " << record << ": " << source.file << '\n';
}

void writeMakers(const fs::path& photometry, const fs::path& dataFolder)
{
    for (const Maker& maker : makers()) {
        const std::string workbook = freshFile(dataFolder / formatC("ZEV-%04ld.xls", maker.number));
        std::cout << fs::path(workbook).filename().string() << ": " << maker.name << '\n';
        createMakerWorkbook(workbook);
        for (const LuminaireSource& source : maker.luminaires)
            importLuminaire(maker, workbook, photometry, source);
    }
}

// ---- Makers' names and subgroup names --------------------------------------------

void writeMakerNames(const fs::path& dataFolder)
{
    CData data;
    const std::string file = freshFile(dataFolder / "ZEV-VYROBCI.xls");
    check(data.Create(file, ""), data, file);
    // The selection page finds a maker by "Kód" and shows column 1.
    // The import of predecessor input files finds a maker by "DBF" and takes column 0.
    createTable(data, "Vyrobci$",
        { { "Kód", kLong }, { "Název", kText }, { "Soubor", kText }, { "DBF", kLong } });
    for (const Maker& maker : makers()) {
        check(data.AddRow(), data, file);
        setLong(data, "Kód", maker.number);
        setText(data, "Název", maker.name);
        setText(data, "Soubor", formatC("ZEV-%04ld.xls", maker.number));
        setLong(data, "DBF", maker.predecessorNumber);
    }
    data.Close();
}

void writeSubgroupNames(const fs::path& dataFolder)
{
    CData data;
    const std::string file = freshFile(dataFolder / "ZEV-SKUPINY.xls");
    check(data.Create(file, ""), data, file);
    // A row with a group number starts the group; the rows after it name its subgroups.
    createTable(data, "Skupiny$", { { "Skupina", kLong }, { "Číslo", kLong }, { "Název", kText } });
    check(data.AddRow(), data, file);
    setLong(data, "Skupina", kGroup);
    setText(data, "Název", "Svítidla a světelné zdroje");
    for (auto [number, name] : { std::pair { kInteriorLuminaires, "Interiérová svítidla" },
             std::pair { kRoadLuminaires, "Svítidla pro uliční osvětlení" }, std::pair { kLedLamps, "LED moduly" },
             std::pair { kSodiumLamps, "Vysokotlaké sodíkové výbojky" } }) {
        check(data.AddRow(), data, file);
        setLong(data, "Číslo", number);
        setText(data, "Název", name);
    }
    data.Close();
}

// ---- Reference database --------------------------------------------------------

struct SectionEntry {
    long maker;
    std::string group;
    std::string subgroup;
    std::string section;
    std::string name;
};

// Reads one sheet's group pairs into the reference table and collects its sections.
long scanSheet(CData& references, const Maker& maker, const std::string& workbook, const std::string& sheet,
    std::vector<SectionEntry>& sections)
{
    CData data;
    check(data.Open(workbook, "Excel 8.0", 0, 0), data, workbook);
    check(data.OpenTable(formatC("SELECT [Skupina],[Podskupina],[Oddíl] FROM [%s] GROUP BY [Skupina],[Podskupina],[Oddíl] ",
                  sheet.c_str())),
        data, sheet);
    std::set<long> codes;
    std::vector<SectionEntry> found;
    const long rows = data.rowCount();
    for (long row = 0; row < rows; ++row) {
        std::string group, subgroup, section;
        data.GetStringValue(0, group, row);
        data.GetStringValue(1, subgroup, row);
        data.GetStringValue(2, section, row);
        if (group.empty() || kzev::StrToLong(subgroup) <= 0)
            continue;
        const long code = 1000 * kzev::StrToLong(group) + kzev::StrToLong(subgroup);
        if (codes.insert(code).second) {
            check(references.AddRow(), references, "references");
            check(references.SetStringValue(0, formatC("%ld", maker.number), -1, 0), references, "Výrobce");
            check(references.SetStringValue(1, formatC("%ld", code), -1, 0), references, "Skupina");
        }
        if (!section.empty())
            found.push_back({ maker.number, group, subgroup, section, {} });
    }
    data.CloseTable();
    std::map<std::string, std::string> names;
    if (data.OpenTable("Oddíly$", "", 0)) {
        for (long row = 0; row < data.rowCount(); ++row) {
            std::string number, name;
            if (data.GetStringValue(0, number, row) && data.GetStringValue(1, name, row))
                names[formatC("%ld", kzev::StrToLong(number))] = name;
        }
    }
    data.Close();
    for (SectionEntry& entry : found) {
        entry.name = names[entry.section];
        sections.push_back(entry);
    }
    return rows;
}

void writeReferences(const fs::path& dataFolder)
{
    CData references;
    const std::string file = freshFile(dataFolder / "ZEV-Odkazy.mdb");
    check(references.Create(file, ""), references, file);
    for (const char* table : { "Luminaires", "Lamps" }) {
        createTable(references, table, { { "Výrobce", kLong }, { "Skupina", kLong } });
        references.CloseTable();
    }
    createTable(references, "Oddíly",
        { { "Výrobce", kLong }, { "Skupina", kLong }, { "Podskupina", kLong }, { "Oddíl", kLong }, { "Název", kText } });
    references.CloseTable();

    std::vector<SectionEntry> sections;
    for (auto [table, sheet] : { std::pair { "Luminaires", "Luminaires$" }, std::pair { "Lamps", "Lamps$" } }) {
        check(references.OpenTable(table, "", 0), references, table);
        for (const Maker& maker : makers())
            scanSheet(references, maker, (dataFolder / formatC("ZEV-%04ld.xls", maker.number)).string(), sheet,
                sections);
        references.CloseTable();
    }
    check(references.OpenTable("Oddíly", "", 0), references, "Oddíly");
    for (const SectionEntry& entry : sections) {
        check(references.AddRow(), references, "Oddíly");
        const std::vector<std::string> fields { formatC("%ld", entry.maker), entry.group, entry.subgroup,
            entry.section, entry.name };
        for (int column = 0; column < static_cast<int>(fields.size()) && !fields[column].empty(); ++column)
            check(references.SetStringValue(column, fields[column], -1, 0), references, "Oddíly");
    }
    references.Close();
}

// ---- Requirement tables ----------------------------------------------------------

std::vector<std::string> splitCsvLine(const std::string& line)
{
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (char c : line) {
        if (c == '"')
            quoted = !quoted;
        else if (c == ',' && !quoted) {
            fields.push_back(field);
            field.clear();
        } else
            field.push_back(c);
    }
    fields.push_back(field);
    return fields;
}

// Czech names of the rows, in the order of the reference file.
const std::vector<std::string>& czechTaskNames()
{
    static const std::vector<std::string> names {
        "Kanceláře: psaní, psaní na stroji, čtení, zpracování dat",
        "Kanceláře: technické kreslení",
        "Kanceláře: pracoviště CAD",
        "Kanceláře: konferenční a zasedací místnosti",
        "Kanceláře: recepce",
        "Průmysl: sklady, manipulace se zbožím",
        "Průmysl: nakládací rampy",
        "Průmysl: hrubá práce, obrábění",
        "Průmysl: středně jemná práce, montáž",
        "Průmysl: jemná práce, kontrola",
        "Průmysl: velmi jemná práce, přesná montáž",
        "Školství: učebny",
        "Školství: posluchárny",
        "Školství: laboratoře",
        "Školství: knihovny, studovny",
        "Školství: knihovny, regály",
        "Zdravotnictví: chodby ve dne",
        "Zdravotnictví: pokoje pacientů, celkové osvětlení",
        "Zdravotnictví: vyšetřovny",
        "Zdravotnictví: operační sály, celkové osvětlení",
        "Komunikace: chodby",
        "Komunikace: schodiště, eskalátory",
        "Komunikace: prostory před výtahy",
        "Komunikace: vstupní haly",
        "Odpočinkové prostory: jídelny, místnosti pro přestávky",
        "Odpočinkové prostory: kuchyně",
        "Odpočinkové prostory: toalety, umývárny",
        "Garáže: jízdní pruhy",
    };
    return names;
}

void createRequirementSheet(CData& data, const char* glareColumn)
{
    // The dialog takes the name from column 0, the illuminance from column 4 and the glare limit from column 5.
    createTable(data, "Požadavky$",
        { { "Prostor, úkol nebo činnost", kText }, { "Ref. č.", kText }, { "Ra", kLong }, { "Uo", kDouble },
            { "Em [lx]", kLong }, { glareColumn, kLong }, { "Poznámka", kText } });
}

void writeRequirements(const fs::path& reference, const fs::path& dataFolder)
{
    std::ifstream in(reference / "en12464-1_rows_secondary_unverified.csv");
    if (!in)
        throw std::runtime_error("cannot open the requirement rows");
    CData data;
    const std::string file = freshFile(dataFolder / "ZEV-N12464-1.xls");
    check(data.Create(file, ""), data, file);
    createRequirementSheet(data, "UGRL");
    std::string line;
    bool header = true;
    std::size_t row = 0;
    while (std::getline(in, line)) {
        if (line.empty() || line.front() == '#')
            continue;
        if (header) {
            header = false;
            continue;
        }
        const std::vector<std::string> f = splitCsvLine(line);
        if (f.size() < 9 || row >= czechTaskNames().size())
            throw std::runtime_error("unexpected requirement row: " + line);
        std::string note = "Nízká spolehlivost: řádek z druhotných veřejných zdrojů, neověřeno proti textu normy. ";
        note += f[7] == "A=B" ? "Dva zdroje se shodují." : f[7] == "A!=B" ? "Zdroje se liší." : "Jen jeden zdroj.";
        note += " Zdroj A: " + f[1];
        if (!f[8].empty())
            note += "; " + f[8];
        check(data.AddRow(), data, file);
        setText(data, "Prostor, úkol nebo činnost", czechTaskNames()[row]);
        // The one reference number confirmed by a public source.
        if (f[8].find("2011 ref 5.26.2") != std::string::npos)
            setText(data, "Ref. č.", "5.26.2");
        setLong(data, "Ra", kzev::StrToLong(f[5]));
        setDouble(data, "Uo", kzev::StrToDouble(f[3]));
        setLong(data, "Em [lx]", kzev::StrToLong(f[2]));
        setLong(data, "UGRL", kzev::StrToLong(f[4]));
        setText(data, "Poznámka", note);
        ++row;
    }
    data.Close();
    std::cout << "ZEV-N12464-1.xls: " << row << " rows\n";

    // No public rows of the outdoor part were found: the sheet is shipped empty.
    CData outdoor;
    const std::string outdoorFile = freshFile(dataFolder / "ZEV-N12464-2.xls");
    check(outdoor.Create(outdoorFile, ""), outdoor, outdoorFile);
    createRequirementSheet(outdoor, "GRL");
    outdoor.Close();
    std::cout << "ZEV-N12464-2.xls: no rows\n";
}

} // namespace

int main(int argc, char** argv)
{
    kzev::seeHelperEnds(); // the workbooks it reads are judged by how their reader ends
    const fs::path shared = argc > 1 ? fs::path(argv[1]) : fs::path(KZEV_SHARED_DIR);
    const fs::path dataFolder = argc > 2 ? fs::path(argv[2]) : fs::path(KZEV_SOURCE_DIR) / "data";
    try {
        fs::create_directories(dataFolder);
        writeMakers(shared / "photometry", dataFolder);
        writeMakerNames(dataFolder);
        writeSubgroupNames(dataFolder);
        writeReferences(dataFolder);
        writeRequirements(shared / "reference", dataFolder);
    } catch (const std::exception& error) {
        std::cerr << "kzev_make_databases: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
