// The commands of the drawing window's command line, in the forms the CAD
// link types them.

#include "cad/drawing/CadCommandProcessor.h"

#include "cad/drawing/AttributeExtractCommand.h"

#include "platform/CaseFold.h"
#include "platform/TextUtil.h"

#include <cmath>
#include <map>
#include <numbers>

namespace kzev {

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;

// Object selection: "_l" the last object, "_p" the previous set, "_c" a
// crossing window by two points, "_a"/"_all" everything; an empty input ends it.
class Selector {
public:
    /** Takes one input; returns true when the selection is complete. */
    bool feed(CadCommandProcessor& p, const CadInput& input)
    {
        if (m_corner) {
            const auto second = p.point(input);
            if (!second)
                return false;
            add(crossingSelection(p.drawing(), *m_first, *second));
            m_corner = false;
            m_first.reset();
            return false;
        }
        if (m_crossing) {
            m_first = p.point(input);
            if (m_first) {
                m_crossing = false;
                m_corner = true;
            }
            return false;
        }
        const std::string key = cadKeyword(input.token);
        if (input.point) {
            return false;
        } else if (key.empty()) {
            p.previousSelection = ids;
            return true;
        } else if (key == "l" || key == "last") {
            if (const DrawingEntity* last = p.drawing().last())
                add({ last->id });
        } else if (key == "p" || key == "previous") {
            add(p.previousSelection);
        } else if (key == "c" || key == "crossing") {
            m_crossing = true;
        } else if (key == "all") {
            for (const DrawingEntity& e : p.drawing().entities())
                add({ e.id });
        }
        return false;
    }
    [[nodiscard]] bool wantsPoint() const { return m_crossing || m_corner; }
    [[nodiscard]] std::string prompt() const
    {
        return m_corner ? "Protější roh:" : m_crossing ? "První roh:" : "Vyberte objekty:";
    }

    std::vector<std::int64_t> ids;

private:
    void add(const std::vector<std::int64_t>& more)
    {
        for (const std::int64_t id : more)
            if (std::find(ids.begin(), ids.end(), id) == ids.end())
                ids.push_back(id);
    }
    bool m_crossing = false;
    bool m_corner = false;
    std::optional<DrawingPoint> m_first;
};

DrawingPoint rotated(const DrawingPoint& p, const DrawingPoint& base, double angle)
{
    const double c = std::cos(angle);
    const double s = std::sin(angle);
    const double x = p.x - base.x;
    const double y = p.y - base.y;
    return { base.x + x * c - y * s, base.y + x * s + y * c, p.z };
}

class LayerCommand final : public CadCommand {
public:
    std::string prompt() const override { return m_option.empty() ? "Zadejte volbu [Nová/Nastavit/Vytvořit]:" : "Jméno hladiny:"; }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        if (m_option.empty()) {
            const std::string key = cadKeyword(input.token);
            if (key.empty())
                return true;
            if (key == "n" || key == "new" || key == "s" || key == "set" || key == "m" || key == "make")
                m_option = key.substr(0, 1);
            return false;
        }
        const std::string name(input.token);
        if (!name.empty()) {
            if (m_option == "s" && p.drawing().findLayer(name) < 0)
                p.say("Hladina \"" + name + "\" neexistuje.");
            else {
                const int index = p.drawing().addLayer(name);
                if (m_option != "n")
                    p.drawing().setCurrentLayer(index);
            }
        }
        m_option.clear();
        return false;
    }

private:
    std::string m_option;
};

class ColorCommand final : public CadCommand {
public:
    std::string prompt() const override { return "Barva [DleHladiny]:"; }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        static const std::map<std::string, int> names { { "bylayer", 256 }, { "r", 1 }, { "red", 1 }, { "y", 2 },
            { "yellow", 2 }, { "g", 3 }, { "green", 3 }, { "c", 4 }, { "cyan", 4 }, { "b", 5 }, { "blue", 5 },
            { "m", 6 }, { "magenta", 6 }, { "w", 7 }, { "white", 7 } };
        const std::string key = cadKeyword(input.token);
        if (const auto found = names.find(key); found != names.end())
            p.drawing().setCurrentColor(found->second);
        else if (const auto number = cadNumber(key); number && *number >= 1 && *number <= 255)
            p.drawing().setCurrentColor(static_cast<int>(*number));
        return true;
    }
};

