#include "dialogs/lamps/LampSystemDesign.h"

#include "calc/CalcCatalogue.h"
#include "calc/LimitingLuminance.h"
#include "calc/LumenMethod.h"
#include "calc/MaintenanceFactor.h"
#include "model/CKzevDoc.h"
#include "model/DerivedLampSystems.h"
#include "model/RegularLayout.h"
#include "platform/AppFolders.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace kzev {

namespace {


constexpr int kAngleFormat = 61463;  // "%1.0lf"
constexpr int kVectorFormat = 61465; // "%1.3lf"
constexpr int kBadPitch = 61475;
constexpr int kRoomTooSmall = 61471;
constexpr int kBadNumberId = 65341; // "„%s“ není platné číslo v rozsahu pole !"
constexpr int kLaidOutNote = 65210; // "Rozmístěno %d svítidel: Em %1.1lf lx; požadováno %1.0lf lx (%ld svítidel)"

std::string angleText(double degrees)
{
    return formatC(loadString(kAngleFormat).c_str(), degrees);
}

std::string vectorText(double component)
{
    return formatC(loadString(kVectorFormat).c_str(), component);
}

double& component(CVector& v, int axis)
{
    return axis == 0 ? v.x : axis == 1 ? v.y : v.z;
}

/** The change under way: the undo step is taken once for the outermost change. */
class ChangeScope {
public:
    ChangeScope(int& depth, bool& undoTaken)
        : m_depth(depth)
        , m_undoTaken(undoTaken)
    {
        ++m_depth;
    }
    /** The outermost change also drops what the page said about the change before it. */
    ChangeScope(int& depth, bool& undoTaken, std::string& note)
        : ChangeScope(depth, undoTaken)
    {
        if (m_depth == 1)
            note.clear();
    }
    ~ChangeScope()
    {
        if (--m_depth == 0)
            m_undoTaken = false;
    }
    ChangeScope(const ChangeScope&) = delete;
    ChangeScope& operator=(const ChangeScope&) = delete;

private:
    int& m_depth;
    bool& m_undoTaken;
};

/** Holds the page's reaction to edits off while texts are written by the page itself. */
class Quiet {
public:
    explicit Quiet(bool& react)
        : m_react(react)
        , m_was(react)
    {
        m_react = false;
    }
    ~Quiet() { m_react = m_was; }
    Quiet(const Quiet&) = delete;
    Quiet& operator=(const Quiet&) = delete;

private:
    bool& m_react;
    bool m_was;
};

} // namespace

LampSystemDesign::LampSystemDesign(const LampSheetContext& context, DesignHooks hooks)
    : m_context(context)
    , m_hooks(std::move(hooks))
{
    m_enabled.fill(true);
}

bool LampSystemDesign::centreOnLayout() const { return m_context.working->m_centreOnLayout != 0; }
bool LampSystemDesign::generalOrientation() const { return m_context.working->m_generalOrientation != 0; }
bool LampSystemDesign::generalPitch() const { return m_context.working->m_generalPitch != 0; }
bool LampSystemDesign::nonRegular() const { return m_context.working->m_nonRegular == 1; }
int LampSystemDesign::axisMode() const { return m_context.working->m_axisEntry; }

CRoom* LampSystemDesign::room() const
{
    CKzevDoc* doc = m_context.doc;
    if (!doc || m_context.room < 0 || static_cast<std::size_t>(m_context.room) >= doc->m_rooms.size())
        return nullptr;
    return &doc->m_rooms[static_cast<std::size_t>(m_context.room)];
}

std::string LampSystemDesign::showLength(double metres) const
{
    return m_context.doc->FormatLength(metres);
}

double LampSystemDesign::readLength(DesignField field, double stored) const
{
    const std::string& typed = text(field);
    if (typed == showLength(stored))
        return stored;
    // A text that is no length (or one beyond reach) would carry nonsense into every position: the field keeps its value.
    return readTypedLength(typed, m_context.doc->m_unitMm == 1).value_or(stored);
}

double LampSystemDesign::readAngle(DesignField field, double stored) const
{
    const std::string& typed = text(field);
    return typed == angleText(stored) ? stored : typedNumberOr(typed, stored);
}

std::int32_t LampSystemDesign::readCount(DesignField field) const
{
    // A row count below one would leave a system without luminaires; with the other row's
    // count the grid stays within what a project file may hold, so that it opens again.
    const DesignField other = field == DesignField::Count1 ? DesignField::Count2 : DesignField::Count1;
    const long otherCount = std::max(1L, StrToLong(text(other)));
    const long most = std::max(1L, static_cast<long>(CLampSystem::kMaxLuminaires / otherCount));
    return static_cast<std::int32_t>(std::clamp(StrToLong(text(field)), 1L, most));
}

void LampSystemDesign::write(DesignField field, const std::string& value)
{
    show(field, value);
    if (m_reactToEdits)
        dispatch(field);
}

void LampSystemDesign::showAngles()
{
    const CLampSystem& w = *m_context.working;
    show(DesignField::Tilt, angleText(w.m_tilt));
    show(DesignField::Rotation, angleText(w.m_turn));
    show(DesignField::Spin, angleText(w.m_rotation));
}

