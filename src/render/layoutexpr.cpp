#include "exprfunctions.h"
#include "reportlayout.h"
#include "vornitems.h"
#include "vornreport.h"

using namespace Qt::StringLiterals;

namespace {

// A total as an expression sees it: a sum or an average that is no whole number comes as its
// exact decimal text, which is a number again here.
CExprValue TotalOf(const QVariant &total)
{
    if (total.typeId() == QMetaType::QString) {
        CExactDecimal number;
        if (CExactDecimal::FromText(total.toString(), number))
            return CExprValue(number);
    }
    return CExprValue::FromVariant(total);
}

bool IsNumericConversion(char conversion)
{
    return conversion && QByteArrayView("diuxXoeEfFgG").contains(conversion);
}

// The value of an expression that reads the page number or count, computed when its page is
// drawn: its other names and totals are the values they had when the text was laid out.
class PageExpression final : public CPageFieldValue
{
public:
    std::shared_ptr<const CExpression> expression;
    std::vector<CExprValue> names;
    std::vector<CExprValue> totals;
    QDate today;
    QLocale locale;
    std::shared_ptr<const CDisplayFormat> display;
    std::shared_ptr<const CDataFormat> format;

    QString Text(int number, int count) const override
    {
        class Context final : public CExprContext
        {
        public:
            Context(const PageExpression &owner, int number, int count)
                : m_owner(owner)
                , m_number(number)
                , m_count(count)
            { }
            bool NameValue(int index, CExprValue &value, QString &) override
            {
                const CExprName::Kind kind = m_owner.expression->GetNames()[size_t(index)].kind;
                value = kind == CExprName::Kind::PageNumber  ? CExprValue::Whole(m_number)
                        : kind == CExprName::Kind::PageCount ? CExprValue::Whole(m_count)
                                                             : m_owner.names[size_t(index)];
                return true;
            }
            bool TotalValue(int index, CExprValue &value, QString &) override
            {
                value = m_owner.totals[size_t(index)];
                return true;
            }
            QDate Today() const override { return m_owner.today; }
            QLocale Locale() const override { return m_owner.locale; }

        private:
            const PageExpression &m_owner;
            int m_number;
            int m_count;
        };
        Context context(*this, number, count);
        CExprValue value;
        CExprError error;
        QString text;
        QString problem;
        // The same expression was evaluated when laid out, so a failure here is rare; the page
        // then shows nothing in its place.
        if (!expression->Evaluate(context, value, error) || value.IsNull())
            return {};
        if (display)
            return display->Format(value, locale, text, problem) ? text : QString();
        return format ? format->Format(value.ToVariant()) : value.ToText();
    }
};

} // namespace

// The values an expression reads in the printing of its band: the current rows, with one band's
// row given in their place (the row a total takes).
class CReportLayout::ExprContext final : public CExprContext
{
public:
    ExprContext(CReportLayout &layout, ExprPlan &plan, const CVornBand *rowBand = nullptr,
                const CDataRow *row = nullptr)
        : m_layout(layout)
        , m_plan(plan)
        , m_rowBand(rowBand)
        , m_row(row)
    { }

    bool NameValue(int index, CExprValue &value, QString &problem) override
    {
        return m_layout.NameValue(m_plan, index, m_rowBand, m_row, value, problem);
    }
    bool TotalValue(int index, CExprValue &value, QString &problem) override
    {
        QVariant total;
        if (!m_layout.AggregateValue(*m_plan.band, *m_plan.totals[size_t(index)], total)) {
            problem = m_layout.m_message;
            return false;
        }
        value = TotalOf(total);
        return true;
    }
    QDate Today() const override { return m_layout.m_today; }
    QLocale Locale() const override { return m_layout.m_locale; }

private:
    CReportLayout &m_layout;
    ExprPlan &m_plan;
    const CVornBand *m_rowBand;
    const CDataRow *m_row;
};

