#include "propertypage.h"

#include "colorref.h"
#include "displayformat.h"
#include "itempages.h"
#include "optionlist.h"
#include "propertyid.h"
#include "rowbuilders.h"
#include "vornband.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace {

using namespace PropertyRows;

QString T(const char *text)
{
    return Tr(text);
}

// How a body band meets the pages; Report Contents bands also go in columns.
QList<CPropertyRow> PagingRows(const CVornBand &band)
{
    const CBandPaging &paging = band.GetPaging();
    QList<CPropertyRow> rows;
    if (band.GetKind() == VornKind::ReportContents) {
        rows.append(OptionRow(RowId::StartNewPage, "Start New Page", VornOptions::NewPage(),
                              paging.newPage,
                              "Before: the band starts a new page; After: the page ends after "
                              "the band and its details. Never an empty page"));
        rows.append(FlagRow(RowId::ResetPageNumber, "Reset Page Number", VornOptions::YesNo(),
                            paging.resetPageNumber,
                            "Yes: each time the band prints it starts a new page whose number "
                            "is 1, and the page count counts the pages up to the next such "
                            "band (an invoice run: Page 1 of 2 on every invoice)"));
    }
    rows.append(FlagRow(RowId::KeepWithNext, "Keep With Next", VornOptions::YesNo(),
                        paging.keepWithNext,
                        "Yes: the band moves to the next page when the band printed after it "
                        "does not fit below it, so that a group header never ends a page"));
    if (band.GetKind() == VornKind::ReportContents)
        rows.append(FlagRow(RowId::RepeatHeader, "Repeat Header", VornOptions::YesNo(),
                            paging.repeatHeader,
                            "For a group header band: Yes prints it again at the top of each "
                            "page its group goes on to"));
    rows.append(FlagRow(RowId::KeepTogether, "Keep Together", VornOptions::YesNo(),
                        paging.keepTogether,
                        "Yes: the band with its details (a group header: its whole group) "
                        "moves to a new page rather than break, when it fits on one"));
    if (band.GetKind() != VornKind::ReportContents)
        return rows;
    rows.append(GroupRow(
            RowId::ColumnLayout, "Column Layout",
            {Row(RowId::Columns, "Columns", QString::number(paging.columns),
                 PropertyRowKind::Integer,
                 "The band's rows print side by side in this many columns; the band is "
                 "designed in the first"),
             IntegerRow(RowId::ColumnGap, "Column Gap", paging.columnGap,
                        "The space between two columns in millimetres"),
             OptionRow(RowId::ColumnOrder, "Column Order", VornOptions::ColumnOrder(),
                       paging.columnOrder, "The order in which the rows fill the columns"),
             IntegerRow(RowId::ColumnWidth, "Column Width", paging.columnWidth,
                        "The width of one column in millimetres; 0 shares the page's width out"),
             IntegerRow(RowId::FirstColumnLeft, "First Column Left", paging.columnLeft,
                        "Where the first column starts, in millimetres from the page's left "
                        "edge, when the column width is set"),
             Row(RowId::SkipLabels, "Skip Labels", QString::number(paging.skipLabels),
                 PropertyRowKind::Integer,
                 "The number of column places (labels of a used sheet) left empty before the "
                 "first row")}));
    return rows;
}

