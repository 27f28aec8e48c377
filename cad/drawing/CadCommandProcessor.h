#pragma once

#include "cad/drawing/CadDrawing.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kzev {

/** What a prompt of a running command takes as its next input. */
enum class CadInputKind {
    Word, ///< ended by a blank, a line feed or a carriage return
    Text, ///< ended by a line feed or a carriage return only (blanks belong to it)
};

/** One input of a prompt: a typed token, or a point picked with the mouse. */
struct CadInput {
    std::string token;
    std::optional<DrawingPoint> point;
};

class CadCommandProcessor;

/** A running command of the drawing window: it asks, takes inputs and changes the drawing. */
class CadCommand {
public:
    virtual ~CadCommand() = default;
    /** Returns what the next input is. */
    [[nodiscard]] virtual CadInputKind expects() const { return CadInputKind::Word; }
    /** Returns the prompt shown on the command line. */
    [[nodiscard]] virtual std::string prompt() const = 0;
    /** Returns whether the prompt takes a point (the mouse can give one). */
    [[nodiscard]] virtual bool wantsPoint() const { return false; }
    /** Returns the point from which a rubber band follows the mouse while a point is asked. */
    [[nodiscard]] virtual std::optional<DrawingPoint> rubberBandBase() const { return std::nullopt; }
    /** Returns the vertices drawn so far (a polyline in the making). */
    [[nodiscard]] virtual std::vector<DrawingPoint> preview() const { return {}; }
    /** Returns whether the command has done its work as soon as it is named ("_redraw"). */
    [[nodiscard]] virtual bool doneAtStart() const { return false; }
    /** Takes one input; returns true when the command is done. */
    virtual bool feed(CadCommandProcessor& processor, const CadInput& input) = 0;
};

/**
 * The command line of the drawing window. It takes characters as a user (or
 * the CAD link's command lines) types them, splits them into the inputs the
 * running command's prompts ask for, and carries out the commands the CAD
 * link sends: layers, colours, lines, polylines, texts, paragraph texts,
 * block insertion with attributes, attribute editing, rotation, erasing,
 * selection, point display and the DXF output of selected objects. Its
 * command line reads "Příkaz: " exactly when no command runs.
 */
class CadCommandProcessor {
public:
    static constexpr std::string_view kIdlePrompt = "Příkaz: ";

    explicit CadCommandProcessor(CadDrawing& drawing);
    ~CadCommandProcessor();

    /** Types characters as the user would. */
    void type(std::string_view characters);
    /** Gives a point picked with the mouse to the prompt that asks for one; false when none does. */
    bool pick(const DrawingPoint& point);
    /** Cancels the running command and drops what was typed ahead (Esc). */
    void cancel();

    [[nodiscard]] bool busy() const { return m_command != nullptr; }
    [[nodiscard]] bool wantsPoint() const { return m_command && m_command->wantsPoint(); }
    [[nodiscard]] std::optional<DrawingPoint> rubberBandBase() const;
    [[nodiscard]] std::vector<DrawingPoint> preview() const;
    /** Returns the text of the command line: the idle prompt, or the running command's prompt. */
    [[nodiscard]] std::string commandLineText() const;
    /** Returns the lines of the command history. */
    [[nodiscard]] const std::vector<std::string>& history() const { return m_history; }

    // ---- Services of the commands ------------------------------------------
    [[nodiscard]] CadDrawing& drawing() { return m_drawing; }
    /** Parses a point input (absolute "x,y[,z]", relative "@dx,dy[,dz]", polar "@d<a"); sets the last point. */
    [[nodiscard]] std::optional<DrawingPoint> point(const CadInput& input);
    void say(const std::string& line);
    /** The last point entered. */
    DrawingPoint lastPoint;
    /** The previous selection set ("_p"). */
    std::vector<std::int64_t> previousSelection;
    /** The value of the file-dialog switch. */
    int fileDialogs = 1;

    /** Writes the entities with the ids to a DXF file (set by the window); false when it cannot. */
    std::function<bool(const std::vector<std::int64_t>&, const std::filesystem::path&)> writeDxf;
    /** Called after every change of the drawing or of the command line. */
    std::function<void()> changed;

private:
    void run();
    [[nodiscard]] std::optional<std::string> nextToken(CadInputKind kind);
    void start(const std::string& name);

    CadDrawing& m_drawing;
    std::string m_pending;
    std::unique_ptr<CadCommand> m_command;
    std::string m_commandName;
    std::vector<std::string> m_history;
};

/** Makes the command of a typed name ("_-layer", "._dxfout"); null for a name it does not know. */
[[nodiscard]] std::unique_ptr<CadCommand> makeCadCommand(const std::string& name);

/** Returns the lower-case keyword of an option input without its leading "_" ("_S" gives "s"). */
[[nodiscard]] std::string cadKeyword(std::string_view token);
/** Parses a number in the C locale; none when the text is not one number. */
[[nodiscard]] std::optional<double> cadNumber(std::string_view token);

/** Returns the ids of the entities a crossing window between two corners touches (in plan). */
[[nodiscard]] std::vector<std::int64_t> crossingSelection(const CadDrawing& drawing, const DrawingPoint& first,
    const DrawingPoint& second);

} // namespace kzev