CReportLayout::ExprPlan *CReportLayout::PrepareExpression(const CVornBand &band,
                                                          const CVornItem *item,
                                                          const CVornBand &own, const QString &text,
                                                          const QString &role, bool condition)
{
    auto plan = std::make_unique<ExprPlan>();
    plan->role = role;
    plan->band = &band;
    plan->item = item;
    plan->own = &own;
    plan->place = {m_bandIndex[&band], item ? band.GetItems().IndexOf(item) : -1};
    const auto refuse = [&](const QString &problem) -> ExprPlan * {
        At(band, plan->place.item);
        if (item)
            Fail(Tr("The %1 \"%2\" of the item \"%3\" on the band \"%4\" cannot be used: %5")
                         .arg(role, text, item->GetName(), band.GetName(), problem));
        else
            Fail(Tr("The %1 \"%2\" of the band \"%3\" cannot be used: %4")
                         .arg(role, text, band.GetName(), problem));
        return nullptr;
    };
    auto expression = std::make_shared<CExpression>();
    CExprError error;
    if (!CExpression::Parse(text, *expression, error))
        return refuse(error.Describe());
    if (const std::vector<CExprError> types = expression->TypeProblems(); !types.empty())
        return refuse(types.front().Describe());
    if (condition && !expression->CanBeCondition())
        return refuse(Tr("it gives no true or false"));

    for (const CExprName &name : expression->GetNames()) {
        const CVornBand *source = nullptr;
        if (name.kind == CExprName::Kind::Field) {
            source = name.band.isEmpty() ? &own : FindBand(name.band);
            if (!source)
                return refuse(Tr("it reads the band \"%1\", which is no band of the report")
                                      .arg(name.band));
        }
        if (name.kind == CExprName::Kind::PageNumber || name.kind == CExprName::Kind::PageCount)
            plan->readsPage = true;
        plan->nameBands.push_back(source);
    }
    plan->columns.resize(plan->nameBands.size(), {nullptr, -1});
    const std::vector<CExprTotal> &totals = expression->GetTotals();
    for (size_t i = 0; i < totals.size(); ++i) {
        const CVornBand *source = totals[i].band.isEmpty() ? &own : FindBand(totals[i].band);
        if (!source)
            return refuse(Tr("it totals the band \"%1\", which is no band of the report")
                                  .arg(totals[i].band));
        auto total = std::make_unique<AggregatePlan>();
        total->item = item;
        total->band = &band;
        total->place = plan->place;
        total->source = source;
        total->kind = totals[i].function;
        total->expression = plan.get();
        total->totalIndex = int(i);
        total->over = totals[i].over;
        total->total = CAggregate(totals[i].function);
        plan->totals.push_back(total.get());
        m_aggregatesBySource[source].push_back(total.get());
        m_plans[&band].totals.push_back(total.get());
        m_aggregates.push_back(std::move(total));
    }
    plan->expression = std::move(expression);
    m_expressions.push_back(std::move(plan));
    return m_expressions.back().get();
}

bool CReportLayout::PrepareItemExpressions(const CVornBand &band, ItemPlan &plan)
{
    const CVornItem &item = *plan.item;
    const CVornBand &own = *plan.source;
    const auto *dbText = dynamic_cast<const CVornDbText *>(&item);
    if (dbText && !dbText->GetExpression().isEmpty()) {
        plan.value = PrepareExpression(band, &item, own, dbText->GetExpression(), Tr("expression"),
                                       false);
        if (!plan.value)
            return false;
    }
    if (!item.GetPrintWhen().isEmpty()) {
        plan.printWhen = PrepareExpression(band, &item, own, item.GetPrintWhen(),
                                           Tr("Print When condition"), true);
        if (!plan.printWhen)
            return false;
    }
    const auto *text = dynamic_cast<const CVornText *>(&item);
    int number = 0;
    for (const CStyleRule &rule : item.GetStyleRules()) {
        ++number;
        if (rule.when.trimmed().isEmpty())
            continue;
        StylePlan style;
        style.when = PrepareExpression(band, &item, own, rule.when,
                                       Tr("condition of style rule %1").arg(number), true);
        if (!style.when)
            return false;
        if (rule.color)
            style.style.color = PageColor(*rule.color);
        if (rule.bkColor)
            style.style.fill = PageColor(*rule.bkColor);
        if (text && (rule.bold || rule.italic)) {
            CPageFont font = (*m_fonts)[size_t(plan.font)];
            font.bold = rule.bold.value_or(font.bold) != 0;
            font.italic = rule.italic.value_or(font.italic) != 0;
            style.style.font = FontIndex(font);
        }
        plan.styles.push_back(style);
    }
    return true;
}

