#pragma once

#include "propertyrow.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QStringList>

// A report with a band of most kinds and an item of every kind, shared by the
// property tests, and a readable text form of property pages.
namespace SampleReport {

using namespace Qt::StringLiterals;

template<typename Item = CVornText>
Item *AddItem(CVornBand *band, const QString &name, int left = 0, int top = 0, int right = 0,
              int bottom = 0)
{
    auto *item = new Item;
    item->SetName(name);
    item->SetRect(left, top, right, bottom);
    band->GetItems().Add(item);
    return item;
}

inline CVornBand *AddBand(CVornReport &report, int kind, const QString &name, int height = 1000)
{
    auto *band = new CVornBand(kind, name);
    band->SetHeight(height);
    report.GetBands().Add(band);
    return band;
}

// Bands: "Top" (Page Header), "Orders" and "Groups" (Report Contents),
// "Break" (Page Break) and "End" (Report Footer). The items are on "Orders":
// "Text 1", "Amount" (DB Text), "Shape 1", "Logo" (Image), "Photo" (DB Image),
// "Code" (Barcode) and "EAN" (DB Barcode).
inline void Fill(CVornReport &report)
{
    report.SetTitle(u"Sales"_s);
    report.SetConnectString(u"/data/shop.db"_s);
    report.SetDatabaseType(1);

    CVornBand *top = AddBand(report, VornKind::PageHeader, u"Top"_s, 1200);
    top->SetPrintOnFirstPage(0);
    CVornBand *orders = AddBand(report, VornKind::ReportContents, u"Orders"_s, 2599);
    orders->SetDatabaseQuery(u"SELECT *\r\nFROM orders"_s);
    orders->SetHeader(u"Groups"_s);
    orders->SetParentDataSource(u"Top"_s);
    AddBand(report, VornKind::ReportContents, u"Groups"_s, 800);
    AddBand(report, VornKind::PageBreak, u"Break"_s, 500);
    AddBand(report, VornKind::ReportFooter, u"End"_s, 900);

    auto *text = AddItem<CVornText>(orders, u"Text 1"_s, -150, 199, 5000, 2050);
    text->SetColor(0x0000FF);
    text->SetText(u"Hello"_s);
    text->SetFontName(u"Arial"_s);
    text->SetFontSize(12);
    text->SetBold(1);
    text->SetItalic(1);
    text->SetHorzAlignment(2);
    text->SetVertAlignment(1);
    text->SetWordWrap(0);

    auto *amount = AddItem<CVornDbText>(orders, u"Amount"_s, 1000, 0, 3000, 500);
    amount->SetDataSource(u"Orders"_s);
    amount->SetQuery(u"SELECT a,\r\n\t  b FROM t"_s);
    amount->SetDataField(u"amount"_s);
    amount->SetFormat(u"%d"_s);
    amount->SetCanGrow(1);
    amount->SetAggregate(CVornDbText::Sum);
    amount->SetAggregateOver(CVornDbText::OverPage);

    auto *shape = AddItem<CVornShape>(orders, u"Shape 1"_s, 0, 0, 10000, 100);
    shape->SetShapeType(2);
    shape->SetColor(0x00FF00);
    shape->SetLineStyle(2);

    auto *logo = AddItem<CVornImage>(orders, u"Logo"_s, 100, 100, 2100, 2100);
    logo->SetHorzAlignment(1);
    logo->SetVertAlignment(7);

    auto *photo = AddItem<CVornDbImage>(orders, u"Photo"_s);
    photo->SetDataSource(u"Groups"_s);
    photo->SetDataField(u"pic"_s);

    AddItem<CVornBarcode>(orders, u"Code"_s, 0, 0, 3800, 2500)->SetBarcode(u"4006381333931"_s);

    auto *ean = AddItem<CVornDbBarcode>(orders, u"EAN"_s);
    ean->SetDataSource(u"Orders"_s);
    ean->SetDataField(u"ean"_s);
}

inline QString KindText(PropertyRowKind kind)
{
    switch (kind) {
    case PropertyRowKind::ReadOnly:
        return u"read-only"_s;
    case PropertyRowKind::Text:
        return u"text"_s;
    case PropertyRowKind::Integer:
        return u"integer"_s;
    case PropertyRowKind::Option:
        return u"option"_s;
    case PropertyRowKind::Group:
        return u"group"_s;
    case PropertyRowKind::Color:
        return u"colour"_s;
    case PropertyRowKind::Font:
        return u"font"_s;
    case PropertyRowKind::File:
        return u"file"_s;
    case PropertyRowKind::Sql:
        return u"SQL"_s;
    case PropertyRowKind::Suggest:
        return u"suggest"_s;
    case PropertyRowKind::Path:
        return u"path"_s;
    case PropertyRowKind::Expression:
        return u"expression"_s;
    case PropertyRowKind::Styles:
        return u"styles"_s;
    }
    return QString();
}

// One line per row: "name = value [kind]", then " {option|option}" for option
// rows and " : description" when there is one; sub-rows are indented by two
// blanks.
inline QStringList PageText(const QList<CPropertyRow> &rows, const QString &indent = QString())
{
    QStringList lines;
    for (const CPropertyRow &row : rows) {
        QString line
                = indent + row.name + u" = "_s + row.value + u" ["_s + KindText(row.kind) + u']';
        if (row.kind == PropertyRowKind::Option)
            line += u" {"_s + row.options.join(u'|') + u'}';
        if (!row.description.isEmpty())
            line += u" : "_s + row.description;
        lines.append(line);
        lines += PageText(row.subRows, indent + u"  "_s);
    }
    return lines;
}

} // namespace SampleReport
