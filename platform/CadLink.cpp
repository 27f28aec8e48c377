#include "platform/CadLink.h"
#include "platform/PrivateFolder.h"

#include <thread>

namespace kzev {

CadServerError::CadServerError(std::uint16_t code, CadResult status, const std::string& description)
    : std::runtime_error(description)
    , m_code(code)
    , m_status(status)
{
}

CadComError::CadComError(CadResult status, const std::string& description)
    : std::runtime_error(description)
    , m_status(status)
{
}

namespace {

// No CAD program on the desktop; waits pass in real time.
class EmptyDesktop final : public ICadDesktop {
public:
    std::vector<CadWindowInfo> topLevelWindows() override { return {}; }
    std::vector<CadWindowInfo> childWindows(CadWindowHandle) override { return {}; }
    std::string windowText(CadWindowHandle) override { return {}; }
    bool windowExists(CadWindowHandle) override { return false; }
    bool copyData(CadWindowHandle, std::uint32_t, const std::vector<std::uint8_t>&) override { return false; }
    void setFocus(CadWindowHandle) override { }
    void setForeground(CadWindowHandle) override { }
    void restoreOwnWindow() override { }
    bool pause(std::chrono::milliseconds duration) override
    {
        std::this_thread::sleep_for(duration);
        return true;
    }
    std::chrono::steady_clock::time_point now() override { return std::chrono::steady_clock::now(); }
    std::filesystem::path temporaryFolder() override { return cadExchangeFolder(); }
};

// No automation class registered.
class EmptyAutomation final : public ICadAutomation {
public:
    bool isRegistered(const std::string&) override { return false; }
    std::unique_ptr<ICadApplication> activeObject(const std::string&) override { return nullptr; }
    std::unique_ptr<ICadApplication> createInstance(const std::string& programId) override
    {
        throw CadComError(static_cast<CadResult>(0x800401F3u), "Třída " + programId + " není registrována.");
    }
};

CadLink& installed()
{
    static EmptyDesktop desktop;
    static EmptyAutomation automation;
    static CadLink link { &desktop, &automation };
    return link;
}

} // namespace

CadLink& cadLink() { return installed(); }

void installCadLink(const CadLink& replacement)
{
    CadLink& link = installed();
    if (replacement.desktop)
        link.desktop = replacement.desktop;
    if (replacement.automation)
        link.automation = replacement.automation;
}

ScopedCadLink::ScopedCadLink(const CadLink& replacement)
    : m_previous(cadLink())
{
    installCadLink(replacement);
}

ScopedCadLink::~ScopedCadLink() { installed() = m_previous; }

} // namespace kzev
