#include "cad/drawing/DrawingAutomation.h"

#include <cmath>
#include <map>

namespace kzev {

namespace {

// Attributes are named by their block and place; sets by a number of their own.
constexpr std::int64_t kAttributeBase = 1'000'000'000'000;
constexpr std::int64_t kAttributesPerBlock = 1'000;
constexpr std::int64_t kSetBase = 2'000'000'000'000;

CadServerError serverError(const std::string& text) { return CadServerError(1, kCadException, text); }

DrawingPoint pointOf(const CadVariant& value)
{
    double p[3] {};
    if (VariantToPoint3d(p, value) != kCadOk) {
        double q[2] {};
        if (VariantToPoint2d(q, value) != kCadOk)
            throw serverError("Neplatný bod");
        return { q[0], q[1], 0.0 };
    }
    return { p[0], p[1], p[2] };
}

CadVariant variantOf(const DrawingPoint& p)
{
    CadVariant out;
    (void)CreatePointSafeArray(out, p.x, p.y, p.z);
    return out;
}

// Turns a vector about a unit axis (Rodrigues).
DrawingPoint turned(const DrawingPoint& v, const DrawingPoint& axis, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double dot = axis.x * v.x + axis.y * v.y + axis.z * v.z;
    const DrawingPoint cross { axis.y * v.z - axis.z * v.y, axis.z * v.x - axis.x * v.z, axis.x * v.y - axis.y * v.x };
    return { v.x * c + cross.x * s + axis.x * dot * (1 - c), v.y * c + cross.y * s + axis.y * dot * (1 - c),
        v.z * c + cross.z * s + axis.z * dot * (1 - c) };
}

class DrawingDocument final : public ICadDocument {
public:
    explicit DrawingDocument(DrawingParts parts)
        : m_parts(parts)
    {
    }

    std::string name() override { return m_parts.drawing.fileName; }
    void sendCommand(const std::string& line) override { m_parts.processor.type(line); }
    std::int16_t systemVariable(const std::string& name) override
    {
        if (name != "CMDACTIVE" && name != "cmdactive")
            return 0;
        // A poll that finds a command waiting lets the user go on with it.
        if (m_parts.processor.busy())
            m_parts.host.workBriefly();
        return m_parts.processor.busy() ? 1 : 0;
    }

    std::int32_t layerCount() override { return static_cast<std::int32_t>(m_parts.drawing.layers().size()); }
    std::string layerName(std::int32_t index) override
    {
        if (index < 0 || index >= layerCount())
            throw serverError("Hladina " + std::to_string(index) + " neexistuje");
        return m_parts.drawing.layers()[static_cast<std::size_t>(index)].name;
    }
    std::int32_t addLayer(const std::string& name) override { return m_parts.drawing.addLayer(name); }
    void setCurrentLayer(std::int32_t index) override
    {
        if (index < 0 || index >= layerCount())
            throw serverError("Hladina " + std::to_string(index) + " neexistuje");
        m_parts.drawing.setCurrentLayer(index);
    }

    CadObjectId insertBlock(const CadVariant& point, const std::string& blockName, double scaleX, double scaleY,
        double scaleZ, double rotation) override
    {
        std::string name = blockName;
        if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string::npos)
            name.erase(0, slash + 1);
        if (name.size() > 4 && (name.ends_with(".dwg") || name.ends_with(".DWG")))
            name.resize(name.size() - 4);
        if (name.empty())
            throw serverError("Blok bez jména");
        DrawingEntity block;
        block.kind = DrawingEntityKind::Block;
        block.blockName = name;
        block.points = { pointOf(point) };
        block.scale[0] = scaleX;
        block.scale[1] = scaleY;
        block.scale[2] = scaleZ;
        block.rotation = rotation;
        block.attributes = CadDrawing::blockAttributes(2.0 * scaleX);
        return added(std::move(block));
    }
    CadObjectId addLine(const CadVariant& start, const CadVariant& end) override
    {
        DrawingEntity line;
        line.kind = DrawingEntityKind::Line;
        line.points = { pointOf(start), pointOf(end) };
        return added(std::move(line));
    }
    CadObjectId addText(const std::string& text, const CadVariant& point, double height) override
    {
        DrawingEntity entity;
        entity.kind = DrawingEntityKind::Text;
        entity.points = { pointOf(point) };
        entity.text = text;
        entity.height = height;
        return added(std::move(entity));
    }

