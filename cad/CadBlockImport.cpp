// The document's import of luminaire blocks from the drawing of the running
// CAD program: by attribute extraction into a file, typed into the text
// window or sent through automation, and by a walk over the drawing's
// objects through either automation model. Every variant reads the whole
// drawing first and replaces the room's lamp systems only when that worked.

#include "model/CKzevDoc.h"

#include "cad/AttributeExtraction.h"
#include "cad/CadConnection.h"
#include "cad/CadTextChannel.h"
#include "cad/LuminaireBlockImport.h"
#include "model/CadKind.h"
#include "platform/CadLink.h"
#include "platform/FileIo.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"

namespace {

using kzev::CadVariant;
using kzev::formatC;
using kzev::loadString;

constexpr int kCannotOpen = 61446;     // "Nelze otevřít soubor %s ! (existuje ?)"
constexpr int kRefused = 64950;        // the CAD program refused a call of the import
constexpr const char* kTag = "SVITIDLO";
/** How long the CAD program may take to write the extraction file. */
constexpr std::chrono::seconds kExtractionLimit { 20 };

void say(const std::string& text, kzev::MessageIcon icon = kzev::MessageIcon::None)
{
    kzev::services().messageBox->show(text, icon, kzev::MessageButtons::Ok);
}

std::string point(const CVector& p)
{
    return formatC("%1.3lf,%1.3lf,%1.3lf", p.x, p.y, p.z);
}

CadVariant variant(const CVector& p)
{
    CadVariant out;
    (void)kzev::CreatePointSafeArray(out, p.x, p.y, p.z);
    return out;
}

CVector vectorOf(const kzev::CadVariant& value)
{
    double p[3] {};
    (void)kzev::VariantToPoint3d(p, value);
    return { p[0], p[1], p[2] };
}

/** Writes the template anew; false after telling the user. */
bool writeTemplate(const std::filesystem::path& path)
{
    // A link or a pipe at the name is replaced, never written through; no folder at all is no place to write.
    const std::string text = kzev::extractionTemplate();
    try {
        if (!path.has_parent_path())
            throw kzev::FileError("no folder for the exchange files", path);
        kzev::writePrivateFile(path, std::vector<std::uint8_t>(text.begin(), text.end()));
    } catch (const kzev::FileError&) {
        say(formatC(loadString(kCannotOpen).c_str(), path.string().c_str()));
        return false;
    }
    return true;
}

/** Reads the extraction file once the CAD program has written it, and imports its blocks. */
int readExtraction(CKzevDoc& doc, CRoom& room, const std::filesystem::path& file, kzev::LuminaireImportReport* report)
{
    const auto text = kzev::waitForExtractionFile(*kzev::cadLink().desktop, file, kExtractionLimit);
    if (!text) {
        say(formatC(loadString(kCannotOpen).c_str(), file.string().c_str()));
        return 0;
    }
    kzev::LuminaireBlockImport import(doc, room);
    for (const std::string& line : kzev::extractionLines(*text))
        if (const auto block = kzev::readExtractionLine(line))
            import.add(*block);
    import.commit(room);
    if (report)
        *report = import.report();
    kzev::cadLink().desktop->restoreOwnWindow();
    return 1;
}

std::string selectCommand(const kzev::CadSelectionWindow& window)
{
    return "_select _c " + point(window.first) + " " + point(window.second) + "\n\n";
}

std::string extractCommand(const char* start, const std::filesystem::path& templ, const std::filesystem::path& file)
{
    return start + templ.string() + "\n" + file.string() + "\n";
}

/** The identifiers in which the two object models differ. */
struct WalkModel {
    kzev::CadObjectModel model;
    const char* blockName;
    bool readsNormal;
};

} // namespace

int CKzevDoc::ImportCadAttributesByScript(CRoom& room, kzev::LuminaireImportReport* report)
{
    kzev::ICadDesktop& desktop = *kzev::cadLink().desktop;
    kzev::CadTextChannel channel(desktop);
    channel.m_hMainWnd = m_cadWnd;
    channel.m_nMode = m_cadKind;
    channel.m_nLtVersion = m_cadVersion;
    const bool found = m_cadKind == kzev::CadKindDrawing ? channel.FindTextWindow() : channel.FindLtTextWindow();
    if (!found)
        return 0;
    const kzev::CadSelectionWindow window = kzev::roomSelectionWindow(room, m_unitMm == 1, false);
    const std::filesystem::path folder = desktop.temporaryFolder();
    const std::filesystem::path templ = folder / kzev::kExtractionTemplateName;
    const std::filesystem::path file = folder / kzev::kExtractionFileName;
    if (!writeTemplate(templ))
        return 0;
    std::error_code ignored;
    std::filesystem::remove(file, ignored);

    channel.SendToTextWindow(selectCommand(window));
    channel.ReadCommandLine(channel.m_strPrompt);
    channel.SendToTextWindow("_filedia 0 ");
    channel.SendToTextWindow(extractCommand("_-attext _o _p  _s ", templ, file));
    channel.ReadCommandLine(channel.m_strPrompt);
    channel.SendToTextWindow("_filedia 1 ");
    // A stopped channel has told why; the room stays as it was.
    if (channel.stopped())
        return 0;
    return readExtraction(*this, room, file, report);
}

