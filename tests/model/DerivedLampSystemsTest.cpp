#include "model/DerivedLampSystems.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using kzev::BindingType;

// The document's luminaire list as the mirrors see it; records every read.
class FakeLuminaires final : public kzev::LuminaireSymmetrySource {
public:
    explicit FakeLuminaires(std::vector<std::int32_t> codes = {})
        : m_codes(std::move(codes))
    {
    }
    std::size_t luminaireCount() const override { return m_codes.size(); }
    std::int32_t symmetryCode(std::size_t index) const override
    {
        reads.push_back(index);
        return m_codes.at(index);
    }
    mutable std::vector<std::size_t> reads;

private:
    std::vector<std::int32_t> m_codes;
};

constexpr auto kMirrorX = static_cast<std::int32_t>(BindingType::mirrorX);
constexpr auto kMirrorY = static_cast<std::int32_t>(BindingType::mirrorY);
constexpr auto kDiagonal = static_cast<std::int32_t>(BindingType::diagonal);
constexpr auto kShift = static_cast<std::int32_t>(BindingType::shift);
constexpr auto kKeep = static_cast<std::int32_t>(BindingType::keepStored);

// Angles come back through DirectionToAngles, whose pi of 3.141592 shifts a
// right angle by about 2e-5 degrees.
constexpr double kAngleTolerance = 1e-3;

CLampSystem systemWithOneLuminaire(const CVector& position)
{
    CLampSystem system;
    system.m_origin = position;
    system.m_pitch1 = { 2.0, 2.0, 0.0 };
    system.m_pitch2 = { -1.0, 3.0, 0.5 };
    COneLampSystem luminaire;
    luminaire.m_position = position;
    luminaire.m_modeFactors = { 1.0, 0.25 };
    luminaire.m_switchedOff = 1;
    system.m_luminaires.push_back(luminaire);
    return system;
}

void orient(CLampSystem& system, double tilt, double turn, double rotation)
{
    AxisAtAngleAroundHeading(tilt, turn, rotation, system.m_opticalAxis, system.m_c0Axis);
    for (auto& luminaire : system.m_luminaires) {
        luminaire.m_opticalAxis = system.m_opticalAxis;
        luminaire.m_c0Axis = system.m_c0Axis;
    }
}

CLampSystem derive(std::int32_t type, const CLampSystem& source, const CVector& v,
    const kzev::LuminaireSymmetrySource& luminaires)
{
    switch (type) {
    case kMirrorX:
        return kzev::deriveLampSystemMirrorX(source, v, type, luminaires);
    case kMirrorY:
        return kzev::deriveLampSystemMirrorY(source, v, type, luminaires);
    case kDiagonal:
        return kzev::deriveLampSystemMirrorDiagonal(source, v, type, luminaires);
    default:
        return kzev::deriveLampSystemShift(source, v, type);
    }
}

struct PositionCase {
    const char* name;
    std::int32_t type;
    CVector v;
    CVector position;
    CVector expectedPosition;
    CVector expectedPitch1;
};

class DerivedPositionTest : public ::testing::TestWithParam<PositionCase> { };

TEST_P(DerivedPositionTest, MovesOriginLuminairesAndPitches)
{
    const auto& c = GetParam();
    const CLampSystem source = systemWithOneLuminaire(c.position);
    const FakeLuminaires luminaires;

    const CLampSystem derived = derive(c.type, source, c.v, luminaires);

    EXPECT_EQ(derived.m_origin, c.expectedPosition);
    EXPECT_EQ(derived.m_luminaires.at(0).m_position, c.expectedPosition);
    EXPECT_EQ(derived.m_pitch1, c.expectedPitch1);
    EXPECT_EQ(derived.m_bindingType, c.type);
    EXPECT_EQ(derived.m_bindingVector, c.v);
    // Everything else travels with the copy.
    EXPECT_EQ(derived.m_luminaires[0].m_modeFactors, source.m_luminaires[0].m_modeFactors);
    EXPECT_EQ(derived.m_luminaires[0].m_switchedOff, 1);
    EXPECT_EQ(derived.m_name, source.m_name);
    EXPECT_EQ(derived.m_sourceSystem, -1);
}

