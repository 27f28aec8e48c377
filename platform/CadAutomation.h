#pragma once

#include "platform/CadVariant.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace kzev {

/** An object of the CAD drawing (entity, attribute, selection set) as a session names it. */
using CadObjectId = std::int64_t;

/**
 * An error raised by the CAD program in answer to a call: a prompt cancelled
 * by the user (code 0, status kCadException), an unknown block, a vertex index
 * past the last one.
 */
class CadServerError : public std::runtime_error {
public:
    CadServerError(std::uint16_t code, CadResult status, const std::string& description);
    [[nodiscard]] std::uint16_t code() const { return m_code; }
    [[nodiscard]] CadResult status() const { return m_status; }

private:
    std::uint16_t m_code;
    CadResult m_status;
};

/** A failure of the automation connection itself (the program went away). */
class CadComError : public std::runtime_error {
public:
    CadComError(CadResult status, const std::string& description);
    [[nodiscard]] CadResult status() const { return m_status; }

private:
    CadResult m_status;
};

/** Selection modes of ICadDocument::select. */
inline constexpr std::int32_t kCadSelectCrossing = 1;     ///< AutoCAD-type model: objects crossing the window
inline constexpr std::int32_t kCadSelectLast = 4;         ///< the last object created
inline constexpr std::int32_t kCadSelectCrossingIcad = 8; ///< IntelliCAD-type model: objects crossing the window

/**
 * The active drawing of a connected CAD program: its layers, model space,
 * entities, point input and selection sets. Every call may throw
 * CadServerError or CadComError. Points are point VARIANTs (CadVariant).
 */
class ICadDocument {
public:
    virtual ~ICadDocument() = default;

    /** Returns the drawing's file name. */
    [[nodiscard]] virtual std::string name() = 0;
    /** Runs a command line in the CAD command processor (the document's command method). */
    virtual void sendCommand(const std::string& line) = 0;
    /** Returns a system variable taken as a 16-bit integer ("CMDACTIVE" is 0 when no command runs). */
    [[nodiscard]] virtual std::int16_t systemVariable(const std::string& name) = 0;

    // Layers
    [[nodiscard]] virtual std::int32_t layerCount() = 0;
    [[nodiscard]] virtual std::string layerName(std::int32_t index) = 0;
    /** Adds a layer and returns its index. */
    virtual std::int32_t addLayer(const std::string& name) = 0;
    virtual void setCurrentLayer(std::int32_t index) = 0;

    // Model space
    /** Inserts a block (scales x, y, z; rotation in radians) and returns the block reference. */
    virtual CadObjectId insertBlock(const CadVariant& point, const std::string& blockName, double scaleX,
        double scaleY, double scaleZ, double rotation)
        = 0;
    virtual CadObjectId addLine(const CadVariant& start, const CadVariant& end) = 0;
    /** Adds a text of the given height with its insertion point. */
    virtual CadObjectId addText(const std::string& text, const CadVariant& point, double height) = 0;

    // Entities
    /** Turns an entity about a point by an angle in radians. */
    virtual void rotate(CadObjectId object, const CadVariant& basePoint, double angle) = 0;
    /** Turns an entity in 3-D about the axis through two points by an angle in radians. */
    virtual void rotate3d(CadObjectId object, const CadVariant& axisStart, const CadVariant& axisEnd, double angle) = 0;
    /** Returns the entity's type name ("AcDbBlockReference" or "BlockInsert" by the model). */
    [[nodiscard]] virtual std::string objectName(CadObjectId object) = 0;
    [[nodiscard]] virtual bool hasAttributes(CadObjectId blockReference) = 0;
    /** Returns the block reference's attribute objects in their order. */
    [[nodiscard]] virtual std::vector<CadObjectId> attributes(CadObjectId blockReference) = 0;
    [[nodiscard]] virtual CadVariant insertionPoint(CadObjectId blockReference) = 0;
    /** Returns the block reference's rotation in radians. */
    [[nodiscard]] virtual double rotation(CadObjectId blockReference) = 0;
    /** Returns the block reference's extrusion direction (AutoCAD-type model). */
    [[nodiscard]] virtual CadVariant normal(CadObjectId blockReference) = 0;
    /** Returns the entity's vertex at the index (2 doubles); throws past the last vertex. */
    [[nodiscard]] virtual CadVariant vertex(CadObjectId object, std::int32_t index) = 0;

