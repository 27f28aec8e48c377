#pragma once

// Four doubles side by side for the inner loops of the calculation (GCC and
// Clang vector extensions): built for AVX2 where the processor has it and as
// two SSE2 halves elsewhere, with the same lane-by-lane arithmetic, so the
// results do not depend on the machine. The helpers are always inlined, so
// the ABI of passing these vectors by value never shows.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wpsabi"

#include <cmath>
#include <cstring>

namespace kzev::simd {

using Lanes = double __attribute__((vector_size(32)));
inline constexpr int kLanes = 4;

[[gnu::always_inline]] inline Lanes load(const double* from)
{
    Lanes v;
    std::memcpy(&v, from, sizeof v);
    return v;
}

[[gnu::always_inline]] inline void store(double* to, Lanes v)
{
    std::memcpy(to, &v, sizeof v);
}

[[gnu::always_inline]] inline Lanes splat(double x)
{
    return Lanes { x, x, x, x };
}

// Lane by lane; the translation units that use it are built without errno for sqrt, so it
// becomes one vector square root.
[[gnu::always_inline]] inline Lanes sqrt(Lanes x)
{
    Lanes r;
    for (int i = 0; i < kLanes; ++i)
        r[i] = std::sqrt(x[i]);
    return r;
}

[[gnu::always_inline]] inline Lanes abs(Lanes x)
{
    return x < 0.0 ? -x : x;
}

/** The lanes added in order, ((0 + 1) + 2) + 3. */
[[gnu::always_inline]] inline double sum(Lanes x)
{
    return ((x[0] + x[1]) + x[2]) + x[3];
}

} // namespace kzev::simd

#pragma GCC diagnostic pop