void LampSystemDesign::showAxes()
{
    const CLampSystem& w = *m_context.working;
    showAxes(w.m_origin, w.m_opticalAxis, w.m_c0Axis);
}

void LampSystemDesign::showAxes(const CVector& position, const CVector& opticalAxis, const CVector& c0Axis)
{
    // In aim-point mode the optical axis is shown as the point it aims at.
    if (m_context.working->m_axisEntry == 2) {
        const CVector aim = position + opticalAxis;
        show(DesignField::AxisX, showLength(aim.x));
        show(DesignField::AxisY, showLength(aim.y));
        show(DesignField::AxisZ, showLength(aim.z));
    } else {
        show(DesignField::AxisX, vectorText(opticalAxis.x));
        show(DesignField::AxisY, vectorText(opticalAxis.y));
        show(DesignField::AxisZ, vectorText(opticalAxis.z));
    }
    show(DesignField::C0X, vectorText(c0Axis.x));
    show(DesignField::C0Y, vectorText(c0Axis.y));
    show(DesignField::C0Z, vectorText(c0Axis.z));
}

// ---- the page's life ----------------------------------------------------------------

void LampSystemDesign::OnSetActive()
{
    CLampSystem& w = *m_context.working;
    CRoom* r = room();
    show(DesignField::Luminaire, w.m_luminaireName);
    show(DesignField::Lamp, w.m_lampName);
    m_layoutNote.clear();
    const Quiet quiet(m_reactToEdits);
    m_controls.undo = m_context.doc->m_undo.canUndo();
    show(DesignField::LumenCount, formatC("%ld", static_cast<long>(w.m_numberOfLuminaires)));
    show(DesignField::Em, formatC("%1.1lf", w.m_em));
    show(DesignField::Count1, formatC("%ld", static_cast<long>(w.m_count1)));
    show(DesignField::Count2, formatC("%ld", static_cast<long>(w.m_count2)));
    if (w.m_mountingHeight <= 0.001 && r)
        w.m_mountingHeight = r->m_height;
    if (w.m_origin.z < 0.0)
        w.m_origin.z = w.m_mountingHeight;
    showAngles();
    show(DesignField::OriginX, showLength(w.m_origin.x));
    show(DesignField::OriginY, showLength(w.m_origin.y));
    show(DesignField::OriginZ, showLength(w.m_origin.z));
    show(DesignField::Pitch1X, showLength(w.m_pitch1.x));
    show(DesignField::Pitch1Y, showLength(w.m_pitch1.y));
    show(DesignField::Pitch1Z, showLength(w.m_pitch1.z));
    show(DesignField::Pitch2X, showLength(w.m_pitch2.x));
    show(DesignField::Pitch2Y, showLength(w.m_pitch2.y));
    show(DesignField::Pitch2Z, showLength(w.m_pitch2.z));
    showAxes();
    OnNonRegular(w.m_nonRegular == 1);
    OnGeneralPitch(w.m_generalPitch != 0);
    OnGeneralOrientation(w.m_generalOrientation != 0);
}

void LampSystemDesign::OnKillActive()
{
    ReadPageFields();
    RebuildLuminaires();
    if (m_context.push)
        m_context.push();
    if (m_hooks.refreshView)
        m_hooks.refreshView();
}

void LampSystemDesign::ReadPageFields()
{
    CLampSystem& w = *m_context.working;
    const auto open = [this](DesignField field) { return enabled(field); };
    if (open(DesignField::LumenCount))
        w.m_numberOfLuminaires = static_cast<std::int32_t>(StrToLong(text(DesignField::LumenCount)));
    if (open(DesignField::Em) && text(DesignField::Em) != formatC("%1.1lf", w.m_em))
        w.m_em = typedNumberOr(text(DesignField::Em), w.m_em);
    const std::array<std::pair<DesignField, double*>, 9> lengths { {
        { DesignField::OriginX, &w.m_origin.x }, { DesignField::OriginY, &w.m_origin.y },
        { DesignField::OriginZ, &w.m_origin.z }, { DesignField::Pitch1X, &w.m_pitch1.x },
        { DesignField::Pitch1Y, &w.m_pitch1.y }, { DesignField::Pitch1Z, &w.m_pitch1.z },
        { DesignField::Pitch2X, &w.m_pitch2.x }, { DesignField::Pitch2Y, &w.m_pitch2.y },
        { DesignField::Pitch2Z, &w.m_pitch2.z } } };
    for (const auto& [field, value] : lengths) {
        if (open(field))
            *value = readLength(field, *value);
    }
    if (open(DesignField::Count1))
        w.m_count1 = readCount(DesignField::Count1);
    if (open(DesignField::Count2))
        w.m_count2 = readCount(DesignField::Count2);
}

void LampSystemDesign::ApplyToDocument()
{
    ReadPageFields();
    if (m_context.push)
        m_context.push();
}

void LampSystemDesign::PushUndo()
{
    CRoom* r = room();
    if (!r || (m_changeDepth > 0 && m_undoTaken))
        return;
    m_context.doc->PushUndo(*r);
    m_undoTaken = m_changeDepth > 0;
    m_controls.undo = true;
}

