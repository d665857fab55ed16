#include "sharedpage.h"

#include "propertyid.h"
#include "propertypage.h"

namespace {

// Whether two rows of one name and kind hold the same value.
bool SameValue(const CPropertyRow &a, const CPropertyRow &b)
{
    if (a.mixed || b.mixed || a.value != b.value)
        return false;
    switch (a.kind) {
    case PropertyRowKind::Color:
        return a.color == b.color;
    case PropertyRowKind::Font:
        return a.font == b.font;
    case PropertyRowKind::Sql:
    case PropertyRowKind::Expression:
        return a.sqlText == b.sqlText;
    case PropertyRowKind::Styles:
        return a.styleRules == b.styleRules;
    default:
        return true;
    }
}

QList<CPropertyRow> Shared(const QList<CPropertyRow> &rows, const QList<CPropertyRow> &others);

CPropertyRow Merge(const CPropertyRow &row, const CPropertyRow &other)
{
    CPropertyRow merged = row;
    if (row.kind == PropertyRowKind::Group) {
        merged.subRows = Shared(row.subRows, other.subRows);
        merged.value = GroupValue(merged.subRows);
        return merged;
    }
    merged.options.clear();
    for (const QString &option : row.options) {
        if (other.options.contains(option))
            merged.options.append(option);
    }
    if (!SameValue(row, other)) {
        merged.value.clear();
        merged.mixed = true;
    }
    return merged;
}

QList<CPropertyRow> Shared(const QList<CPropertyRow> &rows, const QList<CPropertyRow> &others)
{
    QList<CPropertyRow> shared;
    for (const CPropertyRow &row : rows) {
        for (const CPropertyRow &other : others) {
            if (other.id == row.id && other.kind == row.kind) {
                shared.append(Merge(row, other));
                break;
            }
        }
    }
    return shared;
}

} // namespace

std::optional<QList<CPropertyRow>> BuildSharedPage(const CVornReport &report,
                                                   const std::vector<CVornElement *> &objects,
                                                   int screenDpiY)
{
    std::optional<QList<CPropertyRow>> shared;
    for (const CVornElement *object : objects) {
        const std::optional<QList<CPropertyRow>> page
                = BuildPage(report, object, QString(), QString(), screenDpiY);
        if (!page)
            return std::nullopt;
        shared = shared ? Shared(*shared, *page) : *page;
    }
    if (shared)
        shared->removeIf([](const CPropertyRow &row) { return row.id == RowId::Name; });
    return shared;
}