    // Attributes
    [[nodiscard]] virtual std::string attributeTag(CadObjectId attribute) = 0;
    [[nodiscard]] virtual std::string attributeText(CadObjectId attribute) = 0;
    virtual void setAttributeText(CadObjectId attribute, const std::string& text) = 0;
    virtual void setAttributeHeight(CadObjectId attribute, double height) = 0;
    virtual void setAttributeScaleFactor(CadObjectId attribute, double factor) = 0;
    /** Lets the drawing take over the changed values of an entity. */
    virtual void update(CadObjectId object) = 0;

    // Point and distance input of the user (the utility object)
    /**
     * Asks the user for a point; with an omitted base the first point, else a
     * second point with a rubber band from the base. Throws CadServerError
     * (code 0, kCadException) when the user cancels.
     */
    [[nodiscard]] virtual CadVariant getPoint(const CadVariant& basePoint, const std::string& prompt) = 0;
    /** Asks the user for a distance (from the base, or between two points when it is omitted). */
    [[nodiscard]] virtual double getDistance(const CadVariant& basePoint, const std::string& prompt) = 0;

    // Selection sets
    /** Creates a named selection set. */
    virtual CadObjectId addSelectionSet(const std::string& name) = 0;
    /** Creates a named selection set by the member that AutoCAD-type clones offer for it. */
    virtual CadObjectId addSelectionSetClone(const std::string& name) = 0;
    /** Returns the document's own selection set, which the import fills. */
    [[nodiscard]] virtual CadObjectId documentSelectionSet() = 0;
    /** Selects into the set by the mode (kCadSelect...), with up to four arguments. */
    virtual void select(CadObjectId set, std::int32_t mode, const CadVariant& first, const CadVariant& second,
        const CadVariant& third, const CadVariant& fourth)
        = 0;
    [[nodiscard]] virtual std::int32_t selectionCount(CadObjectId set) = 0;
    [[nodiscard]] virtual CadObjectId selectionItem(CadObjectId set, std::int32_t index) = 0;
    /** Empties the set. */
    virtual void clearSelectionSet(CadObjectId set) = 0;
    /** Removes the set from the drawing. */
    virtual void deleteSelectionSet(CadObjectId set) = 0;
};

/** A running CAD program reached through its automation object. */
class ICadApplication {
public:
    virtual ~ICadApplication() = default;
    virtual void setVisible(bool visible) = 0;
    /** Returns the active drawing; throws CadServerError when none is open. */
    [[nodiscard]] virtual std::unique_ptr<ICadDocument> activeDocument() = 0;
    /** Runs a command line in the CAD command processor (the application's command method). */
    virtual void sendCommand(const std::string& line) = 0;
    /** Opens a drawing file and makes it the active drawing. */
    virtual void openDrawing(const std::filesystem::path& path) = 0;
    /** Ends the program. */
    virtual void quit() = 0;
};

/** The automation registry of the system: which CAD programs are known and which run. */
class ICadAutomation {
public:
    virtual ~ICadAutomation() = default;
    /** Returns whether the program id names a registered automation class. */
    [[nodiscard]] virtual bool isRegistered(const std::string& programId) = 0;
    /** Returns the running program of that class, or null when none runs (never starts one). */
    [[nodiscard]] virtual std::unique_ptr<ICadApplication> activeObject(const std::string& programId) = 0;
    /** Starts the program of that class; throws CadComError when it cannot. */
    [[nodiscard]] virtual std::unique_ptr<ICadApplication> createInstance(const std::string& programId) = 0;
};

} // namespace kzev
