#pragma once

#include "view/PageComposer.h"

#include <functional>
#include <string>
#include <vector>

class CKzevView;

namespace kzev {

/**
 * The printed report of the project: title page, contents, then per room its
 * framed description and the summary line of every area, with the page header
 * and footer. Each call walks the whole report and draws only the requested
 * page, so the counting pass and every page agree on where pages begin.
 */
class SheetComposer final : public IPageComposer {
public:
    /** The rooms in the order the project tree lists them. */
    using RoomOrder = std::function<std::vector<int>()>;

    SheetComposer(CKzevView& view, RoomOrder rooms);

    void prepareRoom(int roomIndex) override;
    int ComposePage(IDrawSurface& surface, PrintInfo& info, int counting) override;

    /** The contents as the last counting pass measured them: titles and their first pages. */
    [[nodiscard]] const std::vector<std::string>& contentsTitles() const { return m_titles; }
    [[nodiscard]] const std::vector<int>& contentsPages() const { return m_pages; }

private:
    int composeOnce(IDrawSurface& surface, const PrintInfo& info, bool counting);

    /** The pages a room of the report takes, as the last counting pass laid them out. */
    struct RoomPages {
        int room = -1;
        int first = 0;
        int last = 0;
    };

    CKzevView& m_view;
    RoomOrder m_rooms;
    std::vector<std::string> m_titles;
    std::vector<int> m_pages;
    /**
     * What the counting pass learnt of where things end, so that printing a
     * page lays out only the part of the report it belongs to: the last page
     * before the first room and the pages of every room.
     */
    int m_frontLast = 0;
    std::vector<RoomPages> m_roomPages;
};

} // namespace kzev
