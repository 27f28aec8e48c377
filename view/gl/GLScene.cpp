#include "view/gl/GLScene.h"

#include "model/CKzevDoc.h"
#include "model/CLuminaire.h"
#include "calc/ResultShading.h"
#include "platform/AngleConstants.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "view/LuminaireBody.h"
#include "view/PlanView.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

constexpr double kColourByte = 0.00390625; // 1 / 256

void vertex(const CVector& p)
{
    glVertex3d(p.x, p.y, p.z);
}

// A room surface holds a value unless it is one whose light the calculation leaves out.
bool holdsValue(const CWorkSystem& area)
{
    return area.m_reflectedComponent != 0;
}

bool pointsComplete(const CWorkSystem& area)
{
    return area.m_count1 > 0 && area.m_count2 > 0
        && area.m_points.size() >= static_cast<std::size_t>(area.m_count1) * static_cast<std::size_t>(area.m_count2);
}

// Whether the eye sees the room side of the surface of the side code (1 to 6); other faces always.
bool facesEye(std::int32_t side, const CRoom& room, const CVector& eye)
{
    const CVector& r = room.m_origin;
    switch (side) {
    case 1: return eye.y >= r.y;
    case 2: return r.x + room.m_length >= eye.x;
    case 3: return r.y + room.m_width >= eye.y;
    case 4: return eye.x >= r.x;
    case 5: return r.z + room.m_height >= eye.z;
    case 6: return eye.z >= r.z;
    default: return true;
    }
}

int modeOrFirst(const CRoom& room, int mode)
{
    return mode >= 0 && static_cast<std::size_t>(mode) < room.m_modes.size() ? mode : 0;
}

} // namespace

GLScene::GLScene(PlanView& plan)
    : m_plan(plan)
{
}

const CRoom* GLScene::sceneRoom() const
{
    CKzevDoc* doc = m_plan.document();
    if (m_printRoom >= 0 && doc && static_cast<std::size_t>(m_printRoom) < doc->m_rooms.size())
        return &doc->m_rooms[static_cast<std::size_t>(m_printRoom)];
    return m_plan.room();
}

// ---- Camera ------------------------------------------------------------------------

void GLScene::ComputeGLEyeTarget()
{
    CViewSettings* settings = m_plan.viewSettings();
    const CRoom* room = sceneRoom();
    if (!settings || !room)
        return;
    const ViewProjection& projection = m_plan.projection();
    const std::optional<GLEyeTarget> camera = GLCamera::eyeTarget(settings->m_viewCode, projection.sceneMinimum(),
        projection.sceneMaximum(), room->m_origin, settings->m_perspective);
    if (!camera)
        return;
    settings->m_viewVector1 = camera->eye;
    settings->m_viewVector2 = camera->target;
    m_sceneSize = camera->sceneSize;
}

void GLScene::SetGLCamera()
{
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const CViewSettings* settings = m_plan.viewSettings();
    if (!settings || settings->m_viewCode < 112 || settings->m_viewCode > 117)
        return;
    const CVector& eye = settings->m_viewVector1;
    const CVector& target = settings->m_viewVector2;
    const CVector up = GLCamera::up(settings->m_viewCode);
    gluLookAt(eye.x, eye.y, eye.z, target.x, target.y, target.z, up.x, up.y, up.z);
}

void GLScene::moveEyeByWheel(int delta)
{
    CViewSettings* settings = m_plan.viewSettings();
    const CKzevDoc* doc = m_plan.document();
    if (!settings || !doc)
        return;
    settings->m_viewVector1 = GLCamera::wheelEye(
        settings->m_viewCode, settings->m_viewVector1, settings->m_viewVector2, doc->m_wheelStep, delta);
}

