#include "view/gl/COpenGLBase.h"

#include "model/CKzevDoc.h"
#include "platform/Codepage1250.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/qt/QtPainterSurface.h"
#include "view/gl/OffscreenLayout.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QPainter>

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

namespace {

constexpr int kSceneLists = 2;
constexpr int kFontLists = 256;

/** Makes the saved context current again when the off-screen render ends, however it ends. */
class CurrentContextGuard {
public:
    CurrentContextGuard()
        : m_context(QOpenGLContext::currentContext())
        , m_surface(m_context ? m_context->surface() : nullptr)
    {
    }
    ~CurrentContextGuard()
    {
        if (m_context && m_surface)
            m_context->makeCurrent(m_surface);
    }
    CurrentContextGuard(const CurrentContextGuard&) = delete;
    CurrentContextGuard& operator=(const CurrentContextGuard&) = delete;

private:
    QOpenGLContext* m_context;
    QSurface* m_surface;
};

} // namespace

COpenGLBase::COpenGLBase(kzev::IGLScene& scene, QWidget* parent)
    : QOpenGLWidget(parent)
    , m_scene(scene)
{
    setObjectName(QStringLiteral("COpenGLBase"));
    // The mouse and the wheel belong to the view underneath, in 3-D as in 2-D.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFormat(glFormat());
}

COpenGLBase::~COpenGLBase()
{
    if (context() && isValid()) {
        makeCurrent();
        releaseLists();
        doneCurrent();
    }
}

QSurfaceFormat COpenGLBase::glFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setVersion(2, 1);
    format.setDepthBufferSize(24);
    format.setStencilBufferSize(8);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    return format;
}

bool COpenGLBase::windowsAvailable()
{
    static const bool available = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
            return false;
        QOpenGLContext probe;
        probe.setFormat(glFormat());
        return probe.create();
    }();
    return available;
}

void COpenGLBase::rebuildScene(int mode)
{
    m_mode = mode;
    m_sceneDirty = true;
    update();
}

void COpenGLBase::initializeGL()
{
    // A new context (the window moved to another top level) starts with no lists of ours.
    m_sceneList = 0;
    m_fontBase = 0;
    m_listCount = 0;
    disconnect(m_contextGone);
    m_contextGone = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this, [this] {
        makeCurrent();
        releaseLists();
        doneCurrent();
    });
    InitGL();
    m_sceneList = glGenLists(kSceneLists);
    if (m_sceneList != 0)
        m_listCount += kSceneLists;
    m_fontBase = glGenLists(kFontLists);
    if (m_fontBase != 0) {
        m_listCount += kFontLists;
        buildFontLists();
    }
    m_sceneDirty = true;
}

void COpenGLBase::releaseLists()
{
    if (m_sceneList != 0)
        glDeleteLists(m_sceneList, kSceneLists);
    if (m_fontBase != 0)
        glDeleteLists(m_fontBase, kFontLists);
    m_sceneList = 0;
    m_fontBase = 0;
    m_listCount = 0;
}

void COpenGLBase::resizeGL(int w, int h)
{
    if (w > 0 && h > 0)
        Resize(w, h);
}

void COpenGLBase::paintGL()
{
    if (m_sceneDirty && m_sceneList != 0) {
        BuildDisplayList(m_sceneList, 0, m_mode);
        m_sceneDirty = false;
    }
    m_scene.SetGLCamera();
    RenderScene();
    drawCaption();
}

void COpenGLBase::BuildDisplayList(unsigned list, int firstSceneArgument, int mode)
{
    glNewList(list, GL_COMPILE);
    m_scene.RenderGLRoom(firstSceneArgument, mode);
    glEndList();
}

void COpenGLBase::SetProjection()
{
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(60.0, m_aspect, m_near, m_far);
    glMatrixMode(GL_MODELVIEW);
}

void COpenGLBase::InitGL()
{
    glEnable(GL_NORMALIZE);
    glEnable(GL_DEPTH_TEST);
    glClearColor(m_clearRed, m_clearGreen, m_clearBlue, 1.0F);
    glClearDepth(1.0);
    glShadeModel(GL_FLAT);
    glPolygonMode(GL_FRONT, GL_FILL);
}

void COpenGLBase::RenderScene()
{
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glPushMatrix();
    if (m_sceneList != 0)
        glCallList(m_sceneList);
    glPopMatrix();
    glFinish();
}

void COpenGLBase::Resize(int cx, int cy)
{
    glViewport(0, 0, cx, cy);
    m_aspect = cy == 0 ? static_cast<double>(cx) : static_cast<double>(cx) / cy;
    SetProjection();
}

// ---- Texts -------------------------------------------------------------------------

