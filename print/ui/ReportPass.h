#pragma once

#include "platform/DrawSurface.h"
#include "print/PageFlow.h"

#include <string>
#include <vector>

class CKzevDoc;
class CKzevView;
class CLuminaire;
class CRoom;
class CVector;
class QImage;

namespace kzev {

class QtPainterSurface;

/** The print fonts by number (CKzevView::printFont). */
inline constexpr int kReportNormal = 1;
inline constexpr int kReportBold = 2;
inline constexpr int kReportHeading = 5;
inline constexpr int kReportTitle = 6;
inline constexpr const char* kReportProbe = "Ájg12345";

/**
 * One walk over the printed report in tenths of a millimetre, y negative
 * downwards: the text routines measure always and draw only while the flow is
 * on the requested page, so every pass lays the pages out alike. Collects the
 * contents (titles and first pages) as it passes them.
 */
class ReportPass {
public:
    ReportPass(IDrawSurface& surface, CKzevView& view, CKzevDoc& doc, PageFlow& flow, double pixelsPerUnit);

    [[nodiscard]] IDrawSurface& surface() { return m_surface; }
    [[nodiscard]] CKzevView& view() { return m_view; }
    [[nodiscard]] const CKzevDoc& doc() const { return m_doc; }
    /** The document whose rooms and areas lend the plans their view settings. */
    [[nodiscard]] CKzevDoc& document() { return m_doc; }
    [[nodiscard]] PageFlow& flow() { return m_flow; }
    [[nodiscard]] const PageFrame& frame() const { return m_flow.frame(); }
    [[nodiscard]] bool drawing() const { return m_flow.drawing(); }
    [[nodiscard]] double pixelsPerUnit() const { return m_pixelsPerUnit; }

    void font(int number);
    /** Writes the text with its top at y while drawing; returns its height (the probe's for an empty text). */
    int text(int x, int y, const std::string& value, unsigned align);
    /** Returns the width of the text in the current font. */
    [[nodiscard]] int width(const std::string& value);
    /** A heading in the heading font from the left edge, wrapped at the right one; y moves down by its lines. */
    void heading(const std::string& value);
    /**
     * A heading followed by gap lines, moved to the next page with its first
     * block when that block of the given lines would not start on this page.
     */
    void headingWithBlock(const std::string& value, int gapLines, int blockLines);
    /** A block row of label, value and unit; y moves down by the row's height. */
    void row(const std::string& label, const std::string& value, const std::string& unit);
    /** A block row of three values at the value column and the two tab stops. */
    void row3(const std::string& label, const std::string& a, const std::string& b, const std::string& c,
        const std::string& unit);
    /** A row of a vector's three lengths. */
    void lengthRow(const std::string& label, const CVector& v);
    /** A heading row in the bold font, underlined by a rule. */
    void headingRow(const std::string& label, const std::string& value, const std::string& unit);
    /** A rule under the rows so far; the next row starts clear of it. */
    void ruleBetween();
    /** Writes the text word-wrapped between the frame's edges; y moves down by its lines. */
    void paragraph(const std::string& value);
    /**
     * The text broken between words into lines no wider than the span, in the
     * current font; a word wider than the span is broken between its characters.
     */
    [[nodiscard]] std::vector<std::string> wrapped(const std::string& value, int span);
    /** The text, or as much of it as fits the span followed by an ellipsis. */
    [[nodiscard]] std::string shortened(const std::string& value, int span);
    /** Closes the block opened at top: its frame and the column rules; y moves down 2 lines. */
    void closeBlock(int top);
    /** Starts a new page below the header when fewer lines are left; true when it did. */
    bool ensureRoom(int lines) { return m_flow.ensureRoom(lines); }

    [[nodiscard]] std::string length(double metres) const;
    [[nodiscard]] std::string lengthUnit() const;

    /** Draws the picture fitted into the box whose top-left corner is (x, y), while drawing. */
    void picture(const QImage& image, int x, int y, int boxWidth, int boxHeight);

    /** Appends a contents entry beginning on the current page. */
    void addContents(const std::string& title);
    [[nodiscard]] const std::vector<std::string>& titles() const { return m_titles; }
    [[nodiscard]] const std::vector<int>& pages() const { return m_pages; }

private:
    /** The bytes of the longest run of whole characters from the offset no wider than the span. */
    [[nodiscard]] std::size_t fittingBytes(const std::string& value, std::size_t from, int span);
    /** Writes a row's label right-aligned in its column, over more lines when wider; returns its height. */
    int label(int y, const std::string& value);

    IDrawSurface& m_surface;
    QtPainterSurface* m_qt;
    CKzevView& m_view;
    CKzevDoc& m_doc;
    PageFlow& m_flow;
    double m_pixelsPerUnit;
    std::vector<std::string> m_titles;
    std::vector<int> m_pages;
};

/** Returns "number name", or the name alone when the room has no number. */
[[nodiscard]] std::string reportRoomLabel(const CRoom& room);

/** The room's framed description: dimensions, reflectances, maintenance, areas, luminaires, obstacles. */
void printRoomBlocks(ReportPass& pass, const CRoom& room);
/** The result tables of the room's areas: summary rows and point grids. */
void printResultTables(ReportPass& pass, const CRoom& room);
/** The legend of the luminaires the project uses, with their figures and pictures. */
void printLuminaireLegend(ReportPass& pass);
/** The plans of every area of every mode and of the room, each on its own page. */
void printRoomPlans(ReportPass& pass, int roomIndex);
/** Draws the luminaire's polar intensity diagram into the rectangle (y negative downwards). */
void drawPolarDiagram(IDrawSurface& surface, const CLuminaire& luminaire, int left, int top, int right, int bottom,
    bool colour);

} // namespace kzev
