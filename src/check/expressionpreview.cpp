#include "expressionpreview.h"

#include "bandcontext.h"
#include "displayformat.h"
#include "expression.h"
#include "querycolumns.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

// The first rows of the queries, looked up already: no database is reached from here.
class FirstRowContext final : public CExprContext
{
public:
    FirstRowContext(const CVornReport &report, const CReportColumns &columns,
                    const CVornBand &holder, const CVornBand &own, const CExpression &expression)
        : m_report(report)
        , m_columns(columns)
        , m_holder(holder)
        , m_own(own)
        , m_expression(expression)
    { }

    bool NameValue(int index, CExprValue &value, QString &problem) override
    {
        const CExprName &name = m_expression.GetNames()[size_t(index)];
        switch (name.kind) {
        case CExprName::Kind::PageNumber:
        case CExprName::Kind::PageCount:
        case CExprName::Kind::RowNumber:
            value = CExprValue::Whole(1);
            return true;
        case CExprName::Kind::Parameter: {
            const CVornParameter *stored
                    = m_report.GetParameters().Find(m_holder.GetName(), name.name);
            value = CExprValue(stored ? stored->GetValue() : QString());
            return true;
        }
        case CExprName::Kind::Field:
            break;
        }
        const CVornBand *band = name.band.isEmpty() ? &m_own : FindRunBand(m_report, name.band);
        if (!band) {
            problem = Tr("%1 is no band of the report").arg(name.band);
            return false;
        }
        value = CExprValue();
        const CQueryOutcome *outcome = m_columns.Band(band->GetName());
        if (!outcome || outcome->state != CQueryOutcome::State::Ok)
            return true;
        for (qsizetype i = 0; i < outcome->columns.size(); ++i) {
            if (SameName(outcome->columns[i].name, name.name)) {
                if (i < outcome->firstRow.size())
                    value = CExprValue::FromVariant(outcome->firstRow[i]);
                return true;
            }
        }
        problem = Tr("the query of %1 returns no column %2").arg(band->GetName(), name.name);
        return false;
    }
    bool TotalValue(int index, CExprValue &value, QString &problem) override
    {
        // The total of the one row: its own value, or 1 for a count of one that is not NULL.
        CExprError error;
        if (!m_expression.EvaluateTotalArgument(index, *this, value, error)) {
            problem = error.message;
            return false;
        }
        if (m_expression.GetTotals()[size_t(index)].function == CExprTotal::Count)
            value = CExprValue::Whole(value.IsNull() ? 0 : 1);
        return true;
    }
    QDate Today() const override { return QDate::currentDate(); }
    QLocale Locale() const override
    {
        return m_report.GetLocale().isEmpty() ? QLocale::c() : QLocale(m_report.GetLocale());
    }

private:
    const CVornReport &m_report;
    const CReportColumns &m_columns;
    const CVornBand &m_holder;
    const CVornBand &m_own;
    const CExpression &m_expression;
};

} // namespace

QString PreviewExpression(const CVornReport &report, const CReportColumns &columns, int band,
                          int item, const QString &text)
{
    if (band < 0 || band >= report.GetBands().GetCount())
        return {};
    const CVornBand &holder = *report.GetBands()[band];
    const CVornBand *own = &holder;
    const CVornItem *owner
            = item >= 0 && item < holder.GetItems().GetCount() ? holder.GetItems()[item] : nullptr;
    if (const auto *dbText = dynamic_cast<const CVornDbText *>(owner);
        dbText && !dbText->GetDataSource().isEmpty())
        own = FindRunBand(report, dbText->GetDataSource());
    if (!own)
        own = &holder;
    CExpression expression;
    CExprError error;
    if (!CExpression::Parse(text, expression, error))
        return error.Describe();
    FirstRowContext context(report, columns, holder, *own, expression);
    CExprValue value;
    if (!expression.Evaluate(context, value, error))
        return error.Describe();
    if (value.IsNull())
        return Tr("= (nothing)");
    QString shown = value.ToText();
    const auto *dbText = dynamic_cast<const CVornDbText *>(owner);
    CDisplayFormat format;
    QString problem;
    if (dbText && dbText->GetExpression() == text && !dbText->GetDisplayFormat().isEmpty()
        && CDisplayFormat::Parse(dbText->GetDisplayFormat(), format, problem))
        format.Format(value, context.Locale(), shown, problem);
    return QStringLiteral("= ") + shown;
}
