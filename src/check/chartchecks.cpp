#include "chartchecks.h"

#include "bandcontext.h"
#include "dataformat.h"
#include "propertyid.h"
#include "querycolumns.h"
#include "queryentries.h"
#include "vornchart.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

// Each category or series value of the chart with its row, field names and expressions alike.
void VisitChartValues(const CVornChart &chart,
                      const std::function<void(QLatin1StringView, const QString &)> &visit)
{
    if (!chart.GetCategory().trimmed().isEmpty())
        visit(RowId::Category, chart.GetCategory());
    const CChartSeriesSettings &series = chart.GetSeries();
    for (size_t s = 0; s < series.size() && s < size_t(CChartSeriesSetting::MaxSeries); ++s) {
        if (!series[s].value.trimmed().isEmpty())
            visit(RowId::SeriesValue[s], series[s].value);
    }
}

template<typename Visit>
void VisitCharts(const CVornReport &report, Visit visit)
{
    const auto &bands = report.GetBands();
    for (int b = 0; b < bands.GetCount(); ++b) {
        const auto &items = bands[b]->GetItems();
        for (int i = 0; i < items.GetCount(); ++i) {
            if (const auto *chart = dynamic_cast<const CVornChart *>(items[i]))
                visit(*bands[b], b, i, *chart);
        }
    }
}

} // namespace

void VisitChartExpressions(const CVornChart &chart,
                           const std::function<void(QLatin1StringView, const QString &)> &visit)
{
    VisitChartValues(chart, [&](QLatin1StringView row, const QString &value) {
        if (!CVornChart::IsFieldName(value.trimmed()))
            visit(row, value);
    });
}

void CheckChartsStatic(CReportProblems &problems, const CVornReport &report)
{
    VisitCharts(report, [&](const CVornBand &, int b, int i, const CVornChart &chart) {
        const auto add = [&](CReportProblem::Severity severity, QLatin1StringView row,
                             const QString &message) {
            problems.append({severity, b, i, QString(row), message});
        };
        const QString &source = chart.GetDataSource();
        if (!HasQuery(chart.GetQuery()) && !source.isEmpty() && !FindRunBand(report, source))
            add(CReportProblem::Severity::Error, RowId::DataSource,
                Tr("The data source %1 is no band of the report").arg(source));
        const CChartSeriesSettings &series = chart.GetSeries();
        const bool anySeries = std::any_of(series.begin(), series.end(), [](const auto &one) {
            return !one.value.trimmed().isEmpty();
        });
        if (!anySeries)
            add(CReportProblem::Severity::Warning, RowId::SeriesValue[0],
                Tr("The chart has no series: give Series 1 a Value, a field or an expression"));
        if (chart.GetCategory().trimmed().isEmpty())
            add(CReportProblem::Severity::Warning, RowId::Category,
                Tr("The chart has no Category: its categories have no names"));
        CDataFormat format;
        QString problem;
        if (!chart.GetFormat().isEmpty() && !CDataFormat::Parse(chart.GetFormat(), format, problem))
            add(CReportProblem::Severity::Error, RowId::DataFormat,
                Tr("The Data Format \"%1\" cannot be used: %2").arg(chart.GetFormat(), problem));
    });
}

void CheckChartColumns(CReportProblems &problems, const CVornReport &report,
                       const CReportColumns &columns)
{
    VisitCharts(report, [&](const CVornBand &band, int b, int i, const CVornChart &chart) {
        // A chart with a query of its own reads its own rows; the run tells a missing field.
        if (HasQuery(chart.GetQuery()))
            return;
        const CVornBand *source = chart.GetDataSource().isEmpty()
                ? &band
                : FindRunBand(report, chart.GetDataSource());
        if (!source)
            return; // told by the static checks
        if (!HasQuery(source->GetDatabaseQuery())) {
            problems.append({CReportProblem::Severity::Warning, b, i, QString(RowId::DataSource),
                             Tr("The band %1 has no SQL query: the chart stays empty")
                                     .arg(source->GetName())});
            return;
        }
        const CQueryOutcome *outcome = columns.Band(source->GetName());
        if (!outcome || !outcome->IsFor(source->GetDatabaseQuery())
            || outcome->state != CQueryOutcome::State::Ok)
            return;
        VisitChartValues(chart, [&](QLatin1StringView row, const QString &value) {
            const QString field = value.trimmed();
            if (!CVornChart::IsFieldName(field) || outcome->Find(field))
                return;
            problems.append(
                    {CReportProblem::Severity::Error, b, i, QString(row),
                     Tr("No column %1 in the query of band %2; it returns %3")
                             .arg(field, source->GetName(), outcome->ColumnNames().join(u", "_s))});
        });
    });
}
