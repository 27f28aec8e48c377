#include "cad/drawing/DrawingDxf.h"

#include <dxflib/dl_creationadapter.h>
#include <dxflib/dl_dxf.h>

#include "platform/Codepage1250.h"
#include "platform/FileIo.h"

#include <charconv>
#include <cmath>
#include <sstream>
#include <memory>
#include <numbers>
#include <set>

namespace kzev {

namespace {

constexpr double kRadian = 180.0 / std::numbers::pi;
// Enough for any drawing the window holds; a larger file is not ours to show.
constexpr std::size_t kEntityLimit = 2'000'000;
constexpr double kSymbolHalf = 5.0;

// Texts go out in code page 1250, which the header names; a line break of a
// paragraph text is "\\P".
std::string dxfText(const std::string& utf8)
{
    std::string out;
    for (const char c : utf8)
        out += c == '\n' ? std::string("\\P") : std::string(1, c);
    return utf8ToCp1250(out);
}

enum class TextEncoding { Cp1250, Utf8, Latin1 };

void putUtf8(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | ((code >> 12) & 0x0F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The texts of a file: "\P" is a line break and \U+XXXX a letter; the bytes
// above ASCII are read in the file's code page (UTF-8 from AutoCAD 2007 on).
std::string decodeText(const std::string& text, TextEncoding encoding)
{
    std::string out;
    std::string run;
    const auto flush = [&] {
        if (encoding == TextEncoding::Cp1250)
            out += cp1250ToUtf8(run);
        else if (encoding == TextEncoding::Utf8)
            out += run;
        else
            for (const char c : run)
                putUtf8(out, static_cast<unsigned char>(c));
        run.clear();
    };
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "\\P") == 0) {
            run += '\n';
            ++i;
            continue;
        }
        if (text.compare(i, 3, "\\U+") == 0 && i + 7 <= text.size()) {
            unsigned code = 0;
            const auto [end, error] = std::from_chars(text.data() + i + 3, text.data() + i + 7, code, 16);
            if (error == std::errc() && end == text.data() + i + 7) {
                flush();
                putUtf8(out, code);
                i += 6;
                continue;
            }
        }
        run += text[i];
    }
    flush();
    return out;
}

// dxflib formats its numbers into a fixed buffer, which a huge value overruns;
// no drawing of a building comes near this.
constexpr double kLargestValue = 1e12;

bool sane(double value) { return std::isfinite(value) && std::abs(value) <= kLargestValue; }

bool sane(const DrawingEntity& e)
{
    for (const DrawingPoint& p : e.points)
        if (!sane(p.x) || !sane(p.y) || !sane(p.z))
            return false;
    for (const DrawingAttribute& a : e.attributes)
        if (!sane(a.height) || !sane(a.scaleFactor))
            return false;
    return sane(e.height) && sane(e.rotation) && sane(e.boxWidth) && sane(e.scale[0]) && sane(e.scale[1])
        && sane(e.scale[2]) && sane(e.normal.x) && sane(e.normal.y) && sane(e.normal.z);
}

int aciColor(int color) { return color == 256 ? DL_Codes::bylayer : color; }

DL_Attributes attributesOf(const DrawingEntity& e)
{
    return DL_Attributes(e.layer, aciColor(e.color), -1, "BYLAYER", 1.0);
}

void writeSymbolBlock(DL_Dxf& dxf, DL_WriterA& dw, const std::string& name)
{
    dxf.writeBlock(dw, DL_BlockData(name, 0, 0.0, 0.0, 0.0));
    const DL_Attributes attributes("0", DL_Codes::byblock, -1, "BYBLOCK", 1.0);
    const double h = kSymbolHalf;
    const double corners[4][2] { { -h, -h }, { h, -h }, { h, h }, { -h, h } };
    for (int k = 0; k < 4; ++k)
        dxf.writeLine(dw,
            DL_LineData(corners[k][0], corners[k][1], 0.0, corners[(k + 1) % 4][0], corners[(k + 1) % 4][1], 0.0),
            attributes);
    dxf.writeLine(dw, DL_LineData(-h, -h, 0.0, h, h, 0.0), attributes);
    dxf.writeLine(dw, DL_LineData(h, -h, 0.0, -h, h, 0.0), attributes);
    dxf.writeEndBlock(dw, name);
}

void writeBlockReference(DL_Dxf& dxf, DL_WriterA& dw, const DrawingEntity& e)
{
    const DrawingPoint& p = e.points.front();
    // The reference is written by hand so that it can say that attributes follow.
    dw.entity("INSERT");
    dw.dxfString(100, "AcDbEntity");
    dw.entityAttributes(attributesOf(e));
    dw.dxfString(100, "AcDbBlockReference");
    if (!e.attributes.empty())
        dw.dxfInt(66, 1);
    dw.dxfString(2, e.blockName);
    dw.coord(10, p.x, p.y, p.z);
    dw.dxfReal(41, e.scale[0]);
    dw.dxfReal(42, e.scale[1]);
    dw.dxfReal(43, e.scale[2]);
    dw.dxfReal(50, e.rotation * kRadian);
    if (e.normal.x != 0.0 || e.normal.y != 0.0 || e.normal.z != 1.0) {
        dw.dxfReal(210, e.normal.x);
        dw.dxfReal(220, e.normal.y);
        dw.dxfReal(230, e.normal.z);
    }
    if (e.attributes.empty())
        return;
    const double c = std::cos(e.rotation);
    const double s = std::sin(e.rotation);
    for (std::size_t i = 0; i < e.attributes.size(); ++i) {
        const DrawingAttribute& a = e.attributes[i];
        // Attributes stand right of the symbol, one line each.
        const double u = (kSymbolHalf + 1.0) * e.scale[0];
        const double v = -static_cast<double>(i) * a.height * 1.5;
        const double x = p.x + u * c - v * s;
        const double y = p.y + u * s + v * c;
        dw.entity("ATTRIB");
        dw.dxfString(100, "AcDbEntity");
        dw.entityAttributes(attributesOf(e));
        dw.dxfString(100, "AcDbText");
        dw.coord(10, x, y, p.z);
        dw.dxfReal(40, a.height > 0.0 ? a.height : 1.0);
        dw.dxfString(1, dxfText(a.text));
        dw.dxfReal(50, e.rotation * kRadian);
        dw.dxfReal(41, a.scaleFactor);
        dw.dxfString(7, "Standard");
        dw.dxfString(100, "AcDbAttribute");
        dw.dxfString(2, a.tag);
        dw.dxfInt(70, a.invisible ? 1 : 0);
    }
    dw.entity("SEQEND");
    dw.dxfString(100, "AcDbEntity");
    dw.entityAttributes(attributesOf(e));
    (void)dxf;
}

void writeEntity(DL_Dxf& dxf, DL_WriterA& dw, const DrawingEntity& e)
{
    switch (e.kind) {
    case DrawingEntityKind::Line:
        dxf.writeLine(dw, DL_LineData(e.points[0].x, e.points[0].y, e.points[0].z, e.points[1].x, e.points[1].y,
                                  e.points[1].z),
            attributesOf(e));
        break;
    case DrawingEntityKind::Polyline:
        dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(e.points.size()), 0, 0, e.closed ? 1 : 0,
                                  e.points.front().z),
            attributesOf(e));
        for (const DrawingPoint& p : e.points)
            dxf.writeVertex(dw, DL_VertexData(p.x, p.y, p.z, 0.0));
        dxf.writePolylineEnd(dw);
        break;
    case DrawingEntityKind::Text: {
        const DrawingPoint& p = e.points.front();
        if (e.attachment != 0 || e.text.find('\n') != std::string::npos) {
            const int attachment = e.attachment >= 1 && e.attachment <= 9 ? e.attachment : 1;
            dxf.writeMText(dw,
                DL_MTextData(p.x, p.y, p.z, std::cos(e.rotation), std::sin(e.rotation), 0.0, e.height, e.boxWidth,
                    attachment, 1, 1, 1.0, dxfText(e.text), "Standard", e.rotation),
                attributesOf(e));
        } else {
            const bool middle = e.justification == TextJustification::Middle;
            const bool top = e.justification == TextJustification::TopLeft;
            dxf.writeText(dw,
                DL_TextData(p.x, p.y, p.z, p.x, p.y, p.z, e.height, 1.0, 0, middle ? 4 : 0, top ? 3 : 0,
                    dxfText(e.text), "Standard", e.rotation * kRadian),
                attributesOf(e));
        }
        break;
    }
    case DrawingEntityKind::Block:
        writeBlockReference(dxf, dw, e);
        break;
    }
}

