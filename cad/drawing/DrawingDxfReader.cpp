#include "cad/drawing/DrawingDxf.h"

#include "cad/drawing/DxfAngles.h"
#include "cad/drawing/DxfOcs.h"
#include "cad/drawing/DxfText.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include "platform/FileIo.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <map>
#include <optional>
#include <streambuf>
#include <string_view>

#include <sys/stat.h>

namespace kzev {

namespace {

constexpr int kNotADrawing = 64924;

// Enough for any drawing the window holds; a larger file is not ours to show.
constexpr std::size_t kEntityLimit = 2'000'000;
// Bytes handed to dxflib at a time; progress is told after each piece.
constexpr std::size_t kPiece = 1 << 16;
// The longest line dxflib reads: a longer one stops its stream for good, and it reads on without end.
constexpr std::size_t kLongestLine = DL_DXF_MAXLINE - 1;
// An arc smaller than this draws nothing, and a file would not hold its radius.
constexpr double kLeastRadius = 1e-9;
// The fewest bytes a vertex of a light polyline takes in a file ("10\n0\n20\n0\n").
constexpr std::uintmax_t kBytesPerVertex = 10;
// Room for the entities is made once, from the file's size: a drawing's
// entity takes a couple of hundred bytes of a file or more. Growing the list
// step by step would touch twice the memory.
constexpr std::uintmax_t kBytesPerEntity = 200;
// A file larger than this many entities' worth (a damaged or foreign one may
// be) grows the list as it goes instead of holding the memory up front.
constexpr std::uintmax_t kReserveLimit = 500'000;

double numberOf(std::string_view value, double otherwise)
{
    double number = 0.0;
    const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    return error == std::errc() && stop == value.data() + value.size() && std::isfinite(number) ? number : otherwise;
}

int integerOf(std::string_view value, int otherwise)
{
    int number = 0;
    const auto [stop, error] = std::from_chars(value.data(), value.data() + value.size(), number);
    return error == std::errc() && stop == value.data() + value.size() ? number : otherwise;
}

std::string_view stripped(std::string_view line)
{
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
        line.remove_prefix(1);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t' || line.back() == '\r'))
        line.remove_suffix(1);
    return line;
}

// The groups dxflib reads wrongly or not at all: the angle of a paragraph
// text, and the flags (visibility) of an attribute.
struct RawParagraph {
    double x = 0.0;
    double y = 0.0;
    std::optional<double> degrees;
};
struct RawAttribute {
    std::string tag;
    int flags = 0;
};
// An attribute definition of a block, which dxflib does not read at all, with
// the ordinal of the block it stands in (the first is 1).
struct RawAttributeDefinition {
    std::size_t block = 0;
    std::string layer = "0";
    int color = 256;
    DrawingPoint point;
    std::optional<DrawingPoint> aligned;
    DrawingPoint normal { 0.0, 0.0, 1.0 };
    double height = 0.0;
    double degrees = 0.0;
    int horizontal = 0;
    int vertical = 0;
    std::string text;
    DrawingAttributeDefinition definition;
};

// The entities the drawing keeps; dxflib reads some others, which the drawing leaves out.
bool keptEntity(std::string_view name)
{
    static constexpr std::string_view kKept[] { "LINE", "LWPOLYLINE", "POLYLINE", "VERTEX", "SEQEND", "TEXT", "MTEXT",
        "INSERT", "ATTRIB", "ARC", "CIRCLE", "ATTDEF", "BLOCK", "ENDBLK", "SECTION", "ENDSEC", "EOF" };
    return std::ranges::find(kKept, name) != std::end(kKept);
}

/**
 * The file as dxflib reads it, a piece at a time: it tells the progress,
 * ends the input when the progress says stop, and notes on the way the
 * groups of paragraph texts and attributes that dxflib does not hand over.
 * It runs ahead of dxflib, which reports an entity only after reading it.
 */
class DxfInput final : public std::streambuf {
public:
    DxfInput(std::istream& file, std::uintmax_t size, const DrawingReadProgress& progress)
        : m_file(file)
        , m_size(size)
        , m_progress(progress)
    {
    }

