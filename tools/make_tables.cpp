// Writes the table files of the data folder that come from public tables or from
// geometry alone:
//   ZEV-PI.dat       the Guth position index (CIE 117 table),
//   ZEV_JV<n>.dat    the CIE standard road-surface r-tables,
//   zev_str.dat      the lumen method's direct shares, computed here.
// ZEV_Z.dat is kept by hand (its coefficients are not public, see data/README.md).
//
//   kzev_make_tables [reference folder] [data folder]
// The defaults are the shared reference folder and data/ of the source tree.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Csv {
    std::vector<std::string> comments; // the "#" lines, without the "#"
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

std::vector<std::string> splitFields(const std::string& line, char separator)
{
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, separator))
        fields.push_back(field);
    if (!line.empty() && line.back() == separator)
        fields.emplace_back();
    return fields;
}

Csv readCsv(const fs::path& path)
{
    std::ifstream in(path);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    Csv csv;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        if (line.front() == '#') {
            csv.comments.push_back(line.substr(1));
            continue;
        }
        if (csv.header.empty())
            csv.header = splitFields(line, ',');
        else
            csv.rows.push_back(splitFields(line, ','));
    }
    return csv;
}

std::string trimmed(std::string text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.erase(text.begin());
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
    return text;
}

std::string format(const char* pattern, double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, pattern, value);
    return buffer;
}

std::ofstream openOutput(const fs::path& path)
{
    std::ofstream out(path, std::ios::binary);
    if (!out)
        throw std::runtime_error("cannot write " + path.string());
    return out;
}

// ---- Position index -------------------------------------------------------

void writePositionIndex(const fs::path& reference, const fs::path& data)
{
    const Csv csv = readCsv(reference / "guth_position_index_table.csv");
    if (csv.header.size() != 21 || csv.rows.size() != 31)
        throw std::runtime_error("position-index table: expected 31 rows of 20 columns");

    std::vector<std::string> open;
    std::ofstream out = openOutput(data / "ZEV-PI.dat");
    out << "T/R | H/R";
    for (std::size_t c = 1; c < csv.header.size(); ++c)
        out << '\t' << csv.header[c].substr(csv.header[c].find('_') + 1);
    out << '\n';
    for (const auto& row : csv.rows) {
        out << row.front();
        for (std::size_t c = 1; c <= 20; ++c) {
            std::string cell = c < row.size() ? trimmed(row[c]) : std::string();
            // The program reads -1 as no index, and so leaves a luminaire there out as CIE 117 does.
            if (cell.empty()) {
                cell = "-1";
                open.push_back("T/R " + row.front() + ", H/R " + format("%.1f", 0.1 * static_cast<double>(c - 1)));
            }
            out << '\t' << cell;
        }
        out << '\n';
    }
    // Nothing after the 31st row is read; the notes stay with the numbers.
    out << "\n"
           "Position index P of Guth, CIE 117-1995 Table 4.1 (rows T/R 0.0-3.0, columns H/R 0.0-1.9).\n"
           "Transcription: github.com/123VincentB/eulumdat-ugr, src/eulumdat_ugr/guth.py (MIT licence),\n"
           "numbers unchanged, including T/R 2.7, H/R 0.6 = 7.50 as published.\n"
           "The CIE table gives no value (\"-\") in the cells below; they hold -1 (no position index),\n"
           "so that a luminaire whose position falls in one of them, or between one and its neighbours, is left out of the sum:\n";
    for (const auto& cell : open)
        out << "  " << cell << '\n';
    out << "Written by tools/make_tables.cpp.\n";
    std::cout << "ZEV-PI.dat: 31 rows, " << open.size() << " open cells\n";
}

// ---- Road-surface tables -----------------------------------------------------

struct RoadTable {
    const char* name;
    int number;
};

// Table numbers as the rooms name them; the road dialog lists them by title.
constexpr std::array<RoadTable, 6> kRoadTables { { { "R1", 1 }, { "R2", 2 }, { "R3", 3 }, { "R4", 4 },
    { "C1", 5 }, { "C2", 6 } } };

struct SurfaceClass {
    std::string q0;
    std::string s1;
};

SurfaceClass surfaceClass(const Csv& classes, const std::string& table)
{
    for (const auto& row : classes.rows)
        if (row.size() > 6 && row[4] == table)
            return { row[5], row[6] };
    throw std::runtime_error("no class row for " + table);
}

void writeRoadTables(const fs::path& reference, const fs::path& data)
{
    const Csv classes = readCsv(reference / "road_surface_classes.csv");
    for (const RoadTable& table : kRoadTables) {
        const std::string name = table.name;
        const fs::path source = reference / ("road_rtable_" + name + ".csv");
        const Csv csv = readCsv(source);
        if (csv.header.size() != 21 || csv.rows.size() != 29)
            throw std::runtime_error(source.string() + ": expected 29 rows of 20 columns");
        const SurfaceClass surface = surfaceClass(classes, name);

        const std::string file = "ZEV_JV" + std::to_string(table.number) + ".dat";
        std::ofstream out = openOutput(data / file);
        // Line 2 is the title; the number before its last ")" is the scale: values are r x 10000,
        // and the luminance sum multiplies by the scale and 0.000001 with intensities per 1000 lm.
        out << "@ Kzev road-surface table " << table.number << ": reduced luminance coefficients r x 10000\n";
        out << "@$ " << name << " - standardní povrch vozovky CIE (Q0 = " << surface.q0;
        if (!surface.s1.empty())
            out << ", S1 = " << surface.s1;
        out << "; r x 10000, měřítko 0.1)\n";
        for (const auto& comment : csv.comments)
            out << "@" << comment << '\n';
        out << "@ Cells the CIE table leaves blank (not tabulated) are written as 0, as in the source file.\n";
        out << "@ Header: first number unused, then beta in degrees; rows: tan gamma, then r x 10000 per beta.\n";
        out << "@ Written by tools/make_tables.cpp from " << source.filename().string() << ".\n";
        out << "0";
        for (std::size_t c = 1; c < csv.header.size(); ++c)
            out << ',' << csv.header[c].substr(csv.header[c].find('_') + 1);
        out << '\n';
        for (const auto& row : csv.rows) {
            out << trimmed(row.front());
            for (std::size_t c = 1; c <= 20; ++c) {
                const std::string cell = c < row.size() ? trimmed(row[c]) : std::string();
                out << ',' << (cell.empty() ? std::string("0") : cell);
            }
            out << '\n';
        }
        std::cout << file << ": " << name << '\n';
    }
}