// Collects the model-space entities dxflib reports.
class DrawingReader final : public DL_CreationAdapter {
public:
    explicit DrawingReader(CadDrawing& drawing)
        : m_drawing(drawing)
    {
    }

    void setVariableString(const std::string& key, const std::string& value, int) override
    {
        if (key == "$DWGCODEPAGE")
            m_encoding = (value == "ANSI_1250" || value == "ansi_1250") ? TextEncoding::Cp1250 : m_encoding;
        else if (key == "$ACADVER" && value >= "AC1021")
            m_encoding = TextEncoding::Utf8;
    }
    void addLayer(const DL_LayerData& data) override
    {
        const int index = m_drawing.addLayer(data.name);
        (void)index;
    }
    void addBlock(const DL_BlockData&) override { m_inBlock = true; }
    void endBlock() override { m_inBlock = false; }

    void addLine(const DL_LineData& d) override
    {
        add(DrawingEntityKind::Line, { { d.x1, d.y1, d.z1 }, { d.x2, d.y2, d.z2 } });
    }
    void addPolyline(const DL_PolylineData& d) override
    {
        m_polyline = add(DrawingEntityKind::Polyline, {});
        if (DrawingEntity* e = m_drawing.find(m_polyline))
            e->closed = (d.flags & 1) != 0;
    }
    void addVertex(const DL_VertexData& d) override
    {
        if (DrawingEntity* e = m_polyline ? m_drawing.find(m_polyline) : nullptr)
            e->points.push_back({ d.x, d.y, d.z });
    }
    void addText(const DL_TextData& d) override
    {
        DrawingEntity text;
        const bool middle = d.hJustification == 4 || d.hJustification == 1;
        const bool top = !middle && d.vJustification == 3;
        text.justification = middle ? TextJustification::Middle : top ? TextJustification::TopLeft : TextJustification::Left;
        text.height = d.height;
        text.rotation = d.angle / kRadian;
        text.text = decodeText(d.text, m_encoding);
        const DrawingPoint at
            = middle || top ? DrawingPoint { d.apx, d.apy, d.apz } : DrawingPoint { d.ipx, d.ipy, d.ipz };
        addWith(DrawingEntityKind::Text, { at }, std::move(text));
    }
    void addMText(const DL_MTextData& d) override
    {
        DrawingEntity text;
        text.attachment = d.attachmentPoint >= 1 && d.attachmentPoint <= 9 ? d.attachmentPoint : 1;
        text.height = d.height;
        text.boxWidth = d.width;
        text.rotation = d.angle;
        text.text = decodeText(m_chunks + d.text, m_encoding);
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
        block.rotation = d.angle / kRadian;
        const DL_Extrusion* extrusion = getExtrusion();
        if (extrusion && extrusion->getDirection())
            block.normal = { extrusion->getDirection()[0], extrusion->getDirection()[1], extrusion->getDirection()[2] };
        m_insert = addWith(DrawingEntityKind::Block, { { d.ipx, d.ipy, d.ipz } }, std::move(block));
    }
    void addAttribute(const DL_AttributeData& d) override
    {
        DrawingEntity* block = m_insert ? m_drawing.find(m_insert) : nullptr;
        if (!block || m_inBlock)
            return;
        block->attributes.push_back({ d.tag, decodeText(d.text, m_encoding), d.height, d.xScaleFactor, false });
    }

private:
    std::int64_t add(DrawingEntityKind kind, std::vector<DrawingPoint> points)
    {
        return addWith(kind, std::move(points), DrawingEntity {});
    }
    std::int64_t addWith(DrawingEntityKind kind, std::vector<DrawingPoint> points, DrawingEntity entity)
    {
        if (m_inBlock || m_drawing.entities().size() >= kEntityLimit)
            return 0;
        entity.kind = kind;
        entity.points = std::move(points);
        if (!sane(entity))
            return 0;
        entity.layer = attributes.getLayer().empty() ? "0" : attributes.getLayer();
        const int color = attributes.getColor();
        entity.color = (color <= 0 || color > 255) ? 256 : color;
        return m_drawing.addAsIs(std::move(entity));
    }

