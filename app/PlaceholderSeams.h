#pragma once

#include "app/FrameSeams.h"

namespace kzev {

/**
 * Stand-in for the document until it is built: an empty project that cannot
 * be loaded or saved; the running flag is held here so the bars can follow it.
 */
class PlaceholderDocument final : public IDocumentSeam {
public:
    bool calcRunning() const override { return m_calcRunning; }
    bool newDocument() override { return true; }
    bool openDocument(const std::string&) override { return false; }
    bool isModified() const override { return false; }
    bool isUntitled() const override { return false; }
    void saveDocument() override { }
    void saveDocumentAs() override { }
    bool saveModified() override { return true; }
    void closeDocument() override { }

    void setCalcRunning(bool running) { m_calcRunning = running; }

private:
    bool m_calcRunning = false;
};

/** Stand-in for the calculation run: nothing to calculate yet. */
class PlaceholderCalculation final : public ICalculationSeam {
public:
    void runPointCalculation() override { }
};

/** Stand-in for the view: the start-up picture, no scene. */
class PlaceholderView final : public IViewSeam {
public:
    bool sceneShown() const override { return false; }
    bool catalogueSheetShown() const override { return false; }
    std::optional<int> viewCode() const override { return std::nullopt; }
    void copy() override { }
    void setTreeSelection(int, int, int) override { }
    void refreshView(int, int) override { }
    void requestLayout() override { }
};

} // namespace kzev
