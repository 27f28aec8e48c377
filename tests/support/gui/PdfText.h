#pragma once

#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <filesystem>
#include <string>

namespace kzev::test {

/** A text with every run of white space made one space, so that columns compare as words. */
inline QString flatText(QString text)
{
    return text.replace(QRegularExpression(QStringLiteral("\\s+")), QStringLiteral(" "));
}

/** The text of a PDF (of one page when given) as pdftotext lays it out, flattened; empty when unread. */
inline QString pdfText(const std::filesystem::path& pdf, int page = 0)
{
    QStringList arguments { QStringLiteral("-layout") };
    if (page > 0)
        arguments << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l") << QString::number(page);
    arguments << QString::fromStdString(pdf.string()) << QStringLiteral("-");
    QProcess process;
    process.start(QStringLiteral("pdftotext"), arguments);
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    return flatText(QString::fromUtf8(process.readAllStandardOutput()));
}

/** Whether the flattened text holds the words, whatever white space stands between them. */
inline bool holdsWords(const QString& text, const std::string& wanted)
{
    return text.contains(flatText(QString::fromStdString(wanted)));
}

} // namespace kzev::test
