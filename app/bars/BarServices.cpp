#include "app/bars/BarServices.h"

#include "app/bars/CGradientProgressCtrl.h"
#include "app/bars/CInfoBar.h"
#include "app/bars/CProgressStatusBar.h"

namespace kzev {

BarServices::BarServices(CProgressStatusBar& statusBar, CInfoBar& infoBar)
    : m_statusBar(&statusBar)
    , m_infoBar(&infoBar)
    , m_scope(Services { this, this, nullptr, nullptr, nullptr, nullptr })
{
}

BarServices::~BarServices() = default;

void BarServices::addLine(const std::string& text)
{
    if (m_infoBar)
        m_infoBar->AddLine(text);
}

void BarServices::addText(const std::string& text)
{
    if (m_infoBar)
        m_infoBar->AddText(text);
}

void BarServices::clear()
{
    if (m_infoBar)
        m_infoBar->Clear();
}

void BarServices::setProgress(int position, int range)
{
    if (m_statusBar)
        m_statusBar->SetProgress(position, range);
}

void BarServices::setText(const std::string& text, std::uint32_t style)
{
    if (m_statusBar && m_statusBar->GetProgressCtrl())
        m_statusBar->GetProgressCtrl()->SetText(text, style);
}

void BarServices::setGradient(std::uint32_t from, std::uint32_t to)
{
    if (m_statusBar && m_statusBar->GetProgressCtrl())
        m_statusBar->GetProgressCtrl()->SetColours({ from, to });
}

void BarServices::setStatusText(const std::string& text)
{
    if (m_statusBar)
        m_statusBar->SetPaneText(0, text);
}

} // namespace kzev
