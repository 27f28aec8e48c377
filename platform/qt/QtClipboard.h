#pragma once

#include "platform/Clipboard.h"

namespace kzev {

/** The application's clipboard: the text goes in as Latin-1 plain text. */
class QtClipboard final : public IClipboard {
public:
    bool setText(const std::string& text) override;
};

} // namespace kzev
