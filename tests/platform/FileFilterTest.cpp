#include "platform/qt/FileFilter.h"

#include <gtest/gtest.h>

TEST(FileFilterTest, TableFiltersBecomeQtFilters)
{
    struct Case {
        const char* name;
        std::string table;
        QString qt;
    };
    const Case cases[] = {
        { "project files", "Soubory Kzev 6.x (*.kzv) |*.kzv||\n", QString::fromUtf8("Soubory Kzev 6.x (*.kzv)") },
        { "description without patterns", "Vstupní soubory|*.ink||", QString::fromUtf8("Vstupní soubory (*.ink)") },
        { "two entries, pattern list", "Fotometrie|*.ldt;*.ies|Vše (*.*)|*.*||",
            QString::fromUtf8("Fotometrie (*.ldt *.ies);;Vše (*.*)") },
        { "empty", "", QString() },
    };
    for (const Case& c : cases)
        EXPECT_EQ(kzev::qtFileFilter(c.table), c.qt) << c.name;
}
