// The text blocks pasted or dropped onto a grid: any bytes split into lines and
// fields that put back together give the text again (less the carriage returns and
// the blanks around fields), with no tab left inside a field.
#include "fuzz/FuzzSupport.h"
#include "grid/text/GridTextBlock.h"

#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t lines = 0;
    std::size_t fieldBytes = 0;
    for (const std::string_view line : kzev::textBlockLines(text)) {
        ++lines;
        if (line.find('\n') != std::string_view::npos)
            kzev::fuzz::fail("a line holds a line feed");
        for (const std::string_view field : kzev::textBlockFields(line)) {
            if (field.find('\t') != std::string_view::npos)
                kzev::fuzz::fail("a field holds a tab");
            if (!field.empty() && (field.front() == ' ' || field.back() == ' '))
                kzev::fuzz::fail("a field keeps its blanks");
            fieldBytes += field.size();
        }
    }
    std::size_t feeds = 0;
    for (const char c : text)
        feeds += c == '\n' ? 1 : 0;
    if (lines != feeds + 1)
        kzev::fuzz::fail("the lines do not follow the line feeds");
    if (fieldBytes > size)
        kzev::fuzz::fail("the fields hold more than the text");
    return 0;
}
