#pragma once

#include "platform/DrawSurface.h"
#include "view/PlanZoom.h"

#include <functional>

namespace kzev {

/** What a print knows of itself: its pages, the page being printed and the printer's page. */
struct PrintInfo {
    int minPage = 1;
    int maxPage = 0;
    int currentPage = 1;
    bool preview = false;
    /** The printable area of the page in device pixels. */
    ScrollSize pagePixels;
    /** Device pixels per millimetre of the printer. */
    double pixelsPerMm = 1.0;
};

/** Told after each printed page: pages printed so far and pages to print; false stops the print. */
using PageProgress = std::function<bool(int printed, int total)>;

/**
 * The print composer as the view's printing hooks call it: it prepares each
 * room of the project tree, counts the pages and composes one page at a time
 * on the printer's drawing surface.
 */
class IPageComposer {
public:
    virtual ~IPageComposer() = default;
    /** Prepares the room of the index, which the view has made current, before the pages are counted. */
    virtual void prepareRoom(int roomIndex) = 0;
    /**
     * Composes page info.currentPage on the surface; with counting 1 runs
     * through all pages without output and returns their count.
     */
    virtual int ComposePage(IDrawSurface& surface, PrintInfo& info, int counting) = 0;
};

} // namespace kzev