    [[nodiscard]] bool stopped() const { return m_stopped; }
    /**
     * Whether a section began anywhere: dxflib takes any text for groups
     * (what is no number is code 0 to it), so this is what tells a drawing.
     */
    [[nodiscard]] bool sawSection() const { return m_sawSection; }
    /** The kinds of entity met that the drawing does not keep, with how many of each. */
    [[nodiscard]] const std::map<std::string, std::size_t>& notKept() const { return m_notKept; }

    /** Takes the noted attribute definitions of the block of the ordinal, dropping those of blocks dxflib passed by. */
    std::vector<RawAttributeDefinition> definitionsOf(std::size_t block)
    {
        std::vector<RawAttributeDefinition> taken;
        while (!m_definitions.empty() && m_definitions.front().block <= block) {
            if (m_definitions.front().block == block)
                taken.push_back(std::move(m_definitions.front()));
            m_definitions.pop_front();
        }
        return taken;
    }

    /** Takes the noted paragraph text at the point, dropping those dxflib passed by; none when it is not noted. */
    std::optional<RawParagraph> paragraphAt(double x, double y)
    {
        while (!m_paragraphs.empty()) {
            RawParagraph next = m_paragraphs.front();
            m_paragraphs.pop_front();
            if (next.x == x && next.y == y)
                return next;
        }
        return std::nullopt;
    }
    /** Takes the noted attribute of the tag, as above. */
    std::optional<RawAttribute> attributeOf(const std::string& tag)
    {
        while (!m_attributes.empty()) {
            RawAttribute next = std::move(m_attributes.front());
            m_attributes.pop_front();
            if (next.tag == tag)
                return next;
        }
        return std::nullopt;
    }

protected:
    int_type underflow() override
    {
        for (;;) {
            if (m_stopped)
                return traits_type::eof();
            // dxflib is handed whole lines only, so that a value can be mended before it sees it;
            // the part of a line not yet ended waits at the front of the buffer for the rest.
            std::memmove(m_buffer.data(), m_buffer.data() + m_handed, m_kept);
            const std::size_t wanted = m_buffer.size() - m_kept;
            m_file.read(m_buffer.data() + m_kept, static_cast<std::streamsize>(wanted));
            const auto got = static_cast<std::size_t>(m_file.gcount());
            const bool atEnd = got < wanted;
            const std::size_t filled = m_kept + got;
            if (filled == 0) {
                note(std::string_view(m_line));
                m_line.clear();
                finishEntity();
                return traits_type::eof();
            }
            m_read += got;
            std::size_t whole = filled;
            if (got > 0) {
                const std::string_view text(m_buffer.data(), filled);
                const std::size_t lastEnd = text.rfind('\n');
                // A line longer than the buffer goes on as it is.
                if (lastEnd != std::string_view::npos)
                    whole = lastEnd + 1;
            }
            const std::size_t handed = cutLongLines(m_buffer.data(), whole);
            scan(m_buffer.data(), handed, atEnd);
            m_handed = whole;
            m_kept = filled - whole;
            if (m_progress
                && !m_progress(
                    m_size == 0 ? 0.0 : std::min(1.0, static_cast<double>(m_read) / static_cast<double>(m_size)))) {
                m_stopped = true;
                return traits_type::eof();
            }
            // The whole piece may be the rest of a line cut short.
            if (handed == 0)
                continue;
            setg(m_buffer.data(), m_buffer.data(), m_buffer.data() + handed);
            return traits_type::to_int_type(m_buffer[0]);
        }
    }

private:
    /** Leaves out what a line holds beyond the longest dxflib reads; returns the bytes kept, moved to the front. */
    std::size_t cutLongLines(char* data, std::size_t size)
    {
        std::size_t kept = 0;
        std::size_t at = 0;
        while (at < size) {
            const auto* end = static_cast<const char*>(std::memchr(data + at, '\n', size - at));
            const std::size_t length = (end ? static_cast<std::size_t>(end - data) : size) - at;
            const std::size_t take = std::min(length, kLongestLine - std::min(m_column, kLongestLine));
            if (kept != at)
                std::memmove(data + kept, data + at, take);
            kept += take;
            if (!end) {
                m_column += length;
                break;
            }
            data[kept++] = '\n';
            m_column = 0;
            at += length + 1;
        }
        return kept;
    }

