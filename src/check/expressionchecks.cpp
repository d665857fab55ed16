#include "expressionchecks.h"

#include "bandcontext.h"
#include "chartchecks.h"
#include "displayformat.h"
#include "expression.h"
#include "propertyid.h"
#include "querycolumns.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

// One expression of the report: where it is, the property row that holds it, and the band
// whose row its [FIELD] names read (the item's data source band, or its own band).
struct ExpressionAt
{
    int band = -1;
    int item = -1;
    QString row;
    const QString *text = nullptr;
    const CVornBand *own = nullptr;
    bool condition = false;
};

void VisitExpressions(const CVornReport &report,
                      const std::function<void(const ExpressionAt &)> &visit)
{
    const auto &bands = report.GetBands();
    for (int b = 0; b < bands.GetCount(); ++b) {
        const CVornBand &band = *bands[b];
        if (!band.GetPrintWhen().isEmpty())
            visit({b, -1, QString(RowId::PrintWhen), &band.GetPrintWhen(), &band, true});
        const auto &items = band.GetItems();
        for (int i = 0; i < items.GetCount(); ++i) {
            const CVornItem &item = *items[i];
            const CVornBand *own = &band;
            const auto *dbText = dynamic_cast<const CVornDbText *>(&item);
            const auto *chart = dynamic_cast<const CVornChart *>(&item);
            const QString source = dbText                            ? dbText->GetDataSource()
                    : chart && chart->GetQuery().trimmed().isEmpty() ? chart->GetDataSource()
                                                                     : QString();
            if (!source.isEmpty())
                own = FindRunBand(report, source);
            if (!own)
                continue; // told by the data source check
            if (dbText && !dbText->GetExpression().isEmpty())
                visit({b, i, QString(RowId::Expression), &dbText->GetExpression(), own, false});
            if (chart)
                VisitChartExpressions(*chart, [&](QLatin1StringView row, const QString &text) {
                    visit({b, i, QString(row), &text, own, false});
                });
            if (!item.GetPrintWhen().isEmpty())
                visit({b, i, QString(RowId::PrintWhen), &item.GetPrintWhen(), own, true});
            for (const CStyleRule &rule : item.GetStyleRules()) {
                if (!rule.when.trimmed().isEmpty())
                    visit({b, i, QString(RowId::Styles), &rule.when, own, true});
            }
        }
    }
}

void Add(CReportProblems &problems, const ExpressionAt &at, CReportProblem::Severity severity,
         const QString &message)
{
    problems.append({severity, at.band, at.item, at.row, message});
}

} // namespace

void CheckExpressionsStatic(CReportProblems &problems, const CVornReport &report)
{
    constexpr auto error = CReportProblem::Severity::Error;
    VisitExpressions(report, [&](const ExpressionAt &at) {
        CExpression expression;
        CExprError problem;
        if (!CExpression::Parse(*at.text, expression, problem)) {
            Add(problems, at, error,
                Tr("The expression \"%1\" cannot be read: %2").arg(*at.text, problem.Describe()));
            return;
        }
        for (const CExprError &type : expression.TypeProblems())
            Add(problems, at, error,
                Tr("The expression \"%1\" cannot work: %2").arg(*at.text, type.Describe()));
        if (at.condition && !expression.CanBeCondition())
            Add(problems, at, error,
                Tr("The condition \"%1\" gives no true or false").arg(*at.text));
        QStringList named;
        for (const CExprName &name : expression.GetNames()) {
            if (name.kind == CExprName::Kind::Field && !name.band.isEmpty())
                named << name.band;
        }
        for (const CExprTotal &total : expression.GetTotals()) {
            if (!total.band.isEmpty())
                named << total.band;
        }
        named.removeDuplicates();
        for (const QString &band : std::as_const(named)) {
            if (!FindRunBand(report, band))
                Add(problems, at, error,
                    Tr("The expression \"%1\" reads the band %2, which is no band of the report")
                            .arg(*at.text, band));
        }
    });
    const auto &bands = report.GetBands();
    for (int b = 0; b < bands.GetCount(); ++b) {
        const auto &items = bands[b]->GetItems();
        for (int i = 0; i < items.GetCount(); ++i) {
            const auto *text = dynamic_cast<const CVornDbText *>(items[i]);
            const auto *chart = dynamic_cast<const CVornChart *>(items[i]);
            const QString pattern = text ? text->GetDisplayFormat()
                    : chart              ? chart->GetDisplayFormat()
                                         : QString();
            CDisplayFormat format;
            QString problem;
            if (!pattern.isEmpty() && !CDisplayFormat::Parse(pattern, format, problem))
                problems.append(
                        {error, b, i, QString(RowId::DisplayFormat),
                         Tr("The Display Format \"%1\" cannot be used: %2").arg(pattern, problem)});
        }
    }
}

void CheckExpressionColumns(CReportProblems &problems, const CVornReport &report,
                            const CReportColumns &columns, const ParameterOverride &parameter)
{
    VisitExpressions(report, [&](const ExpressionAt &at) {
        CExpression expression;
        CExprError problem;
        if (!CExpression::Parse(*at.text, expression, problem))
            return; // told by the static checks
        const CVornBand &holder = *report.GetBands()[at.band];
        for (const CExprName &name : expression.GetNames()) {
            if (name.kind == CExprName::Kind::Parameter) {
                const bool given = parameter && !parameter(holder.GetName(), name.name).isNull();
                if (!given && !report.GetParameters().Find(holder.GetName(), name.name))
                    Add(problems, at, CReportProblem::Severity::Warning,
                        Tr("The parameter {%1} has no value: it reads as an empty text")
                                .arg(name.name));
                continue;
            }
            if (name.kind != CExprName::Kind::Field)
                continue;
            const CVornBand *band = name.band.isEmpty() ? at.own : FindRunBand(report, name.band);
            if (!band || band->GetDatabaseQuery().trimmed().isEmpty())
                continue;
            const CQueryOutcome *outcome = columns.Band(band->GetName());
            if (!outcome || !outcome->IsFor(band->GetDatabaseQuery())
                || outcome->state != CQueryOutcome::State::Ok || outcome->Find(name.name))
                continue;
            Add(problems, at, CReportProblem::Severity::Error,
                Tr("No column %1 in the query of band %2; it returns %3")
                        .arg(name.name, band->GetName(), outcome->ColumnNames().join(u", "_s)));
        }
    });
}
