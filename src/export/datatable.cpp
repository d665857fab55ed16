#include "datatable.h"

#include "dataformat.h"
#include "displayformat.h"
#include "pagecontent.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QLocale>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace {

bool IsPageField(const CVornDbText &item)
{
    // Page numbers are drawn on the page; they are no data of a row.
    return item.GetExpression().isEmpty() && item.GetDataSource().isEmpty()
            && item.GetQuery().trimmed().isEmpty()
            && (SameName(item.GetDataField(), u"#PAGE"_s)
                || SameName(item.GetDataField(), u"#PAGES"_s));
}

bool IsNumberValue(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A literal part of a spreadsheet number format, quoted.
QString Quoted(const QString &text)
{
    if (text.isEmpty())
        return QString();
    QString escaped = text;
    return u'"' + escaped.replace(u'"', u"\"\""_s) + u'"';
}

// The spreadsheet number format that writes numbers as the Data Format's conversion does.
QString NumberFormat(const CDataFormat &format)
{
    const char conversion = format.GetConversion();
    const int precision = format.GetPrecision() < 0 ? 6 : std::min(format.GetPrecision(), 30);
    const QString decimals = precision > 0 ? u'.' + QString(precision, u'0') : QString();
    QString number;
    if (conversion == 'd' || conversion == 'i' || conversion == 'u')
        number = u"0"_s;
    else if (conversion == 'f' || conversion == 'F')
        number = u'0' + decimals;
    else if (conversion == 'e' || conversion == 'E')
        number = u'0' + decimals + u"E+00"_s;
    else
        number = u"General"_s;
    if (format.GetPrefix().isEmpty() && format.GetSuffix().isEmpty())
        return number == u"General"_s ? QString() : number;
    return Quoted(format.GetPrefix()) + number + Quoted(format.GetSuffix());
}

// A date as SQLite and many drivers hand it over: "2024-03-01" or "2024-03-01 12:30:00".
QVariant DateOfText(const QString &text)
{
    if (text.size() == 10) {
        const QDate date = QDate::fromString(text, Qt::ISODate);
        if (date.isValid())
            return date;
    } else if (text.size() == 19 || text.size() == 23) {
        QString iso = text;
        iso[10] = u'T';
        const QDateTime time = QDateTime::fromString(iso, Qt::ISODateWithMs);
        if (time.isValid())
            return time;
    }
    return QVariant();
}

} // namespace

CDataTable::CDataTable(const CVornReport &report)
    : m_report(report)
{
    const int type = report.GetDatabaseType();
    const bool database = type >= 0 && type <= 2;
    const CObjectArray<CVornBand *> &bands = report.GetBands();
    m_bands.resize(size_t(bands.GetCount()));
    QHash<QString, int> indexOf;
    for (int b = 0; b < bands.GetCount(); ++b) {
        const CVornBand &band = *bands[b];
        Band &entry = m_bands[size_t(b)];
        entry.name = band.GetName();
        indexOf.insert(band.GetName().toLower(), b);
        const int kind = band.GetKind();
        entry.exported = database && !band.GetDatabaseQuery().trimmed().isEmpty()
                && (kind == VornKind::ReportContents || kind == VornKind::ReportHeader
                    || kind == VornKind::ReportFooter);
    }
    // The bands whose printed values a row carries besides its own: its group header, its
    // master (the parent data source), the master's group header and master, and so on.
    const auto bandNamed = [&](const QString &name) {
        return name.isEmpty() ? -1 : int(indexOf.value(name.toLower(), -1));
    };
    int exported = 0;
    for (int b = 0; b < bands.GetCount(); ++b) {
        Band &entry = m_bands[size_t(b)];
        if (!entry.exported)
            continue;
        ++exported;
        std::vector<int> outer;
        for (int current = b; current >= 0 && outer.size() < m_bands.size();) {
            const int header = bandNamed(bands[current]->GetHeader());
            if (header >= 0 && header != b && bands[header]->GetKind() != VornKind::PageBreak)
                outer.push_back(header);
            current = bandNamed(bands[current]->GetParentDataSource());
            if (current == b)
                break;
            if (current >= 0)
                outer.push_back(current);
        }
        // Outermost first, each once.
        for (auto it = outer.rbegin(); it != outer.rend(); ++it) {
            if (std::find(entry.outer.begin(), entry.outer.end(), *it) == entry.outer.end()) {
                entry.outer.push_back(*it);
                m_bands[size_t(*it)].outerOfOthers = true;
            }
        }
    }
    for (int b = 0; b < bands.GetCount(); ++b) {
        if (!m_bands[size_t(b)].exported)
            continue;
        for (const int outer : std::vector<int>(m_bands[size_t(b)].outer))
            AddColumns(outer);
        AddColumns(b);
    }
    m_bandColumn = exported > 1;
    if (m_bandColumn) {
        m_headings.prepend(QCoreApplication::translate("CDataTable", "Band"));
        for (Band &band : m_bands) {
            for (Column &column : band.columns)
                ++column.column;
        }
    }
}