    enum class Kind { Other, Paragraph, Attribute, Section, Block, AttributeDefinition };

    void scan(char* data, std::size_t size, bool atEnd)
    {
        std::string_view piece(data, size);
        while (!piece.empty()) {
            const std::size_t end = piece.find('\n');
            if (end == std::string_view::npos) {
                // The file's last line, without its end, is a line like any other.
                if (atEnd && m_line.empty()) {
                    if (note(piece))
                        mendVertexCount(data + (piece.data() - data), piece.size());
                    return;
                }
                m_line.append(piece);
                return;
            }
            if (m_line.empty()) {
                char* start = data + (piece.data() - data);
                if (note(piece.substr(0, end)))
                    mendVertexCount(start, end);
            } else {
                m_line.append(piece.substr(0, end));
                note(std::string_view(m_line));
                m_line.clear();
            }
            piece.remove_prefix(end + 1);
        }
    }
    // A light polyline's vertex count (group 90) is what dxflib makes room for before reading a
    // vertex; a file cannot hold more vertices than it has bytes for, so a larger count is cut to that.
    [[nodiscard]] std::uintmax_t mostVertices() const { return m_size / kBytesPerVertex + 1; }
    void mendVertexCount(char* line, std::size_t length)
    {
        const std::string count = std::to_string(mostVertices());
        if (count.size() > length)
            return;
        std::fill(line, line + length, ' ');
        std::copy(count.begin(), count.end(), line + (length - count.size()));
    }
    /** Notes the line; true when it is a vertex count beyond what the file can hold. */
    bool note(std::string_view line)
    {
        line = stripped(line);
        // A byte order mark before the first code is no part of it.
        if (!m_sawLine && line.starts_with("\xEF\xBB\xBF"))
            line.remove_prefix(3);
        m_sawLine = true;
        m_codeLine = !m_codeLine;
        if (m_codeLine) {
            m_code = integerOf(line, -1);
            // dxflib takes a group code as strtol does (" 90" and "90x" are 90 to it).
            const std::string text(line);
            m_countFollows = std::strtol(text.c_str(), nullptr, 10) == 90;
            return false;
        }
        if (m_countFollows) {
            // Whatever the entity (dxflib may see another than we do in a damaged file).
            std::uintmax_t count = 0;
            const auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), count);
            // Anything but a plain count within reach (a sign, an overflow) is cut to that too.
            if (error != std::errc() || count > mostVertices())
                return true;
        }
        if (m_code == 0) {
            finishEntity();
            noteEntity(line);
            return false;
        }

