#pragma once

// Writes daylight project files field by field, as the daylight program lays
// them out, for the import tests and the fuzz seeds.

#include "platform/Archive.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kzev::test {

struct KnepPointSpec {
    double first = 0.0, second = 0.0;
};

struct KnepPlaneSpec {
    std::string name = "Rovina";
    std::uint32_t rows = 0, perRow = 0;
    double reflectance = 0.2;
    std::int32_t ints[5] { 112, 0, 1, 6, -1 };
    double doubles[3] { 0.5, 1.5, 2.5 };
    std::vector<KnepPointSpec> points;
    double origin[3] { 0.5, 0.5, 0.85 };
    double axis1[3] { 1.0, 0.0, 0.0 };
    double axis2[3] { 0.0, 1.0, 0.0 };
    double normal[3] { 0.0, 0.0, 1.0 };
};

struct KnepObstacleSpec {
    std::string name = "Překážka";
    std::int32_t counts[2] { 2, 1 };
    double rho = 0.4, tau = 0.1;
    std::int32_t ints[3] { 0, 1, 0 };
    double vectors[6][3] { { 1, 2, 0 }, { 0.5, 0, 0 }, { 0, 0.5, 0 }, { 0, 0, 2 }, { 1, 0, 0 }, { 0, 0, 0 } };
};

struct KnepRoomSpec {
    std::string name = "Místnost";
    std::int32_t k = 7;
    double d3 = 12.0, d2 = 8.0, d1 = 3.5;
    double rho[7] { 0.8, 0.6, 0.55, 0.5, 0.45, 0.25, 0.7 };
    std::int32_t l = 4;
    std::vector<KnepPlaneSpec> planesA, planesB;
    std::vector<KnepObstacleSpec> obstacles;
    std::int32_t windowsA = 0, windowsB = 0;
    double position[3] { 1.0, 2.0, 0.0 };
};

struct KnepProjectSpec {
    std::int32_t version = 4003;
    std::int32_t print[8] { 0, 1, 0, 1, 0, 1, 0, 1 }; // Headpage, Headprogram, Roomdim, Roomro, Work, X, Point, Graph
    std::int32_t pageValue = 77;
    std::int32_t margins[4] { 21, 22, 23, 24 };
    std::string designer = "Ing. Nováková", company = "Světlo s.r.o.";
    std::int32_t dxfScale = 100;
    std::string building = "Škola", date = "1.2.2003", project = "Přístavba";
    std::int32_t saveBeforeCalc = 0;
    double r1 = 8.0;
    std::int32_t r2 = 5;
    std::int32_t unitMm = 0;
    std::vector<std::vector<KnepRoomSpec>> buildings { { KnepRoomSpec {} } };
    std::int32_t trailingPlanes = 1;
};

class KnepWriter {
public:
    static std::vector<std::uint8_t> write(const KnepProjectSpec& p)
    {
        KnepWriter w(p.version);
        Archive& ar = w.m_ar;
        const std::int32_t v = p.version;
        ar.writeLong(v);
        if (v >= 4000)
            ar.writeLong(0);
        w.longs(4, 1);
        w.longs(3, 2);
        ar.writeLong(3);
        ar.writeLong(p.print[0]);
        ar.writeLong(p.print[1]);
        ar.writeLong(p.print[2]);
        ar.writeLong(p.print[3]);
        ar.writeLong(p.print[4]);
        ar.writeLong(9);
        ar.writeLong(p.print[5]);
        ar.writeLong(9);
        ar.writeLong(p.print[6]);
        ar.writeLong(p.print[7]);
        if (v >= 4001)
            w.longs(2, 5);
        ar.writeLong(p.pageValue);
        for (const std::int32_t m : p.margins)
            ar.writeLong(m);
        ar.writeString(p.designer);
        ar.writeString(p.company);
        ar.writeLong(p.dxfScale);
        if (v >= 4002) {
            ar.writeString(p.building);
            ar.writeString(p.date);
            ar.writeString(p.project);
            ar.writeLong(p.saveBeforeCalc);
            ar.writeLong(0);
            ar.writeDword(0);
        }
        w.doubles(5, 1.5);
        ar.writeLong(0);
        w.doubles(3, 2.5);
        ar.writeDouble(p.r1);
        ar.writeLong(p.r2);
        ar.writeDouble(0.0);
        w.longs(2, 0);
        ar.writeLong(p.unitMm);
        w.doubles(3, 0.0);
        w.longs(10, 0);
        if (v >= 4001)
            ar.writeDouble(0.0);
        ar.writeLong(static_cast<std::int32_t>(p.buildings.size()));
        for (const auto& rooms : p.buildings)
            w.building(rooms);
        ar.writeLong(p.trailingPlanes);
        for (std::int32_t i = 0; i < p.trailingPlanes; ++i)
            w.plane(KnepPlaneSpec {});
        return ar.bytes();
    }

private:
    explicit KnepWriter(std::int32_t version)
        : m_version(version)
    {
    }

    void longs(int n, std::int32_t value)
    {
        for (int i = 0; i < n; ++i)
            m_ar.writeLong(value);
    }
    void doubles(int n, double value)
    {
        for (int i = 0; i < n; ++i)
            m_ar.writeDouble(value);
    }
    void vector(const double (&v)[3])
    {
        for (const double c : v)
            m_ar.writeDouble(c);
    }
    void zeroVectors(int n) { doubles(3 * n, 0.0); }

