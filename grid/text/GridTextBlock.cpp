#include "grid/text/GridTextBlock.h"

namespace kzev {

namespace {

std::string_view trimmed(std::string_view text)
{
    constexpr std::string_view kBlank = " \t\r\n\v\f";
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(kBlank) - first + 1);
}

} // namespace

std::vector<std::string_view> textBlockLines(std::string_view text)
{
    std::vector<std::string_view> lines;
    while (true) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        lines.push_back(line);
        if (end == std::string_view::npos)
            break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

std::vector<std::string_view> textBlockFields(std::string_view line)
{
    std::vector<std::string_view> fields;
    if (line.empty())
        return fields;
    while (true) {
        const std::size_t end = line.find('\t');
        fields.push_back(trimmed(line.substr(0, end)));
        if (end == std::string_view::npos)
            break;
        line.remove_prefix(end + 1);
    }
    return fields;
}

std::string clipboardCellText(std::string_view text)
{
    std::string out(text);
    const std::string_view number = trimmed(text);
    std::size_t i = 0;
    if (i < number.size() && (number[i] == '-' || number[i] == '+'))
        ++i;
    const std::size_t digitsBefore = i;
    while (i < number.size() && number[i] >= '0' && number[i] <= '9')
        ++i;
    if (i == digitsBefore || i >= number.size() || number[i] != '.')
        return out;
    const std::size_t point = i++;
    const std::size_t digitsAfter = i;
    while (i < number.size() && number[i] >= '0' && number[i] <= '9')
        ++i;
    if (i == digitsAfter || i != number.size())
        return out;
    out[static_cast<std::size_t>(number.data() - text.data()) + point] = ',';
    return out;
}

} // namespace kzev
