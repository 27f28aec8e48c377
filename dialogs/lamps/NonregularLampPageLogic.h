#pragma once

#include "catalogue/ui/LampSheetPage.h"
#include "grid/GridTypes.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CGridCtrl;
class CRoom;
class COneLampSystem;

namespace kzev {

struct GridNotification;

/** What the non-regular page asks of the rest of the program beyond the sheet. */
struct NonregularHooks {
    /** Shows the scene with the working copy as the edited lamp system and repaints the view. */
    std::function<void()> refreshView;
    /** Rebuilds the edited system from its source and every system bound to the given source (-1: the edited one). */
    std::function<void(int source)> rederive;
    /** Asks which other lamp system of the room takes the luminaire; empty when the user declines. */
    std::function<std::optional<int>()> pickOtherSystem;
};

/**
 * The non-regular lamp-system page without its window: one grid row per
 * luminaire of the sheet's working copy (number, position, the three angles
 * and a factor per mode of the room), the live edit of a cell given to every
 * selected row of its column, and the buttons that add, remove and move
 * luminaires, keeping the systems bound to the edited one in step, with one
 * undo step per change. Every change is written into the document at once.
 */
class NonregularLampPageLogic {
public:
    static constexpr int kFirstFactorColumn = 7;

    NonregularLampPageLogic(const LampSheetContext& context, CGridCtrl& grid, NonregularHooks hooks);

    /** Builds the grid from the working copy. */
    void OnSetActive();
    /** Takes the luminaire of the selected row as the system's current one. */
    void OnKillActive();
    /** The grid's notifications: selection changed, begin and end of an in-place edit. */
    void OnGridNotify(GridNotification& notification);

    void OnSelectionChanged(int row);
    void OnBeginEdit(int row, int col);
    void OnEndEdit(int row, int col);
    /** Applies the text of cell (i + 1, col) to luminaire i. */
    void ApplyCellToLuminaire(int i, int col);
    /** Copies the working copy into the room; the room's results are out of date then. */
    void StoreLampSystem();

    void OnAdd();
    void OnRemove();
    void OnMoveToOther();
    void OnUndo();

    [[nodiscard]] bool canUndo() const;
    /** "Do jiné" is open: another lamp system in the room and the edited one not derived. */
    [[nodiscard]] bool canMoveToOther() const;
    [[nodiscard]] int editRow() const { return m_editRow; }
    [[nodiscard]] int editColumn() const { return m_editColumn; }

private:
    [[nodiscard]] CRoom* room() const;
    [[nodiscard]] bool calculating() const;
    [[nodiscard]] CLampSystem* systemOfRoom(int index) const;
    /** The members of the edited system's family (source and every system derived from it), or none. */
    [[nodiscard]] std::vector<int> family() const;
    [[nodiscard]] std::vector<int> derivedFrom(int source) const;
    [[nodiscard]] std::string lengthText(double metres) const;
    [[nodiscard]] double cellLength(int row, int col) const;
    [[nodiscard]] double cellNumber(int row, int col) const;
    void showLuminaireRow(int row, const COneLampSystem& luminaire);
    void selectRow(int row);
    void takeSelectedAsCurrent();
    void pushUndo();
    void rederive(int source);
    void refresh();
    /** Shows the luminaire's factors again and says why the typed one was not taken. */
    void refuseFactor(int row, int col, const std::string& typed);
    /** Removes the selected luminaire from the working copy; returns its index. */
    int removeSelected();

    LampSheetContext m_context;
    CGridCtrl& m_grid;
    NonregularHooks m_hooks;
    CellId m_begun { -1, -1 }; ///< the cell whose editor began last, and its text then
    std::string m_begunText;
    int m_editRow = -1;
    int m_editColumn = -1;
    bool m_filling = false;
    int m_undoBlock = 0; ///< the grid's pasted block the last undo step was taken for
    int m_refusedBlock = 0; ///< the grid's pasted block a refused factor was last reported for
};

} // namespace kzev
