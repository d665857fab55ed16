#pragma once

#include "barcodedrawing.h"
#include "pagepicture.h"

#include <QRgb>
#include <QString>
#include <QVariant>

#include <memory>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

class CDataFormat;
class CPageTextLines;

// What one laid-out page holds: plain drawing primitives in hundredths of a millimetre from the
// page's top left corner, in drawing order. Nothing here is a widget or a document; a page is
// built once by the layout and only read afterwards, from any thread.

// A rectangle in hundredths of a millimetre; right and bottom are exclusive.
struct CPageRect
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    friend bool operator==(const CPageRect &, const CPageRect &) = default;
};

// The band and item of the report that made a primitive: the band's index in the report's band
// list and the item's in that band's item list (-1 for none). Indexes rather than pointers, so
// that a page stays meaningful, and harmless, while the report it came from is being edited.
struct CPageSource
{
    int band = -1;
    int item = -1;

    friend bool operator==(const CPageSource &, const CPageSource &) = default;
};

// One font of the run, shared by every text that uses it.
struct CPageFont
{
    QString face;
    int points = 10;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    friend bool operator==(const CPageFont &, const CPageFont &) = default;
};

// The fonts of a run, made once and shared by every page; a text names its font by index.
using CPageFontTable = std::vector<CPageFont>;

// A run of plain text in its box.
// A text computed from the page number and the number of pages, which are only known when the
// page is drawn: a DB Text's expression that reads them, its other values taken when laid out.
class CPageFieldValue
{
public:
    virtual ~CPageFieldValue() = default;
    virtual QString Text(int number, int count) const = 0;
};

struct CPageText
{
    // A page number, the number of pages or a text computed from them is only known when the
    // page is drawn.
    enum class Field { None, PageNumber, PageCount, Computed };

    CPageRect box;
    QString text;
    int font = 0; // index into the page's font table; any other value draws in a default font
    QRgb color = 0xFF000000;
    int horzAlignment = 0; // 0 left, 1 right, 2 centre
    int vertAlignment = 0; // 0 top, 1 centre, 2 bottom
    bool wordWrap = true;
    Field field = Field::None;
    std::shared_ptr<const CDataFormat> format; // for a page field: how its number is written
    std::shared_ptr<const CPageFieldValue> computed; // for a computed field
    CPageSource source;
};

// A line, rectangle, rounded rectangle or ellipse.
struct CPageShape
{
    enum class Kind {
        Rectangle = 1,
        RoundRect = 2,
        VerticalLine = 3,
        HorizontalLine = 4,
        Ellipse = 5
    };

    CPageRect box;
    Kind kind = Kind::Rectangle;
    QRgb color = 0xFF000000;
    QRgb fill = 0xFFFFFFFF;
    int lineWidth = 1; // in 1/96 inch
    bool dotted = false;
    CPageSource source;
};

// A picture, one per distinct bytes of a run: every page that shows it holds the same one, so a
// PDF carries it once. It is decoded only when drawn. No picture, or bytes that are none, draw
// the crossed placeholder.
struct CPageImage
{
    CPageRect box;
    std::shared_ptr<const CPagePicture> picture;
    int horzAlignment = 3; // 0 left, 1 right, 2 centre, 3 stretch
    int vertAlignment = 3; // 0 top, 1 centre, 2 bottom, 3 stretch
    CPageSource source;
};

// A barcode in its box, cut at clip: the symbol of drawing when it has one, laid out from the
// box's top left corner, else value's EAN-13 (the crossed box when invalid).
struct CPageBarcode
{
    CPageRect box;
    CPageRect clip;
    QString value;
    std::shared_ptr<const CBarcodeDrawing> drawing;
    CPageSource source;
};

// A point of a path in hundredths of a millimetre from the top left corner of the path's box.
struct CPagePoint
{
    int x = 0;
    int y = 0;

    friend bool operator==(const CPagePoint &, const CPagePoint &) = default;
};

// A line through points, closed back to its first point or open, stroked and filled; a chart's
// bars, slices, axes and lines. The points lie relative to the box, so that the path moves with
// it, and the path is drawn cut at the box, as a band cuts its items. A colour whose alpha is 0
// is not drawn: a path with neither stroke nor fill still holds its box for a click.
struct CPagePath
{
    CPageRect box;
    std::vector<CPagePoint> points;
    bool closed = false;
    QRgb stroke = 0xFF000000;
    QRgb fill = 0; // only a closed path is filled
    int width = 25; // of the stroke, in hundredths of a millimetre
    CPageSource source;

    friend bool operator==(const CPagePath &, const CPagePath &) = default;
};

using CPageItem = std::variant<CPageText, CPageShape, CPageImage, CPageBarcode, CPagePath>;

