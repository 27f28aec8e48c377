#pragma once

#include "support/ScratchFolder.h"

#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace kzev::test {

/**
 * Switches the C library to the Czech locale (cs_CZ.UTF-8, a decimal comma)
 * for its lifetime, as a Czech user's program runs. A system without the
 * locale gets it built from the locales package's sources into a scratch
 * folder of the running test (LOCPATH), so the switch needs no administrator
 * and runs side by side never build into each other's folder. active() says
 * whether it took, reason() why not.
 */
class CzechLocale {
public:
    CzechLocale()
    {
        const char* current = std::setlocale(LC_ALL, nullptr);
        m_previous = current ? current : "C";
        if (switchTo())
            return;
        m_folder = std::make_unique<ScratchFolder>("kzev-locales");
        const std::filesystem::path& folder = m_folder->path();
        const std::string command
            = "localedef -i cs_CZ -f UTF-8 '" + (folder / "cs_CZ.UTF-8").string() + "' >/dev/null 2>&1";
        if (std::system(command.c_str()) != 0) {
            m_reason = "cs_CZ.UTF-8 is not installed and localedef could not build it (package locales)";
            return;
        }
        if (const char* path = std::getenv("LOCPATH"))
            m_previousLocPath = path;
        m_locPathSet = true;
        ::setenv("LOCPATH", folder.c_str(), 1);
        if (!switchTo())
            m_reason = "cs_CZ.UTF-8 built under " + folder.string() + " but setlocale refuses it";
    }
    ~CzechLocale()
    {
        std::setlocale(LC_ALL, m_previous.c_str());
        if (!m_locPathSet)
            return;
        if (m_previousLocPath)
            ::setenv("LOCPATH", m_previousLocPath->c_str(), 1);
        else
            ::unsetenv("LOCPATH");
    }
    CzechLocale(const CzechLocale&) = delete;
    CzechLocale& operator=(const CzechLocale&) = delete;

    [[nodiscard]] bool active() const { return m_reason.empty(); }
    [[nodiscard]] const std::string& reason() const { return m_reason; }

private:
    // Taken only when printf then writes a decimal comma, as a Czech user's program would.
    bool switchTo()
    {
        if (!std::setlocale(LC_ALL, "cs_CZ.UTF-8"))
            return false;
        char text[16];
        std::snprintf(text, sizeof text, "%.1f", 0.5);
        return std::string(text) == "0,5";
    }

    std::string m_previous;
    std::string m_reason = "";
    std::unique_ptr<ScratchFolder> m_folder;
    std::optional<std::string> m_previousLocPath;
    bool m_locPathSet = false;
};

} // namespace kzev::test
