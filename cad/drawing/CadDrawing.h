#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kzev {

/** A point of the drawing in drawing units. */
struct DrawingPoint {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    friend bool operator==(const DrawingPoint&, const DrawingPoint&) = default;
};

/** A layer of the drawing and its colour (AutoCAD colour index). */
struct DrawingLayer {
    std::string name;
    int color = 7;
};

/** An attribute of a block reference. */
struct DrawingAttribute {
    std::string tag;
    std::string text;
    double height = 2.0;
    double scaleFactor = 1.0;
    bool invisible = false;
};

enum class DrawingEntityKind { Line, Polyline, Text, Block };

/**
 * The arc or circle a polyline was read from: centre in the entity's own
 * system (of normal), radius, angles in degrees as the file gives them. The
 * polyline drawn is made from it by `arcPolyline`; while the points are still
 * those, the entity is saved as the arc or circle it came as.
 */
struct DrawingArc {
    DrawingPoint centre;
    double radius = 0.0;
    double startDegrees = 0.0;
    double endDegrees = 360.0;
    bool circle = false;
    DrawingPoint normal { 0.0, 0.0, 1.0 };
    friend bool operator==(const DrawingArc&, const DrawingArc&) = default;
};

/** Returns the polyline drawn for an arc or circle, in the world (a circle's is closed, without its first point again). */
[[nodiscard]] std::vector<DrawingPoint> arcPolyline(const DrawingArc& arc);

/** What makes a block's text an attribute definition: its tag, prompt and flags (1 invisible). */
struct DrawingAttributeDefinition {
    std::string tag;
    std::string prompt;
    int flags = 0;
    friend bool operator==(const DrawingAttributeDefinition&, const DrawingAttributeDefinition&) = default;
};

/** Placement of a text against its point. */
enum class TextJustification { Left, Middle, TopLeft };

/**
 * One entity of the drawing. A line holds two points, a polyline its
 * vertices, a text and a block reference their insertion point.
 */
struct DrawingEntity {
    std::int64_t id = 0;
    DrawingEntityKind kind = DrawingEntityKind::Line;
    std::string layer = "0";
    /** AutoCAD colour index; 256 is the layer's colour. */
    int color = 256;
    std::vector<DrawingPoint> points;
    bool closed = false;
    std::string text;
    double height = 0.0;
    /** Rotation in radians. */
    double rotation = 0.0;
    TextJustification justification = TextJustification::Left;
    /** Width of a paragraph text's box; 0 for a one-line text. */
    double boxWidth = 0.0;
    /**
     * The point of a paragraph text's box its insertion point stands for, as
     * MTEXT numbers it (1 top left, 2 top centre, 3 top right, 4 to 6 the
     * middle, 7 to 9 the bottom row); 0 for a one-line text.
     */
    int attachment = 0;
    std::string blockName;
    double scale[3] { 1.0, 1.0, 1.0 };
    DrawingPoint normal { 0.0, 0.0, 1.0 };
    std::vector<DrawingAttribute> attributes;
    /** For a polyline read from an arc or circle: the arc. */
    std::optional<DrawingArc> arc;
    /** For a text of a block read from an attribute definition: the definition; its text is the default value. */
    std::optional<DrawingAttributeDefinition> definition;
};

/**
 * A block definition read from a file: its base point and what it draws, in
 * its own coordinates. Lines and polylines (arcs and circles come as
 * polylines), references to other blocks, and texts and attribute
 * definitions, which are kept to be saved again but not drawn.
 */
struct DrawingBlockDefinition {
    std::string name;
    DrawingPoint base;
    std::vector<DrawingEntity> entities;
};

/**
 * The one drawing of the drawing window: layers, entities in the order they
 * were made, the current layer and colour, the block definitions of a file
 * read. A block reference of a name the drawing holds no definition of gets
 * the luminaire symbol: a square of 10 units
 * with its diagonals, an attribute "SVITIDLO" asked for at insertion and a
 * preset "POPIS".
 */
