#include "support/RecordingCad.h"

#include "platform/Codepage1250.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <unistd.h>

namespace kzev::test {

namespace {

std::string number(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g", value);
    return buffer;
}

std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else
            out += c;
    }
    return out + "\"";
}

// Copy data carries ANSI text or, when a zero byte comes before the end, UTF-16.
std::string decodeCopyData(const std::vector<std::uint8_t>& data)
{
    const bool wide = data.size() >= 2 && std::find(data.begin(), data.end() - 1, 0) != data.end() - 1;
    if (!wide) {
        std::string ansi(data.begin(), data.end());
        if (!ansi.empty() && ansi.back() == '\0')
            ansi.pop_back();
        return cp1250ToUtf8(ansi);
    }
    std::string out;
    for (std::size_t i = 0; i + 1 < data.size(); i += 2) {
        const unsigned unit = data[i] | (data[i + 1] << 8);
        if (unit == 0)
            break;
        if (unit < 0x80) {
            out += static_cast<char>(unit);
        } else if (unit < 0x800) {
            out += static_cast<char>(0xC0 | (unit >> 6));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (unit >> 12));
            out += static_cast<char>(0x80 | ((unit >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (unit & 0x3F));
        }
    }
    return out;
}

CadServerError cancelled() { return CadServerError(0, kCadException, "Zrušeno uživatelem"); }

} // namespace

std::string formatCadVariant(const CadVariant& value)
{
    if (value.isOmitted())
        return "omitted";
    if (value.type == kVtEmpty)
        return "empty";
    if (value.type == kVtI4)
        return std::to_string(value.longValue);
    std::string out = "(";
    for (std::size_t i = 0; i < value.values.size(); ++i)
        out += (i ? "," : "") + number(value.values[i]);
    return out + ")";
}

// ---- Automation objects ----------------------------------------------------

class FakeCadDocument final : public ICadDocument {
public:
    explicit FakeCadDocument(RecordingCad& cad)
        : m_cad(cad)
    {
    }

