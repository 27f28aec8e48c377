#pragma once

#include "platform/Clipboard.h"

#include <string>
#include <vector>

namespace kzev::test {

/** A clipboard that keeps every text put on it, installed for its lifetime. */
class RecordingClipboard final : public IClipboard {
public:
    RecordingClipboard() { installClipboard(this); }
    ~RecordingClipboard() override { installClipboard(nullptr); }
    RecordingClipboard(const RecordingClipboard&) = delete;
    RecordingClipboard& operator=(const RecordingClipboard&) = delete;

    bool setText(const std::string& text) override
    {
        texts.push_back(text);
        return true;
    }
    std::vector<std::string> texts;
};

} // namespace kzev::test
