#include "cad/drawing/CadDrawing.h"

#include "cad/drawing/DxfAngles.h"
#include "cad/drawing/DxfOcs.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace kzev {

namespace {

constexpr double kSymbolHalf = 5.0;

using Segments = std::vector<std::pair<DrawingPoint, DrawingPoint>>;

// Where a block reference puts the points of its block: scaled, turned about
// its own z, in its own system, the base point at the insertion point.
class Placement {
public:
    Placement(const DrawingEntity& insert, const DrawingPoint& base)
    {
        const DxfOcs ocs(insert.normal);
        const double c = std::cos(insert.rotation);
        const double s = std::sin(insert.rotation);
        // Columns: where the block's x, y and z axes go.
        const DrawingPoint x = ocs.toWorld({ c * insert.scale[0], s * insert.scale[0], 0.0 });
        const DrawingPoint y = ocs.toWorld({ -s * insert.scale[1], c * insert.scale[1], 0.0 });
        const DrawingPoint z = ocs.toWorld({ 0.0, 0.0, insert.scale[2] });
        m_x = x;
        m_y = y;
        m_z = z;
        const DrawingPoint at = insert.points.empty() ? DrawingPoint {} : insert.points.front();
        const DrawingPoint shifted = linear(base);
        m_t = { at.x - shifted.x, at.y - shifted.y, at.z - shifted.z };
    }

    [[nodiscard]] DrawingPoint operator()(const DrawingPoint& p) const
    {
        const DrawingPoint v = linear(p);
        return { v.x + m_t.x, v.y + m_t.y, v.z + m_t.z };
    }

    /** This placement after an inner one: the inner's points as this one places them. */
    [[nodiscard]] Placement after(const Placement& inner) const
    {
        Placement out;
        out.m_x = linear(inner.m_x);
        out.m_y = linear(inner.m_y);
        out.m_z = linear(inner.m_z);
        out.m_t = (*this)(inner.m_t);
        return out;
    }

private:
    Placement() = default;

    [[nodiscard]] DrawingPoint linear(const DrawingPoint& p) const
    {
        return { p.x * m_x.x + p.y * m_y.x + p.z * m_z.x, p.x * m_x.y + p.y * m_y.y + p.z * m_z.y,
            p.x * m_x.z + p.y * m_y.z + p.z * m_z.z };
    }

    DrawingPoint m_x { 1.0, 0.0, 0.0 };
    DrawingPoint m_y { 0.0, 1.0, 0.0 };
    DrawingPoint m_z { 0.0, 0.0, 1.0 };
    DrawingPoint m_t {};
};

// Adds the segments of a block's entities as `place` puts them; references
// within go deeper until the nesting limit, and none re-enters a block it is in.
void addBlockSegments(const CadDrawing& drawing, const DrawingBlockDefinition& block, const Placement& place,
    int depth, std::vector<const DrawingBlockDefinition*>& chain, Segments& out)
{
    chain.push_back(&block);
    for (const DrawingEntity& e : block.entities) {
        if (out.size() >= kBlockOutlineLimit)
            break;
        if (e.kind == DrawingEntityKind::Block) {
            const DrawingBlockDefinition* inner = drawing.findBlockDefinition(e.blockName);
            if (!inner || depth + 1 >= kBlockNestingLimit || std::ranges::find(chain, inner) != chain.end())
                continue;
            addBlockSegments(drawing, *inner, place.after(Placement(e, inner->base)), depth + 1, chain, out);
            continue;
        }
        if (e.kind != DrawingEntityKind::Line && e.kind != DrawingEntityKind::Polyline)
            continue;
        for (std::size_t k = 1; k < e.points.size() && out.size() < kBlockOutlineLimit; ++k)
            out.emplace_back(place(e.points[k - 1]), place(e.points[k]));
        if (e.closed && e.points.size() > 2 && out.size() < kBlockOutlineLimit)
            out.emplace_back(place(e.points.back()), place(e.points.front()));
    }
    chain.pop_back();
}

} // namespace

