#pragma once

#include "aggregate.h"
#include "bandcontent.h"
#include "chartlayout.h"
#include "dataconnection.h"
#include "dataformat.h"
#include "displayformat.h"
#include "expression.h"
#include "itemprimitives.h"
#include "pagebuilder.h"
#include "queryentries.h"
#include "reportrun.h"
#include "textmeasure.h"
#include "vornband.h"

#include <QHash>

#include <memory>
#include <unordered_map>
#include <vector>

class CVornChart;
class CVornDbText;
class CVornItem;
class CVornReport;

class CPageSink;

// One run of a report: its bands walked in the order of a run with the rows of their queries,
// laid out into pages by a page builder that hands each finished page to a sink. Made and used
// for a single RunReport call.
//
// The work is spread by concern: reportlayout.cpp walks the bands (rows, details, groups) and
// places them; layoutprepare.cpp works out once what the bands and items need; layoutquery.cpp
// runs the queries and fetches their rows; layoutgrowth.cpp lays one printing of a band out,
// grows it and keeps the totals; each item kind turns into primitives in the file of its family
// (itemprimitives.h); layoutexpr.cpp evaluates the expressions of items and bands.
class CReportLayout
{
public:
    CReportLayout(const CVornReport &report, const CRunOptions &options, CPageSink &sink);

    bool Run(QString &message);
    // Where a failed run was: the band and item it worked on (-1 for none).
    const CPageSource &GetFailedAt() const { return m_at; }

    // The page field a DB Text prints: the page number or count for the fields #PAGE and
    // #PAGES of a text with neither a data source nor a query of its own.
    static CPageText::Field PageFieldOf(const CVornDbText &text);

private:
    // The rows in effect for a query's entries: the nearest parent first.
    struct Context
    {
        const CVornBand *band = nullptr;
        const CDataRow *row = nullptr;
        const Context *outer = nullptr;
    };

    struct ExprPlan;

    // A running total: of a DB Text's Aggregate, or of a total an expression takes. It holds
    // the rows of its source band in its scope.
    struct AggregatePlan
    {
        const CVornItem *item = nullptr; // the item it belongs to; null for a band's condition
        const CVornBand *band = nullptr; // the band that holds the item
        CPageSource place; // the item's place in the report, for a failure to point at
        const CVornBand *source = nullptr;
        int kind = 0; // CVornDbText::Aggregate
        QString field; // of a DB Text's Aggregate: the field it takes
        // Of an expression's total: the expression and the index of the total in it.
        ExprPlan *expression = nullptr;
        int totalIndex = -1;
        int over = 0; // CVornDbText::AggregateOver
        CAggregate total;
        int page = 0; // of a page total: the page whose rows it holds
    };

    // One expression of an item or a band, parsed once, with the band whose row each of its
    // names reads and its totals.
    struct ExprPlan
    {
        std::shared_ptr<const CExpression> expression;
        QString role; // what it is to its owner, for a message: "expression", "Print When"
        const CVornBand *band = nullptr; // the band that holds the item, or the band itself
        const CVornItem *item = nullptr;
        const CVornBand *own = nullptr; // the band whose row [FIELD] and #ROW read
        CPageSource place;
        std::vector<const CVornBand *> nameBands; // by name index; null for no field
        // The column of each name in the last column list seen.
        std::vector<std::pair<const QStringList *, int>> columns;
        std::vector<AggregatePlan *> totals; // by total index
        bool readsPage = false; // reads #PAGE or #PAGES
    };

    // A chart's rows: the category and series values of each row of its data source band in
    // its scope, or of its own query (layoutchart.cpp).
    struct ChartPlan
    {
        // A category or series value: a field of the row, or an expression.
        struct Value
        {
            QString field;
            ExprPlan *expression = nullptr;
            const QStringList *columns = nullptr; // the column list the index is of
            int column = -1;
        };
        const CVornChart *chart = nullptr;
        const CVornBand *band = nullptr; // the band that holds the chart
        CPageSource place;
        const CVornBand *source = nullptr; // whose rows it takes; the band itself for a query
        bool ownQuery = false;
        int over = 0; // CVornChart::Over
        int page = 0; // of a page's chart: the page whose rows it holds
        Value category;
        std::vector<Value> series;
        CChartData data;
    };

    struct StylePlan
    {
        ExprPlan *when = nullptr;
        CItemStyle style;
    };

    // What an item needs at run time, worked out once.
    struct ItemPlan : CItemPlan
    {
        CBuildPrimitives build = nullptr; // null for an item that prints nothing
        const CVornBand *source = nullptr; // data source band of a DB item
        // Column index of the field in the last column list seen.
        const QStringList *columns = nullptr;
        int column = -1;
        bool grows = false; // a word-wrapped text that can grow
        AggregatePlan *aggregate = nullptr;
        ChartPlan *chart = nullptr;
        ExprPlan *value = nullptr; // a DB Text's expression
        ExprPlan *printWhen = nullptr;
        std::vector<StylePlan> styles;
    };