void COpenGLBase::buildFontLists()
{
    // One bitmap list per byte of code page 1250, made from the document's display font, so
    // that a text is written by calling the lists of its bytes.
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(13);
    if (const CKzevDoc* doc = kzev::theDocument()) {
        if (!doc->m_logFont.faceName.empty())
            font.setFamily(QString::fromStdString(doc->m_logFont.faceName));
        if (doc->m_logFont.height != 0)
            font.setPixelSize(std::clamp(std::abs(doc->m_logFont.height), 6, 72));
    }
    const QFontMetrics metrics(font);
    m_fontHeight = metrics.height();
    m_fontAscent = metrics.ascent();
    const int descent = metrics.descent();
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    for (int code = 0; code < kFontLists; ++code) {
        const char byte = static_cast<char>(code);
        const QString text = code < 32 ? QString() : QString::fromStdString(kzev::cp1250ToUtf8(std::string(1, byte)));
        const int advance = text.isEmpty() ? 0 : metrics.horizontalAdvance(text);
        const int width = std::max(advance, 1);
        const int height = std::max(m_fontHeight, 1);
        QImage glyph(width, height, QImage::Format_ARGB32);
        glyph.fill(Qt::transparent);
        if (!text.isEmpty()) {
            QPainter painter(&glyph);
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(0, m_fontAscent, text);
        }
        const int rowBytes = (width + 7) / 8;
        std::vector<GLubyte> bits(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height), 0);
        for (int y = 0; y < height; ++y) {
            // Bitmaps run from the bottom row up.
            GLubyte* row = bits.data() + static_cast<std::size_t>(height - 1 - y) * static_cast<std::size_t>(rowBytes);
            for (int x = 0; x < width; ++x) {
                if (qAlpha(glyph.pixel(x, y)) > 100)
                    row[x / 8] = static_cast<GLubyte>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        glNewList(m_fontBase + static_cast<unsigned>(code), GL_COMPILE);
        glBitmap(width, height, 0.0F, static_cast<float>(descent), static_cast<float>(advance), 0.0F, bits.data());
        glEndList();
    }
}

void COpenGLBase::drawCaption()
{
    if (m_fontBase == 0)
        return;
    const std::vector<std::string> lines = m_scene.captionLines();
    if (lines.empty())
        return;
    const int w = std::max(width(), 1);
    const int h = std::max(height(), 1);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, w, 0.0, h, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glColor3d(0.0, 0.0, 0.0);
    glListBase(m_fontBase);
    int baseline = 6 + m_fontAscent;
    for (const std::string& line : lines) {
        const std::string bytes = kzev::utf8ToCp1250(line);
        glRasterPos2i(6, h - baseline);
        glCallLists(static_cast<GLsizei>(bytes.size()), GL_UNSIGNED_BYTE, bytes.data());
        baseline += m_fontHeight;
    }
    glListBase(0);
    glEnable(GL_DEPTH_TEST);
    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}

// ---- Off the screen --------------------------------------------------------------------

QImage COpenGLBase::RenderToImage(kzev::ScrollSize size, int mode)
{
    const CurrentContextGuard restore;
    QOffscreenSurface surface;
    surface.setFormat(glFormat());
    surface.create();
    QOpenGLContext context;
    context.setFormat(glFormat());
    if (!surface.isValid() || !context.create() || !context.makeCurrent(&surface)) {
        kzev::services().log->addLine(kzev::loadString(63341));
        return {};
    }
    // The picture is bounded by what the graphics can render and by the memory cap.
    GLint largestBuffer = 0;
    glGetIntegerv(GL_MAX_RENDERBUFFER_SIZE, &largestBuffer);
    GLint largestViewport[2] = { 0, 0 };
    glGetIntegerv(GL_MAX_VIEWPORT_DIMS, largestViewport);
    int largestSide = static_cast<int>(largestBuffer);
    if (largestViewport[0] > 0)
        largestSide = largestSide > 0 ? std::min(largestSide, static_cast<int>(largestViewport[0])) : largestViewport[0];
    if (largestViewport[1] > 0)
        largestSide = largestSide > 0 ? std::min(largestSide, static_cast<int>(largestViewport[1])) : largestViewport[1];
    const kzev::ScrollSize asked { std::max(size.cx, 1), std::max(size.cy, 1) };
    const kzev::ScrollSize made = kzev::OffscreenLayout::imageSize(asked, asked, true, largestSide);
    if (made != asked) {
        kzev::services().log->addLine(kzev::formatC(kzev::loadString(63340).c_str(), static_cast<long>(made.cx),
            static_cast<long>(made.cy), static_cast<long>(asked.cx), static_cast<long>(asked.cy)));
    }

    QOpenGLFramebufferObjectFormat bufferFormat;
    bufferFormat.setAttachment(QOpenGLFramebufferObject::CombinedDepthStencil);
    QOpenGLFramebufferObject buffer(made.cx, made.cy, bufferFormat);
    if (!buffer.isValid() || !buffer.bind()) {
        context.doneCurrent();
        kzev::services().log->addLine(kzev::loadString(63341));
        return {};
    }
    const double savedAspect = m_aspect;
    InitGL();
    glViewport(0, 0, made.cx, made.cy);
    m_aspect = static_cast<double>(made.cx) / made.cy;
    SetProjection();
    m_scene.prepareOffscreen();
    m_scene.SetGLCamera();
    const GLuint list = glGenLists(1);
    QImage picture;
    if (list != 0) {
        BuildDisplayList(list, 0, mode);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushMatrix();
        glCallList(list);
        glPopMatrix();
        glFinish();
        picture = buffer.toImage().convertToFormat(QImage::Format_RGB888);
        glDeleteLists(list, 1);
    }
    buffer.release();
    context.doneCurrent();
    m_aspect = savedAspect;
    return picture;
}

bool COpenGLBase::RenderToDevice(kzev::IDrawSurface& surface, kzev::ScrollSize page, bool preview, int mode)
{
    const kzev::ScrollSize window { std::max(width(), 1), std::max(height(), 1) };
    const kzev::ScrollSize size = kzev::OffscreenLayout::imageSize(window, page, preview);
    const QImage picture = RenderToImage(size, mode);
    if (picture.isNull())
        return false;
    const kzev::RgbImage image = kzev::rgbImageOf(picture);
    const kzev::PictureRect target = kzev::OffscreenLayout::target({ image.width, image.height }, page);
    surface.drawImage(target.left, target.top, target.width, target.height, image);
    return true;
}