class LineCommand final : public CadCommand {
public:
    std::string prompt() const override { return m_points.empty() ? "Od bodu:" : "Do bodu:"; }
    bool wantsPoint() const override { return true; }
    std::optional<DrawingPoint> rubberBandBase() const override
    {
        return m_points.empty() ? std::nullopt : std::optional(m_points.back());
    }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        const std::string key = cadKeyword(input.token);
        if (!input.point && key.empty())
            return true;
        if (!input.point && key == "c") {
            if (m_points.size() >= 3)
                segment(p, m_points.back(), m_points.front());
            return true;
        }
        const auto at = p.point(input);
        if (!at)
            return false;
        if (!m_points.empty())
            segment(p, m_points.back(), *at);
        m_points.push_back(*at);
        return false;
    }

private:
    static void segment(CadCommandProcessor& p, const DrawingPoint& a, const DrawingPoint& b)
    {
        DrawingEntity line;
        line.kind = DrawingEntityKind::Line;
        line.points = { a, b };
        p.drawing().add(std::move(line));
    }
    std::vector<DrawingPoint> m_points;
};

class PolylineCommand final : public CadCommand {
public:
    std::string prompt() const override { return m_points.empty() ? "Počáteční bod:" : "Další bod [Uzavřít]:"; }
    bool wantsPoint() const override { return true; }
    std::optional<DrawingPoint> rubberBandBase() const override
    {
        return m_points.empty() ? std::nullopt : std::optional(m_points.back());
    }
    std::vector<DrawingPoint> preview() const override { return m_points; }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        const std::string key = cadKeyword(input.token);
        if (!input.point && (key.empty() || key == "c")) {
            if (m_points.size() >= 2) {
                DrawingEntity polyline;
                polyline.kind = DrawingEntityKind::Polyline;
                polyline.points = m_points;
                polyline.closed = key == "c" && m_points.size() >= 3;
                p.drawing().add(std::move(polyline));
            }
            return true;
        }
        if (const auto at = p.point(input))
            m_points.push_back(*at);
        return false;
    }

private:
    std::vector<DrawingPoint> m_points;
};

// A command that takes one value and ends ("_filedia 0", "_plinetype 1").
class ValueCommand final : public CadCommand {
public:
    explicit ValueCommand(std::string prompt, int* target = nullptr)
        : m_prompt(std::move(prompt))
        , m_target(target)
    {
    }
    std::string prompt() const override { return m_prompt; }
    bool feed(CadCommandProcessor&, const CadInput& input) override
    {
        if (const auto value = cadNumber(input.token); value && m_target)
            *m_target = static_cast<int>(*value);
        return true;
    }

private:
    std::string m_prompt;
    int* m_target;
};

class RedrawCommand final : public CadCommand {
public:
    std::string prompt() const override { return {}; }
    bool doneAtStart() const override { return true; }
    bool feed(CadCommandProcessor&, const CadInput&) override { return true; }
};

class IdCommand final : public CadCommand {
public:
    std::string prompt() const override { return "Určete bod:"; }
    bool wantsPoint() const override { return true; }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        const auto at = p.point(input);
        if (!at)
            return cadKeyword(input.token).empty();
        p.say(formatC("X = %.4f     Y = %.4f     Z = %.4f", at->x, at->y, at->z));
        return true;
    }
};

class EraseCommand final : public CadCommand {
public:
    std::string prompt() const override { return m_select.prompt(); }
    bool wantsPoint() const override { return m_select.wantsPoint(); }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        if (!m_select.feed(p, input))
            return false;
        for (const std::int64_t id : m_select.ids)
            p.drawing().erase(id);
        return true;
    }

private:
    Selector m_select;
};

class SelectCommand final : public CadCommand {
public:
    std::string prompt() const override { return m_select.prompt(); }
    bool wantsPoint() const override { return m_select.wantsPoint(); }
    bool feed(CadCommandProcessor& p, const CadInput& input) override { return m_select.feed(p, input); }

private:
    Selector m_select;
};

class RotateCommand final : public CadCommand {
public:
    std::string prompt() const override
    {
        return m_step == 0 ? m_select.prompt() : m_step == 1 ? "Základní bod:" : "Úhel otočení:";
    }
    bool wantsPoint() const override { return m_step == 0 ? m_select.wantsPoint() : m_step == 1; }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        if (m_step == 0) {
            if (m_select.feed(p, input))
                m_step = 1;
            return false;
        }
        if (m_step == 1) {
            if (const auto base = p.point(input)) {
                m_base = *base;
                m_step = 2;
            }
            return false;
        }
        const auto degrees = cadNumber(input.token);
        if (!degrees)
            return cadKeyword(input.token).empty();
        const double angle = *degrees * kDegree;
        for (const std::int64_t id : m_select.ids) {
            DrawingEntity* e = p.drawing().find(id);
            if (!e)
                continue;
            for (DrawingPoint& point : e->points)
                point = rotated(point, m_base, angle);
            if (e->kind == DrawingEntityKind::Text || e->kind == DrawingEntityKind::Block)
                e->rotation += angle;
        }
        p.drawing().modified = true;
        return true;
    }

