#include "platform/TextUtil.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>
#include <vector>

namespace kzev {

namespace {

/** The C locale, made once for the process. */
locale_t cLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", nullptr);
    return locale;
}

/** Switches the calling thread to the C locale for its lifetime. */
class ScopedCLocale {
public:
    ScopedCLocale()
        : m_previous(uselocale(cLocale()))
    {
    }
    ~ScopedCLocale() { uselocale(m_previous); }
    ScopedCLocale(const ScopedCLocale&) = delete;
    ScopedCLocale& operator=(const ScopedCLocale&) = delete;

private:
    locale_t m_previous;
};

} // namespace

std::string vformatC(const char* format, va_list args)
{
    ScopedCLocale guard;
    va_list copy;
    va_copy(copy, args);
    char small[256];
    const int needed = std::vsnprintf(small, sizeof small, format, copy);
    va_end(copy);
    if (needed < 0)
        return {};
    if (static_cast<std::size_t>(needed) < sizeof small)
        return std::string(small, static_cast<std::size_t>(needed));
    std::vector<char> big(static_cast<std::size_t>(needed) + 1);
    std::vsnprintf(big.data(), big.size(), format, args);
    return std::string(big.data(), static_cast<std::size_t>(needed));
}

std::string formatC(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::string text = vformatC(format, args);
    va_end(args);
    return text;
}

double StrToDouble(std::string_view text)
{
    std::string copy(text);
    for (char& c : copy) {
        if (c == ',')
            c = '.';
    }
    return strtod_l(copy.c_str(), nullptr, cLocale());
}

long StrToLong(std::string_view text)
{
    const std::string copy(text);
    return strtol_l(copy.c_str(), nullptr, 10, cLocale());
}

std::int32_t StrToInt32(std::string_view text)
{
    const long value = StrToLong(text);
    return static_cast<std::int32_t>(std::clamp<long>(value, std::numeric_limits<std::int32_t>::min(),
        std::numeric_limits<std::int32_t>::max()));
}

std::string GetToken(std::string_view source, int index, std::string& separator)
{
    int count = 0;
    std::size_t start = 0;
    if (!separator.empty()) {
        for (std::size_t at = source.find(separator); at != std::string_view::npos;
             at = source.find(separator, start)) {
            if (count == index)
                return std::string(source.substr(start, at - start));
            start = at + separator.size();
            ++count;
        }
    }
    // The last field (the whole source when there was no separator).
    if (count == index)
        return std::string(source.substr(start));
    separator.clear();
    return {};
}

std::string utf8Prefix(std::string text, std::size_t bytes)
{
    if (text.size() <= bytes)
        return text;
    std::size_t cut = bytes;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80)
        --cut;
    text.resize(cut);
    return text;
}

} // namespace kzev