void CDataTable::AddColumns(int index)
{
    Band &entry = m_bands[size_t(index)];
    if (entry.columnsMade)
        return;
    entry.columnsMade = true;
    const CVornBand &band = *m_report.GetBands()[index];
    std::vector<std::pair<const CVornDbText *, int>> texts;
    for (int i = 0; i < band.GetItems().GetCount(); ++i) {
        const auto *text = dynamic_cast<const CVornDbText *>(band.GetItems()[i]);
        if (text && !IsPageField(*text))
            texts.emplace_back(text, i);
    }
    std::stable_sort(texts.begin(), texts.end(), [](const auto &a, const auto &b) {
        return a.first->GetLeft() != b.first->GetLeft() ? a.first->GetLeft() < b.first->GetLeft()
                                                        : a.first->GetTop() < b.first->GetTop();
    });
    // Columns by lower-case data field and its occurrence within one band: bands that show the
    // same field share its column, a field shown twice in one band gets two. A band whose values
    // other rows carry has columns of its own, so that they never mix with a row's own values.
    QHash<QString, int> seen;
    for (const auto &[text, item] : texts) {
        // A computed value without a field is headed by its item's name.
        const QString field = text->GetDataField().isEmpty() && !text->GetExpression().isEmpty()
                ? text->GetName()
                : text->GetDataField();
        const QString key = entry.outerOfOthers
                ? u"%1/%2"_s.arg(index).arg(item)
                : field.toLower() + u'#' + QString::number(seen[field.toLower()]++);
        Column column;
        column.item = item;
        column.name = text->GetName();
        auto found = m_columnOf.find(key);
        if (found == m_columnOf.end()) {
            found = m_columnOf.insert(key, int(m_headings.size()));
            const bool taken = std::any_of(
                    m_headings.cbegin(), m_headings.cend(),
                    [&field](const QString &heading) { return SameName(heading, field); });
            m_headings.append(taken ? entry.name + u'.' + field : field);
        }
        column.column = *found;
        column.display = !text->GetDisplayFormat().isEmpty();
        CDisplayFormat display;
        QString problem;
        if (column.display && CDisplayFormat::Parse(text->GetDisplayFormat(), display, problem)
            && display.GetKind() == CDisplayFormat::Kind::Number)
            column.numberPattern = display.GetPattern();
        // A Display Format writes numbers and dates that the cell keeps typed as they are.
        if (!text->GetFormat().isEmpty() && text->GetDisplayFormat().isEmpty()) {
            auto format = std::make_shared<CDataFormat>();
            QString problem;
            if (CDataFormat::Parse(text->GetFormat(), *format, problem))
                column.format = std::move(format);
        }
        entry.columns.push_back(std::move(column));
    }
}

CDataTable::~CDataTable() = default;

