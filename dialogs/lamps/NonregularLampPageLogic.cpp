#include "dialogs/lamps/NonregularLampPageLogic.h"

#include "grid/CGridCtrl.h"
#include "grid/GridTypes.h"
#include "model/CKzevDoc.h"
#include "platform/Services.h"
#include "platform/StringTable.h"
#include "platform/TextUtil.h"
#include "platform/TypedNumber.h"

#include <algorithm>
#include <cmath>

namespace kzev {

namespace {

constexpr int kNumberHeading = 61998;
constexpr int kTiltHeading = 61792;
constexpr int kTurnHeading = 61791;
constexpr int kSpinHeading = 61790;
constexpr int kAngleFormat = 61493;  // "%1.1lf"
constexpr int kFactorFormat = 61462; // "%1.2lf"
constexpr int kCountFormat = 61464;  // "%ld"
constexpr int kFactorRefusedId = 65231;

// A luminaire's factor in a mode is its dimming level: off, full or in between.
constexpr NumberRange kFactorRange { 0.0, 1.0 };

std::string angleText(double degrees)
{
    return formatC(loadString(kAngleFormat).c_str(), degrees);
}

bool inRange(int index, std::size_t size)
{
    return index >= 0 && static_cast<std::size_t>(index) < size;
}

} // namespace

NonregularLampPageLogic::NonregularLampPageLogic(const LampSheetContext& context, CGridCtrl& grid, NonregularHooks hooks)
    : m_context(context)
    , m_grid(grid)
    , m_hooks(std::move(hooks))
{
}

CRoom* NonregularLampPageLogic::room() const
{
    CKzevDoc* doc = m_context.doc;
    if (!doc || !inRange(m_context.room, doc->m_rooms.size()))
        return nullptr;
    return &doc->m_rooms[static_cast<std::size_t>(m_context.room)];
}

CLampSystem* NonregularLampPageLogic::systemOfRoom(int index) const
{
    CRoom* r = room();
    if (!r || !inRange(index, r->m_lampSystems.size()))
        return nullptr;
    return &r->m_lampSystems[static_cast<std::size_t>(index)];
}

std::vector<int> NonregularLampPageLogic::derivedFrom(int source) const
{
    std::vector<int> derived;
    if (const CRoom* r = room()) {
        for (std::size_t i = 0; i < r->m_lampSystems.size(); ++i) {
            if (source >= 0 && r->m_lampSystems[i].m_sourceSystem == source)
                derived.push_back(static_cast<int>(i));
        }
    }
    return derived;
}

std::vector<int> NonregularLampPageLogic::family() const
{
    const CLampSystem* edited = m_context.working;
    int source = -1;
    if (edited && edited->m_sourceSystem >= 0)
        source = edited->m_sourceSystem;
    else if (!derivedFrom(m_context.lampSystem).empty())
        source = m_context.lampSystem;
    if (source < 0 || !systemOfRoom(source))
        return {};
    std::vector<int> members { source };
    for (int i : derivedFrom(source)) {
        if (i != source)
            members.push_back(i);
    }
    return members;
}

std::string NonregularLampPageLogic::lengthText(double metres) const
{
    return m_context.doc->FormatLength(metres);
}

double NonregularLampPageLogic::cellNumber(int row, int col) const
{
    return StrToDouble(m_grid.GetItemText(row, col));
}

double NonregularLampPageLogic::cellLength(int row, int col) const
{
    return cellNumber(row, col) * (m_context.doc->m_unitMm == 1 ? 0.001 : 1.0);
}

void NonregularLampPageLogic::showLuminaireRow(int row, const COneLampSystem& luminaire)
{
    m_grid.SetItemText(row, 1, lengthText(luminaire.m_position.x));
    m_grid.SetItemText(row, 2, lengthText(luminaire.m_position.y));
    m_grid.SetItemText(row, 3, lengthText(luminaire.m_position.z));
    double tilt = 0.0;
    double turn = 0.0;
    double spin = 0.0;
    DirectionToAngles(luminaire.m_opticalAxis, luminaire.m_c0Axis, tilt, turn, spin);
    m_grid.SetItemText(row, 4, angleText(tilt));
    m_grid.SetItemText(row, 5, angleText(turn));
    m_grid.SetItemText(row, 6, angleText(spin));
    const std::string factorFormat = loadString(kFactorFormat);
    const int columns = m_grid.GetColumnCount();
    for (std::size_t k = 0; k < luminaire.m_modeFactors.size() && kFirstFactorColumn + static_cast<int>(k) < columns; ++k)
        m_grid.SetItemText(row, kFirstFactorColumn + static_cast<int>(k), formatC(factorFormat.c_str(), luminaire.m_modeFactors[k]));
}

void NonregularLampPageLogic::selectRow(int row)
{
    if (row < 1 || row >= m_grid.GetRowCount())
        return;
    m_grid.AutoSizeColumns();
    m_grid.EnsureVisible(row, 1);
    m_grid.SetSelectedRange(row, 1, row, 1);
    m_grid.SetFocusCell(row, 1);
    m_grid.Refresh();
}

// ---- the page's life ------------------------------------------------------------------

void NonregularLampPageLogic::OnSetActive()
{
    m_filling = true;
    m_grid.SetEditable(true);
    m_grid.EnableSelection(true);
    m_grid.SetSingleColSelection(false);
    m_grid.SetSingleRowSelection(false);
    m_grid.DeleteAllItems();
    const CRoom* r = room();
    const std::size_t modes = r ? r->m_modes.size() : 0;
    m_grid.SetColumnCount(kFirstFactorColumn + static_cast<int>(modes));
    m_grid.SetRowCount(1);
    m_grid.SetFixedRowCount(1);
    m_grid.SetFixedColumnCount(1);
    m_grid.SetItemText(0, 0, loadString(kNumberHeading));
    m_grid.SetItemText(0, 1, "X");
    m_grid.SetItemText(0, 2, "Y");
    m_grid.SetItemText(0, 3, "Z");
    m_grid.SetItemText(0, 4, loadString(kTiltHeading));
    m_grid.SetItemText(0, 5, loadString(kTurnHeading));
    m_grid.SetItemText(0, 6, loadString(kSpinHeading));
    for (std::size_t k = 0; k < modes; ++k)
        m_grid.SetItemText(0, kFirstFactorColumn + static_cast<int>(k), r->m_modes[k].m_name);

    CLampSystem* w = m_context.working;
    if (w) {
        const std::string countFormat = loadString(kCountFormat);
        for (std::size_t i = 0; i < w->m_luminaires.size(); ++i) {
            COneLampSystem& one = w->m_luminaires[i];
            const int row = m_grid.InsertRow(formatC(countFormat.c_str(), static_cast<long>(i + 1)));
            if (row < 0)
                break;
            if (static_cast<int>(i) == w->m_selectedLuminaire) {
                w->m_opticalAxis = one.m_opticalAxis;
                w->m_c0Axis = one.m_c0Axis;
                DirectionToAngles(one.m_opticalAxis, one.m_c0Axis, w->m_tilt, w->m_turn, w->m_rotation);
            }
            // The page shows a factor for every mode; a luminaire never loses one here.
            if (one.m_modeFactors.size() < modes)
                one.m_modeFactors.resize(modes, 0.0);
            showLuminaireRow(row, one);
        }
        if (!inRange(w->m_selectedLuminaire, w->m_luminaires.size()))
            w->m_selectedLuminaire = w->m_luminaires.empty() ? 0 : static_cast<int>(w->m_luminaires.size()) - 1;
        selectRow(w->m_selectedLuminaire + 1);
    }
    m_grid.AutoSizeColumns();
    m_filling = false;
    if (m_hooks.refreshView)
        m_hooks.refreshView();
}

void NonregularLampPageLogic::takeSelectedAsCurrent()
{
    CLampSystem* w = m_context.working;
    if (!w)
        return;
    const kzev::CellRange range = m_grid.GetSelectedCellRange();
    const int i = range.minRow - 1;
    if (!inRange(i, w->m_luminaires.size()))
        return;
    const COneLampSystem& one = w->m_luminaires[static_cast<std::size_t>(i)];
    w->m_selectedLuminaire = i;
    w->m_origin = one.m_position;
    w->m_opticalAxis = one.m_opticalAxis;
    w->m_c0Axis = one.m_c0Axis;
    DirectionToAngles(w->m_opticalAxis, w->m_c0Axis, w->m_tilt, w->m_turn, w->m_rotation);
}

void NonregularLampPageLogic::OnKillActive()
{
    takeSelectedAsCurrent();
    StoreLampSystem();
    if (m_hooks.refreshView)
        m_hooks.refreshView();
}

void NonregularLampPageLogic::StoreLampSystem()
{
    if (m_context.push)
        m_context.push();
}

void NonregularLampPageLogic::pushUndo()
{
    if (CRoom* r = room())
        m_context.doc->PushUndo(*r);
}

void NonregularLampPageLogic::rederive(int source)
{
    if (m_hooks.rederive)
        m_hooks.rederive(source);
}

void NonregularLampPageLogic::refresh()
{
    if (m_hooks.refreshView)
        m_hooks.refreshView();
}

bool NonregularLampPageLogic::calculating() const
{
    // A running calculation reads the room's lamp systems: no other system is touched meanwhile.
    return m_context.doc && m_context.doc->m_calcRunning == 1;
}

bool NonregularLampPageLogic::canUndo() const
{
    return m_context.doc && m_context.doc->m_undo.canUndo();
}

bool NonregularLampPageLogic::canMoveToOther() const
{
    const CRoom* r = room();
    return r && r->m_lampSystems.size() > 1 && m_context.working && m_context.working->m_sourceSystem < 0;
}

// ---- the grid ---------------------------------------------------------------------------------

void NonregularLampPageLogic::OnGridNotify(GridNotification& notification)
{
    switch (notification.code) {
    case gvn::SelChanged: OnSelectionChanged(notification.row); break;
    case gvn::BeginLabelEdit: OnBeginEdit(notification.row, notification.col); break;
    case gvn::EndLabelEdit: OnEndEdit(notification.row, notification.col); break;
    default: break;
    }
}

void NonregularLampPageLogic::OnSelectionChanged(int row)
{
    CLampSystem* w = m_context.working;
    if (m_filling || !w || row < 1 || row >= m_grid.GetRowCount())
        return;
    const int i = row - 1;
    if (i == w->m_selectedLuminaire)
        return;
    w->m_selectedLuminaire = i;
    w->m_origin = CVector { cellLength(row, 1), cellLength(row, 2), cellLength(row, 3) };
    w->m_tilt = cellNumber(row, 4);
    w->m_turn = cellNumber(row, 5);
    w->m_rotation = cellNumber(row, 6);
    AxisAtAngleAroundHeading(w->m_tilt, w->m_turn, w->m_rotation, w->m_opticalAxis, w->m_c0Axis);
    if (inRange(i, w->m_luminaires.size())) {
        COneLampSystem& one = w->m_luminaires[static_cast<std::size_t>(i)];
        one.m_opticalAxis = w->m_opticalAxis;
        one.m_c0Axis = w->m_c0Axis;
    }
    refresh();
}

void NonregularLampPageLogic::OnBeginEdit(int row, int col)
{
    // What the cell held tells at the end whether the editor changed anything.
    m_begun = CellId(row, col);
    m_begunText = m_grid.IsValid(row, col) ? m_grid.GetItemText(row, col) : std::string();
    const kzev::CellRange range = m_grid.GetSelectedCellRange();
    if (range.minRow >= 0 && range.minRow < m_grid.GetRowCount())
        m_editRow = range.minRow;
    if (range.minCol >= 0 && range.minCol < m_grid.GetColumnCount())
        m_editColumn = range.minCol;
}

void NonregularLampPageLogic::OnEndEdit(int row, int col)
{
    CLampSystem* w = m_context.working;
    if (!w || row < 1 || row >= m_grid.GetRowCount() || col < 1 || col >= m_grid.GetColumnCount())
        return;
    const std::string text = m_grid.GetItemText(row, col);
    const bool retyped = m_begun == CellId(row, col) && text == m_begunText;
    m_begun = CellId(-1, -1);
    std::vector<int> rows;
    for (int r = 1; r < m_grid.GetRowCount(); ++r) {
        if (r == row || m_grid.IsCellSelected(r, col))
            rows.push_back(r);
    }
    // An editor left as it opened (Enter opens one on the next cell) gives the selected cells nothing new.
    const bool othersHoldIt = std::all_of(rows.begin(), rows.end(), [&](int r) { return m_grid.GetItemText(r, col) == text; });
    if (retyped && othersHoldIt)
        return;
    if (col >= kFirstFactorColumn && !readTypedNumber(text, kFactorRange)) {
        refuseFactor(row, col, text);
        return;
    }
    const std::vector<COneLampSystem> before = w->m_luminaires;
    for (const int r : rows) {
        m_grid.SetItemText(r, col, text);
        ApplyCellToLuminaire(r - 1, col);
        m_grid.RedrawCell(r, col);
    }
    if (!rows.empty() && inRange(rows.front() - 1, w->m_luminaires.size()))
        w->m_selectedLuminaire = rows.front() - 1;
    // A text that reads as the value the luminaire had ("0,5" for 0.50) changes nothing and takes no step.
    if (w->m_luminaires == before)
        return;
    // The undo step holds the room as it was before the edit, which the working copy reaches only
    // below; the cells of one pasted block make one step.
    const int block = m_grid.GetBlockEdit();
    if (block == 0 || block != m_undoBlock)
        pushUndo();
    m_undoBlock = block;
    StoreLampSystem();
    rederive(-1);
    refresh();
}

void NonregularLampPageLogic::ApplyCellToLuminaire(int i, int col)
{
    CLampSystem* w = m_context.working;
    if (!w || !inRange(i, w->m_luminaires.size()))
        return;
    const int row = i + 1;
    COneLampSystem& one = w->m_luminaires[static_cast<std::size_t>(i)];
    const std::string typed = m_grid.GetItemText(row, col);
    const bool readable = col >= 1 && col <= 3 ? readTypedLength(typed, m_context.doc->m_unitMm == 1).has_value()
        : col >= kFirstFactorColumn            ? readTypedNumber(typed, kFactorRange).has_value()
                                               : readTypedNumber(typed).has_value();
    if (!readable) {
        // A text that is no number, or one out of range, is no position, angle or factor: the row shows the luminaire again.
        showLuminaireRow(row, one);
        m_grid.RedrawCell(row, col);
        return;
    }
    if (col >= 1 && col <= 3) {
        const double value = cellLength(row, col);
        double& position = col == 1 ? one.m_position.x : col == 2 ? one.m_position.y : one.m_position.z;
        double& origin = col == 1 ? w->m_origin.x : col == 2 ? w->m_origin.y : w->m_origin.z;
        position = value;
        origin = value;
        // The cell reads as its neighbours do, whatever way the length was typed.
        m_grid.SetItemText(row, col, lengthText(value));
        return;
    }
    if (col >= 4 && col <= 6) {
        const double tilt = cellNumber(row, 4);
        double turn = cellNumber(row, 5);
        const double spin = cellNumber(row, 6);
        // A luminaire tilted out of the vertical for the first time turns the way its C0 pointed.
        if (col == 4 && std::abs(w->m_tilt) < 0.1 && std::abs(tilt) > 0.1) {
            turn = spin;
            m_grid.SetItemText(row, 5, angleText(spin));
        }
        m_grid.SetItemText(row, col, angleText(col == 4 ? tilt : col == 5 ? turn : spin));
        AxisAtAngleAroundHeading(tilt, turn, spin, one.m_opticalAxis, one.m_c0Axis);
        w->m_opticalAxis = one.m_opticalAxis;
        w->m_c0Axis = one.m_c0Axis;
        w->m_tilt = tilt;
        w->m_turn = turn;
        w->m_rotation = spin;
        return;
    }
    const int factor = col - kFirstFactorColumn;
    if (factor >= 0 && inRange(factor, one.m_modeFactors.size())) {
        double& taken = one.m_modeFactors[static_cast<std::size_t>(factor)];
        taken = cellNumber(row, col);
        m_grid.SetItemText(row, col, formatC(loadString(kFactorFormat).c_str(), taken));
    }
}

void NonregularLampPageLogic::refuseFactor(int row, int col, const std::string& typed)
{
    CLampSystem* w = m_context.working;
    if (w && inRange(row - 1, w->m_luminaires.size())) {
        showLuminaireRow(row, w->m_luminaires[static_cast<std::size_t>(row - 1)]);
        m_grid.RedrawCell(row, col);
    }
    // A pasted block says it once, however many of its cells were refused.
    const int block = m_grid.GetBlockEdit();
    if (block != 0 && block == m_refusedBlock)
        return;
    m_refusedBlock = block;
    const CRoom* r = room();
    const int mode = col - kFirstFactorColumn;
    const std::string modeName = r && inRange(mode, r->m_modes.size()) ? r->m_modes[static_cast<std::size_t>(mode)].m_name : std::string();
    // A stale clipboard may hold a whole page: the message quotes its beginning.
    const std::string start = utf8Prefix(typed, 40);
    const std::string quoted = start.size() < typed.size() ? start + "…" : typed;
    (void)services().messageBox->show(formatC(loadString(kFactorRefusedId).c_str(), modeName.c_str(), quoted.c_str()),
        MessageIcon::Warning, MessageButtons::Ok);
}

// ---- adding, removing and moving luminaires ------------------------------------------------------

void NonregularLampPageLogic::OnAdd()
{
    CLampSystem* w = m_context.working;
    if (!w || w->m_luminaires.empty() || calculating())
        return;
    StoreLampSystem();
    pushUndo();
    const int selected = std::clamp(w->m_selectedLuminaire, 0, static_cast<int>(w->m_luminaires.size()) - 1);
    const COneLampSystem copy = w->m_luminaires[static_cast<std::size_t>(selected)];
    const auto n = static_cast<int>(w->m_luminaires.size());
    w->m_luminaires.push_back(copy);
    w->m_selectedLuminaire = n;
    const int row = m_grid.InsertRow(formatC(loadString(kCountFormat).c_str(), static_cast<long>(n + 1)));
    if (row >= 0)
        showLuminaireRow(row, copy);
    selectRow(row);
    for (int member : family()) {
        if (member != m_context.lampSystem)
            systemOfRoom(member)->m_luminaires.push_back(copy);
    }
    // The edited system's own document copy takes the luminaire with the working copy.
    StoreLampSystem();
    rederive(-1);
    refresh();
}

int NonregularLampPageLogic::removeSelected()
{
    CLampSystem& w = *m_context.working;
    const int d = std::clamp(w.m_selectedLuminaire, 0, static_cast<int>(w.m_luminaires.size()) - 1);
    w.m_luminaires.erase(w.m_luminaires.begin() + d);
    if (w.m_selectedLuminaire >= static_cast<int>(w.m_luminaires.size()))
        w.m_selectedLuminaire = static_cast<int>(w.m_luminaires.size()) - 1;
    const COneLampSystem& selected = w.m_luminaires[static_cast<std::size_t>(w.m_selectedLuminaire)];
    w.m_origin = selected.m_position;
    w.m_c0Axis = selected.m_c0Axis;
    w.m_opticalAxis = selected.m_opticalAxis;
    return d;
}

void NonregularLampPageLogic::OnRemove()
{
    CLampSystem* w = m_context.working;
    if (!w || w->m_luminaires.size() <= 1 || calculating())
        return;
    StoreLampSystem();
    pushUndo();
    const int d = removeSelected();
    for (int member : family()) {
        CLampSystem* system = systemOfRoom(member);
        if (member != m_context.lampSystem && inRange(d, system->m_luminaires.size()) && system->m_luminaires.size() > 1)
            system->m_luminaires.erase(system->m_luminaires.begin() + d);
    }
    StoreLampSystem();
    rederive(-1);
    OnSetActive();
}

void NonregularLampPageLogic::OnMoveToOther()
{
    CLampSystem* w = m_context.working;
    if (!w || w->m_luminaires.size() <= 1 || !canMoveToOther() || calculating())
        return;
    StoreLampSystem();
    pushUndo();
    const std::optional<int> chosen = m_hooks.pickOtherSystem ? m_hooks.pickOtherSystem() : std::nullopt;
    if (!chosen || *chosen == m_context.lampSystem || !systemOfRoom(*chosen))
        return;
    const int target = *chosen;
    const COneLampSystem moved = w->m_luminaires[static_cast<std::size_t>(
        std::clamp(w->m_selectedLuminaire, 0, static_cast<int>(w->m_luminaires.size()) - 1))];
    const int d = removeSelected();
    // The source loses the luminaire in the document too, so that no way out leaves it in both systems.
    StoreLampSystem();
    CLampSystem& t = *systemOfRoom(target);
    t.m_luminaires.push_back(moved);
    t.m_nonRegular = 1;
    for (int derived : derivedFrom(m_context.lampSystem)) {
        CLampSystem* system = systemOfRoom(derived);
        if (inRange(d, system->m_luminaires.size()) && system->m_luminaires.size() > 1)
            system->m_luminaires.erase(system->m_luminaires.begin() + d);
    }
    rederive(-1);
    const std::vector<int> boundToTarget = derivedFrom(target);
    for (int derived : boundToTarget)
        systemOfRoom(derived)->m_luminaires.push_back(moved);
    rederive(boundToTarget.empty() ? -1 : target);
    OnSetActive();
}

void NonregularLampPageLogic::OnUndo()
{
    CRoom* r = room();
    CKzevDoc* doc = m_context.doc;
    if (!r || !doc || !doc->m_undo.canUndo() || calculating())
        return;
    const CUndoData* step = doc->m_undo.stepBack();
    if (!step)
        return;
    r->m_lampSystems = step->m_lampSystems;
    if (CLampSystem* system = systemOfRoom(m_context.lampSystem))
        *m_context.working = *system;
    // The room changed: its results are out of date, and the sheet counts the change.
    StoreLampSystem();
    OnSetActive();
}

} // namespace kzev
