#pragma once

#include "platform/Services.h"

#include <deque>
#include <string>
#include <vector>

namespace kzev::test {

/** Records every log call as "line:<text>", "text:<text>" or "clear". */
class RecordingLog final : public ICalcLog {
public:
    void addLine(const std::string& text) override { calls.push_back("line:" + text); }
    void addText(const std::string& text) override { calls.push_back("text:" + text); }
    void clear() override { calls.push_back("clear"); }
    std::vector<std::string> calls;
};

/** Records the progress positions, texts and status texts. */
class RecordingProgress final : public IProgress {
public:
    void setProgress(int position, int range) override { positions.push_back({ position, range }); }
    void setText(const std::string& text, std::uint32_t style) override { texts.push_back({ text, style }); }
    void setGradient(std::uint32_t from, std::uint32_t to) override { gradients.push_back({ from, to }); }
    void setStatusText(const std::string& text) override { statusTexts.push_back(text); }

    struct Position {
        int position;
        int range;
    };
    struct Text {
        std::string text;
        std::uint32_t style;
    };
    struct Gradient {
        std::uint32_t from;
        std::uint32_t to;
    };
    std::vector<Position> positions;
    std::vector<Text> texts;
    std::vector<Gradient> gradients;
    std::vector<std::string> statusTexts;
};

/** Records the messages and answers them from a queue (default: Ok / Yes). */
class ScriptedMessageBox final : public IMessageBox {
public:
    MessageAnswer show(const std::string& text, MessageIcon icon, MessageButtons buttons) override;
    struct Shown {
        std::string text;
        MessageIcon icon;
        MessageButtons buttons;
    };
    std::vector<Shown> shown;
    std::deque<MessageAnswer> answers;
};

/** Counts pump calls; asks to stop after a given number of them (0: never). */
class CountingPump final : public IMessagePump {
public:
    void pump() override;
    int calls = 0;
    int stopAfter = 0;
};

/** Records tree and view refreshes; the selected room is set by the test. */
class RecordingView final : public IViewRefresh {
public:
    void fillProjectTree() override { calls.push_back("fill"); }
    void clearProjectTree() override { calls.push_back("clear"); }
    void refreshView(int a, int b) override
    {
        calls.push_back("refresh:" + std::to_string(a) + "," + std::to_string(b));
    }
    void requestLayout() override { calls.push_back("layout"); }
    std::optional<int> selectedRoom() override { return selected; }
    std::optional<std::pair<int, int>> selectedTaskArea() override { return selectedArea; }
    std::vector<std::string> calls;
    std::optional<int> selected;
    std::optional<std::pair<int, int>> selectedArea;
};

class CountingWaitCursor final : public IWaitCursor {
public:
    void begin() override { ++depth; ++begins; }
    void end() override { --depth; }
    int depth = 0;
    int begins = 0;
};

/**
 * All fakes at once, installed for the lifetime of the object; the stop flag
 * is cleared on the way in and out.
 */
class FakeServices {
public:
    FakeServices();
    ~FakeServices();
    FakeServices(const FakeServices&) = delete;
    FakeServices& operator=(const FakeServices&) = delete;

    RecordingLog log;
    RecordingProgress progress;
    ScriptedMessageBox messageBox;
    CountingPump pump;
    RecordingView view;
    CountingWaitCursor waitCursor;

private:
    ScopedServices m_scope;
};

} // namespace kzev::test