private:
    Selector m_select;
    int m_step = 0;
    DrawingPoint m_base;
};

class TextCommand final : public CadCommand {
public:
    CadInputKind expects() const override { return m_step == 3 ? CadInputKind::Text : CadInputKind::Word; }
    std::string prompt() const override
    {
        static const char* prompts[] { "Počáteční bod textu nebo [Zarovnat]:", "Výška:", "Úhel otočení:", "Text:" };
        return prompts[m_step];
    }
    bool wantsPoint() const override { return m_step == 0; }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        switch (m_step) {
        case 0: {
            const std::string key = cadKeyword(input.token);
            if (!input.point && (key == "tl" || key == "m" || key == "mc")) {
                m_text.justification = key == "tl" ? TextJustification::TopLeft : TextJustification::Middle;
                return false;
            }
            const auto at = p.point(input);
            if (at) {
                m_text.points = { *at };
                m_step = 1;
            }
            return false;
        }
        case 1:
            m_text.height = cadNumber(input.token).value_or(2.5);
            m_step = 2;
            return false;
        case 2:
            m_text.rotation = cadNumber(input.token).value_or(0.0) * kDegree;
            m_step = 3;
            return false;
        default:
            m_text.kind = DrawingEntityKind::Text;
            m_text.text = input.token;
            p.drawing().add(m_text);
            return true;
        }
    }

private:
    DrawingEntity m_text;
    int m_step = 0;
};

// Returns the MTEXT attachment of a justification keyword ("tl" 1 … "br" 9), 0 for another word.
int mtextAttachment(const std::string& key)
{
    static const char* const names[] { "tl", "tc", "tr", "ml", "mc", "mr", "bl", "bc", "br" };
    for (int i = 0; i < 9; ++i)
        if (key == names[i])
            return i + 1;
    return 0;
}

// A paragraph text stands at the point of its box its attachment names, whichever
// way the two corners were given: top left by default, as a CAD program puts it.
DrawingPoint attachmentPoint(int attachment, const DrawingPoint& a, const DrawingPoint& b)
{
    const int column = (attachment - 1) % 3;
    const int row = (attachment - 1) / 3;
    const double left = std::min(a.x, b.x);
    const double right = std::max(a.x, b.x);
    const double top = std::max(a.y, b.y);
    const double bottom = std::min(a.y, b.y);
    return { column == 0 ? left : column == 1 ? (left + right) / 2.0 : right,
        row == 0 ? top : row == 1 ? (top + bottom) / 2.0 : bottom, a.z };
}

class MtextCommand final : public CadCommand {
public:
    CadInputKind expects() const override { return m_step == Content ? CadInputKind::Text : CadInputKind::Word; }
    std::string prompt() const override
    {
        static const char* prompts[] { "První roh:", "Protější roh nebo [Výška/Zarovnat]:", "Výška:",
            "Zarovnání [TL/TC/TR/ML/MC/MR/BL/BC/BR] <TL>:", "Text:" };
        return prompts[m_step];
    }
    bool wantsPoint() const override { return m_step == FirstCorner || m_step == OppositeCorner; }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        switch (m_step) {
        case FirstCorner:
            if (const auto at = p.point(input)) {
                m_first = *at;
                m_step = OppositeCorner;
            }
            return false;
        case OppositeCorner: {
            const std::string key = input.point ? std::string() : cadKeyword(input.token);
            if (key == "h" || key == "j") {
                m_step = key == "h" ? Height : Justify;
                return false;
            }
            if (const auto corner = p.point(input)) {
                m_text.boxWidth = std::abs(corner->x - m_first.x);
                m_text.points = { attachmentPoint(m_text.attachment, m_first, *corner) };
                m_step = Content;
            }
            return false;
        }
        case Height:
            m_text.height = cadNumber(input.token).value_or(m_text.height);
            m_step = OppositeCorner;
            return false;
        case Justify:
            if (const int attachment = mtextAttachment(cadKeyword(input.token)))
                m_text.attachment = attachment;
            m_step = OppositeCorner;
            return false;
        default:
            if (!input.token.empty()) {
                m_text.text += (m_text.text.empty() ? "" : "\n") + input.token;
                return false;
            }
            m_text.kind = DrawingEntityKind::Text;
            p.drawing().add(m_text);
            return true;
        }
    }

