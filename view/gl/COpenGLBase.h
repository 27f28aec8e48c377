#pragma once

#include "platform/DrawSurface.h"
#include "view/PlanZoom.h"

#include <QImage>
#include <QOpenGLWidget>

#include <string>
#include <vector>

namespace kzev {

/** What the OpenGL base draws: the scene of the current room, its camera and its texts. */
class IGLScene {
public:
    virtual ~IGLScene() = default;
    /** Draws the room in the mode into the display list being compiled. */
    virtual void RenderGLRoom(int firstSceneArgument, int mode) = 0;
    /** Sets the model-view matrix of the camera. */
    virtual void SetGLCamera() = 0;
    /** Makes extents and camera ready for a picture rendered off the screen. */
    virtual void prepareOffscreen() = 0;
    /** Returns the lines written over the scene in the window, top left. */
    [[nodiscard]] virtual std::vector<std::string> captionLines() = 0;
};

} // namespace kzev

/**
 * The OpenGL side of the main view: the window's context (compatibility
 * profile, the fixed-function pipeline), the perspective, the display list
 * that holds the scene, the bitmap font lists the texts are written with,
 * and a render off the screen (a framebuffer on an offscreen surface) that
 * hands the picture to a printer or PDF page. The lists live as long as the
 * context; rebuilding the scene compiles the same list again.
 */
class COpenGLBase : public QOpenGLWidget {
    Q_OBJECT

public:
    explicit COpenGLBase(kzev::IGLScene& scene, QWidget* parent = nullptr);
    ~COpenGLBase() override;

    /** Returns the surface format asked of every context: compatibility profile, depth and stencil. */
    [[nodiscard]] static QSurfaceFormat glFormat();
    /**
     * Returns whether a window can show OpenGL here: a context of the format
     * can be made and the windowing system draws OpenGL windows (not so off
     * the screen, where such a window must never be shown).
     */
    [[nodiscard]] static bool windowsAvailable();

    /** Asks for the scene list to be compiled again for the mode at the next paint. */
    void rebuildScene(int mode);
    /** Returns the number of display lists this object holds (scene and font); constant while it lives. */
    [[nodiscard]] int displayListCount() const { return m_listCount; }
    /** Returns the first scene list id (0 before the context exists). */
    [[nodiscard]] unsigned sceneList() const { return m_sceneList; }

    /**
     * Renders the scene in the mode off the screen into a picture of the
     * size; a size the graphics cannot hold is scaled down and logged. A null
     * picture when no context can be had.
     */
    [[nodiscard]] QImage RenderToImage(kzev::ScrollSize size, int mode);
    /**
     * Renders the picture for a page of the printable pixels (a preview
     * takes the window's size) and stretches it onto the surface, centred.
     * Returns false when no picture could be rendered.
     */
    bool RenderToDevice(kzev::IDrawSurface& surface, kzev::ScrollSize page, bool preview, int mode);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;

    virtual void BuildDisplayList(unsigned list, int firstSceneArgument, int mode);
    virtual void SetProjection();
    virtual void InitGL();
    virtual void RenderScene();
    virtual void Resize(int cx, int cy);

private:
    void releaseLists();
    void buildFontLists();
    void drawCaption();

    kzev::IGLScene& m_scene;
    unsigned m_sceneList = 0;
    unsigned m_fontBase = 0;
    int m_listCount = 0;
    int m_fontHeight = 0;
    int m_fontAscent = 0;
    float m_clearRed = 1.0F;
    float m_clearGreen = 1.0F;
    float m_clearBlue = 1.0F;
    double m_near = 1.0;
    double m_far = 1000.0;
    double m_aspect = 1.0;
    bool m_sceneDirty = true;
    QMetaObject::Connection m_contextGone;
    int m_mode = 0;
};