    // An item in the printing of its band, as its kind's primitives see it.
    class ItemRow final : public CItemRow
    {
    public:
        ItemRow(CReportLayout &layout, const CVornBand &band, ItemPlan &plan,
                const CItemStyle &style)
            : m_layout(layout)
            , m_band(band)
            , m_plan(plan)
            , m_style(style)
        { }

        const CItemPlan &Plan() const override { return m_plan; }
        bool NoDatabase() const override { return m_layout.m_noDatabase; }
        bool Value(const QString &dataSource, const QString &field, const QString &query,
                   QVariant &value) override;
        bool HasTotal() const override { return m_plan.aggregate != nullptr; }
        bool Total(QVariant &value) override;
        std::shared_ptr<const CPagePicture> PictureOf(const QByteArray &bytes) override;
        const CItemStyle &Style() const override { return m_style; }
        bool HasExpression() const override { return m_plan.value != nullptr; }
        bool Evaluate(CExprValue &value, std::shared_ptr<const CPageFieldValue> &computed) override;
        bool Write(const QVariant &value, QString &text) override;
        bool Write(const CExprValue &value, QString &text) override;
        bool Refuse(const QString &what) override;
        bool Chart(CChartData &data) override;

    private:
        CReportLayout &m_layout;
        const CVornBand &m_band;
        ItemPlan &m_plan;
        const CItemStyle &m_style;
    };

    class ExprContext;

    struct BandPlan
    {
        std::vector<ItemPlan> items;
        std::vector<const CVornBand *> details; // bands whose parent data source this is
        const CVornBand *groupHeader = nullptr;
        const CVornBand *groupFooter = nullptr;
        bool printedAlone = true; // a top-level body band
        ExprPlan *printWhen = nullptr;
        // The totals its items and its condition hold, which start again after each printing.
        std::vector<AggregatePlan *> totals;
        std::vector<ChartPlan *> charts; // the charts over its band, emptied the same way
        bool isGroupHeader = false;
        bool isGroupFooter = false;
        CPlacing placing; // how its printings go onto the pages
        int columnRight = 0; // where its items are cut: the right edge of its first column
        bool skipped = false; // the places skipped before its first printing
    };

    static bool IsPageBand(const CVornBand &band)
    {
        return band.GetKind() == VornKind::PageHeader || band.GetKind() == VornKind::PageFooter;
    }
    static QString Tr(const char *text);

    // The band loop (reportlayout.cpp).
    bool PrintBand(const CVornBand &band, const Context *outer);
    bool PrintRow(const CVornBand &band, const CDataRow &row, const Context *outer);
    // One printing of a band and its details, with the page rules the band sets.
    bool PrintOnce(const CVornBand &band, const CDataRow *row, const Context *outer);
    bool PrintDetails(const CVornBand &band, const CDataRow *row, const Context *outer);
    bool PrintGroup(const CVornBand &detail, const Context *outer);
    QVariantList GroupKey(const CVornBand &header, const CVornBand &detail, const CDataRow &row);
    // Lays the band out and places it; row is the row it prints, which its aggregates take.
    bool Place(const CVornBand &band, const Context *outer, const CDataRow *row = nullptr);
    bool DrawBand(const CVornBand &band, int top, CPage &page);

    // Preparing the bands and items (layoutprepare.cpp).
    bool Prepare();
    bool PrepareItems(const CVornBand &band, int bandIndex, BandPlan &plan);
    // An item's Data Format and Display Format, parsed once.
    bool PrepareValueFormats(const CVornBand &band, const CVornItem &item,
                             const QString &dataFormat, const QString &displayFormat,
                             ItemPlan &itemPlan);
    const CVornBand *FindBand(const QString &name) const;
    std::shared_ptr<const CPagePicture> PictureOf(const QByteArray &bytes);

    // Queries and their rows (layoutquery.cpp).
    std::unique_ptr<CDataCursor> Query(const CVornBand &band, const QString &sql,
                                       const Context *outer, const QString &itemName);
    bool Fetch(CDataCursor &cursor, CDataRow &row, const CVornBand &band, int item = -1);
    // Fetch for a query read row after row; fetched counts its rows against the run's bound.
    bool FetchNext(CDataCursor &cursor, CDataRow &row, const CVornBand &band, qint64 &fetched);
    bool ItemValue(const CVornBand &band, ItemPlan &plan, const QString &dataSource,
                   const QString &field, const QString &query, QVariant &value);

