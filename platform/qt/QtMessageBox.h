#pragma once

#include "platform/Services.h"

class QWidget;

namespace kzev {

/** Message boxes on QMessageBox, captioned with the application name. */
class QtMessageBox final : public IMessageBox {
public:
    /** The parent may be null; the active window is then used. */
    explicit QtMessageBox(QWidget* parent = nullptr);
    MessageAnswer show(const std::string& text, MessageIcon icon, MessageButtons buttons) override;

private:
    QWidget* m_parent;
};

} // namespace kzev