void LampSystemDesign::RebuildLuminaires()
{
    CLampSystem& w = *m_context.working;
    if (w.m_nonRegular == 1) {
        if (w.m_selectedLuminaire >= 0 && static_cast<std::size_t>(w.m_selectedLuminaire) < w.m_luminaires.size()) {
            COneLampSystem& one = w.m_luminaires[static_cast<std::size_t>(w.m_selectedLuminaire)];
            one.m_position = w.m_origin;
            one.m_c0Axis = w.m_c0Axis;
            one.m_opticalAxis = w.m_opticalAxis;
        }
        return;
    }
    const CRoom* r = room();
    rebuildRegularLuminaires(w, r && !r->m_modes.empty() ? r->m_modes.size() : 1);
}

void LampSystemDesign::RefreshAfterEdit(int rederive)
{
    // The document follows the working copy after every change, not only before the next one.
    if (m_context.push)
        m_context.push();
    if (rederive == 1 && m_hooks.rederive)
        m_hooks.rederive();
    if (m_hooks.refreshView)
        m_hooks.refreshView();
}

// ---- the lumen method -----------------------------------------------------------------

bool LampSystemDesign::LumenChain(int mode, LumenEntry entry)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    CRoom* r = room();
    if (!r)
        return false;
    ApplyToDocument();
    PushUndo();
    m_lumenDone = false;
    // A count typed or asked for by itself is no longer the answer to an earlier target.
    if (mode == 0 && m_changeDepth == 1)
        m_lumenTarget.reset();
    if (mode == 0)
        w.m_numberOfLuminaires = static_cast<std::int32_t>(StrToLong(text(DesignField::LumenCount)));
    else
        w.m_em = static_cast<double>(StrToLong(text(DesignField::Em)));
    const double target = w.m_em;
    w.m_origin.z = readLength(DesignField::OriginZ, w.m_origin.z);
    w.m_mountingHeight = w.m_origin.z;
    CKzevDoc& doc = *m_context.doc;
    if (!doc.ResolveLuminaire(w, 1) || !doc.ResolveLamp(w, 1))
        return false;
    const CalcCatalogue catalogue(doc.m_luminaires, doc.m_lamps);
    const std::string dataFolder = appFolders().PathData;
    if (!calcMaintenanceFactor(*r, w, catalogue, dataFolder, static_cast<ProjectType>(doc.m_projectType)))
        return false;
    if (!calcLumenMethod(w, *r, mode == 0 ? LumenMethodMode::EmFromCount : LumenMethodMode::CountFromEm, catalogue,
            dataFolder))
        return false;
    m_lumenDone = true;
    if (mode == 1)
        m_lumenTarget = LumenTarget { target, w.m_numberOfLuminaires };
    // The new result is shown before the glare check, so that a check that cannot be made
    // never leaves the old texts to be read back over the result.
    {
        const Quiet quiet(m_reactToEdits);
        if (entry != LumenEntry::EmEdit)
            show(DesignField::Em, formatC("%1.1lf", w.m_em));
        if (entry != LumenEntry::CountEdit)
            show(DesignField::LumenCount, formatC("%ld", static_cast<long>(w.m_numberOfLuminaires)));
    }
    const CRoom copy = *r;
    return calcGlareLimitingLuminance(doc, copy, w);
}

void LampSystemDesign::OnEmButton()
{
    LumenChain(0, LumenEntry::Button);
}

void LampSystemDesign::OnCountButton()
{
    LumenChain(1, LumenEntry::Button);
}

// ---- layouts ------------------------------------------------------------------------------

void LampSystemDesign::OnDistribute()
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    const CRoom* r = room();
    if (!r)
        return;
    const double a = r->m_length;
    const double b = r->m_width;
    if (a < 0.001 || b < 0.001) {
        messageBoxId(kRoomTooSmall, MessageIcon::Error);
        return;
    }
    // The step holds the layout before any of it is written, so that one "Zpět" gives it back.
    ApplyToDocument();
    PushUndo();
    const long n
        = std::clamp(StrToLong(text(DesignField::LumenCount)), 1L, static_cast<long>(CLampSystem::kMaxLuminaires));
    const auto m2 = static_cast<std::int32_t>(std::max(1.0, std::floor(std::sqrt(n * b / a) + 0.5)));
    // Rounding both rows up may pass the largest grid; the rows along X give way.
    const auto m1 = static_cast<std::int32_t>(std::min(std::max(1.0, std::floor(std::sqrt(n * a / b) + 0.5)),
        static_cast<double>(std::max<std::int64_t>(1, CLampSystem::kMaxLuminaires / m2))));
    {
        const Quiet quiet(m_reactToEdits);
        show(DesignField::LumenCount, formatC("%d", m1 * m2));
        show(DesignField::Count1, formatC("%d", m1));
        show(DesignField::Count2, formatC("%d", m2));
        w.m_count1 = m1;
        w.m_count2 = m2;
        w.m_mountingHeight = w.m_origin.z;
        OnLayoutByCounts();
    }
    OnGeneralPitch(false);
    // The rows cannot always hold what the lumen method asked for: the page says what the laid-out count gives.
    if (m_lumenTarget && m_lumenDone && m_lumenTarget->count == n) {
        m_layoutNote = formatC(loadString(kLaidOutNote).c_str(), w.m_count1 * w.m_count2, w.m_em, m_lumenTarget->em,
            static_cast<long>(m_lumenTarget->count));
    }
}

