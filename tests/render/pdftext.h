#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The text of a PDF as pdftotext reads it, page by page (pages split at form feeds); an empty
// list when the tool fails.
inline QStringList PdfPages(const QString &path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!tool.waitForFinished(60000) || tool.exitCode() != 0)
        return {};
    QStringList pages = QString::fromUtf8(tool.readAllStandardOutput()).split(QChar(u'\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}