int CReportLayout::FontIndex(const CPageFont &font)
{
    const auto found = std::find(m_fonts->begin(), m_fonts->end(), font);
    if (found != m_fonts->end())
        return int(found - m_fonts->begin());
    m_fonts->push_back(font);
    return int(m_fonts->size()) - 1;
}

QString CReportLayout::ParameterValue(const CVornBand &band, const QString &name) const
{
    if (m_options.parameter)
        return m_options.parameter(band.GetName(), name);
    if (const CVornParameter *stored = m_report.GetParameters().Find(band.GetName(), name))
        return stored->GetValue();
    return {};
}

bool CReportLayout::NameValue(ExprPlan &plan, int index, const CVornBand *rowBand,
                              const CDataRow *row, CExprValue &value, QString &problem)
{
    const CExprName &name = plan.expression->GetNames()[size_t(index)];
    switch (name.kind) {
    case CExprName::Kind::PageNumber:
    case CExprName::Kind::PageCount:
        // The page the band is laid out for; a text prints the numbers as they end up.
        value = CExprValue::Whole(std::max(1, m_pages ? m_pages->GetPageCount() : 1));
        return true;
    case CExprName::Kind::RowNumber: {
        const auto found = m_rowNumbers.find(plan.own);
        value = CExprValue::Whole(found == m_rowNumbers.end() ? 1
                                                              : std::max<qint64>(1, found->second));
        return true;
    }
    case CExprName::Kind::Parameter:
        value = CExprValue(ParameterValue(*plan.band, name.name));
        return true;
    case CExprName::Kind::Field:
        break;
    }
    const CVornBand *band = plan.nameBands[size_t(index)];
    if (m_noDatabase) {
        value = m_options.value ? CExprValue(m_options.value(band->GetName(), name.name))
                                : CExprValue();
        return true;
    }
    if (band != rowBand) {
        const auto current = m_current.find(band);
        row = current == m_current.end() ? nullptr : &current->second;
    }
    if (!row || row->IsEmpty()) {
        value = CExprValue();
        return true;
    }
    auto &[columns, column] = plan.columns[size_t(index)];
    if (columns != &row->GetColumns() || column >= row->GetValues().size()) {
        columns = &row->GetColumns();
        column = row->IndexOf(name.name);
    }
    if (column < 0) {
        columns = nullptr;
        problem = Tr("the query of \"%1\" does not return the field \"%2\"; it returns: %3")
                          .arg(band->GetName(), name.name, row->GetColumns().join(u", "_s));
        return false;
    }
    value = CExprValue::FromVariant(row->GetValues().at(column));
    return true;
}

bool CReportLayout::TotalArgument(AggregatePlan &aggregate, const CDataRow *row, QVariant &value)
{
    value = QVariant();
    if (!m_noDatabase && (!row || row->IsEmpty()))
        return true;
    ExprContext context(*this, *aggregate.expression, aggregate.source, row);
    CExprValue argument;
    CExprError error;
    if (!aggregate.expression->expression->EvaluateTotalArgument(aggregate.totalIndex, context,
                                                                 argument, error))
        return ExprFail(*aggregate.expression, error);
    value = argument.ToVariant();
    return true;
}

bool CReportLayout::RowExpression(ExprPlan &plan, const CVornBand *rowBand, const CDataRow *row,
                                  CExprValue &value)
{
    ExprContext context(*this, plan, rowBand, row);
    CExprError error;
    return plan.expression->Evaluate(context, value, error) || ExprFail(plan, error);
}

bool CReportLayout::ExprFail(const ExprPlan &plan, const CExprError &error)
{
    At(*plan.band, plan.place.item);
    const auto found = m_rowNumbers.find(plan.own);
    const QString row
            = QString::number(found == m_rowNumbers.end() ? 1 : std::max<qint64>(1, found->second));
    const QString &text = plan.expression->GetText();
    if (plan.item)
        return Fail(Tr("The %1 \"%2\" of the item \"%3\" on the band \"%4\" failed on row %5: %6")
                            .arg(plan.role, text, plan.item->GetName(), plan.band->GetName(), row,
                                 error.Describe()));
    return Fail(Tr("The %1 \"%2\" of the band \"%3\" failed on row %4: %5")
                        .arg(plan.role, text, plan.band->GetName(), row, error.Describe()));
}

