#include "view/PlanMouse.h"

#include "model/CKzevDoc.h"
#include "model/LampSystemRederive.h"
#include "view/EditLink.h"
#include "view/PlanView.h"

#include <algorithm>
#include <cmath>

namespace kzev {

double snapLength(double coordinate, double step, SnapRule rule)
{
    // No step, no snapping: a zero step must not divide.
    if (!(step > 0.0) || !std::isfinite(step) || !std::isfinite(coordinate))
        return coordinate;
    const double n = rule == SnapRule::Round ? std::trunc((coordinate + 0.5 * step) / step)
                                             : std::trunc(coordinate / step);
    return n * step;
}

CVector snapPoint(const CVector& point, double step, SnapRule rule)
{
    return { snapLength(point.x, step, rule), snapLength(point.y, step, rule), snapLength(point.z, step, rule) };
}

namespace {

DevicePoint scrolled(DevicePoint client, DevicePoint scroll)
{
    return { client.x + scroll.x, client.y + scroll.y };
}

COneLampSystem* selectedLuminaire(CLampSystem& system)
{
    const std::int32_t k = system.m_selectedLuminaire;
    if (k < 0 || static_cast<std::size_t>(k) >= system.m_luminaires.size())
        return nullptr;
    return &system.m_luminaires[static_cast<std::size_t>(k)];
}

} // namespace

PlanMouse::PlanMouse(PlanView& plan)
    : m_plan(plan)
{
}

double PlanMouse::step() const
{
    const CKzevDoc* doc = m_plan.document();
    return doc ? doc->m_dimIncrement : 0.0;
}

CVector PlanMouse::lampReference() const
{
    CLampSystem& system = *m_plan.editedLampSystem();
    if (system.m_nonRegular == 1) {
        if (const COneLampSystem* one = selectedLuminaire(system))
            return one->m_position;
    }
    return system.m_origin;
}

MouseOutcome PlanMouse::OnLButtonDown(DevicePoint client)
{
    m_press = client;
    m_last = client;
    m_leftPressed = true;
    return {};
}

MouseOutcome PlanMouse::OnMButtonDown(DevicePoint client, DevicePoint scroll)
{
    m_press = client;
    m_last = client;
    m_storedScroll = scroll;
    m_pan = true;
    return {};
}

MouseOutcome PlanMouse::OnMButtonUp(DevicePoint client)
{
    m_last = client;
    m_pan = false;
    MouseOutcome out;
    out.cursor = MouseOutcome::Cursor::Arrow;
    out.repaint = true;
    return out;
}

MouseOutcome PlanMouse::OnMouseMove(DevicePoint client, const MouseKeys& keys, DevicePoint scroll)
{
    MouseOutcome out;
    if (!m_plan.room())
        return out;
    const DevicePoint at = scrolled(client, scroll);

    if (m_leftPressed && keys.left && keys.shift && m_link && m_plan.editedArea() && !dragging()) {
        const DevicePoint from = scrolled(m_press, scroll);
        m_plan.setSelectionRect(true, std::min(from.x, at.x), std::min(from.y, at.y), std::max(from.x, at.x),
            std::max(from.y, at.y));
        m_selecting = true;
        out.repaint = true;
        return out;
    }
    if (keys.middle) {
        out.cursor = MouseOutcome::Cursor::Move;
        out.scrollTo = DevicePoint { m_storedScroll.x + (m_press.x - client.x), m_storedScroll.y + (m_press.y - client.y) };
        out.repaint = true;
        return out;
    }
    if (m_carry) {
        out.repaint = carryStep(at);
    } else if (m_aim) {
        out.repaint = aimStep(at);
    } else if (!m_move) {
        if (m_leftPressed && keys.left && m_link) {
            out.cursor = MouseOutcome::Cursor::Move;
            m_anchor = client;
            startDrag(keys);
        }
    } else {
        out.cursor = MouseOutcome::Cursor::Move;
        out.repaint = moveStep(at);
    }
    return out;
}

void PlanMouse::startDrag(const MouseKeys& keys)
{
    // Every point of the drag maps through the layout the press saw.
    m_plan.holdLayout(true);
    if (m_plan.editedLampSystem()) {
        CKzevDoc* doc = m_plan.document();
        CRoom* room = m_plan.room();
        if (doc && room && doc->m_immediateCalc == 1)
            room->InvalidateResults();
        m_link->beginLampChange();
    }
    if (!keys.control)
        m_move = true;
    else if (!keys.shift)
        m_aim = true;
    else
        m_carry = true;
}

void PlanMouse::rederive()
{
    CKzevDoc* doc = m_plan.document();
    CRoom* room = m_plan.room();
    CLampSystem* edited = m_plan.editedLampSystem();
    // A running calculation reads the room's lamp systems between its passes.
    if (!doc || !room || !edited || doc->m_calcRunning == 1)
        return;
    rederiveLampSystemFromSource(*doc, *room, *edited);
    rederiveDependentLampSystems(*doc, *room, m_link ? m_link->editedLampSystemIndex() : -1);
}

bool PlanMouse::moveStep(DevicePoint at)
{
    if (CLampSystem* system = m_plan.editedLampSystem()) {
        const CVector p = snapPoint(m_plan.ScreenToRoom(at.x, at.y, m_plan.DepthInView(lampReference())), step(),
            SnapRule::Round);
        if (COneLampSystem* one = selectedLuminaire(*system))
            one->m_position = p;
        system->m_origin = p;
        if (m_link)
            m_link->lampSystemChanged(LampChange::Move);
        rederive();
        return true;
    }
    if (CXSystem* obstacles = m_plan.editedObstacles()) {
        obstacles->m_origin = snapPoint(
            m_plan.ScreenToRoom(at.x, at.y, m_plan.DepthInView(obstacles->m_origin)), step(), SnapRule::Truncate);
        if (m_link)
            m_link->obstaclesMoved();
        return true;
    }
    if (CWorkSystem* area = m_plan.editedArea()) {
        area->m_origin = snapPoint(
            m_plan.ScreenToRoom(at.x, at.y, m_plan.DepthInView(area->m_origin)), step(), SnapRule::Truncate);
        if (m_link)
            m_link->areaMoved();
        return true;
    }
    return false;
}

bool PlanMouse::aimStep(DevicePoint at)
{
    CLampSystem* system = m_plan.editedLampSystem();
    if (!system || system->m_generalOrientation == 0)
        return false;
    COneLampSystem* one = selectedLuminaire(*system);
    if (!one)
        return false;
    // The aimed spot lies on the far side of the room as seen: floor, ceiling or the opposite wall.
    const auto& size = m_plan.roomSize(); // length (x), width (y), height
    double depth = size[2];
    switch (m_plan.projection().viewCode()) {
    case ViewCode::Wall1:
    case ViewCode::Wall3: depth = size[1]; break;
    case ViewCode::Wall2:
    case ViewCode::Wall4: depth = size[0]; break;
    default: break;
    }
    const CVector target = snapPoint(m_plan.ScreenToRoom(at.x, at.y, depth), step(), SnapRule::Round);
    system->m_origin = one->m_position;
    one->m_opticalAxis = target - one->m_position;
    system->m_opticalAxis = target - system->m_origin;
    DirectionToAngles(one->m_opticalAxis, one->m_c0Axis, system->m_tilt, system->m_turn, system->m_rotation);
    AxisAtAngleAroundDirection(one->m_opticalAxis, system->m_rotation, one->m_c0Axis);
    system->m_c0Axis = one->m_c0Axis;
    if (m_link)
        m_link->lampSystemChanged(LampChange::Aim);
    rederive();
    return true;
}

bool PlanMouse::carryStep(DevicePoint at)
{
    CLampSystem* system = m_plan.editedLampSystem();
    if (!system)
        return false;
    COneLampSystem* one = selectedLuminaire(*system);
    if (!one)
        return false;
    const CVector spot = CKzevDoc::IntersectLineWithFloor(*one);
    const CVector p = snapPoint(m_plan.ScreenToRoom(at.x, at.y, m_plan.DepthInView(lampReference())), step(),
        SnapRule::Round);
    one->m_position = p;
    system->m_origin = p;
    // A luminaire carried onto its own floor spot keeps its axis rather than losing it.
    const CVector axis = (spot - p).Normalized();
    if (axis.Length() > 0.0)
        one->m_opticalAxis = 100.0 * axis;
    system->m_opticalAxis = one->m_opticalAxis;
    if (m_link)
        m_link->lampSystemChanged(LampChange::Carry);
    rederive();
    return true;
}

MouseOutcome PlanMouse::OnLButtonUp(DevicePoint client, DevicePoint scroll)
{
    MouseOutcome out;
    m_last = client;
    const bool dragged = dragging();
    const CKzevDoc* doc = m_plan.document();
    if (dragged && m_link)
        m_link->changeEnded();
    if (dragged && doc && doc->m_immediateCalc == 1 && m_plan.editedLampSystem())
        out.calculate = true;
    if (m_selecting)
        switchPointsInRectangle(scroll);
    m_move = m_aim = m_carry = false;
    m_leftPressed = false;
    m_selecting = false;
    // Fitted to the scene again, wherever the drag took the object.
    if (m_plan.layoutHeld())
        m_plan.holdLayout(false);
    m_plan.setSelectionRect(false, 0, 0, 0, 0);
    out.cursor = MouseOutcome::Cursor::Arrow;
    out.repaint = true;
    return out;
}

void PlanMouse::switchPointsInRectangle(DevicePoint scroll)
{
    CWorkSystem* area = m_plan.editedArea();
    if (!area)
        return;
    const DevicePoint a = scrolled(m_press, scroll);
    const DevicePoint b = scrolled(m_last, scroll);
    const double depth = m_plan.DepthInView(area->m_origin);
    const CVector p = m_plan.ScreenToRoom(a.x, a.y, depth);
    const CVector q = m_plan.ScreenToRoom(b.x, b.y, depth);
    if (CKzevDoc* doc = m_plan.document(); doc && m_plan.room())
        doc->m_testPoints = 0;
    const std::size_t points = area->m_points.size();
    for (std::int32_t i = 0; i < area->m_count1; ++i) {
        for (std::int32_t j = 0; j < area->m_count2; ++j) {
            const std::size_t k = static_cast<std::size_t>(i) * static_cast<std::size_t>(area->m_count2)
                + static_cast<std::size_t>(j);
            if (k >= points)
                break;
            const CVector r = area->PointPosition(i, j);
            if (m_plan.TestInViewPlaneRange(r.x, p.x, q.x, r.y, p.y, q.y, r.z, p.z, q.z) == 1)
                area->m_points[k].m_off = area->m_points[k].m_off == 0 ? 1 : 0;
        }
    }
    if (m_link) {
        m_link->areaPointsSwitched();
        m_link->changeEnded();
    }
}

bool PlanMouse::doubleClickOnEdited(DevicePoint at, const MouseKeys& keys)
{
    if (CWorkSystem* area = m_plan.editedArea()) {
        if (CKzevDoc* doc = m_plan.document(); doc && m_plan.room())
            doc->m_testPoints = 0;
        const int k = nearestAreaPoint(m_plan, *area, at);
        if (k >= 0) {
            CPointCalc& point = area->m_points[static_cast<std::size_t>(k)];
            point.m_off = point.m_off == 0 ? 1 : 0;
            if (m_link) {
                m_link->areaPointsSwitched();
                m_link->changeEnded();
            }
        }
        return true;
    }
    CLampSystem* system = m_plan.editedLampSystem();
    if (!system)
        return m_plan.editedObstacles() != nullptr;
    const bool onlyLeft = keys.left && !keys.shift && !keys.control && !keys.middle && !keys.right;
    if (keys.shift && keys.left) {
        const int k = nearestLuminaireInView(m_plan, *system, at);
        if (k < 0)
            return true;
        const COneLampSystem& one = system->m_luminaires[static_cast<std::size_t>(k)];
        system->m_nonRegular = 1;
        system->m_selectedLuminaire = k;
        system->m_opticalAxis = one.m_opticalAxis;
        system->m_c0Axis = one.m_c0Axis;
        system->m_origin = one.m_position;
        if (m_link)
            m_link->lampSystemChanged(LampChange::LuminaireSelected);
    } else if (onlyLeft) {
        const int k = nearestLuminaireInSpace(m_plan, *system, at);
        if (k < 0)
            return true;
        if (m_link)
            m_link->beginLampChange();
        COneLampSystem& one = system->m_luminaires[static_cast<std::size_t>(k)];
        one.m_switchedOff = one.m_switchedOff == 0 ? 1 : 0;
        system->m_numberOfLuminaires = static_cast<std::int32_t>(std::count_if(system->m_luminaires.begin(),
            system->m_luminaires.end(), [](const COneLampSystem& entry) { return entry.m_switchedOff == 0; }));
        if (m_link) {
            m_link->lampSystemChanged(LampChange::LuminaireSwitched);
            m_link->changeEnded();
        }
    }
    return true;
}

MouseOutcome PlanMouse::OnLButtonDblClk(DevicePoint client, const MouseKeys& keys, DevicePoint scroll)
{
    MouseOutcome out;
    const DevicePoint at = scrolled(client, scroll);
    const bool edited = m_plan.editedArea() || m_plan.editedLampSystem() || m_plan.editedObstacles();
    if (edited) {
        out.repaint = doubleClickOnEdited(at, keys);
        return out;
    }
    const CRoom* room = m_plan.room();
    if (!room || !m_tree.selectedFolder || !m_tree.selectAndOpen)
        return out;
    const std::optional<PickFolder> folder = m_tree.selectedFolder();
    if (!folder)
        return out;
    if (const auto pick = pickForTree(m_plan, *room, *folder, at))
        m_tree.selectAndOpen(*pick);
    return out;
}

} // namespace kzev
