#include "cad/CadConnection.h"

#include "model/CKzevDoc.h"
#include "platform/CadLink.h"
#include "platform/Services.h"

namespace kzev {

namespace {

constexpr int kNotRegistered = 61856;
constexpr int kNotRunning = 61857;
constexpr int kNoDocument = 61858;

} // namespace

CadConnection::CadConnection(const CadConnectOptions& options)
    : CadConnection(*cadLink().automation, options)
{
}

CadConnection::CadConnection(ICadAutomation& automation, const CadConnectOptions& options)
    : m_programId(options.model == CadObjectModel::IcadType ? icadProgramId() : acadProgramId())
{
    services().waitCursor->begin();
    if (!automation.isRegistered(m_programId)) {
        if (options.reportNotRegistered)
            messageBoxId(kNotRegistered);
        return;
    }
    m_application = automation.activeObject(m_programId);
    if (!m_application && options.createWhenNotRunning) {
        try {
            m_application = automation.createInstance(m_programId);
        } catch (const CadComError&) {
            m_application.reset();
        }
    }
    if (!m_application) {
        messageBoxId(kNotRunning);
        return;
    }
    m_application->setVisible(true);
    try {
        m_document = m_application->activeDocument();
    } catch (const CadServerError&) {
        m_document.reset();
    }
    if (!m_document) {
        messageBoxId(kNoDocument);
        m_application.reset();
        m_status = -1;
        return;
    }
    m_status = 1;
}

CadConnection::~CadConnection()
{
    m_document.reset();
    m_application.reset();
    services().waitCursor->end();
}

} // namespace kzev