void LampSystemDesign::OnLayoutByCounts()
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    const CRoom* r = room();
    if (!r)
        return;
    ApplyToDocument();
    PushUndo();
    const std::int32_t m1 = readCount(DesignField::Count1);
    const std::int32_t m2 = readCount(DesignField::Count2);
    const AxisLayout x = layOutAxisByCount(r->m_length, m1, readLength(DesignField::OriginX, w.m_origin.x), centreOnLayout());
    const AxisLayout y = layOutAxisByCount(r->m_width, m2, readLength(DesignField::OriginY, w.m_origin.y), centreOnLayout());
    write(DesignField::Pitch1X, showLength(x.pitch));
    write(DesignField::Pitch2Y, showLength(y.pitch));
    write(DesignField::OriginX, showLength(x.origin));
    write(DesignField::OriginY, showLength(y.origin));
    write(DesignField::LumenCount, formatC("%d", m1 * m2));
    LumenChain(0, LumenEntry::Button);
    ReadPageFields();
    // The exact layout is kept, not the rounding of its texts.
    w.m_pitch1.x = x.pitch;
    w.m_pitch2.y = y.pitch;
    w.m_origin.x = x.origin;
    w.m_origin.y = y.origin;
    w.m_count1 = m1;
    w.m_count2 = m2;
    {
        // The rows show what is laid out, also where a typed count was out of range.
        const Quiet quiet(m_reactToEdits);
        show(DesignField::Count1, formatC("%d", m1));
        show(DesignField::Count2, formatC("%d", m2));
    }
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::OnLayoutByPitches()
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    const CRoom* r = room();
    if (!r)
        return;
    ApplyToDocument();
    PushUndo();
    const AxisLayout x = layOutAxisByPitch(r->m_length, readLength(DesignField::Pitch1X, w.m_pitch1.x),
        readLength(DesignField::OriginX, w.m_origin.x), centreOnLayout());
    if (x.pitchRejected)
        messageBoxId(kBadPitch, MessageIcon::Question);
    const AxisLayout y = layOutAxisByPitch(r->m_width, readLength(DesignField::Pitch2Y, w.m_pitch2.y),
        readLength(DesignField::OriginY, w.m_origin.y), centreOnLayout());
    if (y.pitchRejected)
        messageBoxId(kBadPitch, MessageIcon::Question);
    // Pitches so small that the grid would outgrow a project file lay nothing out.
    if (std::int64_t { x.count } * std::int64_t { y.count } > CLampSystem::kMaxLuminaires) {
        messageBoxId(kBadPitch, MessageIcon::Question);
        return;
    }
    write(DesignField::Count1, formatC("%d", x.count));
    write(DesignField::Count2, formatC("%d", y.count));
    write(DesignField::OriginX, showLength(x.origin));
    write(DesignField::OriginY, showLength(y.origin));
    write(DesignField::LumenCount, formatC("%d", x.count * y.count));
    LumenChain(0, LumenEntry::Button);
    ReadPageFields();
    w.m_origin.x = x.origin;
    w.m_origin.y = y.origin;
    w.m_count1 = x.count;
    w.m_count2 = y.count;
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::OnCentre()
{
    if (!m_reactToEdits)
        return;
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    const CRoom* r = room();
    if (!r)
        return;
    ApplyToDocument();
    PushUndo();
    ReadPageFields();
    const double x = (r->m_length - ((w.m_count2 - 1) * w.m_pitch2.x + (w.m_count1 - 1) * w.m_pitch1.x)) / 2.0;
    const double y = (r->m_width - ((w.m_count2 - 1) * w.m_pitch2.y + (w.m_count1 - 1) * w.m_pitch1.y)) / 2.0;
    write(DesignField::OriginX, showLength(x));
    write(DesignField::OriginY, showLength(y));
    w.m_origin.x = x;
    w.m_origin.y = y;
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

// ---- field edits ----------------------------------------------------------------------------

void LampSystemDesign::OnFieldChanged(DesignField field, const std::string& value)
{
    if (!m_reactToEdits || field == DesignField::Luminaire || field == DesignField::Lamp) {
        show(field, value);
        return;
    }
    // The undo step is the state before the typed text, which the handler's own write-back would include.
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    ApplyToDocument();
    PushUndo();
    show(field, value);
    dispatch(field);
}

std::string LampSystemDesign::refusal(DesignField field, const std::string& typed) const
{
    if (typed == text(field))
        return {};
    const bool millimetres = m_context.doc && m_context.doc->m_unitMm == 1;
    bool reads = true;
    switch (field) {
    case DesignField::OriginX:
    case DesignField::OriginY:
    case DesignField::OriginZ:
    case DesignField::Pitch1X:
    case DesignField::Pitch1Y:
    case DesignField::Pitch1Z:
    case DesignField::Pitch2X:
    case DesignField::Pitch2Y:
    case DesignField::Pitch2Z: reads = readTypedLength(typed, millimetres).has_value(); break;
    case DesignField::AxisX:
    case DesignField::AxisY:
    case DesignField::AxisZ:
        // With an aim point the axis fields are its coordinates.
        reads = m_context.working && m_context.working->m_axisEntry == 2 ? readTypedLength(typed, millimetres).has_value()
                                                                         : readTypedNumber(typed).has_value();
        break;
    case DesignField::Count1:
    case DesignField::Count2:
    case DesignField::LumenCount:
        // A whole number out of the grid's reach is cut down to it, as the field then shows.
        reads = readTypedWhole(typed, std::numeric_limits<long>::min(), std::numeric_limits<long>::max()).has_value();
        break;
    case DesignField::Em: reads = readTypedNumber(typed, { 0.0, std::numeric_limits<double>::max() }).has_value(); break;
    case DesignField::Tilt:
    case DesignField::Rotation:
    case DesignField::Spin:
    case DesignField::C0X:
    case DesignField::C0Y:
    case DesignField::C0Z: reads = readTypedNumber(typed).has_value(); break;
    case DesignField::Luminaire:
    case DesignField::Lamp: break;
    }
    return reads ? std::string() : formatC(loadString(kBadNumberId).c_str(), typed.c_str());
}

void LampSystemDesign::dispatch(DesignField field)
{
    switch (field) {
    case DesignField::OriginX:
    case DesignField::OriginY:
    case DesignField::OriginZ: onOriginEdit(field); break;
    case DesignField::Pitch1X:
    case DesignField::Pitch1Y:
    case DesignField::Pitch1Z:
    case DesignField::Pitch2X:
    case DesignField::Pitch2Y:
    case DesignField::Pitch2Z: onPitchEdit(field); break;
    case DesignField::Count1:
    case DesignField::Count2: onCountEdit(field); break;
    case DesignField::Tilt: onTiltOrRotationEdit(true); break;
    case DesignField::Rotation: onTiltOrRotationEdit(false); break;
    case DesignField::Spin: onSpinEdit(); break;
    case DesignField::AxisX:
    case DesignField::AxisY:
    case DesignField::AxisZ: onAxisEdit(field); break;
    case DesignField::C0X:
    case DesignField::C0Y:
    case DesignField::C0Z: onC0Edit(field); break;
    case DesignField::Em: LumenChain(1, LumenEntry::EmEdit); break;
    case DesignField::LumenCount: LumenChain(0, LumenEntry::CountEdit); break;
    case DesignField::Luminaire:
    case DesignField::Lamp: break;
    }
}

void LampSystemDesign::onOriginEdit(DesignField field)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    ApplyToDocument();
    PushUndo();
    ReadPageFields();
    RebuildLuminaires();
    RefreshAfterEdit(1);
    (void)field; // ReadPageFields has taken the edited component with the others
}

