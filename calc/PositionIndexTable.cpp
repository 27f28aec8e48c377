#include "calc/PositionIndexTable.h"

#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kzev {

namespace {

constexpr int kCannotOpenId = 61446;
constexpr int kReadErrorId = 61474;

// The file format allows lines of at most 511 characters.
constexpr std::size_t kMaxLine = 511;

std::vector<std::string_view> splitTabs(std::string_view line)
{
    std::vector<std::string_view> fields;
    for (;;) {
        const std::size_t tab = line.find('\t');
        fields.push_back(line.substr(0, tab));
        if (tab == std::string_view::npos)
            return fields;
        line.remove_prefix(tab + 1);
    }
}

// The leading number of a field, as atof reads it but in the C locale; none
// when the field holds no number at all.
std::optional<double> leadingNumber(std::string_view field)
{
    while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
        field.remove_prefix(1);
    if (!field.empty() && field.front() == '+')
        field.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (ec != std::errc() || end == field.data() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool nextLine(std::istream& in, std::string& line)
{
    if (!std::getline(in, line))
        return false;
    if (line.size() > kMaxLine)
        line.resize(kMaxLine);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return true;
}

} // namespace

PositionIndexTableError PositionIndexTable::read(const std::filesystem::path& file)
{
    std::istringstream in = readableStream(file);
    if (!in)
        return PositionIndexTableError::CannotOpen;

    std::string line;
    if (!nextLine(in, line))
        return PositionIndexTableError::BadData;
    std::vector<std::string_view> fields = splitTabs(line);
    if (fields.size() <= kColumns)
        return PositionIndexTableError::BadData;
    for (int c = 0; c < kColumns; ++c) {
        const std::optional<double> heading = leadingNumber(fields[c + 1]);
        if (!heading)
            return PositionIndexTableError::BadData;
        m_columnHeadings[c] = *heading;
    }

    for (int r = 0; r < kRows; ++r) {
        if (!nextLine(in, line))
            return PositionIndexTableError::BadData;
        fields = splitTabs(line);
        m_rowHeadings[r] = leadingNumber(fields[0]).value_or(0.0);
        for (int c = 0; c < kColumns; ++c) {
            const std::optional<double> value
                = static_cast<std::size_t>(c + 1) < fields.size() ? leadingNumber(fields[c + 1]) : std::nullopt;
            if (!value)
                return PositionIndexTableError::BadData;
            m_values[r][c] = *value;
        }
    }
    return PositionIndexTableError::None;
}

double PositionIndexTable::lookup(double tr, double hr) const
{
    if (!(hr > -1e-9) || !(tr > -1e-9))
        return -1.0;
    if (tr >= 2.9999 || hr >= 1.8999)
        return -1.0;
    if (hr <= 0.0001 && tr <= 0.0001)
        return 1.0;
    const int i = static_cast<int>(10.0 * hr + 1e-5);
    const int j = static_cast<int>(10.0 * tr + 1e-5);
    double fH = (hr - m_columnHeadings[i]) * 10.0;
    double fT = (tr - m_rowHeadings[j]) * 10.0;
    // CIE 117 gives no index above the brow; a value between such a cell and its
    // neighbours would be made up, so a position that leans on one has none either.
    // A cell the position does not lean on (on the line of its neighbour) is no obstacle.
    const double columnWeight[2] = { 1.0 - fH, fH };
    const double rowWeight[2] = { 1.0 - fT, fT };
    bool anyOpen = false;
    for (int a = 0; a < 2; ++a) {
        for (int b = 0; b < 2; ++b) {
            if (!isOpen(m_values[j + a][i + b]))
                continue;
            anyOpen = true;
            if (rowWeight[a] > kNoWeight && columnWeight[b] > kNoWeight)
                return -1.0;
        }
    }
    if (anyOpen) {
        // Only the cells with weight are read, so an open one adds nothing.
        const auto snap = [](double f) { return f <= kNoWeight ? 0.0 : 1.0 - f <= kNoWeight ? 1.0 : f; };
        fH = snap(fH);
        fT = snap(fT);
        const auto along = [&](int row) {
            const double* v = m_values[row].data();
            return fH == 0.0 ? v[i] : fH == 1.0 ? v[i + 1] : v[i] + (v[i + 1] - v[i]) * fH;
        };
        return fT == 0.0 ? along(j) : fT == 1.0 ? along(j + 1) : along(j) + (along(j + 1) - along(j)) * fT;
    }
    const double vj = m_values[j][i] + (m_values[j][i + 1] - m_values[j][i]) * fH;
    const double vj1 = m_values[j + 1][i] + (m_values[j + 1][i + 1] - m_values[j + 1][i]) * fH;
    return vj + (vj1 - vj) * fT;
}

bool loadPositionIndexTable(const std::filesystem::path& dataFolder, PositionIndexTable& table)
{
    const std::filesystem::path file = dataFolder / kPositionIndexTableFile;
    const PositionIndexTableError error = table.read(file);
    if (error == PositionIndexTableError::None)
        return true;
    const int id = error == PositionIndexTableError::CannotOpen ? kCannotOpenId : kReadErrorId;
    services().messageBox->show(
        formatC(loadString(id).c_str(), file.string().c_str()), MessageIcon::Error, MessageButtons::Ok);
    return false;
}

} // namespace kzev
