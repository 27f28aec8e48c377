#pragma once

#include "calc/LayoutCandidate.h"

#include <cstddef>
#include <string>

class CKzevDoc;

namespace kzev {

/** The table the lamp-count design fills: the few grid operations it uses. */
class ILampCountTable {
public:
    virtual ~ILampCountTable() = default;
    virtual void setColumnCount(int count) = 0;
    virtual void setRowCount(int count) = 0;
    virtual void setFixedRowCount(int count) = 0;
    /** Appends a row at the end. */
    virtual void appendRow() = 0;
    virtual void setItemText(int row, int column, const std::string& text) = 0;
    /** Sizes every column to its widest text. */
    virtual void autoSizeColumns() = 0;
};

/** Columns of the design table. */
inline constexpr int kLampCountColumns = 6;

/**
 * The lamp-count design table: for the number of luminaires of the room's
 * first lamp system, every grid N1 × N2 that holds about that many (N1 from
 * 1 to the whole part of √N + 0.9, N2 the whole part of N / N1 + 0.9), each
 * with the C0 axis along x (angle 0) and along y (angle 90), the luminaires
 * in the middles of equal cells of the room; for each the average horizontal
 * illuminance of the first task area and its uniformity (direct light of the
 * room's first mode), one table row per variant. The project is as before
 * afterwards, the task areas' results included. A variant without light shows
 * "-" for its uniformity. The stop command ends it between variants.
 */
LayoutOutcome designLampCount(CKzevDoc& document, std::size_t roomIndex, ILampCountTable& table,
    const LayoutCommandHooks& hooks = {});

} // namespace kzev
