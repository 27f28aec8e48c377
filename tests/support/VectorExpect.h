#pragma once

#include "model/CVector.h"

#include <gtest/gtest.h>

#include <string>

namespace kzev::test {

/** Checks each component of a vector; the tolerance is the figures' own rounding. */
inline void expectVectorNear(const CVector& actual, const CVector& expected, double tolerance = 1e-9,
    const std::string& what = {})
{
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what << " x";
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what << " y";
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what << " z";
}

} // namespace kzev::test
