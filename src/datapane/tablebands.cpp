#include "tablebands.h"

#include "fieldplacement.h"
#include "reportedit.h"
#include "sqlquerytext.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornkind.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <deque>

using namespace Qt::StringLiterals;

namespace TableBands {

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("TableBands", text);
}

QString ColumnList(const CCatalogue &catalogue, const CCatalogueTable &table,
                   const QStringList &columns)
{
    QStringList names;
    for (const CCatalogueColumn &column : table.columns) {
        if (columns.isEmpty() || columns.contains(column.name, Qt::CaseInsensitive))
            names.append(catalogue.Quote(column.name));
    }
    return names.isEmpty() ? u"*"_s : names.join(u", "_s);
}

// The first token at the top level (outside parentheses) from index on that is one of the
// keywords; -1 when there is none.
int FindTopLevel(const QList<CSqlToken> &tokens, int from,
                 std::initializer_list<const char *> words)
{
    for (int i = from; i < tokens.size(); ++i) {
        if (tokens[i].depth != 0)
            continue;
        for (const char *word : words) {
            if (tokens[i].Is(word))
                return i;
        }
    }
    return -1;
}

bool SameName(const CSqlToken &token, const QString &name)
{
    // A quoted name is read as written, a plain word without regard to case.
    return token.kind == CSqlToken::Kind::QuotedName
            ? token.Name() == name
            : token.text.compare(name, Qt::CaseInsensitive) == 0;
}

// Whether the token is a bare column name: not qualified, not qualifying, no function, no
// alias after AS, no keyword.
bool IsBareName(const QList<CSqlToken> &tokens, int i)
{
    const CSqlToken &token = tokens[i];
    if (!token.IsName())
        return false;
    if (i > 0 && (tokens[i - 1].IsSymbol('.') || tokens[i - 1].Is("AS")))
        return false;
    if (i + 1 < tokens.size() && (tokens[i + 1].IsSymbol('.') || tokens[i + 1].IsSymbol('(')))
        return false;
    return true;
}

struct CReplacement
{
    int start;
    int length;
    QString text;
};

QString Replace(QString text, QList<CReplacement> replacements)
{
    std::sort(replacements.begin(), replacements.end(),
              [](const CReplacement &a, const CReplacement &b) { return a.start > b.start; });
    for (const CReplacement &replacement : std::as_const(replacements))
        text.replace(replacement.start, replacement.length, replacement.text);
    return text;
}

// The table the band's query reads first.
const CCatalogueTable *BandTable(const CCatalogue &catalogue, const CVornBand &band)
{
    return QueryTable(catalogue, band.GetDatabaseQuery());
}

std::unique_ptr<CVornBand> NewBand(const CVornReport &report, int height)
{
    auto band = std::make_unique<CVornBand>(VornKind::ReportContents,
                                            report.MakeUniqueName(VornKind::ReportContents));
    band->SetHeight(height);
    return band;
}

// Lays out one item per column across the band, from the layout's left edge.
int ColumnWidth(const CLayout &layout, qsizetype count)
{
    const qsizetype room = std::max(1, layout.pageWidth - 2 * layout.left);
    return int(
            std::clamp<qsizetype>(room / std::max<qsizetype>(1, count), 500, layout.columnWidth));
}

// Whether a column holds bytes (a picture, say) rather than a value to print as text.
bool IsBinary(const CCatalogueTable *table, const QString &column)
{
    const CCatalogueColumn *found = table ? table->Column(column) : nullptr;
    if (!found)
        return false;
    const QString type = found->type.toUpper();
    return type == u"BLOB"_s || type == u"BYTEA"_s || type.contains(u"BINARY"_s)
            || type == u"IMAGE"_s || type == u"LONGBLOB"_s;
}

// The side of a DB Image among fields of that width: square, at most 20 mm.
int ImageSide(int width)
{
    return std::min(width, 2000);
}

// The height a band needs for the fields: a line, or a picture's side.
int FieldsHeight(const CCatalogueTable *table, const QStringList &columns, const CLayout &layout)
{
    int height = layout.lineHeight;
    for (const QString &column : columns) {
        if (IsBinary(table, column))
            height = std::max(height, ImageSide(ColumnWidth(layout, columns.size())));
    }
    return height + 200;
}

