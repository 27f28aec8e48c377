#pragma once

#include "catalogue/ui/LampSheetPage.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

class CRoom;
class CVector;

namespace kzev {

/** The fields of the regular lamp-system page, as texts the user edits. */
enum class DesignField : int {
    OriginX, OriginY, OriginZ,
    Pitch1X, Pitch1Y, Pitch1Z, Count1,
    Pitch2X, Pitch2Y, Pitch2Z, Count2,
    Tilt, Rotation, Spin,
    AxisX, AxisY, AxisZ,
    C0X, C0Y, C0Z,
    Em, LumenCount,
    Luminaire, Lamp,
};
inline constexpr std::size_t kDesignFieldCount = static_cast<std::size_t>(DesignField::Lamp) + 1;

/** The buttons and check boxes of the page whose enabling the logic decides. */
struct DesignControls {
    bool undo = false;
    bool axisRadios = false;
    bool alignButtons = false;
    bool centreButton = true;
    bool generalPitchCheck = true;
    bool layoutButtons = true;
    bool addRemove = false;
};

/** What the page asks of the rest of the program beyond the sheet. */
struct DesignHooks {
    /** Shows the scene with the working copy as the edited lamp system and repaints the view. */
    std::function<void()> refreshView;
    /** Rebuilds the lamp systems bound to the edited one (and it from its source). */
    std::function<void()> rederive;
    /** The non-regular check changed: the sheet adds or removes its page. */
    std::function<void()> nonRegularChanged;
};

/**
 * The regular lamp-system page without its window: the field texts and the
 * enabling of the controls, and every action of the page on the sheet's
 * working copy: the fill from the working copy, the live edits of lengths,
 * counts, angles and axes, the layouts by pitch, by count and by the lumen
 * method, centring, the orientation buttons and the undo. Before each change
 * the working copy goes into the document and one undo step is taken; after
 * it the luminaires are laid out anew and the view follows.
 *
 * A field whose text is still what the page showed for the stored value
 * gives back the stored value, not the rounded text, so angles and lengths
 * never drift by being shown and read again.
 */
class LampSystemDesign {
public:
    LampSystemDesign(const LampSheetContext& context, DesignHooks hooks);

    // ---- state ---------------------------------------------------------------
    [[nodiscard]] const std::string& text(DesignField field) const { return m_texts[index(field)]; }
    [[nodiscard]] bool enabled(DesignField field) const { return m_enabled[index(field)]; }
    [[nodiscard]] const DesignControls& controls() const { return m_controls; }
    [[nodiscard]] bool centreOnLayout() const;
    [[nodiscard]] bool generalOrientation() const;
    [[nodiscard]] bool generalPitch() const;
    [[nodiscard]] bool nonRegular() const;
    [[nodiscard]] int axisMode() const;
    [[nodiscard]] bool reactsToEdits() const { return m_reactToEdits; }
    /** What the page says beside the lumen method after "Rozmístit"; empty when there is nothing to say. */
    [[nodiscard]] const std::string& layoutNote() const { return m_layoutNote; }
    [[nodiscard]] CLampSystem& working() { return *m_context.working; }
    [[nodiscard]] const LampSheetContext& context() const { return m_context; }

    // ---- the page's life --------------------------------------------------------
    /** Fills every field from the working copy. */
    void OnSetActive();
    /** Reads the fields back, lays the luminaires out and puts the working copy into the document. */
    void OnKillActive();
    /** Reads the open length, count and illuminance fields into the working copy. */
    void ReadPageFields();
    /** ReadPageFields, then the working copy into the document. */
    void ApplyToDocument();
    /** Lays the luminaires of the working copy out from its origin, pitches and counts. */
    void RebuildLuminaires();
    /** Re-derives bound systems (rederive 1) and repaints the view. */
    void RefreshAfterEdit(int rederive);

