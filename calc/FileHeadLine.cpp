#include "calc/FileHeadLine.h"

#include "platform/FileIo.h"

namespace kzev {

std::string ReadFileHeadLine(const std::filesystem::path& file)
{
    std::istringstream in = readableStream(file);
    std::string first;
    std::string second;
    if (!in || !std::getline(in, first) || !std::getline(in, second))
        return {};
    if (second.rfind("@$", 0) != 0)
        return {};
    while (!second.empty() && (second.back() == '\r' || second.back() == '\n'))
        second.pop_back();
    std::string title;
    for (std::size_t i = 0; i < second.size(); ++i) {
        if (second.compare(i, 2, "@$") == 0) {
            ++i;
            continue;
        }
        title += second[i];
    }
    return title;
}

} // namespace kzev
