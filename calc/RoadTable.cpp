#include "calc/RoadTable.h"

#include "calc/FileHeadLine.h"
#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <charconv>
#include <cmath>
#include <string_view>

namespace kzev {

namespace {

constexpr int kCannotOpenId = 61446;
constexpr int kNoRowsId = 63804;

// Lines are read as the file format defines them: at most 510 characters.
constexpr std::size_t kMaxLine = 510;
constexpr std::size_t kNumbersPerLine = 1 + RoadTable::kColumns;

// Reads the leading comma-separated numbers of a line the way "%lf,%lf,..."
// would, but in the C locale whatever the process locale is: stops at the
// first field that does not begin with a finite number.
std::size_t readNumbers(std::string_view line, std::array<double, kNumbersPerLine>& numbers)
{
    std::size_t count = 0;
    while (count < numbers.size()) {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
        double value = 0.0;
        const auto [end, ec] = std::from_chars(line.data(), line.data() + line.size(), value);
        if (ec != std::errc() || !std::isfinite(value))
            break;
        numbers[count++] = value;
        line.remove_prefix(static_cast<std::size_t>(end - line.data()));
        if (line.empty() || line.front() != ',')
            break;
        line.remove_prefix(1);
    }
    return count;
}

// The number between the last blank before the last ")" and that ")"; none
// when the line has no ")".
std::optional<double> scaleOf(std::string_view line)
{
    const std::size_t close = line.rfind(')');
    if (close == std::string_view::npos)
        return std::nullopt;
    const std::size_t blank = close == 0 ? std::string_view::npos : line.rfind(' ', close - 1);
    const std::size_t start = blank == std::string_view::npos ? 0 : blank + 1;
    return StrToDouble(line.substr(start, close - start));
}

// Where a value lies among ascending keys: the two keys around it and the
// fraction between them.
struct Bracket {
    std::size_t low = 0;
    std::size_t high = 0;
    double fraction = 0.0;
};

template <typename KeyOf>
Bracket bracket(double x, std::size_t count, KeyOf key)
{
    if (count < 2)
        return {};
    const auto between = [&](std::size_t i) {
        const double width = key(i + 1) - key(i);
        // Equal neighbouring keys would divide by zero; the lower one is taken.
        return Bracket { i, i + 1, width != 0.0 ? (x - key(i)) / width : 0.0 };
    };
    if (x < key(0))
        return between(0);
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (key(i) <= x && x <= key(i + 1))
            return between(i);
    }
    // Beyond the last key (or keys out of order, or no number at all): the edge.
    return { count - 1, count - 1, 0.0 };
}

} // namespace

std::optional<RoadTable> RoadTable::read(const std::filesystem::path& file)
{
    std::istringstream in = readableStream(file);
    if (!in)
        return std::nullopt;
    RoadTable table;
    std::string line;
    std::int32_t lineNumber = 0;
    std::array<double, kNumbersPerLine> numbers {};
    while (table.m_rows.size() < kMaxRows && std::getline(in, line)) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() > kMaxLine)
            line.resize(kMaxLine);
        if (line.rfind("@$", 0) == 0) {
            // A later information line without a scale does not undo the title's.
            if (const std::optional<double> scale = scaleOf(line))
                table.m_scale = *scale;
            continue;
        }
        if (!line.empty() && line.front() == '@')
            continue;
        // Shorter than five characters with its line end.
        if (line.size() + 1 < 5)
            continue;
        numbers.fill(0.0);
        const std::size_t read = readNumbers(line, numbers);
        if (read < kNumbersPerLine)
            table.m_incompleteLines.push_back(lineNumber);
        if (!table.m_hasHeader) {
            std::copy(numbers.begin() + 1, numbers.end(), table.m_beta.begin());
            table.m_hasHeader = true;
            continue;
        }
        Row row;
        row.tanGamma = numbers[0];
        std::copy(numbers.begin() + 1, numbers.end(), row.values.begin());
        table.m_rows.push_back(row);
    }
    return table;
}

double RoadTable::lookup(double beta, double tanGamma) const
{
    if (m_rows.empty())
        return 0.0;
    const Bracket column = bracket(beta, kColumns, [this](std::size_t i) { return m_beta[i]; });
    const Bracket row = bracket(tanGamma, m_rows.size(), [this](std::size_t i) { return m_rows[i].tanGamma; });
    const auto alongBeta = [&](const Row& r) {
        const double low = r.values[column.low];
        return low + (r.values[column.high] - low) * column.fraction;
    };
    const double a = alongBeta(m_rows[row.low]);
    const double b = alongBeta(m_rows[row.high]);
    return a + (b - a) * row.fraction;
}

std::filesystem::path roadTablePath(const std::filesystem::path& dataFolder, std::int32_t number)
{
    return dataFolder / formatC("ZEV_JV%d.dat", static_cast<int>(number));
}

std::optional<RoadTable> readRoadTable(const std::filesystem::path& dataFolder, std::int32_t number)
{
    const std::filesystem::path file = roadTablePath(dataFolder, number);
    std::optional<RoadTable> table = RoadTable::read(file);
    if (!table) {
        services().messageBox->show(formatC(loadString(kCannotOpenId).c_str(), file.string().c_str()),
            MessageIcon::Error, MessageButtons::Ok);
        return std::nullopt;
    }
    if (table->m_rows.empty()) {
        services().messageBox->show(formatC(loadString(kNoRowsId).c_str(), file.string().c_str()),
            MessageIcon::Error, MessageButtons::Ok);
        return std::nullopt;
    }
    return table;
}

std::string roadTableTitle(const std::filesystem::path& dataFolder, std::int32_t number)
{
    return ReadFileHeadLine(roadTablePath(dataFolder, number));
}

} // namespace kzev