    void rotate(CadObjectId object, const CadVariant& basePoint, double angle) override
    {
        DrawingEntity& e = entity(object);
        const DrawingPoint base = pointOf(basePoint);
        for (DrawingPoint& p : e.points) {
            const DrawingPoint d = turned({ p.x - base.x, p.y - base.y, 0.0 }, { 0.0, 0.0, 1.0 }, angle);
            p = { base.x + d.x, base.y + d.y, p.z };
        }
        if (e.kind == DrawingEntityKind::Text || e.kind == DrawingEntityKind::Block)
            e.rotation += angle;
        touched();
    }
    void rotate3d(CadObjectId object, const CadVariant& axisStart, const CadVariant& axisEnd, double angle) override
    {
        DrawingEntity& e = entity(object);
        const DrawingPoint a = pointOf(axisStart);
        const DrawingPoint b = pointOf(axisEnd);
        const double length = std::hypot(b.x - a.x, b.y - a.y, b.z - a.z);
        if (length <= 0.0)
            throw serverError("Osa otočení nemá délku");
        const DrawingPoint axis { (b.x - a.x) / length, (b.y - a.y) / length, (b.z - a.z) / length };
        for (DrawingPoint& p : e.points) {
            const DrawingPoint d = turned({ p.x - a.x, p.y - a.y, p.z - a.z }, axis, angle);
            p = { a.x + d.x, a.y + d.y, a.z + d.z };
        }
        e.normal = turned(e.normal, axis, angle);
        touched();
    }
    std::string objectName(CadObjectId object) override
    {
        switch (entity(object).kind) {
        case DrawingEntityKind::Block: return "AcDbBlockReference";
        case DrawingEntityKind::Line: return "AcDbLine";
        case DrawingEntityKind::Polyline: return "AcDbPolyline";
        case DrawingEntityKind::Text: return "AcDbText";
        }
        return {};
    }
    bool hasAttributes(CadObjectId blockReference) override { return !entity(blockReference).attributes.empty(); }
    std::vector<CadObjectId> attributes(CadObjectId blockReference) override
    {
        const DrawingEntity& e = entity(blockReference);
        std::vector<CadObjectId> out;
        for (std::size_t i = 0; i < e.attributes.size() && i < static_cast<std::size_t>(kAttributesPerBlock); ++i)
            out.push_back(kAttributeBase + e.id * kAttributesPerBlock + static_cast<CadObjectId>(i));
        return out;
    }
    CadVariant insertionPoint(CadObjectId blockReference) override
    {
        return variantOf(entity(blockReference).points.front());
    }
    double rotation(CadObjectId blockReference) override { return entity(blockReference).rotation; }
    CadVariant normal(CadObjectId blockReference) override { return variantOf(entity(blockReference).normal); }
    CadVariant vertex(CadObjectId object, std::int32_t index) override
    {
        const DrawingEntity& e = entity(object);
        if (index < 0 || index >= static_cast<std::int32_t>(e.points.size()))
            throw serverError("Vrchol " + std::to_string(index) + " neexistuje");
        const DrawingPoint& p = e.points[static_cast<std::size_t>(index)];
        return CadVariant::doubles({ p.x, p.y });
    }

    std::string attributeTag(CadObjectId attribute) override { return attributeOf(attribute).tag; }
    std::string attributeText(CadObjectId attribute) override { return attributeOf(attribute).text; }
    void setAttributeText(CadObjectId attribute, const std::string& text) override
    {
        attributeOf(attribute).text = text;
        m_parts.drawing.modified = true;
    }
    void setAttributeHeight(CadObjectId attribute, double height) override { attributeOf(attribute).height = height; }
    void setAttributeScaleFactor(CadObjectId attribute, double factor) override
    {
        attributeOf(attribute).scaleFactor = factor;
    }
    void update(CadObjectId) override { m_parts.host.drawingChanged(); }

    CadVariant getPoint(const CadVariant& basePoint, const std::string& prompt) override
    {
        std::optional<DrawingPoint> base;
        if (!basePoint.isOmitted() && basePoint.type != kVtEmpty)
            base = pointOf(basePoint);
        const auto picked = m_parts.host.pickPoint(prompt, base);
        if (!picked)
            throw CadServerError(0, kCadException, "Zrušeno uživatelem");
        return variantOf(*picked);
    }
    double getDistance(const CadVariant& basePoint, const std::string& prompt) override
    {
        std::optional<DrawingPoint> base;
        if (!basePoint.isOmitted() && basePoint.type != kVtEmpty)
            base = pointOf(basePoint);
        if (!base) {
            base = m_parts.host.pickPoint(prompt, std::nullopt);
            if (!base)
                throw CadServerError(0, kCadException, "Zrušeno uživatelem");
        }
        const auto second = m_parts.host.pickPoint(prompt, base);
        if (!second)
            throw CadServerError(0, kCadException, "Zrušeno uživatelem");
        return std::hypot(second->x - base->x, second->y - base->y, second->z - base->z);
    }

