#include "import/KnepClasses.h"

#include "import/ArchiveSkip.h"
#include "platform/Archive.h"

using kzev::Archive;
using kzev::skipDoubles;
using kzev::skipLongs;

namespace {

CVector readVector(Archive& ar)
{
    CVector v { 0.0, 0.0, 0.0 };
    v.Serialize(ar);
    return v;
}

/** Reads a record list: a 4-byte count, then each record into a fresh element. */
template <typename T>
void readRecords(Archive& ar, std::vector<T>& list, std::int32_t version)
{
    list.clear();
    const std::uint32_t count = ar.readArrayCount(T::kMinRecordBytes);
    list.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        T record;
        record.Serialize(ar, version);
        list.push_back(std::move(record));
    }
}

std::vector<std::string> readStringList(Archive& ar)
{
    const std::uint32_t count = ar.readShortCount(1);
    std::vector<std::string> list;
    list.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i)
        list.push_back(ar.readString());
    return list;
}

} // namespace

void CKnepPointCalc::Serialize(Archive& ar, std::int32_t)
{
    m_value0 = ar.readDword();
    m_first = ar.readDouble();
    m_second = ar.readDouble();
    m_fourth = ar.readDouble();
}

void CKnepWorkSystem::Serialize(Archive& ar, std::int32_t version)
{
    m_name = ar.readString();
    m_countsAt = ar.position();
    m_rows = ar.readDword();
    m_pointsPerRow = ar.readDword();
    m_reflectance = ar.readDouble();
    for (std::int32_t& value : m_ints)
        value = ar.readLong();
    for (double& value : m_doubles)
        value = ar.readDouble();
    if (version >= 4001)
        m_value4001 = ar.readDword();
    readRecords(ar, m_points, version);
    m_origin = readVector(ar);
    m_axis1 = readVector(ar);
    m_axis2 = readVector(ar);
    m_direction1 = readVector(ar);
    m_direction2 = readVector(ar);
}

void CKnepWindowSystem::Serialize(Archive& ar, std::int32_t version)
{
    m_name = ar.readString();
    skipLongs(ar, 2);
    skipDoubles(ar, 1);
    skipLongs(ar, 4);
    skipDoubles(ar, 4);
    if (version >= 4003) {
        skipDoubles(ar, 3);
        skipLongs(ar, 1);
    }
    for (int i = 0; i < 6; ++i)
        (void)readVector(ar);
}

CKnepXSystem::CKnepXSystem()
{
    m_vectors.fill(CVector { 0.0, 0.0, 0.0 });
}

void CKnepXSystem::Serialize(Archive& ar, std::int32_t version)
{
    m_name = ar.readString();
    m_flagsAt = ar.position();
    for (std::int32_t& flag : m_flags)
        flag = ar.readLong();
    for (double& value : m_doubles)
        value = ar.readDouble();
    for (std::int32_t& value : m_ints)
        value = ar.readLong();
    for (std::uint32_t& value : m_values)
        value = ar.readDword();
    if (version >= 4002)
        m_colour = ar.readDword();
    if (version >= 4003)
        m_last = ar.readDword();
    for (CVector& v : m_vectors)
        v = readVector(ar);
}

CKnepRoom::CKnepRoom()
    : m_stringLists { std::vector<std::string> { "0.1", "0.2", "0.7", "1.0", "3.0", "4.0", "5.0", "7.0", "10.0" },
        std::vector<std::string> { "0.9", "1.2", "1.5", "2.0", "3.0", "4.0", "5.0", "7.0", "10.0" },
        std::vector<std::string> { "0.5", "1.5" } }
{
}

void CKnepRoom::Serialize(Archive& ar, std::int32_t version)
{
    m_name = ar.readString();
    m_k = ar.readLong();
    m_dimensionsAt = ar.position();
    m_d3 = ar.readDouble();
    m_d2 = ar.readDouble();
    m_d1 = ar.readDouble();
    skipLongs(ar, 9);
    skipLongs(ar, 1);
    skipDoubles(ar, 1);
    skipLongs(ar, 4);
    m_reflectancesAt = ar.position();
    for (double& rho : m_reflectances)
        rho = ar.readDouble();
    skipLongs(ar, 2);
    m_l = ar.readLong();
    if (version >= 4001) {
        (void)ar.readBytes(8);
        skipLongs(ar, 1);
        skipDoubles(ar, 1);
    }
    if (version >= 4002)
        skipLongs(ar, 4);
    if (version >= 4003) {
        skipLongs(ar, 1);
        skipDoubles(ar, 1);
    }
    if (version >= kzev::kKnepVersion4000) {
        (void)readVector(ar);
        (void)readVector(ar);
    }
    readRecords(ar, m_workSystemsA, version);
    readRecords(ar, m_workSystemsB, version);
    readRecords(ar, m_windowsA, version);
    readRecords(ar, m_windowsB, version);
    readRecords(ar, m_obstacles, version);
    for (std::vector<std::string>& list : m_stringLists)
        list = readStringList(ar);
    m_position = readVector(ar);
}

CKnepBuilding::CKnepBuilding()
    : m_rooms(1)
{
}

void CKnepBuilding::Serialize(Archive& ar, std::int32_t version)
{
    m_name = ar.readString();
    skipLongs(ar, 2);
    skipDoubles(ar, 2);
    skipLongs(ar, 3);
    skipLongs(ar, 2);
    if (version >= 4002)
        skipLongs(ar, 1);
    readRecords(ar, m_rooms, version);
    for (int i = 0; i < 6; ++i)
        (void)readVector(ar);
}
