#include "platform/qt/FileFilter.h"

#include <QStringList>

namespace kzev {

QString qtFileFilter(const std::string& tableFilter)
{
    QString text = QString::fromStdString(tableFilter);
    text.remove(QLatin1Char('\n'));
    const QStringList parts = text.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        QString patterns = parts[i + 1].trimmed();
        if (description.isEmpty() && patterns.isEmpty())
            break;
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the parentheses, so they must be there.
        if (description.contains(QLatin1Char('(')))
            entries << description;
        else
            entries << QStringLiteral("%1 (%2)").arg(description, patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

} // namespace kzev