        if (m_kind == Kind::Paragraph) {
            if (m_code == 10)
                m_paragraph.x = numberOf(line, 0.0);
            else if (m_code == 20)
                m_paragraph.y = numberOf(line, 0.0);
            else if (m_code == 50 && !m_paragraph.degrees)
                m_paragraph.degrees = numberOf(line, 0.0);
        } else if (m_kind == Kind::Attribute) {
            if (m_code == 2)
                m_attribute.tag = line;
            else if (m_code == 70 && !m_hasFlags) {
                m_attribute.flags = integerOf(line, 0);
                m_hasFlags = true;
            }
        } else if (m_kind == Kind::Section && m_code == 2) {
            m_section = line;
        } else if (m_kind == Kind::Block && m_code == 2) {
            m_blockName = line;
        } else if (m_kind == Kind::AttributeDefinition) {
            noteDefinition(line);
        }
        return false;
    }
    void noteEntity(std::string_view name)
    {
        m_kind = name == "MTEXT" ? Kind::Paragraph
            : name == "ATTRIB"   ? Kind::Attribute
            : name == "SECTION"  ? Kind::Section
            : name == "BLOCK"    ? Kind::Block
            : Kind::Other;
        if (name == "BLOCK") {
            ++m_blocks;
            m_blockName.clear();
        }
        if (name == "SECTION")
            m_sawSection = true;
        if (name == "SECTION" || name == "ENDSEC" || name == "EOF") {
            m_section.clear();
            m_blockName.clear();
            return;
        }
        const bool inBlocks = m_section == "BLOCKS";
        if (!inBlocks && m_section != "ENTITIES")
            return;
        // A paper space is no block a reference draws, and its entities are not saved again; nor
        // are the attributes of a reference within a block, nor a definition outside any block.
        const bool paper = inBlocks && layoutBlockName(m_blockName);
        if (inBlocks && name == "ATTDEF" && !paper) {
            m_kind = Kind::AttributeDefinition;
            m_definition = {};
            m_definition.block = m_blocks;
            return;
        }
        const bool lost = !keptEntity(name) || (paper && name != "BLOCK" && name != "ENDBLK")
            || (inBlocks && name == "ATTRIB") || (!inBlocks && name == "ATTDEF");
        // A name is kept within reason; a damaged file may have anything there.
        constexpr std::size_t kNameLength = 40;
        constexpr std::size_t kNames = 100;
        if (lost && !name.empty() && (m_notKept.size() < kNames || m_notKept.contains(std::string(name))))
            ++m_notKept[std::string(name.substr(0, kNameLength))];
    }
    void noteDefinition(std::string_view value)
    {
        RawAttributeDefinition& d = m_definition;
        switch (m_code) {
        case 8: d.layer = value.empty() ? "0" : std::string(value); break;
        case 62: d.color = integerOf(value, 256); break;
        case 10: d.point.x = numberOf(value, 0.0); break;
        case 20: d.point.y = numberOf(value, 0.0); break;
        case 30: d.point.z = numberOf(value, 0.0); break;
        case 11: d.aligned = DrawingPoint { numberOf(value, 0.0), 0.0, 0.0 }; break;
        case 21: if (d.aligned) d.aligned->y = numberOf(value, 0.0); break;
        case 31: if (d.aligned) d.aligned->z = numberOf(value, 0.0); break;
        case 210: d.normal.x = numberOf(value, 0.0); break;
        case 220: d.normal.y = numberOf(value, 0.0); break;
        case 230: d.normal.z = numberOf(value, 1.0); break;
        case 40: d.height = numberOf(value, 0.0); break;
        case 50: d.degrees = numberOf(value, 0.0); break;
        case 72: d.horizontal = integerOf(value, 0); break;
        case 74: d.vertical = integerOf(value, 0); break;
        case 1: d.text = value; break;
        case 2: d.definition.tag = value; break;
        case 3: d.definition.prompt = value; break;
        case 70: d.definition.flags = integerOf(value, 0); break;
        default: break;
        }
    }
    void finishEntity()
    {
        if (m_kind == Kind::Paragraph)
            m_paragraphs.push_back(m_paragraph);
        else if (m_kind == Kind::Attribute)
            m_attributes.push_back(std::move(m_attribute));
        else if (m_kind == Kind::AttributeDefinition && m_definitions.size() < kEntityLimit)
            m_definitions.push_back(std::move(m_definition));
        m_kind = Kind::Other;
        m_paragraph = {};
        m_attribute = {};
        m_hasFlags = false;
    }

    std::istream& m_file;
    std::uintmax_t m_size = 0;
    const DrawingReadProgress& m_progress;
    std::array<char, kPiece> m_buffer {};
    std::uintmax_t m_read = 0;
    std::size_t m_handed = 0;
    std::size_t m_kept = 0;
    // The bytes of the line being handed so far.
    std::size_t m_column = 0;
    bool m_stopped = false;
    std::string m_line;
    bool m_sawLine = false;
    bool m_sawSection = false;
    // The line before the first is taken as a value, so that the first is a code.
    bool m_codeLine = false;
    int m_code = -1;
    bool m_countFollows = false;
    Kind m_kind = Kind::Other;
    RawParagraph m_paragraph;
    RawAttribute m_attribute;
    bool m_hasFlags = false;
    std::deque<RawParagraph> m_paragraphs;
    std::deque<RawAttribute> m_attributes;
    std::string m_section;
    std::string m_blockName;
    std::size_t m_blocks = 0;
    RawAttributeDefinition m_definition;
    std::deque<RawAttributeDefinition> m_definitions;
    std::map<std::string, std::size_t> m_notKept;
};

// Collects the model-space entities dxflib reports.
class DrawingReader final : public DL_CreationAdapter {
public:
    DrawingReader(CadDrawing& drawing, DxfInput& input)
        : m_drawing(drawing)
        , m_input(input)
    {
    }

