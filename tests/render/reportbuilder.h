#pragma once

#include "dataformat.h"
#include "pagecontent.h"
#include "pagemodel.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QStringList>

// Terse reports for the run tests: bands of 10 mm on a page 100 mm high, each item a box of
// 10 x 10 mm placed left to right in its band, and the texts of a laid-out page as one string.
namespace ReportBuilder {

inline CVornBand *Band(CVornReport &report, int kind, const QString &name,
                       const QString &query = {}, const QString &parent = {})
{
    auto *band = new CVornBand(kind, name);
    band->SetHeight(1000);
    band->SetDatabaseQuery(query);
    band->SetParentDataSource(parent);
    report.GetBands().Add(band);
    return band;
}

template<typename Item>
Item *Add(CVornBand *band)
{
    auto *item = new Item;
    const int n = band->GetItems().GetCount();
    item->SetName(QStringLiteral("I%1").arg(n));
    item->SetRect(n * 1000, 0, n * 1000 + 1000, 1000);
    band->GetItems().Add(item);
    return item;
}

inline CVornText *Text(CVornBand *band, const QString &text)
{
    auto *item = Add<CVornText>(band);
    item->SetText(text);
    item->SetWordWrap(0);
    return item;
}

inline CVornDbText *Field(CVornBand *band, const QString &source, const QString &field,
                          const QString &format = {})
{
    auto *item = Add<CVornDbText>(band);
    item->SetDataSource(source);
    item->SetDataField(field);
    item->SetFormat(format);
    item->SetWordWrap(0);
    return item;
}

// A DB Text that prints an expression's value, written by a Display Format when one is given.
inline CVornDbText *Computed(CVornBand *band, const QString &expression,
                             const QString &display = {})
{
    CVornDbText *item = Field(band, {}, {});
    item->SetExpression(expression);
    item->SetDisplayFormat(display);
    return item;
}

// The texts of one page in drawing order, page fields resolved, joined by blanks.
inline QString PageText(const CPageModel &model, int index)
{
    QStringList texts;
    const std::shared_ptr<const CPage> page = model.GetPage(index);
    for (const CPageItem &item : page->GetItems()) {
        const auto *text = std::get_if<CPageText>(&item);
        if (!text)
            continue;
        texts << PageTextValue(*text, page->NumberShown(index + 1),
                               page->CountShown(model.GetPageCount()));
    }
    return texts.join(QLatin1Char(' '));
}

inline QStringList Pages(const CPageModel &model)
{
    QStringList pages;
    for (int i = 0; i < model.GetPageCount(); ++i)
        pages << PageText(model, i);
    return pages;
}

} // namespace ReportBuilder