private:
    enum Step { FirstCorner, OppositeCorner, Height, Justify, Content };
    DrawingEntity m_text = [] {
        DrawingEntity text;
        text.height = 2.5;
        text.attachment = 1;
        return text;
    }();
    DrawingPoint m_first;
    int m_step = FirstCorner;
};

class InsertCommand final : public CadCommand {
public:
    CadInputKind expects() const override
    {
        return m_step == Name || m_step == Attributes ? CadInputKind::Text : CadInputKind::Word;
    }
    std::string prompt() const override
    {
        switch (m_step) {
        case Name: return "Jméno bloku:";
        case Point: return "Bod vložení nebo [Měřítko]:";
        case Scale: return "Měřítko:";
        case ScaleX: return "Měřítko X <1>:";
        case ScaleY: return "Měřítko Y <dle X>:";
        case Rotation: return "Úhel otočení <0>:";
        default: return "Hodnota atributu " + m_prompts[m_attribute] + ":";
        }
    }
    bool wantsPoint() const override { return m_step == Point; }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        switch (m_step) {
        case Name: {
            // A block file gives its name without folder and extension.
            std::string name(input.token);
            if (const std::size_t slash = name.find_last_of("/\\"); slash != std::string::npos)
                name.erase(0, slash + 1);
            if (name.size() > 4 && foldCase(name.substr(name.size() - 4)) == ".dwg")
                name.resize(name.size() - 4);
            if (name.empty())
                return true;
            m_block.kind = DrawingEntityKind::Block;
            m_block.blockName = name;
            m_prompts = CadDrawing::promptedAttributes(name);
            m_step = Point;
            return false;
        }
        case Point:
            if (!input.point && cadKeyword(input.token) == "s") {
                m_step = Scale;
                m_uniform = true;
                return false;
            }
            if (const auto at = p.point(input)) {
                m_block.points = { *at };
                m_step = m_uniform ? Rotation : ScaleX;
            }
            return false;
        case Scale:
            setScale(cadNumber(input.token).value_or(1.0), std::nullopt);
            m_step = Point;
            return false;
        case ScaleX:
            setScale(cadNumber(input.token).value_or(1.0), std::nullopt);
            m_step = ScaleY;
            return false;
        case ScaleY:
            setScale(m_block.scale[0], cadNumber(input.token));
            m_step = Rotation;
            return false;
        case Rotation:
            m_block.rotation = cadNumber(input.token).value_or(0.0) * kDegree;
            m_block.attributes = CadDrawing::blockAttributes(2.0 * m_block.scale[0]);
            if (m_prompts.empty())
                return finish(p);
            m_step = Attributes;
            return false;
        default:
            for (DrawingAttribute& a : m_block.attributes)
                if (a.tag == m_prompts[m_attribute])
                    a.text = input.token;
            if (++m_attribute < m_prompts.size())
                return false;
            return finish(p);
        }
    }

private:
    enum Step { Name, Point, Scale, ScaleX, ScaleY, Rotation, Attributes };
    void setScale(double x, std::optional<double> y)
    {
        m_block.scale[0] = x;
        m_block.scale[1] = y.value_or(x);
        m_block.scale[2] = x;
    }
    bool finish(CadCommandProcessor& p)
    {
        p.drawing().add(m_block);
        return true;
    }

    DrawingEntity m_block;
    std::vector<std::string> m_prompts;
    std::size_t m_attribute = 0;
    Step m_step = Name;
    bool m_uniform = false;
};

class AttributeEditCommand final : public CadCommand {
public:
    CadInputKind expects() const override { return m_step == NewValue ? CadInputKind::Text : CadInputKind::Word; }
    std::string prompt() const override
    {
        switch (m_step) {
        case OneByOne: return "Upravovat atributy po jednom? [Ano/Ne] <A>:";
        case BlockSpec: return "Jméno bloku <*>:";
        case TagSpec: return "Označení atributu <*>:";
        case ValueSpec: return "Hodnota atributu <*>:";
        case Select: return m_select.prompt();
        case Option: return "Volba [Hodnota/Další] <D>:";
        case ValueKind: return "Změna hodnoty [Změnit/Nahradit] <N>:";
        default: return "Nová hodnota atributu:";
        }
    }
    bool wantsPoint() const override { return m_step == Select && m_select.wantsPoint(); }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        const std::string key = cadKeyword(input.token);
        switch (m_step) {
        case OneByOne:
            m_step = BlockSpec;
            return false;
        case BlockSpec:
            m_blockSpec = key.empty() ? "*" : key;
            m_step = TagSpec;
            return false;
        case TagSpec:
            m_tagSpec = key.empty() ? "*" : key;
            m_step = ValueSpec;
            return false;
        case ValueSpec:
            m_step = Select;
            return false;
        case Select:
            if (!m_select.feed(p, input))
                return false;
            collect(p);
            m_step = Option;
            return m_targets.empty();
        case Option:
            if (key == "v" || key == "value") {
                m_step = ValueKind;
                return false;
            }
            return ++m_current >= m_targets.size();
        case ValueKind:
            m_step = NewValue;
            return false;
        default:
            if (DrawingEntity* block = p.drawing().find(m_targets[m_current].first))
                block->attributes[m_targets[m_current].second].text = input.token;
            p.drawing().modified = true;
            m_step = Option;
            return false;
        }
    }