    std::string name() override
    {
        m_cad.record("document.name");
        return m_cad.documentName;
    }
    void sendCommand(const std::string& line) override
    {
        m_cad.record("document.sendCommand " + quoted(line));
        m_cad.commands.push_back(line);
    }
    std::int16_t systemVariable(const std::string& name) override
    {
        m_cad.record("document.systemVariable " + name);
        if (m_cad.commandActive.empty())
            return 0;
        const std::int16_t value = m_cad.commandActive.front();
        m_cad.commandActive.pop_front();
        return value;
    }
    std::int32_t layerCount() override
    {
        m_cad.record("layers.count");
        return static_cast<std::int32_t>(m_cad.layers.size());
    }
    std::string layerName(std::int32_t index) override
    {
        m_cad.record("layers.item " + std::to_string(index) + ".name");
        if (index < 0 || index >= static_cast<std::int32_t>(m_cad.layers.size()))
            throw CadServerError(1, kCadException, "Neplatný index hladiny");
        return m_cad.layers[static_cast<std::size_t>(index)];
    }
    std::int32_t addLayer(const std::string& name) override
    {
        m_cad.record("layers.add " + name);
        m_cad.layers.push_back(name);
        return static_cast<std::int32_t>(m_cad.layers.size()) - 1;
    }
    void setCurrentLayer(std::int32_t index) override
    {
        const std::string name = index >= 0 && index < static_cast<std::int32_t>(m_cad.layers.size())
            ? m_cad.layers[static_cast<std::size_t>(index)]
            : std::to_string(index);
        m_cad.record("document.currentLayer " + name);
    }
    CadObjectId insertBlock(const CadVariant& point, const std::string& blockName, double scaleX, double scaleY,
        double scaleZ, double rotation) override
    {
        m_cad.record("modelSpace.insertBlock " + formatCadVariant(point) + " " + blockName + " " + number(scaleX) + " "
            + number(scaleY) + " " + number(scaleZ) + " " + number(rotation));
        const CadObjectId id = m_cad.newObject();
        m_cad.m_lastCreated = id;
        m_blockAttributes[id] = { m_cad.newObject(), m_cad.newObject() };
        return id;
    }
    CadObjectId addLine(const CadVariant& start, const CadVariant& end) override
    {
        m_cad.record("modelSpace.addLine " + formatCadVariant(start) + " " + formatCadVariant(end));
        return m_cad.m_lastCreated = m_cad.newObject();
    }
    CadObjectId addText(const std::string& text, const CadVariant& point, double height) override
    {
        m_cad.record("modelSpace.addText " + quoted(text) + " " + formatCadVariant(point) + " " + number(height));
        return m_cad.m_lastCreated = m_cad.newObject();
    }
    void rotate(CadObjectId object, const CadVariant& basePoint, double angle) override
    {
        m_cad.record("object " + std::to_string(object) + ".rotate " + formatCadVariant(basePoint) + " " + number(angle));
    }
    void rotate3d(CadObjectId object, const CadVariant& axisStart, const CadVariant& axisEnd, double angle) override
    {
        m_cad.record("object " + std::to_string(object) + ".rotate3d " + formatCadVariant(axisStart) + " "
            + formatCadVariant(axisEnd) + " " + number(angle));
    }
    std::string objectName(CadObjectId object) override
    {
        m_cad.record("object " + std::to_string(object) + ".objectName");
        return entity(object).objectName;
    }
    bool hasAttributes(CadObjectId blockReference) override
    {
        m_cad.record("object " + std::to_string(blockReference) + ".hasAttributes");
        return !entity(blockReference).attributes.empty();
    }
    std::vector<CadObjectId> attributes(CadObjectId blockReference) override
    {
        m_cad.record("object " + std::to_string(blockReference) + ".attributes");
        if (const auto inserted = m_blockAttributes.find(blockReference); inserted != m_blockAttributes.end())
            return inserted->second;
        const std::size_t index = entityIndex(blockReference);
        std::vector<CadObjectId> out;
        for (std::size_t a = 0; a < m_cad.entities[index].attributes.size(); ++a) {
            const CadObjectId id = m_cad.newObject();
            m_cad.m_attributes[id] = { index, a };
            out.push_back(id);
        }
        return out;
    }
    CadVariant insertionPoint(CadObjectId blockReference) override
    {
        m_cad.record("object " + std::to_string(blockReference) + ".insertionPoint");
        return CadVariant::doubles(entity(blockReference).insertion);
    }
    double rotation(CadObjectId blockReference) override
    {
        m_cad.record("object " + std::to_string(blockReference) + ".rotation");
        return entity(blockReference).rotation;
    }
    CadVariant normal(CadObjectId blockReference) override
    {
        m_cad.record("object " + std::to_string(blockReference) + ".normal");
        return CadVariant::doubles(entity(blockReference).normal);
    }
    CadVariant vertex(CadObjectId object, std::int32_t index) override
    {
        m_cad.record("object " + std::to_string(object) + ".vertex " + std::to_string(index));
        if (index < 0 || index >= static_cast<std::int32_t>(m_cad.lastObjectVertices.size()))
            throw CadServerError(1, kCadException, "Neplatný index vrcholu");
        return CadVariant::doubles(m_cad.lastObjectVertices[static_cast<std::size_t>(index)]);
    }
    std::string attributeTag(CadObjectId attribute) override
    {
        m_cad.record("attribute " + std::to_string(attribute) + ".tag");
        return attributeOf(attribute).first;
    }
    std::string attributeText(CadObjectId attribute) override
    {
        m_cad.record("attribute " + std::to_string(attribute) + ".text");
        return attributeOf(attribute).second;
    }
    void setAttributeText(CadObjectId attribute, const std::string& text) override
    {
        m_cad.record("attribute " + attributeSlot(attribute) + ".text= " + quoted(text));
    }
    void setAttributeHeight(CadObjectId attribute, double height) override
    {
        m_cad.record("attribute " + attributeSlot(attribute) + ".height= " + number(height));
    }
    void setAttributeScaleFactor(CadObjectId attribute, double factor) override
    {
        m_cad.record("attribute " + attributeSlot(attribute) + ".scaleFactor= " + number(factor));
    }
    void update(CadObjectId object) override
    {
        const std::string slot = attributeSlot(object);
        m_cad.record((slot[0] == '#' ? "object " + std::to_string(object) : "attribute " + slot) + ".update");
    }
    CadVariant getPoint(const CadVariant& basePoint, const std::string& prompt) override
    {
        m_cad.record("utility.getPoint " + formatCadVariant(basePoint) + " " + quoted(prompt));
        if (m_cad.points.empty())
            throw cancelled();
        CadVariant point = CadVariant::doubles(m_cad.points.front());
        m_cad.points.pop_front();
        return point;
    }
    double getDistance(const CadVariant& basePoint, const std::string& prompt) override
    {
        m_cad.record("utility.getDistance " + formatCadVariant(basePoint) + " " + quoted(prompt));
        if (m_cad.distances.empty())
            throw cancelled();
        const double distance = m_cad.distances.front();
        m_cad.distances.pop_front();
        return distance;
    }
    CadObjectId addSelectionSet(const std::string& name) override
    {
        m_cad.record("selectionSets.add " + name);
        return newSet();
    }
    CadObjectId addSelectionSetClone(const std::string& name) override
    {
        m_cad.record("selectionSets.addClone " + name);
        return newSet();
    }
    CadObjectId documentSelectionSet() override
    {
        m_cad.record("document.selectionSet");
        return newSet();
    }
    void select(CadObjectId set, std::int32_t mode, const CadVariant& first, const CadVariant& second,
        const CadVariant& third, const CadVariant& fourth) override
    {
        m_cad.record("selectionSet.select " + std::to_string(mode) + " " + formatCadVariant(first) + " "
            + formatCadVariant(second) + " " + formatCadVariant(third) + " " + formatCadVariant(fourth));
        auto& members = m_cad.m_sets[set];
        members.clear();
        if (mode == kCadSelectLast) {
            if (m_cad.m_lastCreated == 0)
                m_cad.m_lastCreated = m_cad.newObject();
            members.push_back(m_cad.m_lastCreated);
            return;
        }
        for (std::size_t i = 0; i < m_cad.entities.size(); ++i) {
            const CadObjectId id = m_cad.newObject();
            m_cad.m_selected[id] = i;
            members.push_back(id);
        }
    }
    std::int32_t selectionCount(CadObjectId set) override
    {
        m_cad.record("selectionSet.count");
        return static_cast<std::int32_t>(m_cad.m_sets[set].size());
    }
    CadObjectId selectionItem(CadObjectId set, std::int32_t index) override
    {
        m_cad.record("selectionSet.item " + std::to_string(index));
        const auto& members = m_cad.m_sets[set];
        if (index < 0 || index >= static_cast<std::int32_t>(members.size()))
            throw CadServerError(1, kCadException, "Neplatný index výběru");
        return members[static_cast<std::size_t>(index)];
    }
    void clearSelectionSet(CadObjectId set) override
    {
        m_cad.record("selectionSet.clear");
        m_cad.m_sets[set].clear();
    }
    void deleteSelectionSet(CadObjectId set) override
    {
        m_cad.record("selectionSet.delete");
        m_cad.m_sets.erase(set);
    }

private:
    CadObjectId newSet()
    {
        const CadObjectId id = m_cad.newObject();
        m_cad.m_sets[id] = {};
        return id;
    }
    std::size_t entityIndex(CadObjectId object) const
    {
        const auto found = m_cad.m_selected.find(object);
        if (found == m_cad.m_selected.end() || found->second >= m_cad.entities.size())
            throw CadServerError(1, kCadException, "Neznámý objekt");
        return found->second;
    }
    const RecordingCad::Entity& entity(CadObjectId object) const { return m_cad.entities[entityIndex(object)]; }
    const std::pair<std::string, std::string>& attributeOf(CadObjectId attribute) const
    {
        const auto found = m_cad.m_attributes.find(attribute);
        if (found == m_cad.m_attributes.end())
            throw CadServerError(1, kCadException, "Neznámý atribut");
        return m_cad.entities.at(found->second.first).attributes.at(found->second.second);
    }
    // Attributes of inserted blocks are named by their place: "0" and "1".
    std::string attributeSlot(CadObjectId attribute) const
    {
        for (const auto& [block, ids] : m_blockAttributes)
            for (std::size_t i = 0; i < ids.size(); ++i)
                if (ids[i] == attribute)
                    return std::to_string(i);
        return "#" + std::to_string(attribute);
    }