    void setVariableString(const std::string& key, const std::string& value, int) override
    {
        if (key == "$DWGCODEPAGE")
            m_encoding = (value == "ANSI_1250" || value == "ansi_1250") ? DxfTextEncoding::Cp1250 : m_encoding;
        else if (key == "$ACADVER" && value >= "AC1021")
            m_encoding = DxfTextEncoding::Utf8;
    }
    void addLayer(const DL_LayerData& data) override
    {
        // A layer that is off has its colour negative.
        m_drawing.setLayerColor(m_drawing.addLayer(data.name), std::abs(attributes.getColor()));
    }
    void addBlock(const DL_BlockData& data) override
    {
        ++m_blockOrdinal;
        m_inBlock = true;
        m_block = DrawingBlockDefinition { data.name, { data.bpx, data.bpy, data.bpz }, {} };
        m_blockPolyline.reset();
        DrawingEntity base;
        base.points = { m_block.base };
        if (!saneDxfEntity(base))
            m_block.base = {};
    }
    void endBlock() override
    {
        // The definitions carry their own layer and colour; the block's end keeps its own.
        const DL_Attributes own = attributes;
        for (RawAttributeDefinition& d : m_input.definitionsOf(m_blockOrdinal))
            if (m_inBlock)
                addDefinition(std::move(d));
        attributes = own;
        if (m_inBlock && !m_block.entities.empty() && !layoutBlockName(m_block.name))
            m_drawing.defineBlock(std::move(m_block));
        m_block = {};
        m_blockPolyline.reset();
        m_inBlock = false;
    }
    // Arcs and circles are drawn as polylines and keep what they were drawn from, to be saved as they came.
    void addArc(const DL_ArcData& d) override
    {
        addArcLine({ { d.cx, d.cy, d.cz }, d.radius, d.angle1, d.angle2, false, extrusion() });
    }
    void addCircle(const DL_CircleData& d) override
    {
        addArcLine({ { d.cx, d.cy, d.cz }, d.radius, 0.0, 360.0, true, extrusion() });
    }

