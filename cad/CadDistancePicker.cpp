#include "cad/CadDistancePicker.h"

#include "cad/CadConnection.h"
#include "model/CKzevDoc.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "platform/Services.h"
#include "platform/StringTable.h"

#include <cmath>

namespace kzev {

namespace {

constexpr int kTypeMismatch = 61859;
constexpr int kPrompt = 61913;

// How an error of the CAD program ends the pick: its own report when it
// carries a code, else cancelled (the user's Esc) or some other refusal.
int serverErrorResult(const CadServerError& error)
{
    if (error.code() != 0) {
        (void)services().messageBox->show(error.what(), MessageIcon::Warning, MessageButtons::Ok);
        return -1;
    }
    return error.status() == kCadException ? -2 : -3;
}

} // namespace

void prepareDistancePicker(CadDistancePicker& picker, const CKzevDoc& doc)
{
    picker.m_nMode = doc.m_cadKind;
    preparePicker(picker.m_points, doc);
}

int CadDistancePicker::PickPoint()
{
    if (m_nMode == CadKindAcadLt)
        return PickDistanceViaTextWindow();
    if (m_nMode == CadKindIcad)
        return PickDistanceViaIcad();
    return pickByAutomation(false);
}

int CadDistancePicker::PickDistanceViaIcad() { return pickByAutomation(true); }

int CadDistancePicker::pickByAutomation(bool icad)
{
    // Measuring starts the CAD program when none runs.
    CadConnection connection({ icad ? CadObjectModel::IcadType : CadObjectModel::AcadType, true, true });
    if (!connection.connected())
        return -1;
    ICadDocument& document = *connection.document();
    ICadDesktop& desktop = *cadLink().desktop;
    int result = 0;
    try {
        const std::string name = document.name();
        desktop.setForeground(m_points.m_channel.m_hMainWnd);
        const std::string prompt = loadString(kPrompt);
        try {
            double distance = 0.0;
            if (icad) {
                const CadVariant base = document.getPoint(CadVariant::omitted(), prompt);
                distance = document.getDistance(base, prompt);
            } else {
                distance = document.getDistance(CadVariant::omitted(), prompt);
            }
            m_dDistance = distance;
            m_strDocName = name;
        } catch (const CadServerError& error) {
            result = serverErrorResult(error);
        }
    } catch (const CadServerError& error) {
        result = serverErrorResult(error);
    } catch (const CadComError&) {
        (void)services().messageBox->show(loadString(kTypeMismatch), MessageIcon::Error, MessageButtons::Ok);
        result = -1;
    }
    desktop.restoreOwnWindow();
    return result;
}

int CadDistancePicker::PickDistanceViaTextWindow()
{
    if (m_points.PickPointViaTextWindow() != 1)
        return -2;
    m_dDistance = std::hypot(m_points.m_ptFirst.x - m_points.m_ptSecond.x, m_points.m_ptFirst.y - m_points.m_ptSecond.y);
    return 0;
}

} // namespace kzev