void GLScene::moveCameraByDrag(int dx, int dy, bool eyeOnly)
{
    CViewSettings* settings = m_plan.viewSettings();
    const CRoom* room = sceneRoom();
    if (!settings || !room)
        return;
    const int code = settings->m_viewCode;
    settings->m_viewVector1 = GLCamera::dragStep(code, settings->m_viewVector1, dx, dy);
    if (!eyeOnly) {
        settings->m_viewVector2 = GLCamera::dragStep(code, settings->m_viewVector2, dx, dy);
        return;
    }
    // The eye circles the scene: it keeps looking at the centre of the room's extents.
    m_plan.ComputeSceneExtents();
    const auto& low = m_plan.projection().sceneMinimum();
    const auto& high = m_plan.projection().sceneMaximum();
    settings->m_viewVector2 = CVector { (low[0] + high[0]) * 0.5 + room->m_origin.x,
        (low[1] + high[1]) * 0.5 + room->m_origin.y, (low[2] + high[2]) * 0.5 + room->m_origin.z };
}

void GLScene::prepareOffscreen()
{
    // A room the composer prints gets its own extents and camera; the screen's room keeps a camera the
    // user moved and gets one only when none was ever set.
    if (m_printRoom >= 0) {
        m_plan.ComputeSceneExtents();
        m_plan.projection().computeSceneExtents(sceneRoom());
        ComputeGLEyeTarget();
        return;
    }
    m_plan.ComputeSceneExtents();
    const CViewSettings* settings = m_plan.viewSettings();
    if (settings && settings->m_viewVector1 == settings->m_viewVector2)
        ComputeGLEyeTarget();
}

std::vector<std::string> GLScene::captionLines()
{
    const CRoom* room = sceneRoom();
    if (!room)
        return {};
    std::vector<std::string> lines { const_cast<CRoom*>(room)->GetLabel() };
    if (room->m_modes.size() > 1) {
        const int mode = modeOrFirst(*room, room->m_currentMode);
        lines.push_back(formatC(loadString(63342).c_str(), room->m_modes[static_cast<std::size_t>(mode)].m_name.c_str()));
    }
    return lines;
}

// ---- Scene -----------------------------------------------------------------------------

void GLScene::RenderGLRoom(int firstSceneArgument, int mode)
{
    const CRoom* room = sceneRoom();
    if (!room || room->m_roomFlag == 1)
        return;
    glLineWidth(1.0F);
    DrawGLScene(*room, firstSceneArgument, mode);
}

void GLScene::DrawGLScene(const CRoom& room, int firstSceneArgument, int mode)
{
    if (firstSceneArgument != 0)
        return;
    const CViewSettings* settings = m_plan.viewSettings();
    if (!settings)
        return;
    glLineWidth(1.0F);
    bool shaded = false;
    if (room.m_surfacesUpToDate == 1 && settings->m_fillSurfaces == 1) {
        const int shown = m_printRoom >= 0 ? mode : room.m_currentMode;
        DrawGLSurfaceAreas(room, modeOrFirst(room, shown));
        shaded = true;
    }
    if (!shaded) {
        if (settings->m_drawRoom == 1) {
            const int highlight = &room == m_plan.room() ? 1 : 0;
            DrawGLBox(highlight, room.m_origin, { 0.0, 0.0, room.m_height }, { 0.0, room.m_width, 0.0 },
                { room.m_length, 0.0, 0.0 });
        }
        if (settings->m_drawObstacles == 1)
            DrawGLObstacleSystems(room);
    }
    if (settings->m_luminaires == 1)
        DrawGLLuminaires(room, modeOrFirst(room, mode));
}

void GLScene::DrawGLBox(int highlight, const CVector& corner, const CVector& a, const CVector& b, const CVector& c)
{
    glShadeModel(GL_FLAT);
    if (highlight == 1)
        glColor3d(0.0, 0.0, 1.0);
    else
        glColor3d(0.0, 0.0, 0.0);
    glBegin(GL_LINE_LOOP);
    vertex(corner);
    vertex(corner + a);
    vertex(corner + a + b);
    vertex(corner + b);
    glEnd();
    glBegin(GL_LINES);
    for (const CVector& p : { corner, corner + a, corner + a + b, corner + b }) {
        vertex(p);
        vertex(p + c);
    }
    const CVector top = corner + c;
    for (const auto& [from, to] : { std::pair { top, top + a }, std::pair { top + a, top + a + b },
             std::pair { top + a + b, top + b }, std::pair { top + b, top } }) {
        vertex(from);
        vertex(to);
    }
    glEnd();
}

