#pragma once

#include "view/PlanView.h"
#include "view/ResultLayers.h"

#include <QAbstractScrollArea>
#include <QPixmap>

#include <functional>
#include <memory>

class QPainter;

/**
 * The main view: the window in the middle of the frame that shows the room
 * selected in the project tree as a plan onto the floor, the ceiling or a
 * wall, or the start-up picture while no scene is shown. It keeps no logic of
 * its own: the plan (kzev::PlanView) holds the state and draws the layers,
 * the window paints it through a QPainter surface and scrolls over it.
 */
class CKzevView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CKzevView(QWidget* parent = nullptr);
    ~CKzevView() override;

    [[nodiscard]] kzev::PlanView& plan() { return m_plan; }
    [[nodiscard]] const kzev::PlanView& plan() const { return m_plan; }

    /** Follows a model change: takes the tree's room anew and repaints. */
    void RefreshView(int resetProjection, int resetCamera);
    /** Fits the plan to the window at the next paint. */
    void requestLayout();
    /** Sets the objects the tree selected (lamp system, visual-task area, obstacle system; -1 none). */
    void setTreeSelection(int lampSystem, int area, int obstacle);
    [[nodiscard]] bool sceneShown() const { return m_plan.sceneShown(); }
    void setSceneShown(bool shown);
    /** Returns the view code of the view settings in use, if a room is shown. */
    [[nodiscard]] std::optional<int> viewCode();

    void OnViewFloor() { m_plan.OnViewFloor(); }
    void OnViewCeiling() { m_plan.OnViewCeiling(); }
    void OnViewWall1() { m_plan.OnViewWall1(); }
    void OnViewWall2() { m_plan.OnViewWall2(); }
    void OnViewWall3() { m_plan.OnViewWall3(); }
    void OnViewWall4() { m_plan.OnViewWall4(); }
    /** Runs the view-direction command of the id (32826, 32825, 32830, 32827, 32831, 32829); false for others. */
    bool OnViewDirectionCommand(int commandId);

    /** Replaces the luminaire source (null returns to the document's). */
    void setLuminaireSource(kzev::ILuminaireSource* source);
    /** Shows the view's context menu at a global position (the frame supplies menu 92). */
    void setContextMenuHandler(std::function<void(const QPoint&)> handler) { m_contextMenu = std::move(handler); }

    /** Renders the client area as it is painted now. */
    [[nodiscard]] QPixmap grabPlan();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void OnDraw(QPainter& painter);
    void drawSplash(QPainter& painter);
    void updateScrollBars();

    kzev::PlanView m_plan;
    kzev::ResultLayers m_resultLayers;
    std::unique_ptr<kzev::ILuminaireSource> m_documentLuminaires;
    std::function<void(const QPoint&)> m_contextMenu;
    /** The client size the plan was last laid out or resized for. */
    QSize m_fittedClient;
};

namespace kzev {
/** Returns the one view, or null while none exists. */
[[nodiscard]] CKzevView* theView();
/** Returns the picture shown while no project is shown: "Kzev.bmp" of the program folder, else the built-in one. */
[[nodiscard]] QPixmap splashPicture();
} // namespace kzev
