#include "cad/CadCommandRun.h"

#include "cad/CadConnection.h"
#include "cad/CadTextChannel.h"
#include "cad/RoomLegend.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "platform/Services.h"
#include "platform/StringTable.h"

namespace kzev {

namespace {

constexpr int kTypeMismatch = 61859;

bool sendByAutomation(bool icad, CadTextChannel& textChannel, const std::vector<std::string>& lines)
{
    // The AutoCAD-type channel ends silently when its program id is not registered.
    CadConnection connection({ icad ? CadObjectModel::IcadType : CadObjectModel::AcadType, icad, icad });
    if (!connection.connected())
        return false;
    try {
        if (textChannel.m_hMainWnd != 0)
            cadLink().desktop->setForeground(textChannel.m_hMainWnd);
        for (const std::string& line : lines) {
            if (icad)
                connection.application()->sendCommand(line);
            else
                connection.document()->sendCommand(line);
        }
    } catch (const CadServerError& error) {
        (void)services().messageBox->show(error.what(), MessageIcon::Warning, MessageButtons::Ok);
        return false;
    } catch (const CadComError&) {
        (void)services().messageBox->show(loadString(kTypeMismatch), MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    return true;
}

} // namespace

CadSendChannel cadSendChannel(int cadKind, int acadClone)
{
    if (cadKind == CadKindAcadLt)
        return CadSendChannel::TextWindow;
    if (cadKind == CadKindIcad)
        return CadSendChannel::Icad;
    return acadClone == 1 ? CadSendChannel::AcadCom : CadSendChannel::TextWindow;
}

CadCommandForms cadCommandForms(CadSendChannel channel)
{
    return channel == CadSendChannel::Icad ? CadCommandForms::Icad : CadCommandForms::Acad;
}

bool sendCadLines(CadSendChannel channel, CadTextChannel& textChannel, const std::vector<std::string>& lines,
    bool waitAfterFirst)
{
    if (channel != CadSendChannel::TextWindow)
        return sendByAutomation(channel == CadSendChannel::Icad, textChannel, lines);
    if (textChannel.m_hCommandLine == 0) {
        const bool found = textChannel.m_nMode == CadKindAcadLt ? textChannel.FindLtTextWindow()
                                                                 : textChannel.FindTextWindow();
        if (!found)
            return false;
    }
    if (waitAfterFirst)
        cadLink().desktop->setForeground(textChannel.m_hMainWnd);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (!textChannel.SendToTextWindow(lines[i]))
            return false;
        if (i == 0 && waitAfterFirst && textChannel.ReadCommandLine(textChannel.m_strPrompt) != 0)
            return false;
    }
    return true;
}

} // namespace kzev