    RecordingCad& m_cad;
    std::map<CadObjectId, std::vector<CadObjectId>> m_blockAttributes;
};

class FakeCadApplication final : public ICadApplication {
public:
    explicit FakeCadApplication(RecordingCad& cad)
        : m_cad(cad)
    {
    }
    void setVisible(bool visible) override { m_cad.record(std::string("application.visible= ") + (visible ? "1" : "0")); }
    std::unique_ptr<ICadDocument> activeDocument() override
    {
        m_cad.record("application.activeDocument");
        if (m_cad.noDocument)
            throw CadServerError(1, kCadException, "Není otevřen žádný výkres");
        return std::make_unique<FakeCadDocument>(m_cad);
    }
    void sendCommand(const std::string& line) override
    {
        m_cad.record("application.sendCommand " + quoted(line));
        m_cad.commands.push_back(line);
    }
    void openDrawing(const std::filesystem::path& path) override
    {
        m_cad.record("documents.open " + path.string());
        if (m_cad.openFails)
            throw CadServerError(1, kCadException, "Soubor nelze otevřít");
    }
    void quit() override { m_cad.record("application.quit"); }

private:
    RecordingCad& m_cad;
};

// ---- RecordingCad -------------------------------------------------------------

RecordingCad::RecordingCad()
{
    static std::atomic<int> counter { 0 };
    tempFolder = std::filesystem::temp_directory_path()
        / ("kzev-cad-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(tempFolder);
}

RecordingCad::~RecordingCad()
{
    std::error_code ignored;
    std::filesystem::remove_all(tempFolder, ignored);
}

void RecordingCad::record(std::string call) { calls.push_back(std::move(call)); }

std::vector<std::string> RecordingCad::callsStartingWith(const std::string& prefix) const
{
    std::vector<std::string> out;
    for (const auto& call : calls)
        if (call.rfind(prefix, 0) == 0)
            out.push_back(call);
    return out;
}

CadWindowHandle RecordingCad::addTopWindow(const std::string& title)
{
    const CadWindowHandle handle = ++m_lastHandle + 0x100;
    m_windows[handle] = Window { 0, { title }, 0, true };
    m_order.push_back(handle);
    return handle;
}

CadWindowHandle RecordingCad::addChildWindow(CadWindowHandle parent, const std::string& text)
{
    const CadWindowHandle handle = ++m_lastHandle + 0x100;
    m_windows[handle] = Window { parent, { text }, 0, true };
    return handle;
}

void RecordingCad::removeWindow(CadWindowHandle window)
{
    if (auto found = m_windows.find(window); found != m_windows.end())
        found->second.alive = false;
}

void RecordingCad::scriptWindowText(CadWindowHandle window, std::vector<std::string> texts)
{
    auto& w = m_windows.at(window);
    w.texts = std::move(texts);
    w.reads = 0;
}

CadWindowHandle RecordingCad::addTextWindow(const std::string& title, const std::string& prompt)
{
    const CadWindowHandle text = addTopWindow(title);
    const CadWindowHandle frame = addChildWindow(text, "");
    const CadWindowHandle pane = addChildWindow(frame, "");
    addChildWindow(pane, "MountTam");
    return addChildWindow(pane, prompt.empty() ? "Headlands" : prompt);
}

void RecordingCad::registerProgram(const std::string& programId, bool running) { m_programs[programId] = running; }

std::vector<CadWindowInfo> RecordingCad::topLevelWindows()
{
    std::vector<CadWindowInfo> out;
    for (const CadWindowHandle handle : m_order) {
        const Window& w = m_windows.at(handle);
        if (w.alive)
            out.push_back({ handle, w.texts.empty() ? std::string() : w.texts.front() });
    }
    return out;
}

std::vector<CadWindowInfo> RecordingCad::childWindows(CadWindowHandle window)
{
    std::vector<CadWindowInfo> out;
    for (const auto& [handle, w] : m_windows)
        if (w.alive && w.parent == window && window != 0)
            out.push_back({ handle, w.texts.empty() ? std::string() : w.texts.front() });
    return out;
}

std::string RecordingCad::windowText(CadWindowHandle window)
{
    auto found = m_windows.find(window);
    if (found == m_windows.end() || !found->second.alive || found->second.texts.empty())
        return {};
    Window& w = found->second;
    const std::size_t at = std::min(w.reads, w.texts.size() - 1);
    ++w.reads;
    return w.texts[at];
}

bool RecordingCad::windowExists(CadWindowHandle window)
{
    const auto found = m_windows.find(window);
    return found != m_windows.end() && found->second.alive;
}

bool RecordingCad::copyData(CadWindowHandle window, std::uint32_t tag, const std::vector<std::uint8_t>& data)
{
    const std::string text = decodeCopyData(data);
    record("copyData " + std::to_string(window) + " " + std::to_string(tag) + " " + quoted(text));
    copyDataBlocks.push_back(data);
    if (!windowExists(window))
        return false;
    commands.push_back(text);
    return true;
}

void RecordingCad::setFocus(CadWindowHandle window) { record("setFocus " + std::to_string(window)); }
void RecordingCad::setForeground(CadWindowHandle window) { record("setForeground " + std::to_string(window)); }
void RecordingCad::restoreOwnWindow() { record("restoreOwnWindow"); }

bool RecordingCad::pause(std::chrono::milliseconds duration)
{
    ++pauses;
    if (cancelAtPause != 0 && pauses >= cancelAtPause)
        return false;
    waited += duration;
    return true;
}

std::chrono::steady_clock::time_point RecordingCad::now() { return std::chrono::steady_clock::time_point {} + waited; }

std::filesystem::path RecordingCad::temporaryFolder() { return tempFolder; }

bool RecordingCad::isRegistered(const std::string& programId)
{
    record("isRegistered " + programId);
    return m_programs.contains(programId);
}

std::unique_ptr<ICadApplication> RecordingCad::activeObject(const std::string& programId)
{
    record("activeObject " + programId);
    const auto found = m_programs.find(programId);
    if (found == m_programs.end() || !found->second)
        return nullptr;
    return std::make_unique<FakeCadApplication>(*this);
}

std::unique_ptr<ICadApplication> RecordingCad::createInstance(const std::string& programId)
{
    record("createInstance " + programId);
    if (!m_programs.contains(programId))
        throw CadComError(static_cast<CadResult>(0x800401F3u), "Třída není registrována");
    m_programs[programId] = true;
    return std::make_unique<FakeCadApplication>(*this);
}

} // namespace kzev::test
