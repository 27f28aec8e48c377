#pragma once

#include "platform/CadAutomation.h"

#include <memory>
#include <string>

namespace kzev {

/** The two automation object models the CAD link knows. */
enum class CadObjectModel { AcadType, IcadType };

/** How a connection treats a program that is not running or not registered. */
struct CadConnectOptions {
    CadObjectModel model = CadObjectModel::AcadType;
    /** Start the program when none runs (else message 61857). */
    bool createWhenNotRunning = false;
    /** Show message 61856 for a program id that is not registered (some callers end silently). */
    bool reportNotRegistered = true;
};

/**
 * One automation session with the running CAD program: the wait cursor,
 * the program found by its program id (the AutoCAD-type or the
 * IntelliCAD-type one chosen by the CAD detection), made visible, and its
 * active drawing. Failures are told with messages 61856, 61857 and 61858 and
 * leave the connection closed; everything is let go when it is destroyed.
 */
class CadConnection {
public:
    /** Result of open(): 1 connected, 0 not registered or not running, -1 no drawing open. */
    [[nodiscard]] int status() const { return m_status; }
    [[nodiscard]] bool connected() const { return m_status == 1; }

    /** Runs the connection sequence through the installed automation seam. */
    explicit CadConnection(const CadConnectOptions& options);
    CadConnection(ICadAutomation& automation, const CadConnectOptions& options);
    ~CadConnection();
    CadConnection(const CadConnection&) = delete;
    CadConnection& operator=(const CadConnection&) = delete;

    /** The program id the connection used. */
    [[nodiscard]] const std::string& programId() const { return m_programId; }
    /** The program; null unless connected. */
    [[nodiscard]] ICadApplication* application() { return m_application.get(); }
    /** Its active drawing; null unless connected. */
    [[nodiscard]] ICadDocument* document() { return m_document.get(); }

private:
    int m_status = 0;
    std::string m_programId;
    std::unique_ptr<ICadApplication> m_application;
    std::unique_ptr<ICadDocument> m_document;
};

} // namespace kzev