void LampSystemDesign::onPitchEdit(DesignField field)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    const int first = static_cast<int>(field) < static_cast<int>(DesignField::Pitch2X)
        ? static_cast<int>(DesignField::Pitch1X)
        : static_cast<int>(DesignField::Pitch2X);
    CVector& pitch = first == static_cast<int>(DesignField::Pitch1X) ? w.m_pitch1 : w.m_pitch2;
    double& value = component(pitch, static_cast<int>(field) - first);
    value = readLength(field, value);
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::onCountEdit(DesignField edited)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    // A count cut down to the largest grid shows what was taken, before the other row is read against it.
    const std::int32_t count = readCount(edited);
    if (StrToLong(text(edited)) > count)
        show(edited, formatC("%ld", static_cast<long>(count)));
    const DesignField other = edited == DesignField::Count1 ? DesignField::Count2 : DesignField::Count1;
    const std::int32_t otherCount = readCount(other);
    w.m_count1 = edited == DesignField::Count1 ? count : otherCount;
    w.m_count2 = edited == DesignField::Count1 ? otherCount : count;
    w.m_numberOfLuminaires = w.m_count1 * w.m_count2;
    write(DesignField::LumenCount, formatC("%ld", static_cast<long>(w.m_numberOfLuminaires)));
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::onTiltOrRotationEdit(bool tiltEdited)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    ReadPageFields();
    const double t = readAngle(DesignField::Tilt, w.m_tilt);
    const double r = readAngle(DesignField::Rotation, w.m_turn);
    const double s = readAngle(DesignField::Spin, w.m_rotation);
    // A luminaire tilted out of the vertical for the first time turns the way its C0 pointed.
    const double rotation = tiltEdited && std::abs(w.m_tilt) < 0.1 && std::abs(t) > 0.1 ? s : r;
    w.m_tilt = t;
    w.m_turn = rotation;
    w.m_rotation = s;
    AxisAtAngleAroundHeading(w.m_tilt, w.m_turn, w.m_rotation, w.m_opticalAxis, w.m_c0Axis);
    if (w.m_selectedLuminaire >= 0 && static_cast<std::size_t>(w.m_selectedLuminaire) < w.m_luminaires.size()) {
        COneLampSystem& one = w.m_luminaires[static_cast<std::size_t>(w.m_selectedLuminaire)];
        one.m_opticalAxis = w.m_opticalAxis;
        one.m_c0Axis = w.m_c0Axis;
    }
    {
        const Quiet quiet(m_reactToEdits);
        showAxes();
        if (tiltEdited)
            show(DesignField::Rotation, angleText(w.m_turn));
        else
            show(DesignField::Tilt, angleText(w.m_tilt));
        show(DesignField::Spin, angleText(w.m_rotation));
    }
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::onSpinEdit()
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    ReadPageFields();
    w.m_rotation = readAngle(DesignField::Spin, w.m_rotation);
    w.m_turn = readAngle(DesignField::Rotation, w.m_turn);
    w.m_tilt = readAngle(DesignField::Tilt, w.m_tilt);
    const double c = std::cos(DegToRad(w.m_rotation));
    const double s = std::sin(DegToRad(w.m_rotation));
    const CVector& a = w.m_opticalAxis;
    CVector v;
    if (std::abs(a.x) >= 0.0001 || std::abs(a.y) >= 0.0001) {
        const CVector across = std::abs(a.z) >= 0.0001 ? CVector { a.x, a.y, -a.z } : CVector { 0.0, 0.0, 1.0 };
        const CVector e1 = CrossProduct(a, across).Normalized();
        const CVector e2 = CrossProduct(e1, a).Normalized();
        v = 100.0 * (c * e1 + s * e2);
    } else {
        v = CVector { c, s, 0.0 };
    }
    w.m_c0Axis = v.Normalized();
    {
        const Quiet quiet(m_reactToEdits);
        showAxes();
    }
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::anglesFromAxes()
{
    CLampSystem& w = *m_context.working;
    DirectionToAngles(w.m_opticalAxis, w.m_c0Axis, w.m_tilt, w.m_turn, w.m_rotation);
    const Quiet quiet(m_reactToEdits);
    showAngles();
}

