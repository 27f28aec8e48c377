#include "cad/drawing/AttributeExtractCommand.h"

#include "platform/FileIo.h"
#include "platform/TextUtil.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <numbers>
#include <sstream>

namespace kzev {

namespace {

struct TemplateField {
    std::string name;
    bool numeric = false;
    int width = 0;
    int decimals = 0;
};

std::vector<TemplateField> readTemplate(const std::string& text)
{
    std::vector<TemplateField> fields;
    std::istringstream lines(text);
    std::string line;
    while (std::getline(lines, line) && fields.size() < 200) {
        std::istringstream words(line);
        std::string name;
        std::string code;
        if (!(words >> name >> code) || code.size() != 7 || (code[0] != 'C' && code[0] != 'N'))
            continue;
        const int width = static_cast<int>(StrToLong(code.substr(1, 3)));
        const int decimals = static_cast<int>(StrToLong(code.substr(4, 3)));
        if (width > 0)
            fields.push_back({ name, code[0] == 'N', width, std::min(decimals, width) });
    }
    return fields;
}

std::string fitted(std::string text, int width, bool right)
{
    const auto w = static_cast<std::size_t>(width);
    if (text.size() > w)
        text.resize(w);
    const std::string pad(w - text.size(), ' ');
    return right ? pad + text : text + pad;
}

const DrawingAttribute* attributeOf(const DrawingEntity& block, const std::string& tag)
{
    for (const DrawingAttribute& a : block.attributes)
        if (a.tag == tag)
            return &a;
    return nullptr;
}

class AttributeExtractCommand final : public CadCommand {
public:
    CadInputKind expects() const override
    {
        return m_step == Template || m_step == Output ? CadInputKind::Text : CadInputKind::Word;
    }
    std::string prompt() const override
    {
        switch (m_step) {
        case Type: return "Způsob výpisu [Cdf/Sdf/Dxf/Objekty] <C>:";
        case Select: return "Vyberte objekty:";
        case Template: return "Soubor šablony:";
        default: return "Výstupní soubor:";
        }
    }
    bool feed(CadCommandProcessor& p, const CadInput& input) override
    {
        const std::string key = cadKeyword(input.token);
        switch (m_step) {
        case Type:
            if (key == "o" || key == "objects" || key == "e" || key == "entities") {
                m_step = Select;
                m_selected = true;
                return false;
            }
            if (key == "s" || key == "sdf") {
                m_step = Template;
                return false;
            }
            p.say("Výkres vypisuje atributy jen ve tvaru SDF.");
            return true;
        case Select:
            if (key.empty())
                m_step = Type;
            else if (key == "p" || key == "previous")
                add(p.previousSelection);
            else if (key == "all")
                for (const DrawingEntity& e : p.drawing().entities())
                    add({ e.id });
            return false;
        case Template:
            m_template = input.token;
            m_step = Output;
            return m_template.empty();
        default:
            write(p, input.token);
            return true;
        }
    }

private:
    enum Step { Type, Select, Template, Output };
    void add(const std::vector<std::int64_t>& more)
    {
        for (const std::int64_t id : more)
            if (std::find(m_ids.begin(), m_ids.end(), id) == m_ids.end())
                m_ids.push_back(id);
    }
    void write(CadCommandProcessor& p, const std::string& output)
    {
        std::string templateText;
        try {
            templateText = readWholeText(m_template);
        } catch (const FileError&) {
            p.say("Soubor šablony " + m_template + " nelze otevřít.");
            return;
        }
        if (!m_selected)
            for (const DrawingEntity& e : p.drawing().entities())
                m_ids.push_back(e.id);
        std::ofstream out(output, std::ios::binary | std::ios::trunc);
        for (const std::string& line : extractAttributes(p.drawing(), m_ids, templateText))
            out << line << "\r\n";
        out.close();
        if (!out)
            p.say("Soubor " + output + " nelze zapsat.");
    }
    Step m_step = Type;
    bool m_selected = false;
    std::vector<std::int64_t> m_ids;
    std::string m_template;
};

} // namespace

std::vector<std::string> extractAttributes(const CadDrawing& drawing, const std::vector<std::int64_t>& ids,
    const std::string& templateText)
{
    const std::vector<TemplateField> fields = readTemplate(templateText);
    std::vector<std::string> lines;
    for (const std::int64_t id : ids) {
        const DrawingEntity* block = drawing.find(id);
        if (!block || block->kind != DrawingEntityKind::Block || block->points.empty())
            continue;
        const bool listed = std::any_of(fields.begin(), fields.end(), [&](const TemplateField& f) {
            return !f.name.starts_with("BL:") && attributeOf(*block, f.name);
        });
        if (!listed)
            continue;
        std::string line;
        for (const TemplateField& f : fields) {
            const DrawingPoint& at = block->points.front();
            std::optional<double> value;
            std::string text;
            if (f.name == "BL:X")
                value = at.x;
            else if (f.name == "BL:Y")
                value = at.y;
            else if (f.name == "BL:Z")
                value = at.z;
            else if (f.name == "BL:ORIENT")
                value = block->rotation * 180.0 / std::numbers::pi;
            else if (f.name == "BL:NAME")
                text = block->blockName;
            else if (const DrawingAttribute* a = attributeOf(*block, f.name))
                text = a->text;
            if (f.numeric)
                line += fitted(formatC("%.*f", f.decimals, value ? *value : StrToDouble(text)), f.width, true);
            else
                line += fitted(value ? formatC("%g", *value) : text, f.width, false);
        }
        lines.push_back(line);
    }
    return lines;
}

std::unique_ptr<CadCommand> makeAttributeExtractCommand()
{
    return std::make_unique<AttributeExtractCommand>();
}

} // namespace kzev