    void addLine(const DL_LineData& d) override
    {
        add(DrawingEntityKind::Line, { { d.x1, d.y1, d.z1 }, { d.x2, d.y2, d.z2 } });
    }
    void addPolyline(const DL_PolylineData& d) override
    {
        m_polyline = add(DrawingEntityKind::Polyline, {});
        if (DrawingEntity* e = currentPolyline())
            e->closed = (d.flags & 1) != 0;
        // A 3-D polyline or a mesh stands in the world; a plane one in its own system.
        constexpr int kInSpace = 8 | 16 | 64;
        m_polylineOcs = DxfOcs((d.flags & kInSpace) != 0 ? DrawingPoint { 0.0, 0.0, 1.0 } : extrusion());
    }
    void addVertex(const DL_VertexData& d) override
    {
        if (DrawingEntity* e = currentPolyline())
            e->points.push_back(m_polylineOcs.toWorld({ d.x, d.y, d.z }));
    }
    void addText(const DL_TextData& d) override
    {
        DrawingEntity text = oneLineText(d.hJustification, d.vJustification, d.height, d.text);
        const DrawingPoint at = text.justification != TextJustification::Left ? DrawingPoint { d.apx, d.apy, d.apz }
                                                                               : DrawingPoint { d.ipx, d.ipy, d.ipz };
        const DxfOcs ocs(extrusion());
        text.rotation = planRotation(ocs, dxfangle::fromDxflib(dxfangle::Field::Text, d.angle));
        addWith(DrawingEntityKind::Text, { ocs.toWorld(at) }, std::move(text));
    }
    void addMText(const DL_MTextData& d) override
    {
        DrawingEntity text;
        text.attachment = d.attachmentPoint >= 1 && d.attachmentPoint <= 9 ? d.attachmentPoint : 1;
        text.height = d.height;
        text.boxWidth = d.width;
        // The direction, when given, wins over the angle; both are the world's.
        const std::optional<RawParagraph> raw = m_input.paragraphAt(d.ipx, d.ipy);
        if (d.dirx != 0.0 || d.diry != 0.0)
            text.rotation = std::atan2(d.diry, d.dirx);
        else if (raw && raw->degrees)
            text.rotation = dxfangle::fromFileDegrees(*raw->degrees);
        text.text = decodeDxfText(m_chunks + d.text, m_encoding);
        m_chunks.clear();
        addWith(DrawingEntityKind::Text, { { d.ipx, d.ipy, d.ipz } }, std::move(text));
    }
    void addMTextChunk(const std::string& chunk) override { m_chunks += chunk; }
    void addInsert(const DL_InsertData& d) override
    {
        DrawingEntity block;
        block.blockName = d.name;
        block.scale[0] = d.sx;
        block.scale[1] = d.sy;
        block.scale[2] = d.sz;
        block.rotation = dxfangle::fromDxflib(dxfangle::Field::Insert, d.angle);
        const DrawingPoint normal = extrusion();
        const DxfOcs ocs(normal);
        if (!ocs.isWorld())
            block.normal = normal;
        m_insert = addWith(DrawingEntityKind::Block, { ocs.toWorld({ d.ipx, d.ipy, d.ipz }) }, std::move(block));
    }
    void addAttribute(const DL_AttributeData& d) override
    {
        const std::optional<RawAttribute> raw = m_input.attributeOf(d.tag);
        DrawingEntity* block = m_insert && !m_inBlock ? m_drawing.find(m_insert) : nullptr;
        if (!block)
            return;
        const bool invisible = raw && (raw->flags & 1) != 0;
        // A luminaire carries two attributes; growing from one to two costs a copy.
        if (block->attributes.empty())
            block->attributes.reserve(2);
        block->attributes.push_back({ d.tag, decodeDxfText(d.text, m_encoding), d.height, d.xScaleFactor, invisible });
    }

private:
    DrawingEntity* currentPolyline()
    {
        if (m_inBlock)
            return m_blockPolyline ? &m_block.entities[*m_blockPolyline] : nullptr;
        return m_polyline ? m_drawing.find(m_polyline) : nullptr;
    }
    void addArcLine(const DrawingArc& arc)
    {
        DrawingEntity centre;
        centre.points = { arc.centre, arc.normal };
        if (!saneDxfEntity(centre) || !saneDxfValue(arc.radius) || !saneDxfValue(arc.startDegrees)
            || !saneDxfValue(arc.endDegrees) || !(arc.radius >= kLeastRadius))
            return;
        DrawingEntity line;
        line.closed = arc.circle;
        line.arc = arc;
        addWith(DrawingEntityKind::Polyline, arcPolyline(arc), std::move(line));
        m_blockPolyline.reset();
        m_polyline = 0;
    }
    // A text of one line: centred (either of the centred justifications), hanging from its top left, or standing on its point.
    DrawingEntity oneLineText(int horizontal, int vertical, double height, const std::string& raw) const
    {
        DrawingEntity text;
        const bool middle = horizontal == 4 || horizontal == 1;
        const bool top = !middle && vertical == 3;
        text.justification = middle ? TextJustification::Middle : top ? TextJustification::TopLeft : TextJustification::Left;
        text.height = height;
        text.text = decodeDxfText(raw, m_encoding);
        return text;
    }
    void addDefinition(RawAttributeDefinition d)
    {
        DrawingEntity text = oneLineText(d.horizontal, d.vertical, d.height, d.text);
        const DxfOcs ocs(d.normal);
        text.rotation = planRotation(ocs, dxfangle::fromFileDegrees(d.degrees));
        d.definition.prompt = decodeDxfText(d.definition.prompt, m_encoding);
        text.definition = std::move(d.definition);
        const DrawingPoint at = text.justification != TextJustification::Left && d.aligned ? *d.aligned : d.point;
        attributes.setLayer(d.layer);
        attributes.setColor(d.color);
        addWith(DrawingEntityKind::Text, { ocs.toWorld(at) }, std::move(text));
    }
    DrawingPoint extrusion()
    {
        const DL_Extrusion* e = getExtrusion();
        if (!e || !e->getDirection())
            return { 0.0, 0.0, 1.0 };
        return { e->getDirection()[0], e->getDirection()[1], e->getDirection()[2] };
    }
    // An angle in an entity's own plane, as it shows in the world's plan.
    static double planRotation(const DxfOcs& ocs, double angle)
    {
        if (ocs.isWorld())
            return angle;
        const DrawingPoint o = ocs.toWorld({ 0.0, 0.0, 0.0 });
        const DrawingPoint d = ocs.toWorld({ std::cos(angle), std::sin(angle), 0.0 });
        const double x = d.x - o.x;
        const double y = d.y - o.y;
        return std::hypot(x, y) > 1e-9 ? std::atan2(y, x) : angle;
    }
    std::int64_t add(DrawingEntityKind kind, std::vector<DrawingPoint> points)
    {
        return addWith(kind, std::move(points), DrawingEntity {});
    }
    std::int64_t addWith(DrawingEntityKind kind, std::vector<DrawingPoint> points, DrawingEntity entity)
    {
        // A block's texts are kept but not drawn; a block counts against the limit as the drawing's own.
        if (m_inBlock)
            m_blockPolyline.reset();
        if (m_drawing.entities().size() + m_blockEntities >= kEntityLimit)
            return 0;
        entity.kind = kind;
        entity.points = std::move(points);
        if (!saneDxfEntity(entity))
            return 0;
        entity.layer = attributes.getLayer().empty() ? "0" : attributes.getLayer();
        const int color = attributes.getColor();
        // Within a block, 0 (the reference's colour) is kept; elsewhere it means the layer's.
        entity.color = (color < (m_inBlock ? 0 : 1) || color > 255) ? 256 : color;
        if (m_inBlock) {
            ++m_blockEntities;
            m_block.entities.push_back(std::move(entity));
            if (kind == DrawingEntityKind::Polyline)
                m_blockPolyline = m_block.entities.size() - 1;
            return 0;
        }
        return m_drawing.addAsIs(std::move(entity));
    }