int CKzevDoc::ImportCadAttributesIcad(CRoom& room, kzev::LuminaireImportReport* report)
{
    kzev::CadConnection connection({ kzev::CadObjectModel::AcadType, false, true });
    if (!connection.connected())
        return 0;
    kzev::ICadDesktop& desktop = *kzev::cadLink().desktop;
    kzev::ICadDocument& drawing = *connection.document();
    const kzev::CadSelectionWindow window = kzev::roomSelectionWindow(room, m_unitMm == 1, false);
    const std::filesystem::path folder = desktop.temporaryFolder();
    const std::filesystem::path templ = folder / kzev::kExtractionTemplateName;
    const std::filesystem::path file = folder / kzev::kExtractionFileName;
    try {
        desktop.setForeground(m_cadWnd);
        if (!writeTemplate(templ))
            return 0;
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        drawing.sendCommand(selectCommand(window));
        drawing.sendCommand("_filedia 0 ");
        drawing.sendCommand(extractCommand("_-attext _e _p  _s ", templ, file));
        drawing.sendCommand("_filedia 1 ");
    } catch (const std::exception& error) {
        say(formatC(loadString(kRefused).c_str(), error.what()), kzev::MessageIcon::Error);
        return 0;
    }
    return readExtraction(*this, room, file, report);
}

namespace {

int walkBlocks(CKzevDoc& doc, CRoom& room, const WalkModel& model, kzev::LuminaireImportReport* report)
{
    const bool icad = model.model == kzev::CadObjectModel::IcadType;
    kzev::CadConnection connection({ model.model, icad, true });
    if (!connection.connected())
        return 0;
    kzev::ICadDocument& drawing = *connection.document();
    kzev::LuminaireBlockImport import(doc, room);
    try {
        kzev::cadLink().desktop->setForeground(doc.m_cadWnd);
        kzev::CadObjectId set = 0;
        if (icad) {
            set = drawing.addSelectionSet(formatC("Kzev%ld", static_cast<long>(doc.m_selectionSetCounter)));
            ++doc.m_selectionSetCounter;
        } else {
            set = drawing.documentSelectionSet();
            drawing.clearSelectionSet(set);
        }
        const kzev::CadSelectionWindow window = kzev::roomSelectionWindow(room, doc.m_unitMm == 1, icad);
        drawing.select(set, icad ? kzev::kCadSelectCrossingIcad : kzev::kCadSelectCrossing, variant(window.first),
            variant(window.second), CadVariant::omitted(), CadVariant::omitted());
        for (std::int32_t i = 0; i < drawing.selectionCount(set); ++i) {
            const kzev::CadObjectId item = drawing.selectionItem(set, i);
            if (drawing.objectName(item) != model.blockName || !drawing.hasAttributes(item))
                continue;
            const std::vector<kzev::CadObjectId> attributes = drawing.attributes(item);
            if (attributes.empty() || drawing.attributeTag(attributes.front()) != kTag)
                continue;
            kzev::LuminaireBlock block;
            block.attribute = drawing.attributeText(attributes.front());
            const CVector at = vectorOf(drawing.insertionPoint(item));
            block.x = at.x;
            block.y = at.y;
            block.z = at.z;
            block.rotation = RadToDeg(drawing.rotation(item));
            block.wrapAngle = true;
            if (model.readsNormal)
                block.normal = vectorOf(drawing.normal(item));
            import.add(block);
        }
        if (icad)
            drawing.deleteSelectionSet(set);
        else
            drawing.clearSelectionSet(set);
    } catch (const std::exception& error) {
        // The drawing could not be read whole: the room keeps its lamp systems.
        say(formatC(loadString(kRefused).c_str(), error.what()), kzev::MessageIcon::Error);
        return 0;
    }
    import.commit(room);
    if (report)
        *report = import.report();
    kzev::cadLink().desktop->restoreOwnWindow();
    return 1;
}

} // namespace

int CKzevDoc::ImportCadBlocksAcad(CRoom& room, kzev::LuminaireImportReport* report)
{
    return walkBlocks(*this, room, { kzev::CadObjectModel::AcadType, "AcDbBlockReference", true }, report);
}

int CKzevDoc::ImportCadBlocksInsert(CRoom& room, kzev::LuminaireImportReport* report)
{
    return walkBlocks(*this, room, { kzev::CadObjectModel::IcadType, "BlockInsert", false }, report);
}

int CKzevDoc::ImportCadBlocks(CRoom& room, kzev::LuminaireImportReport* report)
{
    if (m_cadKind == kzev::CadKindAcadLt)
        return ImportCadAttributesByScript(room, report);
    if (m_cadKind == kzev::CadKindIcad)
        return ImportCadBlocksInsert(room, report);
    if (m_acadClone == 1)
        return ImportCadAttributesIcad(room, report);
    return ImportCadBlocksAcad(room, report);
}