std::vector<DrawingPoint> arcPolyline(const DrawingArc& arc)
{
    // Steps of at most this many degrees.
    constexpr double kStepDegrees = 10.0;
    double sweep = 360.0;
    if (!arc.circle) {
        sweep = std::fmod(arc.endDegrees - arc.startDegrees, 360.0);
        if (!(sweep > 0.0))
            sweep += 360.0;
    }
    const DxfOcs ocs(arc.normal);
    const int steps = std::max(1, static_cast<int>(std::ceil(sweep / kStepDegrees)));
    // A circle's last point would repeat its first: its polyline is closed instead.
    const int points = arc.circle ? steps : steps + 1;
    std::vector<DrawingPoint> line;
    line.reserve(static_cast<std::size_t>(points));
    for (int k = 0; k < points; ++k) {
        const double a = dxfangle::fromFileDegrees(arc.startDegrees + sweep * k / steps);
        line.push_back(ocs.toWorld(
            { arc.centre.x + arc.radius * std::cos(a), arc.centre.y + arc.radius * std::sin(a), arc.centre.z }));
    }
    return line;
}

CadDrawing::CadDrawing() { clear(); }

void CadDrawing::clear()
{
    m_layers = { DrawingLayer { "0", 7 } };
    m_entities.clear();
    m_blocks.clear();
    m_current = 0;
    m_color = 256;
    modified = false;
    notKept.clear();
}

int CadDrawing::findLayer(const std::string& name) const
{
    for (std::size_t i = 0; i < m_layers.size(); ++i)
        if (m_layers[i].name == name)
            return static_cast<int>(i);
    return -1;
}

int CadDrawing::addLayer(const std::string& name)
{
    if (const int found = findLayer(name); found >= 0)
        return found;
    m_layers.push_back({ name, 7 });
    modified = true;
    return static_cast<int>(m_layers.size()) - 1;
}

void CadDrawing::setLayerColor(int index, int color)
{
    if (index >= 0 && index < static_cast<int>(m_layers.size()) && color >= 1 && color <= 255)
        m_layers[static_cast<std::size_t>(index)].color = color;
}

void CadDrawing::setCurrentLayer(int index)
{
    if (index >= 0 && index < static_cast<int>(m_layers.size()))
        m_current = index;
}

std::int64_t CadDrawing::add(DrawingEntity entity)
{
    entity.layer = currentLayer();
    entity.color = m_color;
    return addAsIs(std::move(entity));
}

std::int64_t CadDrawing::addAsIs(DrawingEntity entity)
{
    if (findLayer(entity.layer) < 0)
        m_layers.push_back({ entity.layer, 7 });
    entity.id = ++m_lastId;
    m_entities.push_back(std::move(entity));
    modified = true;
    return m_lastId;
}

// Ids grow with every entity added and erasing keeps the order, so the
// entities stand sorted by id: a binary search finds one.
DrawingEntity* CadDrawing::find(std::int64_t id)
{
    return const_cast<DrawingEntity*>(std::as_const(*this).find(id));
}

const DrawingEntity* CadDrawing::find(std::int64_t id) const
{
    const auto it = std::lower_bound(
        m_entities.begin(), m_entities.end(), id, [](const DrawingEntity& e, std::int64_t wanted) { return e.id < wanted; });
    return it == m_entities.end() || it->id != id ? nullptr : &*it;
}

const DrawingEntity* CadDrawing::last() const { return m_entities.empty() ? nullptr : &m_entities.back(); }

bool CadDrawing::erase(std::int64_t id)
{
    const DrawingEntity* found = std::as_const(*this).find(id);
    if (!found)
        return false;
    m_entities.erase(m_entities.begin() + (found - m_entities.data()));
    modified = true;
    return true;
}

void CadDrawing::defineBlock(DrawingBlockDefinition definition)
{
    const std::string name = definition.name;
    m_blocks.try_emplace(name, std::move(definition));
}

const DrawingBlockDefinition* CadDrawing::findBlockDefinition(const std::string& name) const
{
    const auto it = m_blocks.find(name);
    return it == m_blocks.end() ? nullptr : &it->second;
}

std::vector<std::string> CadDrawing::promptedAttributes(const std::string&) { return { "SVITIDLO" }; }