// One DB Text per field (a DB Image for a binary column of table), side by side from left.
void AddFields(CReportEdit &edit, CVornBand &band, const QStringList &fields,
               const CCatalogueTable *table, const QStringList &columns, const CLayout &layout,
               int left)
{
    CVornReport &report = edit.Report();
    const int width = ColumnWidth(layout, fields.size());
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const QString &field = fields[i];
        std::unique_ptr<CVornItem> item;
        int itemWidth = width;
        int height = layout.lineHeight;
        if (IsBinary(table, columns.value(i))) {
            auto image = std::make_unique<CVornDbImage>();
            image->SetDataSource(band.GetName());
            image->SetDataField(field);
            itemWidth = height = ImageSide(width);
            item = std::move(image);
        } else {
            auto text = std::make_unique<CVornDbText>();
            text->SetDataSource(band.GetName());
            text->SetDataField(field);
            item = std::move(text);
        }
        item->SetRect(left, 100, left + itemWidth, 100 + height);
        item->SetName(FieldChoice::UniqueItemName(report, band, field));
        item->SetSelected(true);
        edit.InsertItem(&band, band.GetItems().GetCount(), std::move(item));
        left += width;
    }
}

void AddHeadings(CReportEdit &edit, CVornBand &band, const QStringList &fields,
                 const CLayout &layout)
{
    CVornReport &report = edit.Report();
    const int width = ColumnWidth(layout, fields.size());
    int left = layout.left;
    for (const QString &field : fields) {
        auto text = std::make_unique<CVornText>();
        text->SetText(field);
        text->SetBold(1);
        text->SetRect(left, 100, left + width, 100 + layout.lineHeight);
        text->SetName(report.MakeUniqueName(VornKind::Text));
        text->SetSelected(true);
        edit.InsertItem(&band, band.GetItems().GetCount(), std::move(text));
        left += width;
    }
}

QStringList ColumnNames(const CCatalogueTable &table, const QStringList &columns)
{
    QStringList names;
    for (const CCatalogueColumn &column : table.columns) {
        if (columns.isEmpty() || columns.contains(column.name, Qt::CaseInsensitive))
            names.append(column.name);
    }
    return names;
}

// Where a band that belongs under bandIndex goes: after it and after the bands that already
// print under it (its details and their headings).
int AfterDetails(const CVornReport &report, int bandIndex)
{
    const auto &bands = report.GetBands();
    const QString name = bands[bandIndex]->GetName();
    int at = bandIndex + 1;
    while (at < bands.GetCount()
           && bands[at]->GetParentDataSource().compare(name, Qt::CaseInsensitive) == 0)
        ++at;
    return at;
}

} // namespace

QString SelectQuery(const CCatalogue &catalogue, const CCatalogueTable &table,
                    const QStringList &columns)
{
    return u"SELECT %1 FROM %2"_s.arg(ColumnList(catalogue, table, columns),
                                      catalogue.TableReference(table));
}

QString DetailQuery(const CCatalogue &catalogue, const CCatalogueTable &child,
                    const QStringList &columns, const CCatalogueForeignKey &key)
{
    QStringList conditions;
    for (int i = 0; i < key.columns.size() && i < key.refColumns.size(); ++i)
        conditions.append(u"%1 = {%2}"_s.arg(catalogue.Quote(key.columns[i]), key.refColumns[i]));
    return SelectQuery(catalogue, child, columns) + u" WHERE "_s + conditions.join(u" AND "_s);
}

const CCatalogueTable *QueryTable(const CCatalogue &catalogue, const QString &query)
{
    const QList<CQueryTable> tables = QueryTables(query);
    if (tables.isEmpty())
        return nullptr;
    const CQueryTable &first = tables.first();
    return first.schema.isEmpty() ? catalogue.Find(first.name)
                                  : catalogue.Find(first.schema, first.name);
}

QList<CCatalogueForeignKey> KeysTo(const CCatalogueTable &child, const CCatalogueTable &master)
{
    QList<CCatalogueForeignKey> keys;
    for (const CCatalogueForeignKey &key : child.foreignKeys) {
        if (key.refTable.compare(master.name, Qt::CaseInsensitive) == 0
            && (key.refSchema.isEmpty() || master.schema.isEmpty()
                || key.refSchema.compare(master.schema, Qt::CaseInsensitive) == 0))
            keys.append(key);
    }
    return keys;
}

