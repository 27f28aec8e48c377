// The automation connection and the point values passed to the CAD program.

#include "cad/CadConnection.h"

#include "model/CKzevDoc.h"
#include "platform/CadVariant.h"
#include "support/FakeServices.h"
#include "support/RecordingCad.h"

#include <gtest/gtest.h>

namespace kzev {
namespace {

struct ConnectCase {
    const char* name;
    bool registered;
    bool running;
    bool create;
    bool noDocument;
    int status;
    const char* message; ///< empty: none
};

class CadConnectionTable : public ::testing::TestWithParam<ConnectCase> {
protected:
    void SetUp() override { acadProgramId() = "AutoCAD.Application"; }
    test::FakeServices services;
    test::RecordingCad cad;
};

TEST_P(CadConnectionTable, ReachesTheActiveDrawingOrSaysWhyNot)
{
    const ConnectCase& c = GetParam();
    if (c.registered)
        cad.registerProgram("AutoCAD.Application", c.running);
    cad.noDocument = c.noDocument;
    {
        CadConnection connection(cad, { CadObjectModel::AcadType, c.create, true });
        EXPECT_EQ(connection.status(), c.status);
        EXPECT_EQ(connection.document() != nullptr, c.status == 1);
        EXPECT_EQ(services.waitCursor.depth, 1);
    }
    EXPECT_EQ(services.waitCursor.depth, 0);
    if (std::string(c.message).empty()) {
        EXPECT_TRUE(services.messageBox.shown.empty());
    } else {
        ASSERT_EQ(services.messageBox.shown.size(), 1u);
        EXPECT_EQ(services.messageBox.shown[0].text, c.message);
    }
}

INSTANTIATE_TEST_SUITE_P(Sequence, CadConnectionTable,
    ::testing::Values(
        ConnectCase { "Connected", true, true, false, false, 1, "" },
        ConnectCase { "NotRegistered", false, false, false, false, 0,
            "Grafický editor není na Vašem počítači registrován !" },
        ConnectCase { "NotRunning", true, false, false, false, 0, "Grafický editor není spuštěn\nspusťte jej nejdříve !" },
        ConnectCase { "StartedWhenAsked", true, false, true, false, 1, "" },
        ConnectCase { "NoDrawing", true, true, false, true, -1, "Není otevřen potřebný dokument,\notevřete si ho!" }),
    [](const auto& info) { return info.param.name; });

TEST(CadConnection, CallsInOrderWithTheModelsProgramId)
{
    test::FakeServices services;
    test::RecordingCad cad;
    icadProgramId() = "Zwcad.Application";
    cad.registerProgram("Zwcad.Application", true);

    CadConnection connection(cad, { CadObjectModel::IcadType, true, true });

    EXPECT_EQ(cad.calls,
        (std::vector<std::string> { "isRegistered Zwcad.Application", "activeObject Zwcad.Application",
            "application.visible= 1", "application.activeDocument" }));
    icadProgramId() = "Icad.Application";
}

TEST(CadConnection, UnregisteredProgramCanEndSilently)
{
    test::FakeServices services;
    test::RecordingCad cad;
    CadConnection connection(cad, { CadObjectModel::AcadType, false, false });
    EXPECT_EQ(connection.status(), 0);
    EXPECT_TRUE(services.messageBox.shown.empty());
}

TEST(CadVariant, PointArrayHoldsThreeDoublesFromIndexZero)
{
    CadVariant point;
    ASSERT_EQ(CreatePointSafeArray(point, 1.5, -2.0, 0.0), kCadOk);
    EXPECT_EQ(point.type, 0x2005);
    EXPECT_EQ(point.lowerBound, 0);
    EXPECT_EQ(point.values, (std::vector<double> { 1.5, -2.0, 0.0 }));

    double read[3] = {};
    ASSERT_EQ(VariantToPoint3d(read, point), kCadOk);
    EXPECT_EQ(read[0], 1.5);
    EXPECT_EQ(read[1], -2.0);
}

TEST(CadVariant, WrongShapesLeaveTheOutputUntouched)
{
    CadVariant twoDimensional = CadVariant::doubles({ 1, 2, 3 });
    twoDimensional.dimensions = 2;
    CadVariant notArray = CadVariant::fromLong(3);
    for (const CadVariant& value :
        { CadVariant::doubles({ 1, 2 }), CadVariant::doubles({ 1, 2, 3, 4 }), twoDimensional, notArray }) {
        double out[3] = { 7, 7, 7 };
        EXPECT_EQ(VariantToPoint3d(out, value), kCadInvalidArg);
        EXPECT_EQ(out[0], 7);
    }
    double vertex[2] = { 7, 7 };
    EXPECT_EQ(VariantToPoint2d(vertex, CadVariant::doubles({ 1, 2, 3 })), kCadInvalidArg);
    EXPECT_EQ(VariantToPoint2d(vertex, CadVariant::doubles({ 2.005, 3 })), kCadOk);
    EXPECT_EQ(vertex[0], 2.005);
}

TEST(CadVariant, ArrayFromIndexOneFailsOnIndexZero)
{
    CadVariant shifted = CadVariant::doubles({ 1, 2, 3 });
    shifted.lowerBound = 1;
    double out[3] = { 7, 7, 7 };
    EXPECT_EQ(VariantToPoint3d(out, shifted), kCadBadIndex);
    EXPECT_EQ(out[0], 7);
}

} // namespace
} // namespace kzev