std::vector<DrawingAttribute> CadDrawing::blockAttributes(double height)
{
    return { DrawingAttribute { "SVITIDLO", {}, height, 1.0, true }, DrawingAttribute { "POPIS", {}, height, 1.0, false } };
}

std::optional<std::pair<DrawingPoint, DrawingPoint>> CadDrawing::extents() const
{
    std::optional<std::pair<DrawingPoint, DrawingPoint>> box;
    const auto widen = [&box](const DrawingPoint& p) {
        if (!box) {
            box = std::pair { p, p };
            return;
        }
        box->first.x = std::min(box->first.x, p.x);
        box->first.y = std::min(box->first.y, p.y);
        box->second.x = std::max(box->second.x, p.x);
        box->second.y = std::max(box->second.y, p.y);
    };
    for (const DrawingEntity& e : m_entities) {
        if (e.kind == DrawingEntityKind::Block) {
            for (const auto& [a, b] : blockOutline(*this, e)) {
                widen(a);
                widen(b);
            }
        } else if (e.kind == DrawingEntityKind::Text) {
            // A rough box: 0.9 of the height per letter, paragraph lines 5/3 of it apart,
            // placed against the point by the attachment or justification.
            const DrawingPoint p = e.points.front();
            std::size_t letters = 0;
            std::size_t lines = 1;
            for (std::size_t start = 0;;) {
                const std::size_t end = e.text.find('\n', start);
                letters = std::max(letters, (end == std::string::npos ? e.text.size() : end) - start);
                if (end == std::string::npos)
                    break;
                start = end + 1;
                ++lines;
            }
            const double width = e.height * 0.9 * static_cast<double>(letters);
            const double depth = e.height * (1.0 + 5.0 / 3.0 * static_cast<double>(lines - 1));
            double left = 0.0;
            double top = e.height;
            if (e.attachment >= 1 && e.attachment <= 9) {
                const int column = (e.attachment - 1) % 3;
                const int row = (e.attachment - 1) / 3;
                left = -width * column / 2.0;
                top = depth * row / 2.0;
            } else if (e.justification == TextJustification::TopLeft) {
                top = 0.0;
            } else if (e.justification == TextJustification::Middle) {
                left = -width / 2.0;
                top = e.height / 2.0;
            }
            for (const double u : { left, left + width })
                for (const double v : { top, top - depth })
                    widen({ p.x + u * std::cos(e.rotation) - v * std::sin(e.rotation),
                        p.y + u * std::sin(e.rotation) + v * std::cos(e.rotation), p.z });
        } else {
            for (const DrawingPoint& p : e.points)
                widen(p);
        }
    }
    return box;
}

std::vector<std::pair<DrawingPoint, DrawingPoint>> blockSymbol(const DrawingEntity& block)
{
    const DrawingPoint at = block.points.empty() ? DrawingPoint {} : block.points.front();
    const double c = std::cos(block.rotation);
    const double s = std::sin(block.rotation);
    const auto place = [&](double u, double v) {
        const double x = u * block.scale[0];
        const double y = v * block.scale[1];
        return DrawingPoint { at.x + x * c - y * s, at.y + x * s + y * c, at.z };
    };
    const DrawingPoint a = place(-kSymbolHalf, -kSymbolHalf);
    const DrawingPoint b = place(kSymbolHalf, -kSymbolHalf);
    const DrawingPoint d = place(kSymbolHalf, kSymbolHalf);
    const DrawingPoint e = place(-kSymbolHalf, kSymbolHalf);
    return { { a, b }, { b, d }, { d, e }, { e, a }, { a, d }, { b, e } };
}

std::vector<std::pair<DrawingPoint, DrawingPoint>> blockOutline(const CadDrawing& drawing, const DrawingEntity& block)
{
    const DrawingBlockDefinition* definition = drawing.findBlockDefinition(block.blockName);
    if (!definition)
        return blockSymbol(block);
    Segments out;
    std::vector<const DrawingBlockDefinition*> chain;
    addBlockSegments(drawing, *definition, Placement(block, definition->base), 0, chain, out);
    return out.empty() ? blockSymbol(block) : out;
}

} // namespace kzev