    CadDrawing& m_drawing;
    DxfInput& m_input;
    bool m_inBlock = false;
    DrawingBlockDefinition m_block;
    std::optional<std::size_t> m_blockPolyline;
    std::size_t m_blockEntities = 0;
    std::int64_t m_polyline = 0;
    DxfOcs m_polylineOcs { { 0.0, 0.0, 1.0 } };
    std::int64_t m_insert = 0;
    std::size_t m_blockOrdinal = 0;
    std::string m_chunks;
    DxfTextEncoding m_encoding = DxfTextEncoding::Cp1252;
};

} // namespace

std::optional<CadDrawing> readDrawingDxf(const std::filesystem::path& path, std::string& error,
    const DrawingReadProgress& progress)
{
    // The file is read through the descriptor checked to be a regular file (never a pipe that
    // would block), streamed rather than copied whole: a drawing may be a hundred megabytes.
    std::optional<ReadableFile> checked;
    std::ifstream in;
    struct stat status {};
    try {
        checked.emplace(path);
        in.open(checked->descriptorPath(), std::ios::binary);
    } catch (const FileError&) {
    }
    if (!checked || !in || ::fstat(checked->fd(), &status) != 0) {
        error = "Soubor " + path.string() + " nelze otevřít.";
        return std::nullopt;
    }
    const auto size = static_cast<std::uintmax_t>(status.st_size);
    DxfInput input(in, size, progress);
    std::istream stream(&input);
    CadDrawing drawing;
    DrawingReader reader(drawing, input);
    DL_Dxf dxf;
    try {
        drawing.reserve(static_cast<std::size_t>(std::min<std::uintmax_t>(kReserveLimit, size / kBytesPerEntity)));
        const bool read = dxf.in(stream, &reader);
        if (input.stopped()) {
            error = "Čtení výkresu " + path.string() + " bylo přerušeno.";
            return std::nullopt;
        }
        if (!read) {
            error = "Soubor " + path.string() + " není čitelný výkres DXF.";
            return std::nullopt;
        }
        // A text or any other file reads without a fault, as a drawing with nothing in it.
        if (!input.sawSection()) {
            error = formatC(loadString(kNotADrawing).c_str(), path.string().c_str());
            return std::nullopt;
        }
    } catch (const std::exception& e) {
        error = "Soubor " + path.string() + " není čitelný výkres DXF (" + e.what() + ").";
        return std::nullopt;
    }
    drawing.modified = false;
    drawing.notKept = input.notKept();
    return drawing;
}

} // namespace kzev