    // ---- edits and buttons ---------------------------------------------------------
    /** The user has finished typing into a field: its text changes and, while the page reacts, its handler runs. */
    void OnFieldChanged(DesignField field, const std::string& text);
    /**
     * Why the field cannot take the typed text (a message for the user); empty
     * when it can. A refused text is never taken in part: the field keeps its value.
     */
    [[nodiscard]] std::string refusal(DesignField field, const std::string& text) const;
    void OnEmButton();
    void OnCountButton();
    void OnDistribute();
    void OnLayoutByCounts();
    void OnLayoutByPitches();
    void OnCentre();
    void OnCentreCheck(bool checked);
    void OnGeneralPitch(bool checked);
    void OnGeneralOrientation(bool checked);
    void OnNonRegular(bool checked);
    /** A radio of the axis entry: 1 angles, 2 aim point, 3 vector. */
    void OnAxisMode(int mode);
    void OnC0Horizontal();
    void OnC90Horizontal();
    void UpdateAxisVectors(int keepPage);
    void OnSpinStep(int direction);
    void OnUndo();
    void OnRedraw() { RefreshAfterEdit(1); }

    // ---- moves in steps and single luminaires ------------------------------------------
    /** Moves the origin by the document's length step along x (axis 0) or y (axis 1), in the direction's sense. */
    void OnStepMove(int axis, int direction);
    /** The same move, the luminaires turned so that they stay aimed at the same floor points. */
    void OnAimKeepingMove(int axis, int direction);
    /** Selects the next (direction 1) or previous (-1) luminaire of a non-regular system. */
    void OnWalk(int direction);
    /** Shows the selected luminaire's optical axis, C0 axis and angles. */
    void UpdateSelectedLuminaireFields();
    /** "Přidat": a copy of the selected luminaire of a non-regular system. */
    void OnAddLuminaire();
    /** "Odebrat": removes the selected luminaire while more than one is left. */
    void OnRemoveLuminaire();

private:
    enum class LumenEntry { Button, CountEdit, EmEdit };
    /** The illuminance asked of the lumen method ("Počet") and the count it gave. */
    struct LumenTarget {
        double em = 0.0;
        std::int32_t count = 0;
    };

    [[nodiscard]] static std::size_t index(DesignField field) { return static_cast<std::size_t>(field); }
    [[nodiscard]] CRoom* room() const;
    [[nodiscard]] std::string showLength(double metres) const;
    [[nodiscard]] double readLength(DesignField field, double stored) const;
    [[nodiscard]] double readAngle(DesignField field, double stored) const;
    [[nodiscard]] std::int32_t readCount(DesignField field) const;
    void show(DesignField field, const std::string& text) { m_texts[index(field)] = text; }
    /** Writes a field as the user would: its handler runs while the page reacts. */
    void write(DesignField field, const std::string& text);
    void showAngles();
    void showAxes();
    void showAxes(const CVector& position, const CVector& opticalAxis, const CVector& c0Axis);
    void PushUndo();
    bool LumenChain(int mode, LumenEntry entry);
    void dispatch(DesignField field);
    void onOriginEdit(DesignField field);
    void onPitchEdit(DesignField field);
    void onCountEdit(DesignField edited);
    void onTiltOrRotationEdit(bool tiltEdited);
    void onSpinEdit();
    void onAxisEdit(DesignField field);
    void onC0Edit(DesignField field);
    void anglesFromAxes();
    void applyEnabling();

    LampSheetContext m_context;
    DesignHooks m_hooks;
    std::array<std::string, kDesignFieldCount> m_texts;
    std::array<bool, kDesignFieldCount> m_enabled {};
    DesignControls m_controls;
    bool m_reactToEdits = true;
    /** Depth of the change under way: one undo step for a change, however many fields it writes. */
    int m_changeDepth = 0;
    bool m_undoTaken = false;
    std::optional<LumenTarget> m_lumenTarget;
    /** Whether the last run of the lumen method came to a result. */
    bool m_lumenDone = false;
    std::string m_layoutNote;
};

} // namespace kzev