    void building(const std::vector<KnepRoomSpec>& rooms)
    {
        m_ar.writeString("Budova");
        longs(2, 1);
        doubles(2, 0.5);
        longs(3, 0);
        longs(2, 1);
        if (m_version >= 4002)
            m_ar.writeDword(0xFFFFFF);
        m_ar.writeLong(static_cast<std::int32_t>(rooms.size()));
        for (const KnepRoomSpec& room : rooms)
            this->room(room);
        zeroVectors(6);
    }

    void room(const KnepRoomSpec& r)
    {
        m_ar.writeString(r.name);
        m_ar.writeLong(r.k);
        m_ar.writeDouble(r.d3);
        m_ar.writeDouble(r.d2);
        m_ar.writeDouble(r.d1);
        longs(9, 0);
        m_ar.writeLong(0);
        m_ar.writeDouble(0.0);
        longs(4, 0);
        for (const double rho : r.rho)
            m_ar.writeDouble(rho);
        m_ar.writeLong(0);
        m_ar.writeLong(0);
        m_ar.writeLong(r.l);
        if (m_version >= 4001) {
            doubles(1, 0.0); // the 8-byte value
            m_ar.writeLong(0);
            m_ar.writeDouble(0.0);
        }
        if (m_version >= 4002)
            longs(4, 0);
        if (m_version >= 4003) {
            m_ar.writeLong(0);
            m_ar.writeDouble(0.0);
        }
        if (m_version >= 4000)
            zeroVectors(2);
        m_ar.writeLong(static_cast<std::int32_t>(r.planesA.size()));
        for (const KnepPlaneSpec& p : r.planesA)
            plane(p);
        m_ar.writeLong(static_cast<std::int32_t>(r.planesB.size()));
        for (const KnepPlaneSpec& p : r.planesB)
            plane(p);
        for (const std::int32_t windows : { r.windowsA, r.windowsB }) {
            m_ar.writeLong(windows);
            for (std::int32_t i = 0; i < windows; ++i)
                window();
        }
        m_ar.writeLong(static_cast<std::int32_t>(r.obstacles.size()));
        for (const KnepObstacleSpec& o : r.obstacles)
            obstacle(o);
        for (int list = 0; list < 3; ++list) {
            m_ar.writeShortCount(2);
            m_ar.writeString("1.0");
            m_ar.writeString("2.0");
        }
        vector(r.position);
    }

    void plane(const KnepPlaneSpec& p)
    {
        m_ar.writeString(p.name);
        m_ar.writeDword(p.rows);
        m_ar.writeDword(p.perRow);
        m_ar.writeDouble(p.reflectance);
        for (const std::int32_t i : p.ints)
            m_ar.writeLong(i);
        for (const double d : p.doubles)
            m_ar.writeDouble(d);
        if (m_version >= 4001)
            m_ar.writeDword(0);
        m_ar.writeLong(static_cast<std::int32_t>(p.points.size()));
        for (const KnepPointSpec& point : p.points) {
            m_ar.writeDword(0);
            m_ar.writeDouble(point.first);
            m_ar.writeDouble(point.second);
            m_ar.writeDouble(1.0);
        }
        vector(p.origin);
        vector(p.axis1);
        vector(p.axis2);
        zeroVectors(1);
        vector(p.normal);
    }

    void window()
    {
        m_ar.writeString("Okno");
        longs(2, 1);
        doubles(1, 0.5);
        longs(4, 0);
        doubles(4, 0.8);
        if (m_version >= 4003) {
            doubles(3, 0.0);
            m_ar.writeLong(0);
        }
        zeroVectors(6);
    }

    void obstacle(const KnepObstacleSpec& o)
    {
        m_ar.writeString(o.name);
        m_ar.writeLong(o.counts[0]);
        m_ar.writeLong(o.counts[1]);
        m_ar.writeDouble(o.rho);
        m_ar.writeDouble(o.tau);
        for (const std::int32_t i : o.ints)
            m_ar.writeLong(i);
        m_ar.writeDword(1);
        m_ar.writeDword(1);
        if (m_version >= 4002)
            m_ar.writeDword(0x808080);
        if (m_version >= 4003)
            m_ar.writeDword(0xFFFFFFFF);
        for (const auto& v : o.vectors)
            vector(v);
    }

    std::int32_t m_version;
    Archive m_ar = Archive::forStoring();
};

/** The project of the fixture files: one building, a room with a 2 × 2 plane of daylight values, an obstacle, a window. */
inline KnepProjectSpec sampleKnepProject(std::int32_t version)
{
    KnepProjectSpec p;
    p.version = version;
    KnepRoomSpec& room = p.buildings[0][0];
    KnepPlaneSpec plane;
    plane.name = "Srovnávací rovina";
    plane.rows = 2;
    plane.perRow = 2;
    plane.points = { { 12.5, 2.5 }, { 1.0, 0.0 }, { 2.0, 0.25 }, { 0.0, 0.0 } };
    room.planesB = { plane };
    room.planesA = { KnepPlaneSpec {} };
    room.obstacles = { KnepObstacleSpec {} };
    room.windowsA = 1;
    return p;
}

} // namespace kzev::test
