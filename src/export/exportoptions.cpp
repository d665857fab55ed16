#include "exportoptions.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

namespace ExportFiles {

bool FormatOf(const QString &path, ExportFormat &format)
{
    static const struct
    {
        QString suffix;
        ExportFormat format;
    } suffixes[] = {{u".pdf"_s, ExportFormat::Pdf},  {u".png"_s, ExportFormat::Png},
                    {u".svg"_s, ExportFormat::Svg},  {u".html"_s, ExportFormat::Html},
                    {u".htm"_s, ExportFormat::Html}, {u".csv"_s, ExportFormat::Csv},
                    {u".xlsx"_s, ExportFormat::Xlsx}};
    for (const auto &entry : suffixes) {
        if (path.endsWith(entry.suffix, Qt::CaseInsensitive) && path.size() > entry.suffix.size()) {
            format = entry.format;
            return true;
        }
    }
    return false;
}

bool HasPagePattern(const QString &path)
{
    return path.count(u"%d"_s) == 1;
}

QString PagePath(const QString &pattern, int page)
{
    QString path = pattern;
    return path.replace(u"%d"_s, QString::number(page));
}

bool IsPerPage(ExportFormat format)
{
    return format == ExportFormat::Png || format == ExportFormat::Svg;
}

QString FilterOf(ExportFormat format)
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("ExportFiles", text);
    };
    switch (format) {
    case ExportFormat::Pdf:
        return tr("PDF Files (*.pdf)");
    case ExportFormat::Png:
        return tr("PNG Images (*.png)");
    case ExportFormat::Svg:
        return tr("SVG Drawings (*.svg)");
    case ExportFormat::Html:
        return tr("Web Pages (*.html *.htm)");
    case ExportFormat::Csv:
        return tr("CSV Files (*.csv)");
    case ExportFormat::Xlsx:
        return tr("Excel Workbooks (*.xlsx)");
    }
    return QString();
}

QString SuffixOf(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Pdf:
        return u"pdf"_s;
    case ExportFormat::Png:
        return u"png"_s;
    case ExportFormat::Svg:
        return u"svg"_s;
    case ExportFormat::Html:
        return u"html"_s;
    case ExportFormat::Csv:
        return u"csv"_s;
    case ExportFormat::Xlsx:
        return u"xlsx"_s;
    }
    return QString();
}

} // namespace ExportFiles