void LampSystemDesign::onAxisEdit(DesignField field)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    ReadPageFields();
    const int axis = static_cast<int>(field) - static_cast<int>(DesignField::AxisX);
    if (w.m_axisEntry == 2) {
        double& value = component(w.m_opticalAxis, axis);
        if (const std::optional<double> aim = readTypedLength(text(field), m_context.doc->m_unitMm == 1))
            value = *aim - component(w.m_origin, axis);
    } else {
        double& value = component(w.m_opticalAxis, axis);
        value = typedNumberOr(text(field), value);
    }
    OnC90Horizontal();
    anglesFromAxes();
}

void LampSystemDesign::onC0Edit(DesignField field)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    ReadPageFields();
    double& c0 = component(w.m_c0Axis, static_cast<int>(field) - static_cast<int>(DesignField::C0X));
    c0 = typedNumberOr(text(field), c0);
    RebuildLuminaires();
    RefreshAfterEdit(1);
    anglesFromAxes();
}

// ---- orientation buttons --------------------------------------------------------------------

void LampSystemDesign::OnC0Horizontal()
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    const CVector& a = w.m_opticalAxis;
    if (a.Length() < 1e-7)
        return;
    ApplyToDocument();
    PushUndo();
    CVector v;
    if (std::abs(a.x) < 1e-7 && std::abs(a.y) < 1e-7) {
        if (w.m_generalOrientation == 0)
            return;
        v = CVector { 100.0, 0.0, 0.0 };
    } else {
        const CVector across = std::abs(a.z) < 0.0001 ? CVector { 0.0, 0.0, 1.0 } : CVector { a.x, a.y, -a.z };
        v = CrossProduct(a, across);
    }
    w.m_c0Axis = 100.0 * v.Normalized();
    w.m_rotation = 0.0;
    {
        const Quiet quiet(m_reactToEdits);
        showAxes();
        show(DesignField::Spin, "0");
    }
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::OnC90Horizontal()
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    ApplyToDocument();
    PushUndo();
    UpdateAxisVectors(0);
}

void LampSystemDesign::UpdateAxisVectors(int keepPage)
{
    CLampSystem& w = *m_context.working;
    const CVector& a = w.m_opticalAxis;
    if (a.Length() < 1e-5)
        return;
    w.m_rotation = 90.0;
    if (std::abs(a.x) >= 1e-5 || std::abs(a.y) >= 1e-5) {
        const CVector v = std::abs(a.z) >= 0.0001 ? CVector { a.x, a.y, -a.z } : CVector { 0.0, 0.0, 1.0 };
        const CVector t = CrossProduct(v, a);
        const CVector u = CrossProduct(a, t);
        w.m_c0Axis = 100.0 * u.Normalized();
    } else {
        w.m_c0Axis = CVector { 100.0 * std::cos(DegToRad(90.0)), 100.0 * std::sin(DegToRad(90.0)), 0.0 };
    }
    m_reactToEdits = false;
    showAxes();
    show(DesignField::Spin, "90");
    if (keepPage != 1) {
        RebuildLuminaires();
        m_reactToEdits = true;
        RefreshAfterEdit(1);
    }
}

