#pragma once

// Reading a DXF file back with ezdxf (python3-ezdxf) and its audit, for the
// tests of what the program writes to DXF and draws in the drawing window.

#include "calc/IsolineGrid.h"
#include "calc/IsolineTracer.h"
#include "model/CRoom.h"
#include "model/CWorkSystem.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <locale>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace kzev::test {

// The interpreter of the Debian package python3-ezdxf.
inline constexpr const char* kPython = "/usr/bin/python3";

struct DxfLine {
    std::string layer;
    int colour = 0;
    CVector from { 0.0, 0.0, 0.0 };
    CVector to { 0.0, 0.0, 0.0 };
};

struct DxfText {
    std::string layer;
    int colour = 0;
    double height = 0.0;
    /** Degrees. */
    double rotation = 0.0;
    std::string text;
};

struct DxfInsert {
    std::string layer;
    std::string block;
    CVector at { 0.0, 0.0, 0.0 };
    double scale = 0.0;
    /** Degrees. */
    double rotation = 0.0;
    /** Tag and text of each attribute. */
    std::vector<std::pair<std::string, std::string>> attributes;
};

struct ReadBack {
    int status = -1;
    int errors = -1;
    int fixes = -1;
    std::vector<DxfLine> lines;
    std::vector<DxfText> texts;
    std::vector<DxfInsert> inserts;
    std::string output;
};

// "INSERT layer block x y z xscale rotation TAG=text|TAG=text": the block name and the texts may hold blanks.
inline void parseInsert(const std::string& line, ReadBack& back)
{
    static const std::regex form(R"(^INSERT (\S+) (.+?) (\S+) (\S+) (\S+) (\S+) (\S+)(?: ([A-Za-z_].*))?$)");
    std::smatch m;
    if (!std::regex_match(line, m, form))
        return;
    DxfInsert insert;
    insert.layer = m[1];
    insert.block = m[2];
    const auto number = [](const std::string& text) {
        std::istringstream in(text);
        in.imbue(std::locale::classic());
        double value = 0.0;
        in >> value;
        return value;
    };
    insert.at = { number(m[3]), number(m[4]), number(m[5]) };
    insert.scale = number(m[6]);
    insert.rotation = number(m[7]);
    std::istringstream attributes(m[8].str());
    for (std::string item; std::getline(attributes, item, '|');) {
        const std::size_t equals = item.find('=');
        if (equals != std::string::npos)
            insert.attributes.emplace_back(item.substr(0, equals), item.substr(equals + 1));
    }
    back.inserts.push_back(std::move(insert));
}

// Runs the ezdxf reader over the file and parses what it lists.
inline ReadBack readWithEzdxf(const std::filesystem::path& file)
{
    ReadBack back;
    const std::string command = std::string(kPython) + " '" KZEV_SOURCE_DIR "/tests/cad/dxf_entities.py' '"
        + file.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe)
        return back;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe))
        back.output += buffer;
    back.status = ::pclose(pipe);
    std::istringstream in(back.output);
    in.imbue(std::locale::classic());
    for (std::string line; std::getline(in, line);) {
        std::istringstream fields(line);
        fields.imbue(std::locale::classic());
        std::string kind;
        fields >> kind;
        if (kind == "INSERT") {
            parseInsert(line, back);
        } else if (kind == "errors") {
            fields >> back.errors;
        } else if (kind == "fixes") {
            fields >> back.fixes;
        } else if (kind == "LINE") {
            DxfLine l;
            fields >> l.layer >> l.colour >> l.from.x >> l.from.y >> l.from.z >> l.to.x >> l.to.y >> l.to.z;
            back.lines.push_back(l);
        } else if (kind == "TEXT") {
            DxfText t;
            int halign = 0;
            std::string x;
            double y = 0.0;
            fields >> t.layer >> t.colour >> t.height >> t.rotation >> halign >> x;
            // A text hanging from its point says TOP before its point.
            if (x == "TOP")
                fields >> x;
            fields >> y >> t.text;
            back.texts.push_back(t);
        }
    }
    return back;
}

// Bilinear value of the area's results at its fractional grid position (u, v).
inline double valueAt(const CWorkSystem& area, double u, double v)
{
    const int i = std::clamp(static_cast<int>(std::floor(u)), 0, area.m_count1 - 2);
    const int j = std::clamp(static_cast<int>(std::floor(v)), 0, area.m_count2 - 2);
    auto at = [&](int a, int b) {
        return areaPointValue(area, area.m_points[static_cast<std::size_t>(a * area.m_count2 + b)]);
    };
    const double s = u - i;
    const double t = v - j;
    return (1 - s) * (1 - t) * at(i, j) + s * (1 - t) * at(i + 1, j) + (1 - s) * t * at(i, j + 1)
        + s * t * at(i + 1, j + 1);
}

// Whether a drawing point (millimetres or metres, room origin added) lies on a level of one of the areas.
inline bool onALevel(const CRoom& room, double unit, const CVector& p)
{
    for (const CWorkSystem& area : room.m_workSystems) {
        const double u = (p.x / unit - room.m_origin.x - area.m_origin.x) / area.m_step1.x;
        const double v = (p.y / unit - room.m_origin.y - area.m_origin.y) / area.m_step2.y;
        if (u < -1e-9 || v < -1e-9 || u > area.m_count1 - 1 + 1e-9 || v > area.m_count2 - 1 + 1e-9)
            continue;
        const double value = valueAt(area, u, v);
        for (const std::string& text : area.m_viewSettings.m_isoIlluminance) {
            const double level = isolineLevelValue(text);
            if (std::fabs(value - level) <= 1e-5 * level + 1e-6)
                return true;
        }
    }
    return false;
}

} // namespace kzev::test