double GLScene::GetSmoothedSurfaceValue(const CWorkSystem& area, std::size_t point, int corner)
{
    if (!holdsValue(area))
        return 10000.0;
    if (area.m_count1 <= 0 || area.m_count2 <= 0)
        return 0.0;
    const auto columns = static_cast<std::size_t>(area.m_count2);
    const auto i = static_cast<long long>(point / columns);
    const auto j = static_cast<long long>(point % columns);
    // Corners in the order the quad is drawn: (-, -), (+, -), (+, +), (-, +) half steps.
    static constexpr int kSide[4][2] = { { -1, -1 }, { 1, -1 }, { 1, 1 }, { -1, 1 } };
    const int c = std::clamp(corner, 1, 4) - 1;
    double sum = 0.0;
    int count = 0;
    for (const long long di : { 0LL, static_cast<long long>(kSide[c][0]) }) {
        for (const long long dj : { 0LL, static_cast<long long>(kSide[c][1]) }) {
            const long long ni = i + di;
            const long long nj = j + dj;
            if (ni < 0 || nj < 0 || ni >= area.m_count1 || nj >= area.m_count2)
                continue;
            const std::size_t k = static_cast<std::size_t>(ni) * columns + static_cast<std::size_t>(nj);
            if (k >= area.m_points.size())
                continue;
            sum += pointTotalValue(area.m_points[k]);
            ++count;
        }
    }
    return count > 0 ? sum / count : 0.0;
}

void GLScene::DrawGLSurfaceAreas(const CRoom& room, int mode)
{
    if (mode < 0 || static_cast<std::size_t>(mode) >= room.m_modes.size())
        return;
    const std::vector<CWorkSystem>& areas = room.m_modes[static_cast<std::size_t>(mode)].m_surfaces;
    const CViewSettings* settings = m_plan.viewSettings();
    const double brightness = settings ? settings->m_brightness : 0.5;
    const CVector eye = settings ? settings->m_viewVector1 : CVector {};
    double maximum = 0.0;
    for (const CWorkSystem& area : areas) {
        if (!holdsValue(area))
            continue;
        for (const CPointCalc& point : area.m_points)
            maximum = std::max(maximum, pointTotalValue(point) * area.m_reflectance);
    }
    glShadeModel(GL_SMOOTH);
    for (const CWorkSystem& area : areas) {
        if (!pointsComplete(area) || !facesEye(area.m_surfaceNumber, room, eye))
            continue;
        const double red = static_cast<double>(area.m_colour & 0xFF) * kColourByte;
        const double green = static_cast<double>((area.m_colour >> 8) & 0xFF) * kColourByte;
        const double blue = static_cast<double>((area.m_colour >> 16) & 0xFF) * kColourByte;
        const CVector half1 = 0.5 * area.m_step1;
        const CVector half2 = 0.5 * area.m_step2;
        glBegin(GL_QUADS);
        for (std::int32_t i = 0; i < area.m_count1; ++i) {
            for (std::int32_t j = 0; j < area.m_count2; ++j) {
                const std::size_t k = static_cast<std::size_t>(i) * static_cast<std::size_t>(area.m_count2)
                    + static_cast<std::size_t>(j);
                const CVector p = area.PointPosition(i, j) + room.m_origin;
                const std::array<CVector, 4> corners { p - half1 - half2, p + half1 - half2, p + half1 + half2,
                    p - half1 + half2 };
                for (int c = 0; c < 4; ++c) {
                    const double value = GetSmoothedSurfaceValue(area, k, c + 1);
                    const double b = GLBrightnessFromValue(value, maximum, area.m_reflectance) * brightness * 1.5;
                    glColor3d(red * b, green * b, blue * b);
                    vertex(corners[static_cast<std::size_t>(c)]);
                }
            }
        }
        glEnd();
    }
    glShadeModel(GL_FLAT);
}

void GLScene::DrawGLObstacleSystems(const CRoom& room)
{
    const int selected = m_plan.treeSelection().obstacle;
    for (std::size_t k = 0; k < room.m_obstacleSystems.size(); ++k) {
        const CXSystem& obstacles = room.m_obstacleSystems[k];
        if (obstacles.m_off == 1)
            continue;
        DrawGLObstacleSystem(static_cast<int>(k) == selected ? 1 : 0, room, obstacles);
    }
}