bool CReportLayout::Condition(ExprPlan &plan, bool &result)
{
    ExprContext context(*this, plan);
    CExprError error;
    return plan.expression->EvaluateCondition(context, result, error) || ExprFail(plan, error);
}

bool CReportLayout::ChooseStyle(ItemPlan &plan, CItemStyle &style)
{
    for (const StylePlan &rule : plan.styles) {
        bool holds = false;
        if (!Condition(*rule.when, holds))
            return false;
        if (holds) {
            style = rule.style;
            return true;
        }
    }
    return true;
}

bool CReportLayout::WriteValue(const CVornBand &band, const ItemPlan &plan,
                               const CExprValue *computed, const QVariant &raw, QString &text)
{
    text.clear();
    const CExprValue value = computed ? *computed : CExprValue::FromVariant(raw);
    // Nothing to write is written as nothing, whatever the format would make of it.
    if (value.IsNull())
        return true;
    const auto refuse = [&](const QString &format, const QString &problem) {
        At(band, plan.place.item);
        return Fail(Tr("The item \"%1\" on the band \"%2\" cannot write %3 with its format "
                       "\"%4\": %5")
                            .arg(plan.item->GetName(), band.GetName(), DescribeValue(value), format,
                                 problem));
    };
    QString problem;
    if (plan.display) {
        return plan.display->Format(value, m_locale, text, problem)
                || refuse(plan.display->GetPattern(), problem);
    }
    if (!plan.format) {
        text = computed ? computed->ToText() : raw.toString();
        return true;
    }
    if (IsNumericConversion(plan.format->GetConversion())) {
        CExactDecimal number;
        if (value.GetType() == CExprValue::Type::Text && value.GetText().trimmed().isEmpty())
            return true;
        if (value.GetType() != CExprValue::Type::Boolean && !value.ToNumber(number)) {
            bool isDouble = false;
            if (value.GetType() == CExprValue::Type::Text)
                QLocale::c().toDouble(value.GetText().trimmed(), &isDouble);
            if (!isDouble)
                return refuse(static_cast<const CVornDbText *>(plan.item)->GetFormat(),
                              Tr("it is not a number"));
        }
    }
    text = plan.format->Format(computed ? computed->ToVariant() : raw);
    return true;
}

bool CReportLayout::ItemRow::Evaluate(CExprValue &value,
                                      std::shared_ptr<const CPageFieldValue> &computed)
{
    ExprPlan &plan = *m_plan.value;
    ExprContext context(m_layout, plan);
    CExprError error;
    // Evaluated now also when it reads the page, so that a failure fails the run.
    if (!plan.expression->Evaluate(context, value, error))
        return m_layout.ExprFail(plan, error);
    if (!plan.readsPage)
        return true;
    auto page = std::make_shared<PageExpression>();
    page->expression = plan.expression;
    page->today = m_layout.m_today;
    page->locale = m_layout.m_locale;
    page->display = m_plan.display;
    page->format = m_plan.format;
    QString problem;
    page->names.resize(plan.expression->GetNames().size());
    for (size_t i = 0; i < page->names.size(); ++i) {
        if (!context.NameValue(int(i), page->names[i], problem))
            return m_layout.ExprFail(plan, {0, problem});
    }
    page->totals.resize(plan.totals.size());
    for (size_t i = 0; i < page->totals.size(); ++i) {
        if (!context.TotalValue(int(i), page->totals[i], problem))
            return m_layout.ExprFail(plan, {0, problem});
    }
    computed = std::move(page);
    return true;
}

bool CReportLayout::ItemRow::Write(const QVariant &value, QString &text)
{
    return m_layout.WriteValue(m_band, m_plan, nullptr, value, text);
}

bool CReportLayout::ItemRow::Write(const CExprValue &value, QString &text)
{
    return m_layout.WriteValue(m_band, m_plan, &value, {}, text);
}

bool CReportLayout::ItemRow::Refuse(const QString &what)
{
    m_layout.At(m_band, m_plan.place.item);
    return m_layout.Fail(Tr("The item \"%1\" on the band \"%2\" cannot print %3")
                                 .arg(m_plan.item->GetName(), m_band.GetName(), what));
}
