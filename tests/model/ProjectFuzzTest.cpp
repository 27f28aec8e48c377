// Project files the fuzz target of the document's open path found.
#include "DocumentTestSupport.h"
#include "model/UserSettings.h"
#include "support/FuzzFixtures.h"

#include <gtest/gtest.h>

#include <climits>

using namespace kzev;
using namespace kzev::test;

class ProjectFuzzTest : public DocumentTest { };

TEST_F(ProjectFuzzTest, AHugeFontHeightOpensWithTheLargestFont)
{
    CKzevDoc doc;
    ASSERT_TRUE(doc.OnOpenDocument(fuzzFixture("project-font-height.kzv")));
    EXPECT_EQ(doc.m_logFont, LogFont::pointFont(16380, doc.m_baseFont));

    for (std::int32_t height : { INT_MAX, INT_MIN, 12 }) {
        SCOPED_TRACE(height);
        CKzevDoc writer;
        writer.m_fontHeight = height;
        ASSERT_TRUE(writer.OnSaveDocument(file("font.kzv")));
        store().setBinary(kMainSection, "mainLogFont", {});   // no font of the user's own
        ASSERT_TRUE(doc.OnOpenDocument(file("font.kzv")));
        const int tenths = height == 12 ? 120 : height > 0 ? 16380 : -16380;
        EXPECT_EQ(doc.m_logFont, LogFont::pointFont(tenths, doc.m_baseFont));
    }
}
