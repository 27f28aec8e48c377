// The luminaire layers of the plan: symbols, labels, coordinates, intensity
// wire-frames and optical axes.

#include "view/PlanView.h"

#include "model/CKzevDoc.h"
#include "platform/AngleConstants.h"
#include "model/CLuminaire.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "view/LuminaireBody.h"
#include "view/gl/GLCamera.h"

#include <cmath>

namespace kzev {

namespace {

// The luminaire's catalogue number that marks the kind drawn with an extra mark on its face.
constexpr std::int32_t kMarkedLuminaireType = 13;

std::int32_t luminaireTypeCode(const CLuminaire& luminaire)
{
    return luminaire.m_lampSubgroup;
}

// Shape 1 is a round body: its width is missing, so the length gives the diameter.
bool isRound(const CLuminaire& luminaire)
{
    return luminaire.m_shape == 1;
}

std::string luminaireLabel(const CLampSystem& system, std::size_t k, std::size_t j)
{
    if (system.m_nonRegular == 1)
        return formatC("%ld:%ld", static_cast<long>(k + 1), static_cast<long>(j + 1));
    return formatC("%ld", static_cast<long>(k + 1));
}

} // namespace

void PlanView::DrawLuminaires(IDrawSurface& surface, int drawSwitchedOff, int mode) const
{
    const CRoom* current = room();
    const CViewSettings* settings = viewSettings();
    if (!current || !settings || !m_luminaires)
        return;
    const std::int32_t unit = m_document ? m_document->m_unitMm : 1;
    for (std::size_t k = 0; k < current->m_lampSystems.size(); ++k) {
        const int index = static_cast<int>(k);
        CLampSystem* source = const_cast<CLampSystem*>(&current->m_lampSystems[k]);
        int slot = 0;
        if (m_editedLampSystem) {
            if (index == m_drawingSelection.lampSystem) {
                source = m_editedLampSystem;
                slot = 1;
            }
        } else if (index == m_treeSelection.lampSystem) {
            slot = 1;
        }
        CLampSystem& system = *source;
        if (system.m_switchedOff == 1)
            continue;
        const CLuminaire* luminaire = m_luminaires->luminaire(system);
        if (!luminaire)
            continue;
        const std::string typeText = m_luminaires->typeText(system);
        const bool pickOne = system.m_nonRegular == 1 && source == m_editedLampSystem
            && index == m_treeSelection.lampSystem;
        for (std::size_t j = 0; j < system.m_luminaires.size(); ++j) {
            const COneLampSystem& entry = system.m_luminaires[j];
            int entrySlot = slot;
            if (pickOne)
                entrySlot = static_cast<int>(j) == system.m_selectedLuminaire ? 1 : 0;
            Pen pen = scaled(slotPen(entrySlot));
            if (entry.m_switchedOff == 1 || entry.ModeFactor(static_cast<std::size_t>(std::max(mode, 0))) <= 0.001) {
                if (drawSwitchedOff != 1)
                    continue;
                pen = scaled(PlanPens::kSwitchedOff);
            }
            const CVector& p = entry.m_position;
            DrawLuminaireOutline(surface, entry, *luminaire, p, pen);
            surface.selectPen(pen);

            const bool labels = settings->m_lampSystemLabels == 1;
            const bool type = settings->m_luminaireType == 1;
            if (labels || type) {
                std::string text = type ? typeText : std::string();
                if (labels) {
                    if (!text.empty())
                        text += ' ';
                    text += luminaireLabel(system, k, j);
                }
                int x = 0;
                int y = 0;
                ProjectPoint(p.x, p.y, p.z, x, y);
                surface.setTextAlign(TextAlign::Center);
                surface.textOut(x, y, text);
                surface.setTextAlign(TextAlign::Left | TextAlign::Top);
            }
            if (settings->m_luminaireCoordinates == 1 && system.m_nonRegular == 1) {
                const std::string text = unit == 1
                    ? formatC(loadString(61951).c_str(), p.x * 1000.0, p.y * 1000.0, p.z * 1000.0)
                    : formatC(loadString(61952).c_str(), p.x, p.y, p.z);
                int x = 0;
                int y = 0;
                ProjectPoint(p.x, p.y, p.z, x, y);
                surface.setTextAlign(TextAlign::Left | TextAlign::Top);
                surface.textOut(x, y, text);
            }
            if (settings->m_luminaireCharacteristics == 1)
                DrawLuminaireCharacteristics(surface, entry, *luminaire, p, pen);
        }
    }
}

void PlanView::DrawLuminaireOutline(IDrawSurface& surface, const COneLampSystem& entry, const CLuminaire& luminaire,
    const CVector& p, const Pen& pen) const
{
    const auto [u, v, w, d1, d2, d3] = LuminaireBody::of(entry, luminaire);
    // On screen the mounting face is red so that the luminaire's side is seen at a glance.
    const Pen facePen = m_pageOutput ? pen : scaled(slotPen(5));
    auto segment = [&](const CVector& from, const CVector& to) {
        WorldMoveTo(surface, from.x, from.y, from.z);
        WorldLineTo(surface, to.x, to.y, to.z);
    };

    if (!isRound(luminaire)) {
        const CVector k = p - 0.5 * (d1 * w + d2 * v);
        const std::array<CVector, 4> face { k, k + d1 * w, k + d1 * w + d2 * v, k + d2 * v };
        const CVector depth = d3 * u;
        surface.selectPen(facePen);
        for (std::size_t i = 0; i < 4; ++i)
            segment(face[i], face[(i + 1) % 4]);
        surface.selectPen(pen);
        for (std::size_t i = 0; i < 4; ++i) {
            segment(face[i], face[i] + depth);
            segment(face[i] + depth, face[(i + 1) % 4] + depth);
        }
    } else {
        const double diameter = LuminaireBody::of(entry, luminaire).diameter();
        // Whole degrees, at least one, so that the circle always closes.
        const double step = roundBodyStep(m_document ? m_document->m_cylIncrement : 0.0);
        std::vector<CVector> circle;
        for (double a = 0.0; a <= 360.0 + 1e-9; a += step) {
            const double r = kDegToRad * a;
            circle.push_back(p + CombineAxes({ 0.5 * diameter * std::cos(r), 0.5 * diameter * std::sin(r), 0.0 }, v, w, u));
        }
        if (circle.size() > 1 && std::fabs(360.0 - (circle.size() - 1) * step) > 1e-9)
            circle.push_back(circle.front());
        const CVector depth = d3 * u;
        surface.selectPen(facePen);
        for (std::size_t i = 1; i < circle.size(); ++i)
            segment(circle[i - 1], circle[i]);
        surface.selectPen(pen);
        for (const CVector& c : circle)
            segment(c, c + depth);
        for (std::size_t i = 1; i < circle.size(); ++i)
            segment(circle[i - 1] + depth, circle[i] + depth);
    }

    if (luminaireTypeCode(luminaire) == kMarkedLuminaireType && d2 >= 0.25) {
        surface.selectPen(pen);
        const CVector q = p - (0.3 * d1 * w + 0.03 * v);
        segment(q, q + 0.06 * v);
        const CVector middle = q + 0.03 * v;
        const CVector end = middle + 0.6 * d1 * w;
        segment(middle, end);
        segment(end - 0.04 * v, end + 0.04 * v);
    }
}

void PlanView::DrawLuminaireCharacteristics(IDrawSurface& surface, const COneLampSystem& entry,
    const CLuminaire& luminaire, const CVector& p, const Pen& pen) const
{
    const CViewSettings* settings = viewSettings();
    if (!settings || luminaire.m_intensity.empty())
        return;
    const double scale = settings->m_intensityCurveScale;
    const CVector u = entry.m_opticalAxis.Normalized();
    const CVector c0 = entry.m_c0Axis.Normalized();
    // C90 lies a quarter turn from C0, counter-clockwise seen against the optical axis.
    const CVector c90 = CrossProduct(c0, u).Normalized();
    // The solid's own third axis is the optical axis: elevation -90 (gamma 0) lies along it, so a
    // downlight's solid hangs below the luminaire; +90 (gamma 180) points back behind it.
    constexpr int kElevations = 19;
    constexpr int kPlanes = 37;
    std::array<std::array<CVector, kPlanes>, kElevations> solid {};
    for (int e = 0; e < kElevations; ++e) {
        const double elevation = -90.0 + 10.0 * e;
        for (int h = 0; h < kPlanes; ++h) {
            const double plane = 10.0 * h;
            const double r = luminaire.GetIntensity(std::fmod(plane, 360.0), elevation + 90.0) * scale;
            const double er = kDegToRad * elevation;
            const double hr = kDegToRad * plane;
            const CVector local { r * std::cos(hr) * std::cos(er), r * std::sin(hr) * std::cos(er), -r * std::sin(er) };
            solid[static_cast<std::size_t>(e)][static_cast<std::size_t>(h)]
                = p + local.x * c0 + local.y * c90 + local.z * u;
        }
    }
    surface.selectPen(pen);
    for (const auto& ring : solid) {
        WorldMoveTo(surface, ring[0].x, ring[0].y, ring[0].z);
        for (std::size_t h = 1; h < ring.size(); ++h)
            WorldLineTo(surface, ring[h].x, ring[h].y, ring[h].z);
    }
    for (std::size_t h = 0; h + 1 < static_cast<std::size_t>(kPlanes); ++h) {
        WorldMoveTo(surface, solid[0][h].x, solid[0][h].y, solid[0][h].z);
        for (std::size_t e = 1; e < solid.size(); ++e)
            WorldLineTo(surface, solid[e][h].x, solid[e][h].y, solid[e][h].z);
    }
}

void PlanView::DrawLuminaireAxes(IDrawSurface& surface) const
{
    const CRoom* current = room();
    if (!current)
        return;
    // The working plane is the height of the room's first visual-task area; the floor without one.
    const double z0 = current->m_workSystems.empty() ? 0.0 : current->m_workSystems.front().m_origin.z;
    for (std::size_t k = 0; k < current->m_lampSystems.size(); ++k) {
        const int index = static_cast<int>(k);
        const CLampSystem* source = &current->m_lampSystems[k];
        int slot = 0;
        if (m_editedLampSystem) {
            if (index == m_drawingSelection.lampSystem) {
                source = m_editedLampSystem;
                slot = 1;
            }
        } else if (index == m_treeSelection.lampSystem) {
            slot = 1;
        }
        const CLampSystem& system = *source;
        if (system.m_switchedOff == 1)
            continue;
        const bool pickOne = system.m_nonRegular == 1 && source == m_editedLampSystem
            && index == m_treeSelection.lampSystem;
        for (std::size_t j = 0; j < system.m_luminaires.size(); ++j) {
            const COneLampSystem& entry = system.m_luminaires[j];
            int entrySlot = slot;
            if (pickOne)
                entrySlot = static_cast<int>(j) == system.m_selectedLuminaire ? 1 : 0;
            const CVector& p = entry.m_position;
            const CVector& a = entry.m_opticalAxis;
            if (std::fabs(a.z) < 0.0001)
                continue;
            const double t = (z0 - p.z) / a.z;
            surface.selectPen(entry.m_switchedOff == 1 ? scaled(PlanPens::kSwitchedOff) : scaled(slotPen(entrySlot)));
            WorldMoveTo(surface, p.x, p.y, p.z);
            WorldLineTo(surface, p.x + a.x * t, p.y + a.y * t, z0);
        }
    }
}

} // namespace kzev