private:
    enum Step { OneByOne, BlockSpec, TagSpec, ValueSpec, Select, Option, ValueKind, NewValue };
    void collect(CadCommandProcessor& p)
    {
        for (const std::int64_t id : m_select.ids) {
            const DrawingEntity* e = p.drawing().find(id);
            if (!e || e->kind != DrawingEntityKind::Block)
                continue;
            if (m_blockSpec != "*" && foldCase(e->blockName) != m_blockSpec)
                continue;
            for (std::size_t a = 0; a < e->attributes.size(); ++a)
                if (m_tagSpec == "*" || foldCase(e->attributes[a].tag) == m_tagSpec)
                    m_targets.emplace_back(id, a);
        }
    }

    Step m_step = OneByOne;
    std::string m_blockSpec;
    std::string m_tagSpec;
    Selector m_select;
    std::vector<std::pair<std::int64_t, std::size_t>> m_targets;
    std::size_t m_current = 0;
};

class DxfOutCommand final : public CadCommand {
public:
    CadInputKind expects() const override { return m_step == File ? CadInputKind::Text : CadInputKind::Word; }
    std::string prompt() const override
    {
        switch (m_step) {
        case File: return "Jméno souboru:";
        case Option: return "Počet desetinných míst nebo [Objekty] <16>:";
        case Select: return m_select.prompt();
        default: return "Počet desetinných míst <16>:";
        }
    }
    bool wantsPoint() const override { return m_step == Select && m_select.wantsPoint(); }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        switch (m_step) {
        case File:
            m_path = input.token;
            m_step = Option;
            return m_path.empty();
        case Option:
            if (cadKeyword(input.token) == "o") {
                m_step = Select;
                return false;
            }
            for (const DrawingEntity& e : p.drawing().entities())
                m_select.ids.push_back(e.id);
            return write(p);
        case Select:
            if (m_select.feed(p, input))
                m_step = Decimals;
            return false;
        default:
            return write(p);
        }
    }

private:
    enum Step { File, Option, Select, Decimals };
    bool write(CadCommandProcessor& p)
    {
        if (!p.writeDxf || !p.writeDxf(m_select.ids, m_path))
            p.say("Soubor " + m_path + " nelze zapsat.");
        return true;
    }
    Step m_step = File;
    std::string m_path;
    Selector m_select;
};

} // namespace

std::unique_ptr<CadCommand> makeCadCommand(const std::string& typed)
{
    std::string name = cadKeyword(typed);
    if (!name.empty() && name.front() == '-')
        name.erase(0, 1);
    if (name == "layer" || name == "la")
        return std::make_unique<LayerCommand>();
    if (name == "color" || name == "colour")
        return std::make_unique<ColorCommand>();
    if (name == "line" || name == "l")
        return std::make_unique<LineCommand>();
    if (name == "pline" || name == "pl")
        return std::make_unique<PolylineCommand>();
    if (name == "plinetype")
        return std::make_unique<ValueCommand>("Typ křivky <1>:");
    if (name == "filedia")
        return std::make_unique<ValueCommand>("Dialogy souborů <1>:");
    if (name == "id")
        return std::make_unique<IdCommand>();
    if (name == "erase" || name == "e")
        return std::make_unique<EraseCommand>();
    if (name == "select")
        return std::make_unique<SelectCommand>();
    if (name == "rotate" || name == "ro")
        return std::make_unique<RotateCommand>();
    if (name == "text" || name == "dtext")
        return std::make_unique<TextCommand>();
    if (name == "mtext")
        return std::make_unique<MtextCommand>();
    if (name == "insert" || name == "i")
        return std::make_unique<InsertCommand>();
    if (name == "attedit")
        return std::make_unique<AttributeEditCommand>();
    if (name == "attext")
        return makeAttributeExtractCommand();
    if (name == "dxfout")
        return std::make_unique<DxfOutCommand>();
    if (name == "redraw" || name == "regen")
        return std::make_unique<RedrawCommand>();
    return nullptr;
}

} // namespace kzev
