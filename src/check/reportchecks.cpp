#include "reportchecks.h"

#include "bandcontext.h"
#include "bandreferences.h"
#include "chartchecks.h"
#include "dataformat.h"
#include "expressionchecks.h"
#include "propertyid.h"
#include "querycolumns.h"
#include "queryentries.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

// The data source and field of a DB item; false for the other kinds.
bool DataBinding(const CVornItem &item, QString &source, QString &field, QString &query)
{
    if (const auto *text = dynamic_cast<const CVornDbText *>(&item)) {
        source = text->GetDataSource();
        field = text->GetDataField();
        query = text->GetQuery();
        return true;
    }
    if (const auto *image = dynamic_cast<const CVornDbImage *>(&item)) {
        source = image->GetDataSource();
        field = image->GetDataField();
        return true;
    }
    if (const auto *barcode = dynamic_cast<const CVornDbBarcode *>(&item)) {
        source = barcode->GetDataSource();
        field = barcode->GetDataField();
        return true;
    }
    return false;
}

bool IsPageField(const QString &source, const QString &field, const QString &query)
{
    return source.isEmpty() && !HasQuery(query)
            && (SameName(field, u"#PAGE"_s) || SameName(field, u"#PAGES"_s));
}

// "CODE, DESCRIPTION, ..." for a message; a very long list is cut.
QString ColumnList(const QStringList &names)
{
    constexpr qsizetype shown = 20;
    if (names.isEmpty())
        return Tr("no column");
    if (names.size() <= shown)
        return names.join(u", "_s);
    return names.first(shown).join(u", "_s) + u", ..."_s;
}

void Add(CReportProblems &problems, CReportProblem::Severity severity, int band, int item,
         const QString &row, const QString &message)
{
    problems.append({severity, band, item, row, message});
}

constexpr auto Error = CReportProblem::Severity::Error;
constexpr auto Warning = CReportProblem::Severity::Warning;

void CheckQueryOutcome(CReportProblems &problems, const CQueryOutcome &outcome, int band, int item)
{
    switch (outcome.state) {
    case CQueryOutcome::State::Failed:
        Add(problems, Error, band, item, RowId::Query,
            Tr("The query failed: %1").arg(outcome.message));
        break;
    case CQueryOutcome::State::TimedOut:
        Add(problems, Error, band, item, RowId::Query,
            Tr("The query did not answer in time and was cancelled"));
        break;
    case CQueryOutcome::State::Ok:
    case CQueryOutcome::State::Cancelled:
        break;
    }
}

// Whether an entry of a query gets a value: a column of its context's rows, or a parameter.
// Unknown (true) while a query of the context has not told its columns.
bool EntryHasValue(const CVornReport &report, const CReportColumns &columns,
                   const ParameterOverride &parameter, const CVornBand &band,
                   const std::vector<const CVornBand *> &context, const QString &name)
{
    for (const CVornBand *outer : context) {
        if (!HasQuery(outer->GetDatabaseQuery()))
            continue;
        const CQueryOutcome *outcome = columns.Band(outer->GetName());
        if (!outcome || !outcome->IsFor(outer->GetDatabaseQuery())
            || outcome->state != CQueryOutcome::State::Ok)
            return true;
        if (outcome->Find(name))
            return true;
    }
    QString value = parameter ? parameter(band.GetName(), name) : QString();
    if (value.isNull()) {
        const CVornParameter *stored = report.GetParameters().Find(band.GetName(), name);
        value = stored ? stored->GetValue() : QString();
    }
    return !value.isEmpty();
}

void CheckEntries(CReportProblems &problems, const CVornReport &report,
                  const CReportColumns &columns, const ParameterOverride &parameter,
                  const CVornBand &band, int bandIndex, int itemIndex, const QString &sql,
                  const std::vector<const CVornBand *> &context)
{
    CQueryEntries entries;
    QString ignored;
    if (!ScanQueryEntries(sql, entries, ignored))
        return;
    for (const QString &name : entries.GetNames()) {
        if (!EntryHasValue(report, columns, parameter, band, context, name))
            Add(problems, Warning, bandIndex, itemIndex, RowId::Query,
                Tr("The query entry {%1} has no value: no column of the bands it follows and "
                   "no parameter value")
                        .arg(name));
    }
}

void CheckField(CReportProblems &problems, const CVornReport &report, const CReportColumns &columns,
                const CVornBand &band, int bandIndex, const CVornItem &item, int itemIndex)
{
    QString source;
    QString field;
    QString query;
    if (!DataBinding(item, source, field, query) || IsPageField(source, field, query))
        return;
    // A count without a field counts its source's rows; an expression names its fields itself.
    const auto *dbText = dynamic_cast<const CVornDbText *>(&item);
    if (dbText && field.isEmpty() && dbText->GetAggregate() == CVornDbText::Count)
        return;
    if (dbText && !dbText->GetExpression().isEmpty())
        return;
    const CQueryOutcome *outcome = nullptr;
    QString from;
    QString sql = query;
    if (HasQuery(query)) {
        outcome = columns.Item(band.GetName(), item.GetName());
        from = Tr("item %1").arg(item.GetName());
    } else {
        const CVornBand *sourceBand = source.isEmpty() ? &band : FindRunBand(report, source);
        if (!sourceBand)
            return; // told by the static checks
        if (!HasQuery(sourceBand->GetDatabaseQuery())) {
            Add(problems, Warning, bandIndex, itemIndex, RowId::DataSource,
                Tr("The band %1 has no SQL query: the field %2 stays empty")
                        .arg(sourceBand->GetName(), field));
            return;
        }
        outcome = columns.Band(sourceBand->GetName());
        from = Tr("band %1").arg(sourceBand->GetName());
        sql = sourceBand->GetDatabaseQuery();
    }
    if (!outcome || !outcome->IsFor(sql) || outcome->state != CQueryOutcome::State::Ok
        || outcome->Find(field))
        return;
    const QString returned = ColumnList(outcome->ColumnNames());
    if (field.isEmpty())
        Add(problems, Error, bandIndex, itemIndex, RowId::DataField,
            Tr("No data field is named; the query of %1 returns %2").arg(from, returned));
    else
        Add(problems, Error, bandIndex, itemIndex, RowId::DataField,
            Tr("No column %1 in the query of %2; it returns %3").arg(field, from, returned));
}

} // namespace