void LampSystemDesign::OnSpinStep(int direction)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    {
        const Quiet quiet(m_reactToEdits);
        ReadPageFields();
        double spin = readAngle(DesignField::Spin, w.m_rotation) + direction * m_context.doc->m_angIncrement;
        if (spin >= 360.0)
            spin -= 360.0;
        if (spin < 0.0)
            spin += 360.0;
        w.m_rotation = spin;
        show(DesignField::Spin, angleText(spin));
    }
    onSpinEdit();
}

// ---- check boxes and radios --------------------------------------------------------------------

void LampSystemDesign::OnCentreCheck(bool checked)
{
    m_context.working->m_centreOnLayout = checked ? 1 : 0;
}

void LampSystemDesign::OnGeneralPitch(bool checked)
{
    m_context.working->m_generalPitch = checked ? 1 : 0;
    applyEnabling();
}

void LampSystemDesign::OnGeneralOrientation(bool checked)
{
    CLampSystem& w = *m_context.working;
    w.m_generalOrientation = checked ? 1 : 0;
    if (checked) {
        OnAxisMode(w.m_axisEntry);
        return;
    }
    // Both angles back to 0 are one change of the user's, one undo step.
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    OnGeneralPitch(false);
    applyEnabling();
    write(DesignField::Tilt, "0");
    write(DesignField::Rotation, "0");
}

void LampSystemDesign::OnNonRegular(bool checked)
{
    const bool changed = (m_context.working->m_nonRegular == 1) != checked;
    m_context.working->m_nonRegular = checked ? 1 : 0;
    applyEnabling();
    if (changed && m_hooks.nonRegularChanged)
        m_hooks.nonRegularChanged();
}

void LampSystemDesign::OnAxisMode(int mode)
{
    m_context.working->m_axisEntry = mode >= 1 && mode <= 3 ? mode : 1;
    applyEnabling();
}

void LampSystemDesign::applyEnabling()
{
    const CLampSystem& w = *m_context.working;
    const bool regular = w.m_nonRegular != 1;
    const bool general = w.m_generalOrientation != 0;
    const bool byAngles = w.m_axisEntry == 1;
    const bool pitchOpen = regular && w.m_generalPitch != 0;
    for (DesignField f : { DesignField::Pitch1X, DesignField::Pitch2Y, DesignField::Count1, DesignField::Count2 })
        m_enabled[index(f)] = regular;
    for (DesignField f : { DesignField::Pitch1Y, DesignField::Pitch1Z, DesignField::Pitch2X, DesignField::Pitch2Z })
        m_enabled[index(f)] = pitchOpen;
    for (DesignField f : { DesignField::AxisX, DesignField::AxisY, DesignField::AxisZ, DesignField::C0X,
             DesignField::C0Y, DesignField::C0Z })
        m_enabled[index(f)] = general && !byAngles;
    for (DesignField f : { DesignField::Tilt, DesignField::Rotation })
        m_enabled[index(f)] = general && byAngles;
    m_enabled[index(DesignField::Spin)] = !general || byAngles;
    m_enabled[index(DesignField::Luminaire)] = false;
    m_enabled[index(DesignField::Lamp)] = false;
    m_controls.axisRadios = general;
    m_controls.alignButtons = general;
    m_controls.centreButton = regular;
    m_controls.generalPitchCheck = regular;
    m_controls.layoutButtons = regular;
    m_controls.addRemove = !regular;
}

// ---- undo ---------------------------------------------------------------------------------------

void LampSystemDesign::OnUndo()
{
    CRoom* r = room();
    CKzevDoc& doc = *m_context.doc;
    if (!r || !doc.m_undo.canUndo()) {
        m_controls.undo = false;
        return;
    }
    const CUndoData* step = doc.m_undo.stepBack();
    if (!step)
        return;
    r->m_lampSystems = step->m_lampSystems;
    if (m_context.lampSystem >= 0 && static_cast<std::size_t>(m_context.lampSystem) < r->m_lampSystems.size())
        *m_context.working = r->m_lampSystems[static_cast<std::size_t>(m_context.lampSystem)];
    OnSetActive();
    RefreshAfterEdit(0);
}

// ---- moves in steps and single luminaires ------------------------------------------------------

namespace {

DesignField originField(int axis)
{
    return axis == 0 ? DesignField::OriginX : DesignField::OriginY;
}

} // namespace

