#include "platform/Codepage1250.h"

#include <algorithm>
#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace kzev {

namespace {

/** One iconv descriptor, closed when it goes. */
class IconvHandle {
public:
    IconvHandle(const char* to, const char* from)
        : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~IconvHandle() { iconv_close(m_cd); }
    IconvHandle(const IconvHandle&) = delete;
    IconvHandle& operator=(const IconvHandle&) = delete;
    iconv_t get() const { return m_cd; }

private:
    iconv_t m_cd;
};

/** Length of the UTF-8 sequence that starts with the byte, 1 for a stray byte. */
std::size_t utf8SequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

/**
 * Runs iconv over the input; where a character cannot be converted, writes "?"
 * and skips the input by the step the callback gives.
 */
template <typename SkipFn>
std::string convert(IconvHandle& cd, std::string_view input, std::string_view question, SkipFn skip)
{
    // Both encodings write ASCII as it is: most names and every number need no conversion.
    if (std::all_of(input.begin(), input.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; }))
        return std::string(input);
    // A descriptor is kept per thread (opening one costs far more than a conversion); each starts clean.
    iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(input.size() * 2);
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    char buffer[1024];
    while (inLeft > 0) {
        char* outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t rc = iconv(cd.get(), &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (rc != static_cast<std::size_t>(-1))
            continue;
        if (errno == E2BIG)
            continue;
        // EILSEQ or EINVAL: an unconvertible or cut-off character.
        std::size_t step = skip(static_cast<unsigned char>(*in));
        if (step > inLeft)
            step = inLeft;
        in += step;
        inLeft -= step;
        out.append(question);
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

/**
 * A thread's kept descriptor. It goes with the thread's other objects, before the
 * program's own at exit; a destructor that converts after that (a document saving its
 * settings) must then get a descriptor for the one call, which `gone` tells.
 */
class KeptIconv {
public:
    KeptIconv(const char* to, const char* from, bool& gone)
        : m_handle(to, from)
        , m_gone(gone)
    {
    }
    ~KeptIconv() { m_gone = true; }
    KeptIconv(const KeptIconv&) = delete;
    KeptIconv& operator=(const KeptIconv&) = delete;
    IconvHandle& handle() { return m_handle; }

private:
    IconvHandle m_handle;
    bool& m_gone;
};

std::size_t singleByte(unsigned char) { return 1; }

} // namespace

std::string utf8ToCp1250(std::string_view utf8)
{
    thread_local bool gone = false;
    if (gone) {
        IconvHandle once("CP1250", "UTF-8");
        return convert(once, utf8, "?", utf8SequenceLength);
    }
    thread_local KeptIconv kept("CP1250", "UTF-8", gone);
    return convert(kept.handle(), utf8, "?", utf8SequenceLength);
}

std::string cp1250ToUtf8(std::string_view cp1250)
{
    thread_local bool gone = false;
    if (gone) {
        IconvHandle once("UTF-8", "CP1250");
        return convert(once, cp1250, "?", singleByte);
    }
    thread_local KeptIconv kept("UTF-8", "CP1250", gone);
    return convert(kept.handle(), cp1250, "?", singleByte);
}

} // namespace kzev