    CadDrawing& m_drawing;
    bool m_inBlock = false;
    std::int64_t m_polyline = 0;
    std::int64_t m_insert = 0;
    std::string m_chunks;
    TextEncoding m_encoding = TextEncoding::Latin1;
};

} // namespace

bool writeDrawingDxf(const CadDrawing& drawing, const std::filesystem::path& path, const std::vector<std::int64_t>* only)
{
    std::vector<const DrawingEntity*> chosen;
    for (const DrawingEntity& e : drawing.entities())
        if (!only || std::find(only->begin(), only->end(), e.id) != only->end())
            if (!e.points.empty() && sane(e) && (e.kind != DrawingEntityKind::Line || e.points.size() == 2)
                && (e.kind != DrawingEntityKind::Polyline || e.points.size() >= 2))
                chosen.push_back(&e);
    std::set<std::string> blocks;
    for (const DrawingEntity* e : chosen)
        if (e->kind == DrawingEntityKind::Block)
            blocks.insert(e->blockName);

    DL_Dxf dxf;
    std::unique_ptr<DL_WriterA> dw(dxf.out(path.string().c_str(), DL_Codes::AC1015));
    if (!dw || dw->openFailed())
        return false;
    dxf.writeHeader(*dw);
    dw->dxfString(9, "$DWGCODEPAGE");
    dw->dxfString(3, "ANSI_1250");
    dw->sectionEnd();

    dw->sectionTables();
    dxf.writeVPort(*dw);
    dw->tableLinetypes(3);
    dxf.writeLinetype(*dw, DL_LinetypeData("BYBLOCK", "", 0, 0, 0.0));
    dxf.writeLinetype(*dw, DL_LinetypeData("BYLAYER", "", 0, 0, 0.0));
    dxf.writeLinetype(*dw, DL_LinetypeData("CONTINUOUS", "Solid line", 0, 0, 0.0));
    dw->tableEnd();
    dw->tableLayers(static_cast<int>(drawing.layers().size()));
    for (const DrawingLayer& layer : drawing.layers())
        dxf.writeLayer(*dw, DL_LayerData(layer.name, 0), DL_Attributes("", layer.color, -1, "CONTINUOUS", 1.0));
    dw->tableEnd();
    dw->tableStyle(1);
    dxf.writeStyle(*dw, DL_StyleData("Standard", 0, 0.0, 1.0, 0.0, 0, 2.5, "txt", ""));
    dw->tableEnd();
    dxf.writeView(*dw);
    dxf.writeUcs(*dw);
    dw->tableAppid(1);
    dxf.writeAppid(*dw, "ACAD");
    dw->tableEnd();
    dxf.writeDimStyle(*dw, 2.5, 0.625, 0.625, 0.625, 2.5);
    dxf.writeBlockRecord(*dw);
    for (const std::string& name : blocks)
        dxf.writeBlockRecord(*dw, name);
    dw->tableEnd();
    dw->sectionEnd();

    dw->sectionBlocks();
    dxf.writeBlock(*dw, DL_BlockData("*Model_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(*dw, "*Model_Space");
    dxf.writeBlock(*dw, DL_BlockData("*Paper_Space", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(*dw, "*Paper_Space");
    dxf.writeBlock(*dw, DL_BlockData("*Paper_Space0", 0, 0.0, 0.0, 0.0));
    dxf.writeEndBlock(*dw, "*Paper_Space0");
    for (const std::string& name : blocks)
        writeSymbolBlock(dxf, *dw, name);
    dw->sectionEnd();

    dw->sectionEntities();
    for (const DrawingEntity* e : chosen)
        writeEntity(dxf, *dw, *e);
    dw->sectionEnd();
    dxf.writeObjects(*dw);
    dxf.writeObjectsEnd(*dw);
    dw->dxfEOF();
    dw->close();
    return std::filesystem::exists(path);
}

std::optional<CadDrawing> readDrawingDxf(const std::filesystem::path& path, std::string& error)
{
    std::istringstream in;
    try {
        in.str(readWholeText(path));
    } catch (const FileError&) {
        error = "Soubor " + path.string() + " nelze otevřít.";
        return std::nullopt;
    }
    CadDrawing drawing;
    DrawingReader reader(drawing);
    DL_Dxf dxf;
    try {
        if (!dxf.in(in, &reader)) {
            error = "Soubor " + path.string() + " není čitelný výkres DXF.";
            return std::nullopt;
        }
    } catch (const std::exception& e) {
        error = "Soubor " + path.string() + " není čitelný výkres DXF (" + e.what() + ").";
        return std::nullopt;
    }
    drawing.modified = false;
    return drawing;
}

} // namespace kzev