    CadObjectId addSelectionSet(const std::string&) override { return newSet(); }
    CadObjectId addSelectionSetClone(const std::string&) override { return newSet(); }
    CadObjectId documentSelectionSet() override
    {
        m_sets.try_emplace(kSetBase);
        return kSetBase;
    }
    void select(CadObjectId set, std::int32_t mode, const CadVariant& first, const CadVariant& second,
        const CadVariant&, const CadVariant&) override
    {
        auto& members = setOf(set);
        if (mode == kCadSelectLast) {
            if (const DrawingEntity* last = m_parts.drawing.last())
                members.push_back(last->id);
        } else if (mode == kCadSelectCrossing || mode == kCadSelectCrossingIcad) {
            for (const std::int64_t id : crossingSelection(m_parts.drawing, pointOf(first), pointOf(second)))
                members.push_back(id);
        } else {
            throw serverError("Způsob výběru " + std::to_string(mode) + " výkres nezná");
        }
    }
    std::int32_t selectionCount(CadObjectId set) override { return static_cast<std::int32_t>(setOf(set).size()); }
    CadObjectId selectionItem(CadObjectId set, std::int32_t index) override
    {
        const auto& members = setOf(set);
        if (index < 0 || index >= static_cast<std::int32_t>(members.size()))
            throw serverError("Výběr nemá člen " + std::to_string(index));
        return members[static_cast<std::size_t>(index)];
    }
    void clearSelectionSet(CadObjectId set) override { setOf(set).clear(); }
    void deleteSelectionSet(CadObjectId set) override { m_sets.erase(set); }

private:
    CadObjectId added(DrawingEntity entity)
    {
        const CadObjectId id = m_parts.drawing.add(std::move(entity));
        touched();
        return id;
    }
    void touched()
    {
        m_parts.drawing.modified = true;
        m_parts.host.drawingChanged();
    }
    DrawingEntity& entity(CadObjectId object)
    {
        DrawingEntity* e = m_parts.drawing.find(object);
        if (!e)
            throw serverError("Objekt " + std::to_string(object) + " ve výkresu není");
        return *e;
    }
    DrawingAttribute& attributeOf(CadObjectId attribute)
    {
        const CadObjectId local = attribute - kAttributeBase;
        if (local < 0 || attribute >= kSetBase)
            throw serverError("Neznámý atribut");
        DrawingEntity& e = entity(local / kAttributesPerBlock);
        const auto index = static_cast<std::size_t>(local % kAttributesPerBlock);
        if (index >= e.attributes.size())
            throw serverError("Neznámý atribut");
        return e.attributes[index];
    }
    CadObjectId newSet()
    {
        const CadObjectId id = kSetBase + static_cast<CadObjectId>(++m_lastSet);
        m_sets[id];
        return id;
    }
    std::vector<std::int64_t>& setOf(CadObjectId set)
    {
        const auto found = m_sets.find(set);
        if (found == m_sets.end())
            throw serverError("Neznámý výběr");
        return found->second;
    }

    DrawingParts m_parts;
    std::map<CadObjectId, std::vector<std::int64_t>> m_sets;
    int m_lastSet = 0;
};

class DrawingApplication final : public ICadApplication {
public:
    explicit DrawingApplication(DrawingParts parts)
        : m_parts(parts)
    {
    }
    void setVisible(bool visible) override
    {
        if (visible)
            m_parts.host.showWindow();
    }
    std::unique_ptr<ICadDocument> activeDocument() override { return std::make_unique<DrawingDocument>(m_parts); }
    void sendCommand(const std::string& line) override { m_parts.processor.type(line); }
    void openDrawing(const std::filesystem::path& path) override
    {
        std::string error;
        if (!m_parts.host.openDrawing(path, error))
            throw serverError(error);
    }
    void quit() override { m_parts.host.closeWindow(); }

private:
    DrawingParts m_parts;
};

} // namespace

std::unique_ptr<ICadApplication> makeDrawingApplication(DrawingParts parts)
{
    return std::make_unique<DrawingApplication>(parts);
}

} // namespace kzev
