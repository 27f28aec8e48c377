#include "platform/qt/TextFit.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

TEST(TextFit, TextStaysWholeInItsBoxAtAnyFontSize)
{
    const QString name = QStringLiteral("HEMSOR Kzev 6.3");
    const QString purpose = QStringLiteral("Výpočet umělého osvětlení dle ČSN EN 12464-1");
    struct Case {
        const char* name;
        QString text;
        QRect box;
        int flags;
    };
    const Case cases[] = {
        { "one line", name, QRect(24, 70, 300, 50), Qt::AlignLeft | Qt::AlignVCenter },
        { "wrapped", purpose, QRect(24, 104, 220, 60), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap },
    };
    for (const Case& c : cases) {
        for (const int points : { 9, 24, 48, 96 }) {
            QFont font;
            font.setPointSize(points);
            font.setBold(true);
            const QFont fitted = kzev::fittedFont(font, c.text, c.box, c.flags);
            const QRect needed = QFontMetrics(fitted).boundingRect(c.box, c.flags, c.text);
            EXPECT_LE(needed.width(), c.box.width()) << c.name << " " << points;
            EXPECT_LE(needed.height(), c.box.height()) << c.name << " " << points;
            EXPECT_LE(fitted.pointSizeF(), points) << c.name;
        }
    }
    // A font that fits is left as it is.
    QFont small;
    small.setPointSize(8);
    EXPECT_EQ(kzev::fittedFont(small, name, QRect(0, 0, 300, 50), Qt::AlignLeft).pointSizeF(), 8.0);
}
