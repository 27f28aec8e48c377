#pragma once

#include "platform/Archive.h"

namespace kzev {

/** Reads and drops count 4-byte values of a record this program does not use. */
inline void skipLongs(Archive& ar, int count)
{
    for (int i = 0; i < count; ++i)
        (void)ar.readLong();
}

/** Reads and drops count doubles. */
inline void skipDoubles(Archive& ar, int count)
{
    for (int i = 0; i < count; ++i)
        (void)ar.readDouble();
}

} // namespace kzev
