#include "cad/drawing/CadDrawing.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

constexpr double kSymbolHalf = 5.0;

} // namespace

CadDrawing::CadDrawing() { clear(); }

void CadDrawing::clear()
{
    m_layers = { DrawingLayer { "0", 7 } };
    m_entities.clear();
    m_current = 0;
    m_color = 256;
    modified = false;
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

DrawingEntity* CadDrawing::find(std::int64_t id)
{
    const auto it = std::find_if(m_entities.begin(), m_entities.end(), [id](const auto& e) { return e.id == id; });
    return it == m_entities.end() ? nullptr : &*it;
}

const DrawingEntity* CadDrawing::find(std::int64_t id) const
{
    const auto it = std::find_if(m_entities.begin(), m_entities.end(), [id](const auto& e) { return e.id == id; });
    return it == m_entities.end() ? nullptr : &*it;
}

const DrawingEntity* CadDrawing::last() const { return m_entities.empty() ? nullptr : &m_entities.back(); }

bool CadDrawing::erase(std::int64_t id)
{
    const auto it = std::find_if(m_entities.begin(), m_entities.end(), [id](const auto& e) { return e.id == id; });
    if (it == m_entities.end())
        return false;
    m_entities.erase(it);
    modified = true;
    return true;
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
            for (const auto& [a, b] : blockSymbol(e)) {
                widen(a);
                widen(b);
            }
        } else if (e.kind == DrawingEntityKind::Text) {
            // A rough box: the text's height above its point (below for a top-left one), 0.7 of it per letter.
            const DrawingPoint p = e.points.front();
            const double width = e.height * 0.7 * static_cast<double>(e.text.size());
            const double rise = e.justification == TextJustification::TopLeft ? -e.height : e.height;
            widen(p);
            widen({ p.x + width * std::cos(e.rotation) - rise * std::sin(e.rotation),
                p.y + width * std::sin(e.rotation) + rise * std::cos(e.rotation), p.z });
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

} // namespace kzev