QString KeyText(const CCatalogueForeignKey &key)
{
    return u"%1 -> %2.%3"_s.arg(key.columns.join(u", "_s), key.refTable,
                                key.refColumns.join(u", "_s));
}

QList<CJoinStep> LookUpPath(const CCatalogue &catalogue, const CCatalogueTable &base,
                            const CCatalogueTable &target)
{
    // Breadth first, so that the shortest chain wins; keys in the table's order.
    struct Node
    {
        const CCatalogueTable *table;
        QList<CJoinStep> path;
    };
    std::deque<Node> queue {{&base, {}}};
    QSet<const CCatalogueTable *> seen {&base};
    while (!queue.empty()) {
        const Node node = queue.front();
        queue.pop_front();
        if (node.path.size() >= 3)
            continue;
        for (const CCatalogueForeignKey &key : node.table->foreignKeys) {
            const CCatalogueTable *next = key.refSchema.isEmpty()
                    ? catalogue.Find(node.table->schema, key.refTable)
                    : catalogue.Find(key.refSchema, key.refTable);
            if (!next)
                next = catalogue.Find(key.refTable);
            if (!next || seen.contains(next))
                continue;
            QList<CJoinStep> path = node.path;
            path.append({node.table, key, next});
            if (next == &target)
                return path;
            seen.insert(next);
            queue.push_back({next, path});
        }
    }
    return {};
}

QString EnsureSelected(const CCatalogue &catalogue, const QString &query, const QString &column)
{
    const QList<CSqlToken> tokens = SqlTokens(query);
    const int select = FindTopLevel(tokens, 0, {"SELECT"});
    const int from = select < 0 ? -1 : FindTopLevel(tokens, select + 1, {"FROM"});
    if (from < 0)
        return query;
    for (int i = select + 1; i < from; ++i) {
        if (tokens[i].IsSymbol('*') || (tokens[i].IsName() && SameName(tokens[i], column)))
            return query;
    }
    QString result = query;
    const int end = tokens[from - 1].End();
    return result.insert(end, u", "_s + catalogue.Quote(column));
}

