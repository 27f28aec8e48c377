#pragma once

#include "app/frame/FrameSeams.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

namespace kzev::test {

/** A document whose running flag and open result the test sets; records the calls. */
class FakeDocument final : public IDocumentSeam {
public:
    bool calcRunning() const override { return running; }
    bool newDocument() override
    {
        calls.push_back("new");
        return true;
    }
    bool openDocument(const std::string& path) override
    {
        calls.push_back("open:" + path);
        return openSucceeds;
    }
    bool isModified() const override { return modified; }
    bool isUntitled() const override { return untitled; }
    void saveDocument() override { calls.push_back("save"); }
    void saveDocumentAs() override { calls.push_back("saveAs"); }
    bool saveModified() override { return true; }
    void closeDocument() override { calls.push_back("close"); }

    bool running = false;
    bool openSucceeds = true;
    bool modified = false;
    bool untitled = false;
    std::vector<std::string> calls;
};

/** A calculation that runs the test's body in place of the passes. */
class FakeCalculation final : public ICalculationSeam {
public:
    void runPointCalculation() override
    {
        ++runs;
        if (body)
            body();
    }
    int runs = 0;
    std::function<void()> body;
};

/** A view whose scene flag and view code the test sets. */
class FakeView final : public IViewSeam {
public:
    bool sceneShown() const override { return scene; }
    bool catalogueSheetShown() const override { return false; }
    std::optional<int> viewCode() const override { return code; }
    void copy() override { ++copies; }
    void setTreeSelection(int lampSystem, int area, int obstacle) override
    {
        treeSelection = { lampSystem, area, obstacle };
    }
    void refreshView(int a, int b) override { refreshes.push_back(std::to_string(a) + "," + std::to_string(b)); }
    void requestLayout() override { ++layouts; }
    void showScene() override
    {
        scene = true;
        ++sceneShows;
    }

    bool scene = true;
    std::optional<int> code;
    int copies = 0;
    std::array<int, 3> treeSelection { -2, -2, -2 };
    std::vector<std::string> refreshes;
    int layouts = 0;
    int sceneShows = 0;
};

} // namespace kzev::test
