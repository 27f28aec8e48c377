#include "calc/LumenMethodTable.h"

#include "platform/FileIo.h"

#include <charconv>
#include <string>
#include <string_view>

namespace kzev {

namespace {

// Lines are read as the file format defines them: at most 511 characters.
constexpr std::size_t kMaxLine = 511;

bool nextDataLine(std::istream& in, std::string& line)
{
    while (std::getline(in, line)) {
        if (line.size() > kMaxLine)
            line.resize(kMaxLine);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line.front() == '@')
            continue;
        return true;
    }
    return false;
}

// Ten comma-separated numbers, read in the C locale whatever the user's is.
bool readShares(std::string_view line, std::array<double, kLumenColumns>& shares)
{
    for (std::size_t c = 0; c < shares.size(); ++c) {
        const std::size_t comma = line.find(',');
        if (c + 1 < shares.size() && comma == std::string_view::npos)
            return false;
        std::string_view field = line.substr(0, comma);
        while (!field.empty() && (field.front() == ' ' || field.front() == '\t'))
            field.remove_prefix(1);
        if (!field.empty() && field.front() == '+')
            field.remove_prefix(1);
        double value = 0.0;
        const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
        if (ec != std::errc() || end == field.data())
            return false;
        // A share is a fraction of a zone's flux; anything else is a damaged file.
        if (!(value >= 0.0 && value <= 1.0))
            return false;
        shares[c] = value;
        if (comma != std::string_view::npos)
            line.remove_prefix(comma + 1);
    }
    return true;
}

} // namespace

LumenTableError readLumenMethodTable(const std::filesystem::path& file, LumenMethodTable& table)
{
    std::istringstream in = readableStream(file);
    if (!in)
        return LumenTableError::CannotOpen;
    LumenMethodTable read {};
    std::string line;
    for (int zone = 0; zone < kLumenZones; ++zone) {
        for (int ratioLine = 0; ratioLine < kLumenLines; ++ratioLine) {
            if (!nextDataLine(in, line) || !readShares(line, read[ratioLine][zone]))
                return LumenTableError::BadData;
        }
    }
    table = read;
    return LumenTableError::None;
}

} // namespace kzev