CReportProblems CheckReportStatic(const CVornReport &report)
{
    CReportProblems problems;
    // Parent data sources and group bands a run cannot follow: told at the first band named.
    for (const CBandReferenceProblem &reference : FindBandReferenceProblems(report)) {
        if (reference.bands.empty())
            continue;
        QLatin1StringView row = RowId::ParentDataSource;
        if (reference.reference == CBandReferenceProblem::Reference::GroupHeader)
            row = RowId::GroupHeader;
        else if (reference.reference == CBandReferenceProblem::Reference::GroupFooter)
            row = RowId::GroupFooter;
        Add(problems, Error, reference.bands.front(), -1, row, reference.message);
    }
    const auto &bands = report.GetBands();
    // A run finds a group band by its name among the bands; opening a file finds the first
    // band or item of that name, so an item of that name on an earlier band (or on the band
    // itself) makes the saved report refuse to open.
    for (int b = 0; b < bands.GetCount(); ++b) {
        const CVornBand &band = *bands[b];
        for (const auto &[name, row] : {std::pair(band.GetHeader(), RowId::GroupHeader),
                                        std::pair(band.GetFooter(), RowId::GroupFooter)}) {
            const CVornElement *found = name.isEmpty() ? nullptr : report.FindByName(name);
            const CVornBand *group = name.isEmpty() ? nullptr : FindRunBand(report, name);
            if (!found || !group || found == group)
                continue;
            const int holder = report.IndexOfBand(found);
            Add(problems, Error, b, -1, row,
                Tr("The group band %1 has the name of the item %2 on the band %3: the saved "
                   "report would not open again; rename one of them")
                        .arg(group->GetName(), found->GetName(),
                             holder >= 0 ? bands[holder]->GetName() : QString()));
        }
    }
    for (int b = 0; b < bands.GetCount(); ++b) {
        const auto &items = bands[b]->GetItems();
        for (int i = 0; i < items.GetCount(); ++i) {
            const CVornItem &item = *items[i];
            QString source;
            QString field;
            QString query;
            if (!DataBinding(item, source, field, query))
                continue;
            // An item with a query of its own reads its own rows, whatever it names.
            if (!source.isEmpty() && !HasQuery(query) && !FindRunBand(report, source))
                Add(problems, Error, b, i, RowId::DataSource,
                    Tr("The data source %1 is no band of the report").arg(source));
            const auto *text = dynamic_cast<const CVornDbText *>(&item);
            CDataFormat format;
            QString problem;
            if (text && !text->GetFormat().isEmpty()
                && !CDataFormat::Parse(text->GetFormat(), format, problem))
                Add(problems, Error, b, i, RowId::DataFormat,
                    Tr("The Data Format \"%1\" cannot be used: %2")
                            .arg(text->GetFormat(), problem));
        }
    }
    CheckExpressionsStatic(problems, report);
    CheckChartsStatic(problems, report);
    return problems;
}

CReportProblems CheckReportColumns(const CVornReport &report, const CReportColumns &columns,
                                   const ParameterOverride &parameter)
{
    CReportProblems problems;
    if (!columns.HasDatabase())
        return problems;
    if (!columns.GetConnectionError().isEmpty()) {
        Add(problems, Error, -1, -1, RowId::ConnectString, columns.GetConnectionError());
        return problems;
    }
    const auto &bands = report.GetBands();
    for (int b = 0; b < bands.GetCount(); ++b) {
        const CVornBand &band = *bands[b];
        const std::vector<const CVornBand *> context = EntryContext(report, band);
        if (HasQuery(band.GetDatabaseQuery())) {
            const CQueryOutcome *outcome = columns.Band(band.GetName());
            if (outcome && outcome->IsFor(band.GetDatabaseQuery()))
                CheckQueryOutcome(problems, *outcome, b, -1);
            CheckEntries(problems, report, columns, parameter, band, b, -1, band.GetDatabaseQuery(),
                         context);
        }
        const auto &items = band.GetItems();
        for (int i = 0; i < items.GetCount(); ++i) {
            const auto *text = dynamic_cast<const CVornDbText *>(items[i]);
            if (text && HasQuery(text->GetQuery())) {
                const CQueryOutcome *outcome = columns.Item(band.GetName(), text->GetName());
                if (outcome && outcome->IsFor(text->GetQuery()))
                    CheckQueryOutcome(problems, *outcome, b, i);
                std::vector<const CVornBand *> itemContext {&band};
                itemContext.insert(itemContext.end(), context.begin(), context.end());
                CheckEntries(problems, report, columns, parameter, band, b, i, text->GetQuery(),
                             itemContext);
            }
            CheckField(problems, report, columns, band, b, *items[i], i);
        }
    }
    CheckExpressionColumns(problems, report, columns, parameter);
    CheckChartColumns(problems, report, columns);
    return problems;
}

CReportProblems CheckReport(const CVornReport &report, const CReportColumns &columns,
                            const ParameterOverride &parameter)
{
    CReportProblems problems = CheckReportStatic(report);
    problems += CheckReportColumns(report, columns, parameter);
    SortProblems(problems);
    return problems;
}
