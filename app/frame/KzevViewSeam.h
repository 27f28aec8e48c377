#pragma once

#include "app/frame/FrameSeams.h"

class CKzevView;

namespace kzev {

/** The main view as the frame and the project tree drive it. */
class KzevViewSeam final : public IViewSeam {
public:
    explicit KzevViewSeam(CKzevView& view);

    bool sceneShown() const override;
    bool catalogueSheetShown() const override;
    std::optional<int> viewCode() const override;
    void copy() override;
    void setTreeSelection(int lampSystem, int area, int obstacle) override;
    void refreshView(int resetProjection, int resetCamera) override;
    void requestLayout() override;
    void showScene() override;

private:
    CKzevView& m_view;
};

} // namespace kzev