    // One printing of a band, its growth and the totals (layoutgrowth.cpp).
    bool LayBand(const CVornBand &band, bool grow, CBandContent &content);
    bool TakeRow(const CVornBand &band, const CDataRow *row);
    bool RowValue(AggregatePlan &aggregate, const CDataRow *row, QVariant &value);
    bool AddToTotal(AggregatePlan &aggregate, CAggregate &total, const QVariant &value);
    bool AggregateValue(const CVornBand &band, AggregatePlan &aggregate, QVariant &value);

    // Charts (layoutchart.cpp).
    bool PrepareChart(const CVornBand &band, const CVornChart &chart, ItemPlan &itemPlan,
                      BandPlan &plan);
    bool TakeChartRow(ChartPlan &chart, const CVornBand *rowBand, const CDataRow *row);
    bool ChartValue(ChartPlan &chart, ChartPlan::Value &value, const CVornBand *rowBand,
                    const CDataRow *row, CExprValue &result);
    bool ChartData(ChartPlan &chart, CChartData &data);
    static void ClearChart(ChartPlan &chart);

    // Expressions (layoutexpr.cpp).
    ExprPlan *PrepareExpression(const CVornBand &band, const CVornItem *item, const CVornBand &own,
                                const QString &text, const QString &role, bool condition);
    bool PrepareItemExpressions(const CVornBand &band, ItemPlan &plan);
    bool NameValue(ExprPlan &plan, int index, const CVornBand *rowBand, const CDataRow *row,
                   CExprValue &value, QString &problem);
    bool Condition(ExprPlan &plan, bool &result);
    bool ChooseStyle(ItemPlan &plan, CItemStyle &style);
    bool ExprFail(const ExprPlan &plan, const CExprError &error);
    // The argument of an expression's total for a row of its source band.
    bool TotalArgument(AggregatePlan &aggregate, const CDataRow *row, QVariant &value);
    // The value of an expression for the row of rowBand given.
    bool RowExpression(ExprPlan &plan, const CVornBand *rowBand, const CDataRow *row,
                       CExprValue &value);
    QString ParameterValue(const CVornBand &band, const QString &name) const;
    bool WriteValue(const CVornBand &band, const ItemPlan &plan, const CExprValue *computed,
                    const QVariant &raw, QString &text);
    // The index of a font in the run's font table, added when new.
    int FontIndex(const CPageFont &font);

    bool Cancelled();
    bool Fail(const QString &message);
    // The band (and item, by index in the band) that the run works on from now.
    void At(const CVornBand &band, int item = -1);

    const CVornReport &m_report;
    const CRunOptions &m_options;
    CPageSink &m_sink;
    // The run's connection: its own, or one the caller shares between runs.
    std::unique_ptr<CDataConnection> m_ownConnection;
    CDataConnection *m_connection = nullptr;
    std::unique_ptr<CPageBuilder> m_pages;
    std::shared_ptr<CPageFontTable> m_fonts;
    std::unordered_map<const CVornBand *, BandPlan> m_plans;
    QHash<QString, const CVornBand *> m_bandsByName; // names folded to lower case
    std::unordered_map<const CVornBand *, int> m_bandIndex; // place in the report's band list
    // The current row of every band that has printed one.
    std::unordered_map<const CVornBand *, CDataRow> m_current;
    // The body band being placed and its context, for the entries of its items' queries.
    const CVornBand *m_placing = nullptr;
    const Context *m_placingContext = nullptr;
    // The pictures of the run by their bytes, while a page that shows them lives.
    QHash<QByteArray, std::weak_ptr<const CPagePicture>> m_pictures;
    qsizetype m_picturesKept = 0; // live pictures when the list was last cleared of the others
    std::unique_ptr<CTextMeasure> m_measure;
    std::vector<std::unique_ptr<AggregatePlan>> m_aggregates;
    // The aggregates that take the rows of each band.
    std::unordered_map<const CVornBand *, std::vector<AggregatePlan *>> m_aggregatesBySource;
    std::vector<std::unique_ptr<ChartPlan>> m_charts;
    // The charts that take the rows of each band.
    std::unordered_map<const CVornBand *, std::vector<ChartPlan *>> m_chartsBySource;
    // The row of the body band being placed, which its own aggregates count already.
    const CDataRow *m_placingRow = nullptr;
    QString m_message;
    // The band and item being worked on, kept for a failure's message to point at.
    CPageSource m_at;
    bool m_noDatabase = false;
    std::vector<std::unique_ptr<ExprPlan>> m_expressions;
    // The number of the current row of each band within its group, from 1.
    std::unordered_map<const CVornBand *, qint64> m_rowNumbers;
    QDate m_today;
    QLocale m_locale = QLocale::c();
};