QList<CPropertyRow> ReportPage(const CVornReport &report, const QString &fileName,
                               const QString &documentPath)
{
    return {
            Row(RowId::Object, "(Object)", T("Entire Report"), PropertyRowKind::ReadOnly,
                "This option shows you the type of the object (at the moment - the entire report) "
                "you've selected"),
            Row(RowId::FileName, "(File Name)", fileName.isEmpty() ? documentPath : fileName,
                PropertyRowKind::ReadOnly, "The currently selected report disk file name"),
            Row(RowId::Title, "Title", report.GetTitle(), PropertyRowKind::Text,
                "The currently selected report title that will display in the Print Preview "
                "window"),
            FlagRow(RowId::Orientation, "Page Orientation", VornOptions::Orientation(),
                    report.GetPortrait(),
                    "Page orientation: vertically (portrait) or horizontally (landscape)"),
            GroupRow(RowId::PageSize, "Page Size",
                     {IntegerRow(RowId::PageHeight, "Height", report.GetHeight(),
                                 "The report page height in millimetres"),
                      IntegerRow(RowId::PageWidth, "Width", report.GetWidth(),
                                 "The report page width in millimetres")}),
            // "FireBird" may be shown but is not offered.
            OptionRow(RowId::DatabaseType, "Database Type", VornOptions::DatabaseType(),
                      report.GetDatabaseType(),
                      "Please select \"None\" if the report will receive data from a callback "
                      "function, or select a database type from the list"),
            Row(RowId::ConnectString, "Database Connection String", report.GetConnectString(),
                PropertyRowKind::Text,
                "Database connection string: full path name for SQLite databases, "
                "login:password@alias for FireBird (the login ends at the first colon and the "
                "alias starts after the last @, so the password may hold both), the driver "
                "manager's connection string for ODBC. Right-click for Test Connection"),
            [&report] {
                CPropertyRow row
                        = Row(RowId::Locale, "Locale", report.GetLocale(), PropertyRowKind::Suggest,
                              "The separators and month names of Display Formats, such "
                              "as de_DE; empty: the C conventions (1,234.50, March)");
                row.options = LocaleChoices();
                return row;
            }(),
    };
}

QList<CPropertyRow> BandPage(const CVornReport &report, const CVornBand &band)
{
    const int kind = band.GetKind();
    // The lists leave out every band named like the shown one, the band itself included.
    const auto other = [&band](const CVornBand *b) {
        return !SameName(b->GetName(), band.GetName());
    };
    const auto otherContents = [&other](const CVornBand *b) {
        return b->GetKind() == VornKind::ReportContents && other(b);
    };

    QList<CPropertyRow> rows {
            Row(RowId::Object, "(Object)", band.BandKindName(), PropertyRowKind::ReadOnly,
                "You have selected a report band that is used to carry data on it"),
            Row(RowId::Name, "Name", band.GetName(), PropertyRowKind::Text,
                "Report band name. Used when printing the report"),
            IntegerRow(RowId::BandHeight, "Band Height",
                       kind == VornKind::PageBreak ? 0 : band.GetHeight(),
                       "Band height in millimetres"),
            SqlRow(band.GetDatabaseQuery(), "SQL query used to retrieve data from the database"),
            OptionRow(RowId::ParentDataSource, "Parent Data Source", band.GetParentDataSource(),
                      BandNames(report, other),
                      "For database reports: the band that contains an SQL query used to supply "
                      "parameters for this band's query"),
    };
    // Only Report Contents bands take group bands; another band that names one shows the
    // row all the same, so that the name can be cleared.
    const bool contents = kind == VornKind::ReportContents;
    const QStringList groupBands = BandNames(report, otherContents);
    if (contents || !band.GetHeader().isEmpty())
        rows.append(OptionRow(RowId::GroupHeader, "Group Header", band.GetHeader(), groupBands,
                              "The name of the report band which acts as a group header band "
                              "for this band"));
    if (contents || !band.GetFooter().isEmpty())
        rows.append(OptionRow(RowId::GroupFooter, "Group Footer", band.GetFooter(), groupBands,
                              "If this band acts as a group header, please specify group footer "
                              "band here"));
    if (kind == VornKind::PageHeader) {
        rows.append(FlagRow(RowId::PrintOnFirstPage, "Print On First Page",
                            VornOptions::TrueFalse(), band.GetPrintOnFirstPage(),
                            "Controls if this band will be printed on the very first report "
                            "page"));
    }
    if (kind != VornKind::PageBreak)
        rows.append(PrintWhenRow(band.GetPrintWhen()));
    if (kind == VornKind::ReportContents || kind == VornKind::ReportHeader
        || kind == VornKind::ReportFooter)
        rows.append(PagingRows(band));
    return rows;
}

} // namespace