bool AddLookUp(const CCatalogue &catalogue, const QString &query, const QList<CJoinStep> &path,
               const QString &column, QString &result, QString &field, QString &message)
{
    const QList<CSqlToken> tokens = SqlTokens(query);
    const int select = FindTopLevel(tokens, 0, {"SELECT"});
    const int from = select < 0 ? -1 : FindTopLevel(tokens, select + 1, {"FROM"});
    if (path.isEmpty() || from < 0 || from == select + 1
        || FindTopLevel(tokens, 0, {"UNION", "EXCEPT", "INTERSECT", "DISTINCT"}) >= 0) {
        message = Tr("The band's query is not a plain SELECT ... FROM that a look-up can extend");
        return false;
    }
    const QList<CQueryTable> tables = QueryTables(tokens);
    const CCatalogueTable &base = *path.first().from;
    if (tables.isEmpty() || tables.first().token != from + 1) {
        message = Tr("The band's query does not start from a table");
        return false;
    }
    // Names that already stand for a table in the query.
    QSet<QString> used;
    for (const CQueryTable &table : tables)
        used.insert(table.Qualifier().toLower());
    const CQueryTable &first = tables.first();
    const int nameToken = first.schema.isEmpty() ? first.token : first.token + 2;
    const QString baseQualifier
            = first.alias.isEmpty() ? tokens[nameToken].text : catalogue.Quote(first.alias);
    // The end of the FROM clause: the joins go there.
    const int clauseEnd = FindTopLevel(tokens, from + 1,
                                       {"WHERE", "GROUP", "HAVING", "ORDER", "LIMIT", "OFFSET",
                                        "FETCH", "ROWS", "PLAN", "WINDOW", "FOR"});
    // Right after the last table or join condition, before a final semicolon.
    int last = clauseEnd < 0 ? int(tokens.size()) - 1 : clauseEnd - 1;
    if (clauseEnd < 0 && tokens[last].IsSymbol(';'))
        --last;
    const int insertAt = tokens[last].End();

    QString joins;
    QString qualifier = baseQualifier;
    QSet<QString> sharedNames;
    for (const CJoinStep &step : path) {
        // A table joined already (a look-up of before) is joined again only when a step
        // needs it under another key; the name it has is reused otherwise.
        QString alias;
        for (const CQueryTable &table : tables) {
            if (&table != &first && table.name.compare(step.to->name, Qt::CaseInsensitive) == 0)
                alias = catalogue.Quote(table.Qualifier());
        }
        if (alias.isEmpty()) {
            QString name = step.to->name;
            for (int n = 2; used.contains(name.toLower()); ++n)
                name = step.to->name + QString::number(n);
            used.insert(name.toLower());
            alias = catalogue.Quote(name);
            const QString reference = catalogue.TableReference(*step.to);
            QStringList on;
            for (int i = 0; i < step.key.columns.size() && i < step.key.refColumns.size(); ++i)
                on.append(u"%1.%2 = %3.%4"_s.arg(alias, catalogue.Quote(step.key.refColumns[i]),
                                                 qualifier, catalogue.Quote(step.key.columns[i])));
            joins += u" LEFT JOIN %1%2 ON %3"_s.arg(reference,
                                                    alias == reference ? QString() : u" "_s + alias,
                                                    on.join(u" AND "_s));
            for (const CCatalogueColumn &other : step.to->columns) {
                if (base.Column(other.name))
                    sharedNames.insert(other.name.toLower());
            }
        }
        qualifier = alias;
    }

    // The new column gets an alias when the query may return a column of its name already.
    bool taken = base.Column(column) != nullptr;
    for (int i = select + 1; i < from; ++i)
        taken = taken || (IsBareName(tokens, i) && SameName(tokens[i], column));
    field = column;
    QString added = qualifier + u'.' + catalogue.Quote(column);
    if (taken) {
        field = path.last().to->name + column;
        added += u" AS "_s + catalogue.Quote(field);
    }

    QList<CReplacement> replacements;
    // Columns of the base table that a joined table has too would be ambiguous now.
    for (int i = select + 1; i < tokens.size(); ++i) {
        if (i >= from && (clauseEnd < 0 || i < clauseEnd))
            continue;
        if (tokens[i].IsSymbol('*') && i < from && tokens[i].depth == 0
            && (i == 0 || !tokens[i - 1].IsSymbol('.')))
            replacements.append({tokens[i].start, 1, baseQualifier + u".*"_s});
        else if (IsBareName(tokens, i) && sharedNames.contains(tokens[i].Name().toLower())
                 && base.Column(tokens[i].Name()))
            replacements.append(
                    {tokens[i].start, tokens[i].length, baseQualifier + u'.' + tokens[i].text});
    }
    replacements.append({insertAt, 0, joins});
    replacements.append({tokens[from - 1].End(), 0, u", "_s + added});
    result = Replace(query, replacements);
    return true;
}

CDropPlan PlanDrop(const CCatalogue &catalogue, const CVornReport &report, int bandIndex,
                   const CTableChoice &choice)
{
    CDropPlan plan;
    plan.table = choice.schema.isEmpty() ? catalogue.Find(choice.table)
                                         : catalogue.Find(choice.schema, choice.table);
    if (!plan.table) {
        plan.message
                = Tr("The table %1 is not in the database's tables as last read").arg(choice.table);
        return plan;
    }
    plan.columns = ColumnNames(*plan.table, choice.columns);
    const auto &bands = report.GetBands();
    const CVornBand *band
            = bandIndex >= 0 && bandIndex < bands.GetCount() ? bands[bandIndex] : nullptr;
    if (!band || band->GetKind() == VornKind::PageBreak) {
        plan.kind = CDropPlan::Kind::NewBand;
        return plan;
    }
    if (band->GetDatabaseQuery().trimmed().isEmpty()) {
        plan.kind = CDropPlan::Kind::SetQuery;
        return plan;
    }
    const CCatalogueTable *own = BandTable(catalogue, *band);
    if (own == plan.table && !choice.columns.isEmpty()) {
        plan.kind = CDropPlan::Kind::Fields;
        return plan;
    }
    if (own && own != plan.table) {
        // Columns of a table the band's rows lead to are looked up; a table that refers to
        // the band's becomes its detail.
        if (!choice.columns.isEmpty()) {
            plan.path = LookUpPath(catalogue, *own, *plan.table);
            if (!plan.path.isEmpty()) {
                plan.kind = CDropPlan::Kind::LookUp;
                return plan;
            }
        }
        plan.keys = KeysTo(*plan.table, *own);
        if (!plan.keys.isEmpty()) {
            plan.kind = CDropPlan::Kind::Detail;
            return plan;
        }
    }
    plan.kind = CDropPlan::Kind::NewBand;
    return plan;
}

