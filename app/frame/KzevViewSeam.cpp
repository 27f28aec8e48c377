#include "app/frame/KzevViewSeam.h"

#include "view/CKzevView.h"


namespace kzev {

KzevViewSeam::KzevViewSeam(CKzevView& view)
    : m_view(view)
{
}

bool KzevViewSeam::sceneShown() const
{
    return m_view.sceneShown();
}

bool KzevViewSeam::catalogueSheetShown() const
{
    return m_view.catalogueSheet();
}

std::optional<int> KzevViewSeam::viewCode() const
{
    return m_view.viewCode();
}

void KzevViewSeam::copy()
{
    m_view.OnEditCopy();
}

void KzevViewSeam::setTreeSelection(int lampSystem, int area, int obstacle)
{
    m_view.setTreeSelection(lampSystem, area, obstacle);
}

void KzevViewSeam::refreshView(int resetProjection, int resetCamera)
{
    m_view.RefreshView(resetProjection, resetCamera);
}

void KzevViewSeam::requestLayout()
{
    // The document asks for a new layout when it has opened a project, which is
    // also when the scene replaces the start-up picture.
    m_view.setSceneShown(true);
    m_view.requestLayout();
}

void KzevViewSeam::showScene()
{
    m_view.setSceneShown(true);
}

} // namespace kzev