namespace PagePrimitives {

// The handlers of VisitPrimitive as one overload set.
template<typename... Handlers>
struct Visitor : Handlers...
{
    using Handlers::operator()...;
};

// Stands for a primitive that nobody has written a handler for yet.
struct NotAPrimitive
{
};

} // namespace PagePrimitives

// Calls the one handler of handlers that takes item's primitive, as painters and writers draw
// each kind of primitive their own way. Every primitive needs a handler of its own type: a
// primitive added to CPageItem that a painter or writer does not name fails to compile there,
// instead of being left out of the page without a word, and so does a handler that takes any
// type (auto). Code that only reads what every primitive has (its box, its source) visits
// with one generic lambda instead.
template<typename Item, typename... Handlers>
decltype(auto) VisitPrimitive(Item &&item, Handlers &&...handlers)
{
    using Visitor = PagePrimitives::Visitor<std::decay_t<Handlers>...>;
    static_assert(!std::is_invocable_v<Visitor &, const PagePrimitives::NotAPrimitive &>,
                  "a handler takes every type: name each primitive instead");
    return std::visit(Visitor {std::forward<Handlers>(handlers)...}, std::forward<Item>(item));
}

// What a text prints on the page of that number among count pages.
QString PageTextValue(const CPageText &text, int number, int count);

// The band and item that made a primitive, and the box it was drawn in.
const CPageSource &SourceOf(const CPageItem &item);
const CPageRect &BoxOf(const CPageItem &item);

// The value of one DB Text as printed in a row: its item's index in the band, its horizontal
// place in hundredths of a millimetre (right exclusive) and the text after its Data Format.
struct CPrintedValue
{
    int item = -1;
    int left = 0;
    int right = 0;
    QString text;
    // The value before its Data Format, as the database gave it: a spreadsheet keeps numbers
    // and dates as such.
    QVariant value;

    friend bool operator==(const CPrintedValue &, const CPrintedValue &) = default;
};

// One band as placed on a page, in the order of printing: page headers first, then the body
// bands, then the page footers. A body band's placing is one printed row: it holds the values
// of the band's DB Texts that were printed, left to right (page numbers are no row data and
// are left out), so that a data export writes exactly what the pages show, in print order.
struct CPageBand
{
    int band = -1; // index in the report's band list
    int top = 0; // place on the page, in hundredths of a millimetre; bottom exclusive
    int bottom = 0;
    bool body = false; // false for page headers and footers
    std::vector<CPrintedValue> values;

    friend bool operator==(const CPageBand &, const CPageBand &) = default;
};

class CPage
{
public:
    explicit CPage(std::shared_ptr<const CPageFontTable> fonts = {});

    const CPageFontTable &GetFonts() const;
    const std::shared_ptr<const CPageFontTable> &GetFontTable() const { return m_fonts; }

    const std::vector<CPageItem> &GetItems() const { return m_items; }
    void Add(CPageItem item) { m_items.push_back(std::move(item)); }
    bool IsEmpty() const { return m_items.empty(); }

    // The bands placed on the page, in the order they were printed. The painter ignores them.
    const std::vector<CPageBand> &GetBands() const { return m_bands; }
    void AddBand(CPageBand band) { m_bands.push_back(std::move(band)); }

    // Page numbers can start again within a run. A page field shows the page's number counted
    // from the first page of its numbering (numberFrom, the run's number of that page) and the
    // pages of that numbering (numberPages; 0: up to the end of the run).
    void SetNumbering(int numberFrom, int numberPages)
    {
        m_numberFrom = numberFrom;
        m_numberPages = numberPages;
    }
    int GetNumberFrom() const { return m_numberFrom; }
    // What a page field shows on this page, the page being page number of count in the run.
    int NumberShown(int number) const { return number - m_numberFrom + 1; }
    int CountShown(int count) const
    {
        return m_numberPages > 0 ? m_numberPages : count - m_numberFrom + 1;
    }

    // The lines of the page's texts when the layout broke them before handing the page over
    // (see CPageSink::WantsTextLines), else null. Set once the items are final; the painter
    // draws them as they are.
    const std::shared_ptr<const CPageTextLines> &GetTextLines() const { return m_textLines; }
    void SetTextLines(std::shared_ptr<const CPageTextLines> lines)
    {
        m_textLines = std::move(lines);
    }

    // The items whose text does not fit in its box, so that part of it does not show, when the
    // layout looked for them (see CPageSink::WantsCutTexts).
    const std::vector<CPageSource> &GetCutTexts() const { return m_cutTexts; }
    void SetCutTexts(std::vector<CPageSource> sources) { m_cutTexts = std::move(sources); }

private:
    std::shared_ptr<const CPageFontTable> m_fonts;
    std::vector<CPageItem> m_items;
    std::vector<CPageBand> m_bands;
    std::shared_ptr<const CPageTextLines> m_textLines;
    int m_numberFrom = 1;
    int m_numberPages = 0;
    std::vector<CPageSource> m_cutTexts;
};
