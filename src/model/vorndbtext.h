#pragma once

#include "vorntext.h"

// A text whose value comes from a database field when the report runs. Its
// inherited text stays empty; the field, its source band, a format and an own
// query say where the value comes from. An expression, when set, computes the
// value instead of the field; a display format, when set, writes it instead of
// the Data Format.
class CVornDbText : public CVornText
{
public:
    static constexpr int Kind = VornKind::DbText;
    int GetKind() const override { return Kind; }
    // Older files keep the field's name in the text; the text itself stays empty.
    void ReadFinished() override;

    const QString &GetDataSource() const { return m_dataSource; }
    void SetDataSource(const QString &source) { m_dataSource = source; }
    const QString &GetDataField() const { return m_dataField; }
    void SetDataField(const QString &field) { m_dataField = field; }
    const QString &GetFormat() const { return m_format; }
    void SetFormat(const QString &format) { m_format = format; }
    const QString &GetQuery() const { return m_query; }
    void SetQuery(const QString &query) { m_query = query; }

    // What the item prints instead of its field's current value: 0 the value itself, or the
    // Sum, Count, Average, Minimum or Maximum of the field over the rows of its data source band.
    enum Aggregate { NoAggregate = 0, Sum = 1, Count = 2, Average = 3, Minimum = 4, Maximum = 5 };
    // Which rows an aggregate takes: those printed since the item's own band last printed,
    // those on the current page, or all since the report started.
    enum AggregateOver { OverBand = 0, OverPage = 1, OverReport = 2 };
    int GetAggregate() const { return m_aggregate; }
    void SetAggregate(int aggregate) { m_aggregate = aggregate; }
    int GetAggregateOver() const { return m_aggregateOver; }
    void SetAggregateOver(int over) { m_aggregateOver = over; }
    const QString &GetExpression() const { return m_expression; }
    void SetExpression(const QString &expression) { m_expression = expression; }
    const QString &GetDisplayFormat() const { return m_displayFormat; }
    void SetDisplayFormat(const QString &format) { m_displayFormat = format; }

protected:
    void VisitKindFields(CFieldVisitor &fields) override;

private:
    QString m_dataSource;
    QString m_dataField;
    QString m_format;
    QString m_query;
    int m_aggregate = NoAggregate;
    int m_aggregateOver = OverBand;
    QString m_expression;
    QString m_displayFormat;
};
