#pragma once

#include "view/gl/COpenGLBase.h"
#include "view/gl/GLCamera.h"

class CLampSystem;
class COneLampSystem;
class CLuminaire;
class CRoom;
class CWorkSystem;
class CXSystem;

namespace kzev {

class PlanView;

/**
 * The 3-D scene of the main view: the room of the plan in its current mode,
 * drawn with fixed-function OpenGL into the display list of the OpenGL base.
 * Without surface results the room is a wire box with its obstacles; with
 * them its surfaces are shaded by their illuminance and reflectance. Every
 * switched-on luminaire is a small solid body whose light-emitting face is
 * lit by its factor in the mode. The eye and the target live in the view
 * settings, so that they are saved with them.
 */
class GLScene final : public IGLScene {
public:
    explicit GLScene(PlanView& plan);

    // IGLScene
    void RenderGLRoom(int firstSceneArgument, int mode) override;
    void SetGLCamera() override;
    void prepareOffscreen() override;
    [[nodiscard]] std::vector<std::string> captionLines() override;

    /** Recomputes eye, target and scene size from the scene extents of the view settings in use. */
    void ComputeGLEyeTarget();
    /** Moves the eye for a wheel notch by the document's wheel step. */
    void moveEyeByWheel(int delta);
    /** A middle drag of dx, dy pixels: eye and target move together, with Shift the eye alone toward the scene's centre. */
    void moveCameraByDrag(int dx, int dy, bool eyeOnly);
    /** Lets the print composer draw a room of its own; -1 returns to the plan's room. */
    void setPrintRoom(int roomIndex) { m_printRoom = roomIndex; }
    [[nodiscard]] double sceneSize() const { return m_sceneSize; }

    void DrawGLScene(const CRoom& room, int firstSceneArgument, int mode);
    void DrawGLBox(int highlight, const CVector& corner, const CVector& a, const CVector& b, const CVector& c);
    void DrawGLSurfaceAreas(const CRoom& room, int mode);
    void DrawGLObstacleSystems(const CRoom& room);
    void DrawGLObstacleSystem(int highlight, const CRoom& room, const CXSystem& obstacles);
    void DrawGLLuminaires(const CRoom& room, int mode);
    void DrawGLLuminaire(const CRoom& room, const CLuminaire& luminaire, const COneLampSystem& entry, int mode);
    /** Returns the value at corner 1 to 4 of point k: the mean of the points that share the corner. */
    [[nodiscard]] static double GetSmoothedSurfaceValue(const CWorkSystem& area, std::size_t point, int corner);

private:
    [[nodiscard]] const CRoom* sceneRoom() const;

    PlanView& m_plan;
    double m_sceneSize = 0.0;
    int m_printRoom = -1;
};

} // namespace kzev
