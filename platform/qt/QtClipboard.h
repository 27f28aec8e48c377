#pragma once

#include "platform/Clipboard.h"

namespace kzev {

/** The application's clipboard: texts go in as plain text, our own data under its format. */
class QtClipboard final : public IClipboard {
public:
    bool setText(const std::string& text) override;
    bool setData(const std::string& format, const std::vector<std::uint8_t>& data, const std::string& text) override;
    std::optional<std::vector<std::uint8_t>> data(const std::string& format) const override;
};

} // namespace kzev
