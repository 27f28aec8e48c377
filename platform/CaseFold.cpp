#include "platform/CaseFold.h"

#include <vector>

namespace kzev {

namespace {

/** Decodes one UTF-8 sequence at pos; an invalid byte stands for itself. */
char32_t decode(std::string_view text, std::size_t& pos)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const unsigned char lead = byte(pos);
    int extra = 0;
    char32_t code = lead;
    if (lead >= 0xC2 && lead <= 0xDF) {
        extra = 1;
        code = lead & 0x1Fu;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        extra = 2;
        code = lead & 0x0Fu;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        extra = 3;
        code = lead & 0x07u;
    }
    if (extra == 0) {
        ++pos;
        return lead < 0x80 ? code : 0xDC00 + lead; // a stray byte is kept apart from letters
    }
    if (pos + extra >= text.size()) {
        ++pos;
        return 0xDC00 + lead; // a sequence cut short
    }
    for (int i = 1; i <= extra; ++i) {
        const unsigned char next = byte(pos + i);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return 0xDC00 + lead;
        }
        code = (code << 6) | (next & 0x3Fu);
    }
    pos += extra + 1;
    return code;
}

void encode(char32_t code, std::string& out)
{
    if (code >= 0xDC80 && code <= 0xDCFF) {
        out.push_back(static_cast<char>(code - 0xDC00)); // a stray byte goes back as it came
    } else if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (code >> 18)));
        out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

/** Whether the code is an upper-case letter of Latin Extended-A (pairs differ in the last bit). */
bool isUpperExtendedA(char32_t c)
{
    if (c >= 0x0100 && c <= 0x0137)
        return (c & 1u) == 0;
    if (c >= 0x0139 && c <= 0x0148)
        return (c & 1u) == 1;
    if (c >= 0x014A && c <= 0x0177)
        return (c & 1u) == 0;
    if (c >= 0x0179 && c <= 0x017E)
        return (c & 1u) == 1;
    return false;
}

bool isLowerExtendedA(char32_t c)
{
    if (c >= 0x0100 && c <= 0x0137)
        return (c & 1u) == 1;
    if (c >= 0x0139 && c <= 0x0148)
        return (c & 1u) == 0;
    if (c >= 0x014A && c <= 0x0177)
        return (c & 1u) == 1;
    if (c >= 0x0179 && c <= 0x017E)
        return (c & 1u) == 0;
    return false;
}

char32_t lower(char32_t c)
{
    if (c >= U'A' && c <= U'Z')
        return c + 32;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    if (c == 0x0178)
        return 0xFF;
    if (isUpperExtendedA(c))
        return c + 1;
    return c;
}

char32_t upper(char32_t c)
{
    if (c >= U'a' && c <= U'z')
        return c - 32;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
        return c - 32;
    if (c == 0xFF)
        return 0x0178;
    if (isLowerExtendedA(c))
        return c - 1;
    return c;
}

std::vector<char32_t> foldedCodes(std::string_view text)
{
    std::vector<char32_t> codes;
    codes.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        codes.push_back(lower(decode(text, pos)));
    return codes;
}

/** Matches one bracket set starting after "[" at p; returns false when the set is malformed. */
bool matchSet(const std::vector<char32_t>& pat, std::size_t& p, char32_t c, bool& matched)
{
    bool negate = false;
    if (p < pat.size() && pat[p] == U'!') {
        negate = true;
        ++p;
    }
    bool hit = false;
    bool first = true;
    while (p < pat.size() && (pat[p] != U']' || first)) {
        first = false;
        const char32_t from = pat[p];
        if (p + 2 < pat.size() && pat[p + 1] == U'-' && pat[p + 2] != U']') {
            if (c >= from && c <= pat[p + 2])
                hit = true;
            p += 3;
        } else {
            if (c == from)
                hit = true;
            ++p;
        }
    }
    if (p >= pat.size())
        return false;
    ++p; // past "]"
    matched = hit != negate;
    return true;
}

/** Matches one pattern element at p against one character; on a match, next is the element after it. */
bool matchOne(const std::vector<char32_t>& pat, std::size_t p, char32_t c, std::size_t& next)
{
    const char32_t pc = pat[p];
    if (pc == U'?') {
        next = p + 1;
        return true;
    }
    if (pc == U'#') {
        next = p + 1;
        return c >= U'0' && c <= U'9';
    }
    if (pc == U'[') {
        std::size_t q = p + 1;
        bool matched = false;
        if (matchSet(pat, q, c, matched)) {
            next = q;
            return matched;
        }
        // A lone "[" is an ordinary character.
    }
    next = p + 1;
    return c == pc;
}

/** Wildcard matching that goes back only to the last "*", so no pattern takes more than text x pattern steps. */
bool matchFrom(const std::vector<char32_t>& pat, const std::vector<char32_t>& txt)
{
    constexpr std::size_t none = static_cast<std::size_t>(-1);
    std::size_t p = 0;
    std::size_t t = 0;
    std::size_t starP = none;
    std::size_t starT = 0;
    while (t < txt.size()) {
        if (p < pat.size() && pat[p] == U'*') {
            while (p < pat.size() && pat[p] == U'*')
                ++p;
            starP = p;
            starT = t;
            continue;
        }
        std::size_t next = p;
        if (p < pat.size() && matchOne(pat, p, txt[t], next)) {
            p = next;
            ++t;
            continue;
        }
        if (starP == none)
            return false;
        p = starP;
        t = ++starT;
    }
    while (p < pat.size() && pat[p] == U'*')
        ++p;
    return p == pat.size();
}

} // namespace

std::string foldCase(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        encode(lower(decode(text, pos)), out);
    return out;
}

std::string upperCase(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        encode(upper(decode(text, pos)), out);
    return out;
}

bool matchLikePattern(std::string_view pattern, std::string_view text)
{
    return matchFrom(foldedCodes(pattern), foldedCodes(text));
}

} // namespace kzev