// ---- Lumen-method direct shares ------------------------------------------------

// Share of the horizon around a point (x, y) inside the square [0, side]^2 whose
// points at horizontal distance r still lie inside: the circle's arcs beyond each
// wall are cut away; arcs beyond opposite walls never overlap, arcs beyond
// neighbouring walls overlap near the corner.
double insideShare(double x, double y, double side, double r)
{
    if (r <= 0.0)
        return 1.0;
    const std::array<double, 4> distance { side - x, side - y, x, y }; // walls at 0, 90, 180, 270 degrees
    std::array<double, 4> halfArc {};
    for (std::size_t k = 0; k < 4; ++k)
        halfArc[k] = distance[k] < r ? std::acos(std::max(0.0, distance[k]) / r) : 0.0;
    double outside = 0.0;
    for (std::size_t k = 0; k < 4; ++k) {
        outside += 2.0 * halfArc[k];
        outside -= std::max(0.0, halfArc[k] + halfArc[(k + 1) % 4] - kPi / 2.0);
    }
    return std::max(0.0, 1.0 - outside / (2.0 * kPi));
}

// Direct share of a 10-degree zone for a square room of the given side (room
// cavity height 1). A regular layout keeps half a spacing from the walls, so the
// luminaires are taken as spread evenly over the square inset by half the
// spacing; a room no wider than one spacing holds a single luminaire in its middle.
double directShare(int zone, double side, double spacing)
{
    constexpr int kSteps = 200;
    constexpr int kPositions = 48;
    const double g0 = zone * 10.0 * kPi / 180.0;
    const double dg = 10.0 * kPi / 180.0 / kSteps;
    const double inset = std::min(spacing, side) / 2.0;
    const double span = side - 2.0 * inset;
    const int positions = span > 1e-9 ? kPositions : 1;
    double hit = 0.0;
    double total = 0.0;
    for (int s = 0; s < kSteps; ++s) {
        const double gamma = g0 + (s + 0.5) * dg;
        const double weight = std::sin(gamma);
        const double r = std::tan(gamma);
        double share = 0.0;
        for (int i = 0; i < positions; ++i)
            for (int j = 0; j < positions; ++j)
                share += insideShare(inset + span * (i + 0.5) / positions, inset + span * (j + 0.5) / positions,
                    side, r);
        hit += weight * share / (static_cast<double>(positions) * positions);
        total += weight;
    }
    return hit / total;
}

double directShareForSpacing(int zone, double roomIndex, double spacing)
{
    // Room index 5 h (a + b) / (a b) of a square room with h = 1.
    return directShare(zone, 10.0 / roomIndex, spacing);
}

void writeLumenMethodTable(const fs::path& data)
{
    constexpr std::array<double, 3> kSpacings { 0.4, 0.7, 1.0 };
    std::ofstream out = openOutput(data / "zev_str.dat");
    out << "@ zev_str.dat: share of a zone's flux that reaches the work plane directly (lumen method)\n"
           "@ Computed by tools/make_tables.cpp from geometry alone; no measured figures:\n"
           "@   square room, room cavity height 1; room index k (5 h (a + b) / (a b)) gives the side 10 / k;\n"
           "@   point luminaires at spacing s x height keep half a spacing from the walls: they are taken as\n"
           "@   spread evenly over the floor inset by s / 2 (one luminaire in the middle when side <= s);\n"
           "@   constant intensity within a 10-degree zone; a ray counts when it meets the work plane\n"
           "@   inside the room.\n"
           "@ Nine groups, zones gamma 0-10 .. 80-90 degrees; in each, lines for s = 0.4, 0.7, 1.0;\n"
           "@ value c of a line belongs to the room index c + 1.\n";
    for (int zone = 0; zone < 9; ++zone) {
        out << "@ zone " << zone * 10 << "-" << zone * 10 + 10 << " degrees\n";
        for (double spacing : kSpacings) {
            for (int index = 1; index <= 10; ++index) {
                if (index > 1)
                    out << ',';
                out << format("%.4f", directShareForSpacing(zone, index, spacing));
            }
            out << '\n';
        }
    }
    std::cout << "zev_str.dat: 27 lines\n";
}

} // namespace

int main(int argc, char** argv)
{
    const fs::path reference = argc > 1 ? fs::path(argv[1]) : fs::path(KZEV_SHARED_DIR) / "reference";
    const fs::path data = argc > 2 ? fs::path(argv[2]) : fs::path(KZEV_SOURCE_DIR) / "data";
    try {
        fs::create_directories(data);
        writePositionIndex(reference, data);
        writeRoadTables(reference, data);
        writeLumenMethodTable(data);
    } catch (const std::exception& error) {
        std::cerr << "kzev_make_tables: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
