#include "calc/MaintenanceTable.h"

#include "platform/FileIo.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

namespace kzev {

namespace {

// Lines are read as the file format defines them: at most 511 characters.
constexpr std::size_t kMaxLine = 511;

class DataLines {
public:
    explicit DataLines(std::istream& in)
        : m_in(in)
    {
    }

    // The next line that is neither a comment nor empty.
    std::optional<std::string> next()
    {
        std::string line;
        while (std::getline(m_in, line)) {
            if (line.size() > kMaxLine)
                line.resize(kMaxLine);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            if (line.empty() || line.front() == '@')
                continue;
            return line;
        }
        return std::nullopt;
    }

private:
    std::istream& m_in;
};

// Reads the leading comma-separated numbers of a line, like "%lf,%lf,..." with
// sscanf but independent of the process locale (a Czech locale would want
// decimal commas). Returns how many numbers were read before the first field
// that is not one.
int readNumbers(std::string_view line, std::vector<double>& numbers, std::size_t wanted)
{
    numbers.clear();
    while (numbers.size() < wanted) {
        const std::size_t comma = line.find(',');
        std::string_view field = line.substr(0, comma);
        while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
            field.remove_prefix(1);
        double value = 0.0;
        const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (ec != std::errc() || end == field.data())
            break;
        numbers.push_back(value);
        if (comma == std::string_view::npos)
            break;
        line.remove_prefix(comma + 1);
    }
    return static_cast<int>(numbers.size());
}

bool namesClass(const std::vector<double>& numbers, std::int32_t cleanlinessClass)
{
    // Compared as a number: a huge or NaN class field names no class rather than wrapping into one.
    return !numbers.empty() && std::trunc(numbers[0]) == static_cast<double>(cleanlinessClass);
}

} // namespace

MaintenanceTableResult readMaintenanceTable(const std::filesystem::path& file, std::int32_t cleanlinessClass)
{
    MaintenanceTableResult result;
    std::istringstream in = readableStream(file);
    if (!in) {
        result.error = MaintenanceTableError::CannotOpen;
        return result;
    }
    DataLines lines(in);
    MaintenanceTableRow& row = result.row;

    std::vector<double> numbers;
    const std::optional<std::string> gama = lines.next();
    if (!gama || readNumbers(*gama, numbers, 6) != 6) {
        result.error = MaintenanceTableError::BadGama;
        return result;
    }
    std::copy(numbers.begin(), numbers.end(), row.exponentB.begin());

    bool found = false;
    for (int examined = 0; examined < 6 && !found; ++examined) {
        const std::optional<std::string> line = lines.next();
        if (!line)
            break;
        const int read = readNumbers(*line, numbers, 7);
        if (namesClass(numbers, cleanlinessClass)) {
            if (read != 7)
                break;
            std::copy(numbers.begin() + 1, numbers.end(), row.coefficientA.begin());
            found = true;
        }
    }
    if (!found) {
        result.error = MaintenanceTableError::BadTauS;
        return result;
    }

    found = false;
    for (int examined = 0; examined < 5 && !found; ++examined) {
        const std::optional<std::string> line = lines.next();
        if (!line)
            break;
        const int read = readNumbers(*line, numbers, 3);
        if (namesClass(numbers, cleanlinessClass)) {
            if (read < 2)
                break;
            row.residualP = numbers[1];
            row.timeConstantT = read >= 3 ? numbers[2] : 1.0;
            found = true;
        }
    }
    if (!found)
        result.error = MaintenanceTableError::BadTauP;
    return result;
}

} // namespace kzev
