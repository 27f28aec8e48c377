#pragma once

#include "platform/Services.h"

#include <QPointer>

class CInfoBar;
class CProgressStatusBar;

namespace kzev {

/**
 * The calculation log and the progress display as the headless core sees
 * them, carried out on the frame's log bar and status bar. Installs itself
 * as the log and progress services for its lifetime; calls after a bar has
 * gone are dropped.
 */
class BarServices final : public ICalcLog, public IProgress {
public:
    BarServices(CProgressStatusBar& statusBar, CInfoBar& infoBar);
    ~BarServices() override;
    BarServices(const BarServices&) = delete;
    BarServices& operator=(const BarServices&) = delete;

    void addLine(const std::string& text) override;
    void addText(const std::string& text) override;
    void clear() override;

    void setProgress(int position, int range) override;
    void setText(const std::string& text, std::uint32_t style) override;
    void setGradient(std::uint32_t from, std::uint32_t to) override;
    void setStatusText(const std::string& text) override;

private:
    QPointer<CProgressStatusBar> m_statusBar;
    QPointer<CInfoBar> m_infoBar;
    ScopedServices m_scope;
};

} // namespace kzev