void LampSystemDesign::OnStepMove(int axis, int direction)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    ReadPageFields();
    double& coordinate = component(w.m_origin, axis);
    coordinate += direction * m_context.doc->m_dimIncrement;
    // The edit's own handling lays the luminaires out and refreshes; the stored value stays exact.
    write(originField(axis), showLength(coordinate));
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::OnAimKeepingMove(int axis, int direction)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    ReadPageFields();
    COneLampSystem aimed;
    aimed.m_position = w.m_origin;
    aimed.m_opticalAxis = w.m_opticalAxis;
    aimed.m_c0Axis = w.m_c0Axis;
    const CVector floorPoint = intersectLineWithFloor(aimed);
    component(w.m_origin, axis) += direction * m_context.doc->m_dimIncrement;
    const CVector towards = floorPoint - w.m_origin;
    if (towards.Length() > 1e-9)
        w.m_opticalAxis = 100.0 * towards.Normalized();
    if (w.m_selectedLuminaire >= 0 && static_cast<std::size_t>(w.m_selectedLuminaire) < w.m_luminaires.size())
        w.m_luminaires[static_cast<std::size_t>(w.m_selectedLuminaire)].m_opticalAxis = w.m_opticalAxis;
    {
        const Quiet quiet(m_reactToEdits);
        show(originField(axis), showLength(component(w.m_origin, axis)));
        showAxes();
        UpdateAxisVectors(1);
        UpdateSelectedLuminaireFields();
    }
    m_reactToEdits = true;
    RebuildLuminaires();
    RefreshAfterEdit(1);
}

void LampSystemDesign::OnWalk(int direction)
{
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    CLampSystem& w = *m_context.working;
    ApplyToDocument();
    PushUndo();
    const auto count = static_cast<int>(w.m_luminaires.size());
    if (w.m_nonRegular != 1 || count == 0)
        return;
    int next = w.m_selectedLuminaire + direction;
    if (next >= count)
        next = 0;
    if (next < 0)
        next = count - 1;
    w.m_selectedLuminaire = next;
    const COneLampSystem& one = w.m_luminaires[static_cast<std::size_t>(next)];
    w.m_c0Axis = one.m_c0Axis;
    w.m_opticalAxis = one.m_opticalAxis;
    w.m_origin = one.m_position;
    {
        const Quiet quiet(m_reactToEdits);
        show(DesignField::OriginX, showLength(one.m_position.x));
        show(DesignField::OriginY, showLength(one.m_position.y));
        show(DesignField::OriginZ, showLength(one.m_position.z));
        UpdateSelectedLuminaireFields();
    }
    RefreshAfterEdit(1);
}

void LampSystemDesign::UpdateSelectedLuminaireFields()
{
    CLampSystem& w = *m_context.working;
    if (w.m_selectedLuminaire < 0 || static_cast<std::size_t>(w.m_selectedLuminaire) >= w.m_luminaires.size())
        return;
    const COneLampSystem& one = w.m_luminaires[static_cast<std::size_t>(w.m_selectedLuminaire)];
    showAxes(one.m_position, one.m_opticalAxis, one.m_c0Axis);
    // The stored angles follow the texts, so that reading them back changes nothing.
    if (std::abs(one.m_opticalAxis.x) >= 1e-7 || std::abs(one.m_opticalAxis.y) >= 1e-7) {
        DirectionToAngles(one.m_opticalAxis, one.m_c0Axis, w.m_tilt, w.m_turn, w.m_rotation);
    } else {
        w.m_tilt = 0.0;
        w.m_turn = 0.0;
        w.m_rotation = AngleBetween(one.m_c0Axis, CVector { 1.0, 0.0, 0.0 });
    }
    showAngles();
}

void LampSystemDesign::OnAddLuminaire()
{
    CLampSystem& w = *m_context.working;
    if (w.m_nonRegular != 1 || w.m_luminaires.empty())
        return;
    const ChangeScope change(m_changeDepth, m_undoTaken, m_layoutNote);
    const int selected = std::clamp(w.m_selectedLuminaire, 0, static_cast<int>(w.m_luminaires.size()) - 1);
    const COneLampSystem copy = w.m_luminaires[static_cast<std::size_t>(selected)];
    w.m_luminaires.push_back(copy);
    w.m_selectedLuminaire = static_cast<std::int32_t>(w.m_luminaires.size()) - 1;
    w.m_numberOfLuminaires = static_cast<std::int32_t>(w.m_luminaires.size());
    // The count field's own handling writes back, takes the undo step and sizes by the lumen method.
    write(DesignField::LumenCount, formatC("%d", w.m_numberOfLuminaires));
    RefreshAfterEdit(1);
}

void LampSystemDesign::OnRemoveLuminaire()
{
    CLampSystem& w = *m_context.working;
    if (w.m_nonRegular != 1 || w.m_luminaires.size() <= 1)
        return;
    const int selected = std::clamp(w.m_selectedLuminaire, 0, static_cast<int>(w.m_luminaires.size()) - 1);
    w.m_luminaires.erase(w.m_luminaires.begin() + selected);
    if (w.m_selectedLuminaire >= static_cast<int>(w.m_luminaires.size()))
        w.m_selectedLuminaire = static_cast<std::int32_t>(w.m_luminaires.size()) - 1;
    const COneLampSystem& one = w.m_luminaires[static_cast<std::size_t>(w.m_selectedLuminaire)];
    w.m_origin = one.m_position;
    w.m_c0Axis = one.m_c0Axis;
    w.m_opticalAxis = one.m_opticalAxis;
    w.m_numberOfLuminaires = static_cast<std::int32_t>(w.m_luminaires.size());
    OnSetActive();
}

} // namespace kzev
