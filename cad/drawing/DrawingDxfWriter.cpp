#include "cad/drawing/DrawingDxf.h"

#include "cad/drawing/DxfAngles.h"
#include "cad/drawing/DxfOcs.h"
#include "cad/drawing/DxfText.h"

#include <dxflib/dl_dxf.h>

#include <cmath>
#include <memory>
#include <set>
#include <string_view>
#include <unordered_set>

namespace kzev {

namespace {

constexpr double kSymbolHalf = 5.0;
// dxflib cuts a paragraph text into pieces of this many bytes.
constexpr std::size_t kMTextChunk = 250;

int aciColor(int color) { return color == 256 ? DL_Codes::bylayer : color; }

DL_Attributes attributesOf(const DrawingEntity& e, const char* linetype)
{
    return DL_Attributes(e.layer, aciColor(e.color), -1, linetype, 1.0);
}

// The layer and, when it is not the layer's, the colour: the other common
// groups dxflib writes hold their defaults, and a drawing of many luminaires
// reads faster without them.
void writeLayerAndColour(DL_WriterA& dw, const DrawingEntity& e)
{
    dw.dxfString(8, e.layer);
    if (e.color != 256)
        dw.dxfInt(62, e.color);
}

// A point in an entity's own system is kept to a billionth of a unit, so that
// reading it back into the world and writing it again gives the same digits.
DrawingPoint kept(const DrawingPoint& p)
{
    const auto round = [](double v) {
        const double r = std::round(v * 1e9) / 1e9;
        return r == 0.0 ? 0.0 : r;
    };
    return { round(p.x), round(p.y), round(p.z) };
}

void writeExtrusion(DL_WriterA& dw, const DrawingPoint& normal)
{
    dw.dxfReal(210, normal.x);
    dw.dxfReal(220, normal.y);
    dw.dxfReal(230, normal.z);
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

// The reference is written by hand so that it can say that attributes follow
// and stand in its own system when it is turned in space.
void writeBlockReference(DL_WriterA& dw, const DrawingEntity& e)
{
    const DxfOcs ocs(e.normal);
    const DrawingPoint p = ocs.isWorld() ? e.points.front() : kept(ocs.fromWorld(e.points.front()));
    dw.entity("INSERT");
    dw.dxfString(100, "AcDbEntity");
    writeLayerAndColour(dw, e);
    dw.dxfString(100, "AcDbBlockReference");
    if (!e.attributes.empty())
        dw.dxfInt(66, 1);
    dw.dxfString(2, e.blockName);
    dw.coord(10, p.x, p.y, p.z);
    for (int axis = 0; axis < 3; ++axis)
        if (e.scale[axis] != 1.0)
            dw.dxfReal(41 + axis, e.scale[axis]);
    if (dxfangle::fileDegrees(e.rotation) != 0.0)
        dw.dxfReal(50, dxfangle::fileDegrees(e.rotation));
    if (!ocs.isWorld())
        writeExtrusion(dw, e.normal);
    if (e.attributes.empty())
        return;
    const double rotation = dxfangle::asWritten(e.rotation);
    const double c = std::cos(rotation);
    const double s = std::sin(rotation);
    for (std::size_t i = 0; i < e.attributes.size(); ++i) {
        const DrawingAttribute& a = e.attributes[i];
        // Attributes stand right of the symbol, one line each, in the reference's plane.
        const double u = (kSymbolHalf + 1.0) * e.scale[0];
        const double v = -static_cast<double>(i) * a.height * 1.5;
        const DrawingPoint at = kept({ p.x + u * c - v * s, p.y + u * s + v * c, p.z });
        dw.entity("ATTRIB");
        dw.dxfString(100, "AcDbEntity");
        writeLayerAndColour(dw, e);
        dw.dxfString(100, "AcDbText");
        dw.coord(10, at.x, at.y, at.z);
        dw.dxfReal(40, a.height > 0.0 ? a.height : 1.0);
        dw.dxfString(1, encodeDxfText(a.text));
        if (dxfangle::fileDegrees(e.rotation) != 0.0)
            dw.dxfReal(50, dxfangle::fileDegrees(e.rotation));
        if (a.scaleFactor != 1.0)
            dw.dxfReal(41, a.scaleFactor);
        if (!ocs.isWorld())
            writeExtrusion(dw, e.normal);
        dw.dxfString(100, "AcDbAttribute");
        dw.dxfString(2, a.tag);
        if (a.invisible)
            dw.dxfInt(70, 1);
    }
    dw.entity("SEQEND");
    dw.dxfString(100, "AcDbEntity");
    writeLayerAndColour(dw, e);
}

// A one-line text, or a block's attribute definition, which is one with its tag.
void writeText(DL_WriterA& dw, const DrawingEntity& e)
{
    const DrawingPoint& p = e.points.front();
    const bool middle = e.justification == TextJustification::Middle;
    const bool top = e.justification == TextJustification::TopLeft;
    dw.entity(e.definition ? "ATTDEF" : "TEXT");
    dw.dxfString(100, "AcDbEntity");
    writeLayerAndColour(dw, e);
    dw.dxfString(100, "AcDbText");
    dw.coord(10, p.x, p.y, p.z);
    dw.dxfReal(40, e.height);
    dw.dxfString(1, encodeDxfText(e.text));
    dw.dxfReal(50, dxfangle::fileDegrees(e.rotation));
    dw.dxfString(7, "Standard");
    if (middle)
        dw.dxfInt(72, 4);
    if (middle || top)
        dw.coord(11, p.x, p.y, p.z);
    if (e.definition) {
        dw.dxfString(100, "AcDbAttributeDefinition");
        dw.dxfString(3, encodeDxfText(e.definition->prompt));
        dw.dxfString(2, e.definition->tag);
        dw.dxfInt(70, e.definition->flags);
        if (top)
            dw.dxfInt(74, 3);
        return;
    }
    dw.dxfString(100, "AcDbText");
    if (top)
        dw.dxfInt(73, 3);
}

// An arc or circle goes out as one while its polyline is still the one drawn from it.
bool keptArc(const DrawingEntity& e)
{
    return e.arc && e.closed == e.arc->circle && saneDxfValue(e.arc->radius) && saneDxfValue(e.arc->startDegrees)
        && saneDxfValue(e.arc->endDegrees) && arcPolyline(*e.arc) == e.points;
}

void writeArc(DL_WriterA& dw, const DrawingEntity& e, const char* linetype)
{
    const DrawingArc& arc = *e.arc;
    dw.entity(arc.circle ? "CIRCLE" : "ARC");
    dw.dxfString(100, "AcDbEntity");
    writeLayerAndColour(dw, e);
    if (std::string_view(linetype) != "BYLAYER")
        dw.dxfString(6, linetype);
    dw.dxfString(100, "AcDbCircle");
    dw.coord(10, arc.centre.x, arc.centre.y, arc.centre.z);
    dw.dxfReal(40, arc.radius);
    if (!DxfOcs(arc.normal).isWorld())
        writeExtrusion(dw, arc.normal);
    if (arc.circle)
        return;
    dw.dxfString(100, "AcDbArc");
    dw.dxfReal(50, arc.startDegrees);
    dw.dxfReal(51, arc.endDegrees);
}

void writeParagraphText(DL_WriterA& dw, const DrawingEntity& e)
{
    const DrawingPoint& p = e.points.front();
    const int attachment = e.attachment >= 1 && e.attachment <= 9 ? e.attachment : 1;
    const double rotation = dxfangle::asWritten(e.rotation);
    dw.entity("MTEXT");
    dw.dxfString(100, "AcDbEntity");
    writeLayerAndColour(dw, e);
    dw.dxfString(100, "AcDbMText");
    dw.coord(10, p.x, p.y, p.z);
    dw.dxfReal(40, e.height);
    dw.dxfReal(41, e.boxWidth);
    dw.dxfInt(71, attachment);
    dw.dxfInt(72, 1);
    const std::string text = encodeDxfText(e.text);
    std::size_t at = 0;
    for (; text.size() - at > kMTextChunk; at += kMTextChunk)
        dw.dxfString(3, text.substr(at, kMTextChunk));
    dw.dxfString(1, text.substr(at));
    dw.dxfString(7, "Standard");
    dw.coord(11, std::cos(rotation), std::sin(rotation), 0.0);
    dw.dxfReal(50, dxfangle::fileDegrees(e.rotation));
    dw.dxfInt(73, 1);
    dw.dxfReal(44, 1.0);
}

// A block's entities take the line type of its reference, as the symbol's do.
void writeEntity(DL_Dxf& dxf, DL_WriterA& dw, const DrawingEntity& e, const char* linetype = "BYLAYER")
{
    switch (e.kind) {
    case DrawingEntityKind::Line:
        dxf.writeLine(dw, DL_LineData(e.points[0].x, e.points[0].y, e.points[0].z, e.points[1].x, e.points[1].y,
                                  e.points[1].z),
            attributesOf(e, linetype));
        break;
    case DrawingEntityKind::Polyline:
        if (keptArc(e)) {
            writeArc(dw, e, linetype);
            break;
        }
        dxf.writePolyline(dw, DL_PolylineData(static_cast<int>(e.points.size()), 0, 0, e.closed ? 1 : 0,
                                  e.points.front().z),
            attributesOf(e, linetype));
        for (const DrawingPoint& p : e.points)
            dxf.writeVertex(dw, DL_VertexData(p.x, p.y, p.z, 0.0));
        dxf.writePolylineEnd(dw);
        break;
    case DrawingEntityKind::Text:
        if (!e.definition && (e.attachment != 0 || e.text.find('\n') != std::string::npos))
            writeParagraphText(dw, e);
        else
            writeText(dw, e);
        break;
    case DrawingEntityKind::Block:
        writeBlockReference(dw, e);
        break;
    }
}

// An object of the OBJECTS section with its handle and its owner's.
void object(DL_WriterA& dw, const char* type, int handle, int owner)
{
    dw.dxfString(0, type);
    dw.dxfHex(5, handle);
    dw.dxfHex(330, owner);
}

// Whether a dictionary's head says that it does not own its entries hard
// (group 280); dxflib writes it on some dictionaries and not on others.
enum class HardOwnerFlag { Written, Omitted };

void dictionary(DL_WriterA& dw, const char* type, int handle, int owner, HardOwnerFlag hardOwner)
{
    object(dw, type, handle, owner);
    dw.dxfString(100, "AcDbDictionary");
    if (hardOwner == HardOwnerFlag::Written)
        dw.dxfInt(280, 0);
    dw.dxfInt(281, 1);
}

void layout(DL_WriterA& dw, int handle, int owner, const char* name, int flags, int order, int blockRecord, bool paper)
{
    object(dw, "LAYOUT", handle, owner);
    dw.dxfString(100, "AcDbPlotSettings");
    dw.dxfString(1, "");
    dw.dxfString(2, "none_device");
    dw.dxfString(4, "");
    dw.dxfString(6, "");
    for (const int code : { 40, 41, 42, 43, 44, 45, 46, 47, 48, 49, 140, 141 })
        dw.dxfReal(code, 0.0);
    dw.dxfReal(142, 1.0);
    dw.dxfReal(143, 1.0);
    dw.dxfInt(70, flags);
    dw.dxfInt(72, 0);
    dw.dxfInt(73, 0);
    dw.dxfInt(74, paper ? 5 : 0);
    dw.dxfString(7, "");
    dw.dxfInt(75, paper ? 16 : 0);
    dw.dxfReal(147, 1.0);
    dw.dxfReal(148, 0.0);
    dw.dxfReal(149, 0.0);
    dw.dxfString(100, "AcDbLayout");
    dw.dxfString(1, name);
    dw.dxfInt(70, 1);
    dw.dxfInt(71, order);
    dw.dxfReal(10, 0.0);
    dw.dxfReal(20, 0.0);
    dw.dxfReal(11, paper && order == 1 ? 420.0 : 12.0);
    dw.dxfReal(21, paper && order == 1 ? 297.0 : 9.0);
    dw.coord(12, 0.0, 0.0, 0.0);
    // Extents of an empty layout: the least above the greatest.
    const double extent = paper && order == 1 ? 1e20 : 0.0;
    dw.coord(14, extent, extent, extent);
    dw.coord(15, -extent, -extent, -extent);
    dw.dxfReal(146, 0.0);
    dw.coord(13, 0.0, 0.0, 0.0);
    dw.coord(16, 1.0, 0.0, 0.0);
    dw.coord(17, 0.0, 1.0, 0.0);
    dw.dxfInt(76, 0);
    dw.dxfHex(330, blockRecord);
}

// The dictionaries and layouts dxflib writes, each naming its owner (dxflib
// leaves the owners out, and readers mend them). The handles of the fixed
// ones are dxflib's, which its tables and blocks refer to.
void writeObjects(DL_WriterA& dw)
{
    constexpr int kRoot = 0xC;
    constexpr int kGroups = 0xD;
    constexpr int kPlotStyles = 0xE;
    constexpr int kPlaceholder = 0xF;
    constexpr int kLineStyles = 0x17;
    constexpr int kLineStyle = 0x18;
    constexpr int kPlotSettings = 0x19;
    constexpr int kLayouts = 0x1A;
    constexpr int kModelRecord = 0x1F;
    constexpr int kPaperRecord = 0x1B;
    constexpr int kPaper0Record = 0x23;
    dw.sectionObjects();
    dictionary(dw, "DICTIONARY", kRoot, 0, HardOwnerFlag::Written);
    const std::pair<const char*, int> entries[] { { "ACAD_GROUP", kGroups }, { "ACAD_LAYOUT", kLayouts },
        { "ACAD_MLINESTYLE", kLineStyles }, { "ACAD_PLOTSETTINGS", kPlotSettings },
        { "ACAD_PLOTSTYLENAME", kPlotStyles } };
    for (const auto& [name, handle] : entries) {
        dw.dxfString(3, name);
        dw.dxfHex(350, handle);
    }
    dw.dxfString(3, "AcDbVariableDictionary");
    const auto variables = static_cast<int>(dw.handle(350));
    dictionary(dw, "DICTIONARY", kGroups, kRoot, HardOwnerFlag::Written);
    dictionary(dw, "ACDBDICTIONARYWDFLT", kPlotStyles, kRoot, HardOwnerFlag::Omitted);
    dw.dxfString(3, "Normal");
    dw.dxfHex(350, kPlaceholder);
    dw.dxfString(100, "AcDbDictionaryWithDefault");
    dw.dxfHex(340, kPlaceholder);
    object(dw, "ACDBPLACEHOLDER", kPlaceholder, kPlotStyles);
    dictionary(dw, "DICTIONARY", kLineStyles, kRoot, HardOwnerFlag::Written);
    dw.dxfString(3, "Standard");
    dw.dxfHex(350, kLineStyle);
    object(dw, "MLINESTYLE", kLineStyle, kLineStyles);
    dw.dxfString(100, "AcDbMlineStyle");
    dw.dxfString(2, "STANDARD");
    dw.dxfInt(70, 0);
    dw.dxfString(3, "");
    dw.dxfInt(62, 256);
    dw.dxfReal(51, 90.0);
    dw.dxfReal(52, 90.0);
    dw.dxfInt(71, 2);
    for (const double offset : { 0.5, -0.5 }) {
        dw.dxfReal(49, offset);
        dw.dxfInt(62, 256);
        dw.dxfString(6, "BYLAYER");
    }
    dictionary(dw, "DICTIONARY", kPlotSettings, kRoot, HardOwnerFlag::Written);
    const int layout1 = 0x1E;
    const int model = 0x22;
    const int layout2 = 0x26;
    dictionary(dw, "DICTIONARY", kLayouts, kRoot, HardOwnerFlag::Omitted);
    for (const auto& [name, handle] : { std::pair { "Layout1", layout1 }, std::pair { "Layout2", layout2 },
             std::pair { "Model", model } }) {
        dw.dxfString(3, name);
        dw.dxfHex(350, handle);
    }
    layout(dw, layout1, kLayouts, "Layout1", 688, 1, kPaperRecord, true);
    layout(dw, model, kLayouts, "Model", 1712, 0, kModelRecord, false);
    layout(dw, layout2, kLayouts, "Layout2", 688, 2, kPaper0Record, true);
    // Nothing takes a handle after these two.
    const int hideText = variables + 1;
    const int dimAssoc = variables + 2;
    dictionary(dw, "DICTIONARY", variables, kRoot, HardOwnerFlag::Omitted);
    dw.dxfString(3, "DIMASSOC");
    dw.dxfHex(350, dimAssoc);
    dw.dxfString(3, "HIDETEXT");
    dw.dxfHex(350, hideText);
    for (const auto& [handle, value] : { std::pair { hideText, "2" }, std::pair { dimAssoc, "1" } }) {
        object(dw, "DICTIONARYVAR", handle, variables);
        dw.dxfString(100, "DictionaryVariables");
        dw.dxfInt(280, 0);
        dw.dxfString(1, value);
    }
}

// What a file can hold of an entity: its points, within the sane values, enough of them for its kind.
bool writable(const DrawingEntity& e)
{
    return !e.points.empty() && saneDxfEntity(e) && (e.kind != DrawingEntityKind::Line || e.points.size() == 2)
        && (e.kind != DrawingEntityKind::Polyline || e.points.size() >= 2);
}

} // namespace

bool writeDrawingDxf(const CadDrawing& drawing, const std::filesystem::path& path, const std::vector<std::int64_t>* only)
{
    std::unordered_set<std::int64_t> wanted;
    if (only)
        wanted.insert(only->begin(), only->end());
    std::vector<const DrawingEntity*> chosen;
    for (const DrawingEntity& e : drawing.entities())
        if ((!only || wanted.contains(e.id)) && writable(e))
            chosen.push_back(&e);
    // The blocks referred to, and those their definitions refer to in turn.
    // The model and paper spaces are written below, empty, whatever a reference names them.
    std::set<std::string> blocks;
    std::vector<std::string> pending;
    for (const DrawingEntity* e : chosen)
        if (e->kind == DrawingEntityKind::Block && !layoutBlockName(e->blockName) && blocks.insert(e->blockName).second)
            pending.push_back(e->blockName);
    while (!pending.empty()) {
        const DrawingBlockDefinition* definition = drawing.findBlockDefinition(pending.back());
        pending.pop_back();
        if (!definition)
            continue;
        for (const DrawingEntity& e : definition->entities)
            if (e.kind == DrawingEntityKind::Block && writable(e) && !layoutBlockName(e.blockName)
                && blocks.insert(e.blockName).second)
                pending.push_back(e.blockName);
    }

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
    // A block read from a file goes out as it came in; the program's own luminaires as the symbol.
    for (const std::string& name : blocks) {
        const DrawingBlockDefinition* definition = drawing.findBlockDefinition(name);
        if (!definition) {
            writeSymbolBlock(dxf, *dw, name);
            continue;
        }
        const DrawingPoint& base = definition->base;
        dxf.writeBlock(*dw, DL_BlockData(name, 0, base.x, base.y, base.z));
        for (const DrawingEntity& e : definition->entities)
            if (writable(e))
                writeEntity(dxf, *dw, e, "BYBLOCK");
        dxf.writeEndBlock(*dw, name);
    }
    dw->sectionEnd();

    dw->sectionEntities();
    for (const DrawingEntity* e : chosen)
        writeEntity(dxf, *dw, *e);
    dw->sectionEnd();
    writeObjects(*dw);
    dxf.writeObjectsEnd(*dw);
    dw->dxfEOF();
    dw->close();
    return std::filesystem::exists(path);
}

} // namespace kzev