void GLScene::DrawGLObstacleSystem(int highlight, const CRoom& room, const CXSystem& obstacles)
{
    for (std::int32_t i = 0; i < obstacles.m_count1; ++i) {
        for (std::int32_t j = 0; j < obstacles.m_count2; ++j) {
            const CVector corner = obstacles.m_origin + static_cast<double>(i) * obstacles.m_spacing1
                + static_cast<double>(j) * obstacles.m_spacing2 + room.m_origin;
            DrawGLBox(highlight, corner, obstacles.m_edgeA, obstacles.m_edgeB, obstacles.m_edgeC);
        }
    }
}

void GLScene::DrawGLLuminaires(const CRoom& room, int mode)
{
    ILuminaireSource* source = m_plan.luminaireSource();
    if (!source)
        return;
    for (const CLampSystem& constSystem : room.m_lampSystems) {
        if (constSystem.m_switchedOff == 1)
            continue;
        // Resolving may load the luminaire into the document and note its index in the system.
        CLampSystem& system = const_cast<CLampSystem&>(constSystem);
        const CLuminaire* luminaire = source->luminaire(system);
        if (!luminaire)
            continue;
        for (const COneLampSystem& entry : system.m_luminaires) {
            if (entry.m_switchedOff != 1)
                DrawGLLuminaire(room, *luminaire, entry, mode);
        }
    }
}

void GLScene::DrawGLLuminaire(const CRoom& room, const CLuminaire& luminaire, const COneLampSystem& entry, int mode)
{
    const auto [u, v, w, d1, d2, d3] = LuminaireBody::of(entry, luminaire);
    const double f = entry.ModeFactor(static_cast<std::size_t>(std::max(mode, 0)));
    // The light-emitting face lies a millimetre below the mounting point, the body behind it.
    const CVector face = entry.m_position + room.m_origin - CVector { 0.0, 0.0, 0.001 };
    const CVector back = (-d3) * u;
    auto lit = [f] { glColor3d(f, f, 0.0); };
    auto body = [] { glColor3d(0.5, 0.25, 0.0); };
    glShadeModel(GL_FLAT);

    if (luminaire.m_shape != 1) {
        const CVector a = 0.5 * d1 * w;
        const CVector b = 0.5 * d2 * v;
        const std::array<CVector, 4> front { face - a - b, face + a - b, face + a + b, face - a + b };
        std::array<CVector, 4> rear {};
        for (std::size_t i = 0; i < 4; ++i)
            rear[i] = front[i] + back;
        glBegin(GL_QUADS);
        lit();
        for (const CVector& p : front)
            vertex(p);
        body();
        for (auto it = rear.rbegin(); it != rear.rend(); ++it)
            vertex(*it);
        for (std::size_t i = 0; i < 4; ++i) {
            const std::size_t n = (i + 1) % 4;
            vertex(front[i]);
            vertex(rear[i]);
            vertex(rear[n]);
            vertex(front[n]);
        }
        glEnd();
        return;
    }

    const double radius = 0.5 * LuminaireBody::of(entry, luminaire).diameter();
    const int step = roundBodyStep(m_plan.document() ? m_plan.document()->m_cylIncrement : 0.0);
    std::vector<CVector> rim;
    for (int angle = 0; angle <= 360; angle += step) {
        const double r = kDegToRad * angle;
        rim.push_back(face + radius * std::cos(r) * v + radius * std::sin(r) * w);
    }
    if (360 % step != 0)
        rim.push_back(rim.front());
    glBegin(GL_TRIANGLE_FAN);
    lit();
    vertex(face);
    for (const CVector& p : rim)
        vertex(p);
    glEnd();
    body();
    glBegin(GL_TRIANGLE_FAN);
    vertex(face + back);
    for (const CVector& p : rim)
        vertex(p + back);
    glEnd();
    glBegin(GL_QUAD_STRIP);
    for (const CVector& p : rim) {
        vertex(p);
        vertex(p + back);
    }
    glEnd();
}

} // namespace kzev
