#pragma once

#include <cstdint>
#include <string>

namespace kzev {

/**
 * The document's own values that travel in the project file beside the
 * used-luminaire list and the rooms: project texts, fonts, margins, print
 * flags and a few switches. Kept together so that a project can be read into
 * a fresh copy and taken over only when the whole file was read.
 */
struct DocumentFields {
    std::string m_projectName;            ///< "Projekt" of the project dialog
    std::int32_t m_projectType = 0;       ///< 0 interior, 1 outdoor area, 2 roads
    std::string m_baseFont = "Arial";     ///< face of the main font (BaseFont)
    std::int32_t m_fontHeight = 9;        ///< point size of the main font (HeightFont)
    std::int32_t m_reserved = 0;          ///< stored twice in the file, used nowhere
    std::int32_t m_leftMargin = 15;       ///< print margins, millimetres
    std::int32_t m_topMargin = 15;
    std::int32_t m_rightMargin = 5;
    std::int32_t m_bottomMargin = 5;
    std::string m_projectCompany;         ///< empty: the user's company is shown
    std::int32_t m_dxfScale = 50;
    std::string m_projectDesigner;        ///< empty: the user's designer is shown

    // Print flags: 1 = the section is printed.
    std::int32_t m_printHeadpage = 1;
    std::int32_t m_printHeadprogram = 1;
    std::int32_t m_printRoomdim = 1;
    std::int32_t m_printRoomro = 1;
    std::int32_t m_printRoomext = 0;
    std::int32_t m_printRoomz = 1;
    std::int32_t m_printWork = 1;
    std::int32_t m_printLamps = 1;
    std::int32_t m_printLuminaires = 1;
    std::int32_t m_printX = 1;
    std::int32_t m_printStream = 0;
    std::int32_t m_printStreamTotal = 0;
    /** 1: the limiting-luminance check writes its lines into the log; 0 after every load. */
    std::int32_t m_limitLuminanceLog = 0;
    std::int32_t m_printPoint = 1;
    std::int32_t m_printPointTabs = 1;
    std::int32_t m_printGraph = 1;
    std::int32_t m_printColor = 1;
    std::int32_t m_printContent = 1;

    std::string m_date;                   ///< "Datum" of the project dialog
    std::int32_t m_testPoints = 1;        ///< mark points inside obstacles before a calculation
    std::int32_t m_immediateCalc = 0;     ///< recalculate at once after a drag
    std::uint32_t m_workTime = 0;         ///< seconds of work read from the last loaded file
    std::string m_dwgFile;                ///< "Dwg soubor" of the project dialog
    std::string m_building;               ///< "Stavba" of the project dialog
    std::int32_t m_cadBlockMode = 0;      ///< 1: CAD drawings insert every luminaire as the common block file
    std::string m_remark;                 ///< project remark (Remark)
};

} // namespace kzev