INSTANTIATE_TEST_SUITE_P(Cases, DerivedPositionTest,
    ::testing::Values(PositionCase { "mirrorX", kMirrorX, { 0, 3, 0 }, { 2, 1, 2.8 }, { 2, 5, 2.8 }, { 2, -2, 0 } },
        PositionCase { "mirrorY", kMirrorY, { 4, 0, 0 }, { 1, 2, 2.8 }, { 7, 2, 2.8 }, { -2, 2, 0 } },
        PositionCase { "diagonal", kDiagonal, { 10, 6, 0 }, { 1, 2, 2.8 }, { 9, 4, 2.8 }, { -2, -2, 0 } },
        PositionCase { "shift", kShift, { 1, 2, 0.5 }, { 1, 2, 2.5 }, { 2, 4, 3.0 }, { 2, 2, 0 } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DerivedLampSystemsTest, DiagonalNegatesBothPitchesInXAndY)
{
    const CLampSystem derived
        = kzev::deriveLampSystemMirrorDiagonal(systemWithOneLuminaire({ 1, 2, 2.8 }), { 10, 6, 0 }, kDiagonal, FakeLuminaires());
    EXPECT_EQ(derived.m_pitch2, CVector(1, -3, 0.5));
}

TEST(DerivedLampSystemsTest, ShiftAndShiftBackRestorePositionsAndLeaveAxes)
{
    CLampSystem source = systemWithOneLuminaire({ 1, 2, 2.5 });
    orient(source, 30, 45, 10);
    const CVector v { 1, 2, 0.5 };

    const CLampSystem there = kzev::deriveLampSystemShift(source, v, kShift);
    const CLampSystem back = kzev::deriveLampSystemShiftBack(there, v, kKeep);

    EXPECT_EQ(back.m_origin, source.m_origin);
    EXPECT_EQ(back.m_luminaires[0].m_position, source.m_luminaires[0].m_position);
    EXPECT_EQ(there.m_pitch1, source.m_pitch1);
    EXPECT_EQ(there.m_opticalAxis, source.m_opticalAxis);
    EXPECT_EQ(there.m_luminaires[0].m_c0Axis, source.m_luminaires[0].m_c0Axis);
}

TEST(DerivedLampSystemsTest, TypeMinusOneUsesTheStoredBinding)
{
    CLampSystem bound = systemWithOneLuminaire({ 2, 1, 2.8 });
    bound.m_bindingType = kMirrorX;
    bound.m_bindingVector = { 0, 3, 0 };

    const CLampSystem derived = kzev::deriveLampSystemMirrorX(bound, { 99, 99, 99 }, kKeep, FakeLuminaires());

    EXPECT_EQ(derived.m_bindingType, kMirrorX);
    EXPECT_EQ(derived.m_bindingVector, CVector(0, 3, 0));
    EXPECT_EQ(derived.m_origin, CVector(2, 5, 2.8));
}

struct OrientationCase {
    const char* name;
    std::int32_t type;
    double tilt, turn, rotation;
    std::int32_t symmetry;
    double expectedTurn, expectedRotation;
};

class DerivedOrientationTest : public ::testing::TestWithParam<OrientationCase> { };

TEST_P(DerivedOrientationTest, TurnsSystemAndLuminaires)
{
    const auto& c = GetParam();
    CLampSystem source = systemWithOneLuminaire({ 1, 1, 2.8 });
    orient(source, c.tilt, c.turn, c.rotation);
    source.m_luminaireIndex = 0;
    const FakeLuminaires luminaires({ c.symmetry });

    const CLampSystem derived = derive(c.type, source, { 5, 5, 0 }, luminaires);

    EXPECT_NEAR(derived.m_tilt, c.tilt, kAngleTolerance);
    EXPECT_NEAR(derived.m_turn, c.expectedTurn, kAngleTolerance);
    EXPECT_NEAR(derived.m_rotation, c.expectedRotation, kAngleTolerance);
    double tilt = 0, turn = 0, rotation = 0;
    DirectionToAngles(derived.m_luminaires[0].m_opticalAxis, derived.m_luminaires[0].m_c0Axis, tilt, turn, rotation);
    EXPECT_NEAR(tilt, c.tilt, kAngleTolerance);
    EXPECT_NEAR(turn, c.expectedTurn, kAngleTolerance);
    EXPECT_NEAR(rotation, c.expectedRotation, kAngleTolerance);
}

INSTANTIATE_TEST_SUITE_P(Cases, DerivedOrientationTest,
    ::testing::Values(OrientationCase { "downMirrorX", kMirrorX, 0, 0, 90, 0, 0, 270 },
        OrientationCase { "downMirrorY", kMirrorY, 0, 0, 90, 0, 0, 90 },
        OrientationCase { "downDiagonal", kDiagonal, 0, 0, 90, 0, 0, 270 },
        OrientationCase { "downRotation0MirrorX", kMirrorX, 0, 0, 0, 0, 0, 0 },
        OrientationCase { "tiltedMirrorX", kMirrorX, 30, 0, 90, 0, 0, 90 },
        OrientationCase { "tiltedSymmetricMirrorX", kMirrorX, 30, 0, 90, 3, 0, 270 },
        OrientationCase { "tiltedTurnedMirrorX", kMirrorX, 30, 45, 10, 0, 315, 170 },
        OrientationCase { "tiltedMirrorY", kMirrorY, 30, 45, 10, 0, 135, 170 },
        OrientationCase { "tiltedSymmetricMirrorY", kMirrorY, 30, 45, 10, 3, 135, 350 },
        OrientationCase { "tiltedDiagonal", kDiagonal, 30, 45, 10, 0, 225, 10 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DerivedLampSystemsTest, UnresolvedLuminaireIsNeverLookedUp)
{
    for (std::int32_t index : { -1, 2 }) {
        SCOPED_TRACE(index);
        CLampSystem source = systemWithOneLuminaire({ 1, 1, 2.8 });
        orient(source, 30, 0, 90);
        source.m_luminaireIndex = index;
        const FakeLuminaires luminaires({ 3, 3 });

        const CLampSystem derived = kzev::deriveLampSystemMirrorX(source, { 0, 3, 0 }, kMirrorX, luminaires);

        EXPECT_TRUE(luminaires.reads.empty());
        // Without a known symmetry the general mirror applies.
        EXPECT_NEAR(derived.m_rotation, 90.0, kAngleTolerance);
    }
}

struct FloorCase {
    const char* name;
    CVector position;
    CVector axis;
    CVector expected;
};

class IntersectLineWithFloorTest : public ::testing::TestWithParam<FloorCase> { };

TEST_P(IntersectLineWithFloorTest, GivesTheAimingPoint)
{
    const auto& c = GetParam();
    COneLampSystem luminaire;
    luminaire.m_position = c.position;
    luminaire.m_opticalAxis = c.axis;

    const CVector point = kzev::intersectLineWithFloor(luminaire);

    EXPECT_DOUBLE_EQ(point.x, c.expected.x);
    EXPECT_DOUBLE_EQ(point.y, c.expected.y);
    EXPECT_DOUBLE_EQ(point.z, c.expected.z);
}

INSTANTIATE_TEST_SUITE_P(Cases, IntersectLineWithFloorTest,
    ::testing::Values(FloorCase { "straightDown", { 2, 3, 2.5 }, { 0, 0, -1 }, { 2, 3, 0 } },
        FloorCase { "aimedSideways", { 2, 3, 2.5 }, { 1, 0, -1 }, { 4.5, 3, 0 } },
        FloorCase { "unnormalisedAxis", { 0, 0, 3 }, { 0, 2, -4 }, { 0, 1.5, 0 } },
        FloorCase { "horizontalGivesAxis", { 2, 3, 2.5 }, { 1, 0, 0.0005 }, { 1, 0, 0.0005 } }),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
