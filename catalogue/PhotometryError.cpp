#include "catalogue/PhotometryError.h"

#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace kzev {

namespace {

constexpr int kIdFileLineReason = 64700;
constexpr int kIdFileReason = 64701;

std::string compose(const std::string& file, int line, const std::string& reason)
{
    if (line < 0)
        return reason;
    if (line > 0)
        return formatC(loadString(kIdFileLineReason).c_str(), file.c_str(), line, reason.c_str());
    return formatC(loadString(kIdFileReason).c_str(), file.c_str(), reason.c_str());
}

} // namespace

PhotometryError::PhotometryError(std::string file, int line, std::string reason)
    : std::runtime_error(compose(file, line, reason))
    , m_file(std::move(file))
    , m_line(line)
    , m_reason(std::move(reason))
{
}

} // namespace kzev
