#pragma once

#include "platform/CData.h"

#include <optional>

/**
 * A maker's workbook kept open by a caller that loads several records from
 * it (a project's luminaires, a calculation's lamp systems): it is opened
 * once, not once for every record, and one that cannot be opened is not
 * tried again for the next record. Another maker's number closes it and
 * opens that maker's.
 */
class MakerWorkbook {
public:
    /** The workbook of the maker, opened unless it was opened already; null when it cannot be opened. */
    [[nodiscard]] CData* open(long databaseNumber);
    /** The data library's object, for the message of a failed open. */
    [[nodiscard]] const CData& data() const { return m_data; }

private:
    CData m_data;
    std::optional<long> m_number; ///< the maker whose workbook was opened last, or refused
};