CVornBand *Apply(CVornDocument &document, const CCatalogue &catalogue, const CDropPlan &plan,
                 int bandIndex, int key, const QString &lookUpQuery, const QString &lookUpField,
                 const CLayout &layout, QString &message)
{
    if (plan.kind == CDropPlan::Kind::Refused || !plan.table) {
        message = plan.message;
        return nullptr;
    }
    CVornReport &report = document.GetReport();
    const auto &bands = report.GetBands();
    CVornBand *band = bandIndex >= 0 && bandIndex < bands.GetCount() ? bands[bandIndex] : nullptr;
    const int bandHeight = layout.lineHeight + 200;
    CReportEdit edit(document, Tr("Insert"));
    report.DeselectAll();
    CVornBand *shown = nullptr;
    switch (plan.kind) {
    case CDropPlan::Kind::SetQuery:
        edit.WillChange(band);
        band->SetDatabaseQuery(SelectQuery(catalogue, *plan.table, plan.columns));
        band->SetHeight(
                std::max(band->GetHeight(), FieldsHeight(plan.table, plan.columns, layout)));
        band->SetSelected(true);
        AddFields(edit, *band, plan.columns, plan.table, plan.columns, layout, layout.left);
        shown = band;
        break;
    case CDropPlan::Kind::NewBand:
    case CDropPlan::Kind::Detail: {
        QString query = SelectQuery(catalogue, *plan.table, plan.columns);
        QString parent;
        int at = band ? bandIndex + 1 : bands.GetCount();
        if (plan.kind == CDropPlan::Kind::Detail) {
            if (key < 0 || key >= plan.keys.size()) {
                edit.Cancel();
                return nullptr;
            }
            const CCatalogueForeignKey &join = plan.keys[key];
            query = DetailQuery(catalogue, *plan.table, plan.columns, join);
            parent = band->GetName();
            at = AfterDetails(report, bandIndex);
            // The master's rows must carry the columns the detail's entries take.
            QString master = band->GetDatabaseQuery();
            for (const QString &column : join.refColumns)
                master = EnsureSelected(catalogue, master, column);
            if (master != band->GetDatabaseQuery()) {
                edit.WillChange(band);
                band->SetDatabaseQuery(master);
            }
        } else if (band) {
            at = AfterDetails(report, bandIndex);
        }
        CVornBand *headings = edit.InsertBand(at, NewBand(report, bandHeight));
        headings->SetParentDataSource(parent);
        AddHeadings(edit, *headings, plan.columns, layout);
        shown = edit.InsertBand(at + 1,
                                NewBand(report, FieldsHeight(plan.table, plan.columns, layout)));
        shown->SetDatabaseQuery(query);
        shown->SetParentDataSource(parent);
        AddFields(edit, *shown, plan.columns, plan.table, plan.columns, layout, layout.left);
        break;
    }
    case CDropPlan::Kind::LookUp:
    case CDropPlan::Kind::Fields: {
        QString query = lookUpQuery;
        QStringList fields {lookUpField};
        QStringList columns = plan.columns.mid(0, 1);
        if (plan.kind == CDropPlan::Kind::Fields) {
            query = band->GetDatabaseQuery();
            for (const QString &column : plan.columns)
                query = EnsureSelected(catalogue, query, column);
            fields = plan.columns;
            columns = plan.columns;
        }
        edit.WillChange(band);
        band->SetDatabaseQuery(query);
        band->SetHeight(std::max(band->GetHeight(), FieldsHeight(plan.table, columns, layout)));
        // Right of what the band holds, as far as the page allows.
        int right = layout.left;
        for (const CVornItem *item : band->GetItems())
            right = std::max(right, item->GetRight());
        const int width = ColumnWidth(layout, fields.size());
        AddFields(edit, *band, fields, plan.table, columns, layout,
                  std::min(right, std::max(0, layout.pageWidth - width * int(fields.size()))));
        shown = band;
        break;
    }
    case CDropPlan::Kind::Refused:
        break;
    }
    edit.Commit();
    return shown;
}

} // namespace TableBands