std::vector<std::vector<CDataTable::Cell>> CDataTable::RowsOf(const CPage &page)
{
    std::vector<std::vector<Cell>> rows;
    for (const CPageBand &placed : page.GetBands()) {
        if (!placed.body || placed.band < 0 || size_t(placed.band) >= m_bands.size())
            continue;
        Band &band = m_bands[size_t(placed.band)];
        if (!band.exported && !band.outerOfOthers)
            continue;
        // The band's cells as printed, kept for the rows that follow it when they carry them.
        std::vector<std::pair<int, Cell>> cells;
        for (const CPrintedValue &value : placed.values) {
            const auto column = std::find_if(band.columns.begin(), band.columns.end(),
                                             [&](const Column &c) { return c.item == value.item; });
            if (column == band.columns.end())
                continue;
            Cell cell = CellOf(*column, value.text, value.value);
            cell.band = placed.band;
            cell.item = value.item;
            cells.emplace_back(column->column, std::move(cell));
        }
        if (!band.exported) {
            band.printed = std::move(cells);
            continue;
        }
        std::vector<Cell> row(size_t(m_headings.size()));
        if (m_bandColumn) {
            row[0].kind = Cell::Kind::Text;
            row[0].text = band.name;
        }
        for (const int outer : band.outer) {
            for (const auto &[column, cell] : m_bands[size_t(outer)].printed)
                row[size_t(column)] = cell;
        }
        for (const auto &[column, cell] : cells)
            row[size_t(column)] = cell;
        if (band.outerOfOthers)
            band.printed = std::move(cells);
        rows.push_back(std::move(row));
    }
    return rows;
}

QString CDataTable::BandName(const Cell &cell) const
{
    return cell.band >= 0 && size_t(cell.band) < m_bands.size() ? m_bands[size_t(cell.band)].name
                                                                : QString();
}

QString CDataTable::ItemName(const Cell &cell) const
{
    if (cell.band < 0 || size_t(cell.band) >= m_bands.size())
        return QString();
    for (const Column &column : m_bands[size_t(cell.band)].columns) {
        if (column.item == cell.item)
            return column.name;
    }
    return QString();
}

CDataTable::Cell CDataTable::CellOf(const Column &column, const QString &text,
                                    const QVariant &value) const
{
    Cell cell;
    cell.text = text;
    if (text.isEmpty())
        return cell;
    cell.kind = Cell::Kind::Text;
    const CDataFormat *format = column.format.get();
    const char conversion = format ? format->GetConversion() : 0;
    if (conversion && QByteArrayView("diufFeEgG").contains(conversion)) {
        // The number as printed, between the format's own text.
        const QString &prefix = format->GetPrefix();
        const QString &suffix = format->GetSuffix();
        if (text.size() < prefix.size() + suffix.size() || !text.startsWith(prefix)
            || !text.endsWith(suffix))
            return cell;
        bool ok = false;
        const QString middle = text.mid(prefix.size(), text.size() - prefix.size() - suffix.size());
        const double number = QLocale::c().toDouble(middle.trimmed(), &ok);
        if (!ok || !std::isfinite(number))
            return cell;
        cell.kind = Cell::Kind::Number;
        cell.number = number;
        cell.numberFormat = NumberFormat(*format);
        return cell;
    }
    // Otherwise only a value printed as it is, maybe between literal text, keeps its type.
    const QString prefix = format ? format->GetPrefix() : QString();
    const QString suffix = format ? format->GetSuffix() : QString();
    if (format && (conversion != 's' || text != prefix + value.toString() + suffix))
        return cell;
    if (IsNumberValue(value) && std::isfinite(value.toDouble())) {
        cell.kind = Cell::Kind::Number;
        cell.number = value.toDouble();
        if (!prefix.isEmpty() || !suffix.isEmpty())
            cell.numberFormat = Quoted(prefix) + u"General"_s + Quoted(suffix);
        else if (!column.numberPattern.isEmpty())
            cell.numberFormat = column.numberPattern;
        return cell;
    }
    if (!prefix.isEmpty() || !suffix.isEmpty())
        return cell;
    QVariant date;
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime)
        date = value;
    else if (value.typeId() == QMetaType::QString)
        date = DateOfText(column.display ? value.toString() : text.trimmed());
    if (date.typeId() == QMetaType::QDate && date.toDate().isValid()) {
        cell.kind = Cell::Kind::Date;
        cell.date = date;
    } else if (date.typeId() == QMetaType::QDateTime && date.toDateTime().isValid()) {
        cell.kind = Cell::Kind::DateTime;
        cell.date = date;
    }
    return cell;
}
