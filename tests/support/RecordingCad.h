#pragma once

#include "platform/CadLink.h"

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace kzev::test {

/**
 * A recording fake of both CAD seams: a desktop of windows the test lays
 * out, and automation programs the test registers. It records every call in
 * order (calls) and every command line sent by either channel (commands),
 * and plays back the answers the test queues: picked points, distances, the
 * vertices of the last object, CMDACTIVE values, the texts of the command
 * line. Time is its own: pause() only moves its clock on.
 */
class RecordingCad final : public ICadDesktop, public ICadAutomation {
public:
    /** A block reference of the fake drawing, as the selections find it. */
    struct Entity {
        std::string objectName = "AcDbBlockReference";
        std::vector<std::pair<std::string, std::string>> attributes; ///< tag, text
        std::vector<double> insertion { 0.0, 0.0, 0.0 };
        double rotation = 0.0;
        std::vector<double> normal { 0.0, 0.0, 1.0 };
    };

    RecordingCad();

    // ---- Laying out the desktop ----------------------------------------
    /** Adds a top-level window below the ones added before (the first one is topmost). */
    CadWindowHandle addTopWindow(const std::string& title);
    CadWindowHandle addChildWindow(CadWindowHandle parent, const std::string& text);
    void removeWindow(CadWindowHandle window);
    /** Lets a window show these texts on successive reads; the last one stays. */
    void scriptWindowText(CadWindowHandle window, std::vector<std::string> texts);
    /** Lays out a text window with the command line "Headlands" three levels down; returns that child. */
    CadWindowHandle addTextWindow(const std::string& title, const std::string& prompt);

    // ---- Registering automation programs --------------------------------
    void registerProgram(const std::string& programId, bool running);

    // ---- Answers played back ---------------------------------------------
    /** Points the user picks; an empty queue cancels the prompt. */
    std::deque<std::vector<double>> points;
    /** Distances the user enters; an empty queue cancels the prompt. */
    std::deque<double> distances;
    /** Vertices (x, y) of the last object created. */
    std::vector<std::vector<double>> lastObjectVertices;
    /** Successive values of CMDACTIVE; 0 once the queue is empty. */
    std::deque<std::int16_t> commandActive;
    /** Objects that the selections find. */
    std::vector<Entity> entities;
    /** The drawing's layers. */
    std::vector<std::string> layers { "0" };
    /** True: no drawing is open (the active document cannot be had). */
    bool noDocument = false;
    /** True: opening a drawing file fails in the program. */
    bool openFails = false;
    /** The drawing's file name. */
    std::string documentName = "C:\\Výkresy\\Kancelář.dwg";
    /** The n-th pause (counted from 1) is cancelled by the user; 0 never. */
    int cancelAtPause = 0;

    // ---- What was recorded -------------------------------------------------
    /** Every call through either seam, in order, as a short text. */
    std::vector<std::string> calls;
    /** Every command line sent (text window or automation), as UTF-8 text. */
    std::vector<std::string> commands;
    /** The raw data of every copy-data message. */
    std::vector<std::vector<std::uint8_t>> copyDataBlocks;
    /** Time passed in pause(). */
    std::chrono::milliseconds waited { 0 };
    int pauses = 0;
    /** Returns the calls whose text begins with the prefix. */
    [[nodiscard]] std::vector<std::string> callsStartingWith(const std::string& prefix) const;

    // ---- ICadDesktop -------------------------------------------------------
    std::vector<CadWindowInfo> topLevelWindows() override;
    std::vector<CadWindowInfo> childWindows(CadWindowHandle window) override;
    std::string windowText(CadWindowHandle window) override;
    bool windowExists(CadWindowHandle window) override;
    bool copyData(CadWindowHandle window, std::uint32_t tag, const std::vector<std::uint8_t>& data) override;
    void setFocus(CadWindowHandle window) override;
    void setForeground(CadWindowHandle window) override;
    void restoreOwnWindow() override;
    bool pause(std::chrono::milliseconds duration) override;
    std::chrono::steady_clock::time_point now() override;
    std::filesystem::path temporaryFolder() override;

    /** The folder temporaryFolder() gives (made per fake, removed with it). */
    std::filesystem::path tempFolder;

    // ---- ICadAutomation ----------------------------------------------------
    bool isRegistered(const std::string& programId) override;
    std::unique_ptr<ICadApplication> activeObject(const std::string& programId) override;
    std::unique_ptr<ICadApplication> createInstance(const std::string& programId) override;

    ~RecordingCad() override;
    RecordingCad(const RecordingCad&) = delete;
    RecordingCad& operator=(const RecordingCad&) = delete;

    /** Installs this fake as both seams for its lifetime. */
    [[nodiscard]] CadLink link() { return { this, this }; }

private:
    friend class FakeCadApplication;
    friend class FakeCadDocument;

    struct Window {
        CadWindowHandle parent = 0;
        std::vector<std::string> texts;
        std::size_t reads = 0;
        bool alive = true;
    };

    void record(std::string call);
    CadObjectId newObject() { return ++m_lastObject; }

    std::map<CadWindowHandle, Window> m_windows;
    std::vector<CadWindowHandle> m_order;
    CadWindowHandle m_lastHandle = 0;
    std::map<std::string, bool> m_programs;
    CadObjectId m_lastObject = 0;
    /** Attribute objects handed out: block entity index, attribute index. */
    std::map<CadObjectId, std::pair<std::size_t, std::size_t>> m_attributes;
    /** Block references handed out by selections: entity index. */
    std::map<CadObjectId, std::size_t> m_selected;
    /** Members of each selection set. */
    std::map<CadObjectId, std::vector<CadObjectId>> m_sets;
    CadObjectId m_lastCreated = 0;
};

/** Formats a point VARIANT as "(x,y,z)" with %g numbers, or the variant's kind. */
[[nodiscard]] std::string formatCadVariant(const CadVariant& value);

} // namespace kzev::test