std::optional<QList<CPropertyRow>> BuildPage(const CVornReport &report, const CVornElement *current,
                                             const QString &fileName, const QString &documentPath,
                                             int screenDpiY)
{
    if (!current)
        return ReportPage(report, fileName, documentPath);

    if (!IsBand(current->GetKind()))
        return ItemPage(report, current, screenDpiY);
    if (const auto *band = dynamic_cast<const CVornBand *>(current))
        return BandPage(report, *band);
    return std::nullopt;
}

QString MainPropertyId(const CVornElement *current)
{
    if (!current)
        return RowId::Title;
    switch (current->GetKind()) {
    case VornKind::Text:
        return RowId::Text;
    case VornKind::DbText:
        return RowId::DataField;
    default:
        return RowId::Name;
    }
}

QString SqlOneLine(const QString &sql)
{
    QString line;
    line.reserve(sql.size());
    for (qsizetype i = 0; i < sql.size(); ++i) {
        QChar c = sql.at(i);
        if (c == u'\r' && i + 1 < sql.size() && sql.at(i + 1) == u'\n')
            ++i;
        if (c == u'\t' || c == u'\r' || c == u'\n')
            c = u' ';
        // Runs of blanks are squeezed to one as they are written.
        if (c == u' ' && !line.isEmpty() && line.back() == u' ')
            continue;
        line.append(c);
    }
    return line;
}

QString ExpressionOneLine(const QString &text)
{
    return SqlOneLine(text);
}

QStringList DisplayFormatPatterns()
{
    return {QString(),        u"#,##0.00"_s,   u"0.00"_s,       u"#,##0"_s,
            u"0%"_s,          u"0.000"_s,      u"yyyy-MM-dd"_s, u"dd.MM.yyyy"_s,
            u"d MMMM yyyy"_s, u"MM/dd/yyyy"_s, u"HH:mm"_s,      u"dd.MM.yyyy HH:mm"_s};
}

QString DisplayFormatSample(const QString &pattern, const QString &locale)
{
    CDisplayFormat format;
    QString problem;
    if (!CDisplayFormat::Parse(pattern, format, problem))
        return problem;
    CExactDecimal number;
    CExactDecimal::FromText(u"1234.5", number);
    const CExprValue sample = format.GetKind() == CDisplayFormat::Kind::Number
            ? CExprValue(number)
            : CExprValue(QDateTime(QDate(2026, 3, 14), QTime(14, 30)));
    QString text;
    format.Format(sample, locale.isEmpty() ? QLocale::c() : QLocale(locale), text, problem);
    return text.isEmpty() ? problem : text;
}

QStringList LocaleChoices()
{
    return {QString(),  u"en_US"_s, u"en_GB"_s, u"de_DE"_s, u"de_CH"_s, u"fr_FR"_s,
            u"it_IT"_s, u"es_ES"_s, u"nl_NL"_s, u"pl_PL"_s, u"sv_SE"_s, u"ja_JP"_s};
}

QString MillimetreText(int stored)
{
    const qint64 magnitude = std::abs(qint64(stored));
    QString text = QString::number(magnitude / 100);
    if (const qint64 decimals = magnitude % 100; decimals != 0) {
        text += u'.' + QString::number(decimals).rightJustified(2, u'0');
        if (text.endsWith(u'0'))
            text.chop(1);
    }
    return stored < 0 ? u'-' + text : text;
}

QString GroupValue(const QList<CPropertyRow> &subRows)
{
    QStringList values;
    for (const CPropertyRow &row : subRows)
        values.append(row.value);
    return values.join(u", "_s);
}
