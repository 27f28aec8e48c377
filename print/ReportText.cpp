#include "print/ReportText.h"

namespace kzev {

std::optional<std::pair<std::string, std::string>> SplitAtSecondComma(const std::string& text)
{
    const std::size_t first = text.find(',');
    if (first == std::string::npos)
        return std::nullopt;
    const std::size_t second = text.find(',', first + 1);
    if (second == std::string::npos)
        return std::nullopt;
    return std::pair { text.substr(0, second), text.substr(second + 1) };
}

} // namespace kzev