class CadDrawing {
public:
    CadDrawing();

    [[nodiscard]] const std::vector<DrawingLayer>& layers() const { return m_layers; }
    [[nodiscard]] const std::vector<DrawingEntity>& entities() const { return m_entities; }
    /** Returns the layer's index, adding the layer when it is new. */
    int addLayer(const std::string& name);
    /** Sets a layer's colour (AutoCAD colour index 1 to 255; anything else is left alone). */
    void setLayerColor(int index, int color);
    /** Returns the layer's index, or -1. */
    [[nodiscard]] int findLayer(const std::string& name) const;
    void setCurrentLayer(int index);
    [[nodiscard]] const std::string& currentLayer() const { return m_layers[static_cast<std::size_t>(m_current)].name; }
    void setCurrentColor(int color) { m_color = color; }
    [[nodiscard]] int currentColor() const { return m_color; }

    /** Adds an entity on the current layer in the current colour; returns its id. */
    std::int64_t add(DrawingEntity entity);
    /** Makes room for so many entities in all (before reading a large file). */
    void reserve(std::size_t count) { m_entities.reserve(count); }
    /** Adds an entity as it stands (reading a file). */
    std::int64_t addAsIs(DrawingEntity entity);
    [[nodiscard]] DrawingEntity* find(std::int64_t id);
    [[nodiscard]] const DrawingEntity* find(std::int64_t id) const;
    /** Returns the last entity made that still exists, or null. */
    [[nodiscard]] const DrawingEntity* last() const;
    bool erase(std::int64_t id);
    void clear();

    /** Keeps a block definition read from a file; a name met before keeps its first definition. */
    void defineBlock(DrawingBlockDefinition definition);
    /** Returns the definition of a block name, or null when the drawing has none. */
    [[nodiscard]] const DrawingBlockDefinition* findBlockDefinition(const std::string& name) const;

    /** Returns the attribute tags a block asks for at insertion, in their order. */
    [[nodiscard]] static std::vector<std::string> promptedAttributes(const std::string& blockName);
    /** Returns a block reference's attributes as inserted, before any value is given. */
    [[nodiscard]] static std::vector<DrawingAttribute> blockAttributes(double height);

    /** Returns the drawing's extents in plan, none for an empty drawing. */
    [[nodiscard]] std::optional<std::pair<DrawingPoint, DrawingPoint>> extents() const;

    /** Whether something changed since the drawing was last read or saved. */
    bool modified = false;
    /** The file the drawing was read from or saved to; empty for a new drawing. */
    std::string fileName;
    /** The kinds of entity of the file read that the drawing does not keep, with how many of each. */
    std::map<std::string, std::size_t> notKept;

private:
    std::vector<DrawingLayer> m_layers;
    std::vector<DrawingEntity> m_entities;
    std::map<std::string, DrawingBlockDefinition> m_blocks;
    int m_current = 0;
    int m_color = 256;
    std::int64_t m_lastId = 0;
};

/** Returns the outline of the luminaire symbol of a block reference, as segments in drawing units. */
[[nodiscard]] std::vector<std::pair<DrawingPoint, DrawingPoint>> blockSymbol(const DrawingEntity& block);

/**
 * Returns what a block reference draws, as segments in drawing units: its
 * block's definition placed at the reference (base point, scale, rotation,
 * own system), nested references within kBlockNestingLimit levels and
 * kBlockOutlineLimit segments; the luminaire symbol when the drawing has no
 * definition of the block, or one that draws nothing.
 */
[[nodiscard]] std::vector<std::pair<DrawingPoint, DrawingPoint>> blockOutline(const CadDrawing& drawing,
    const DrawingEntity& block);

/** The deepest nesting of block references drawn. */
inline constexpr int kBlockNestingLimit = 8;
/** The most segments one block reference draws. */
inline constexpr std::size_t kBlockOutlineLimit = 50'000;

} // namespace kzev
