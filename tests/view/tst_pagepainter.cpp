#include "pagetestutil.h"
#include "renderreportpage.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace PageTest;

namespace {

// Renders are 1000 x 1200 pixels at 96 dpi, wide enough for the full-size A4 page: the page
// lies at (103, 20) - (896, 1142).
const QSize Client(1000, 1200);
constexpr int PageLeft = 103;
constexpr int PageTop = 20;
constexpr int PageRight = 896;
constexpr int PageBottom = 1142;

constexpr QRgb Background = 0x808080;
constexpr QRgb Dark = 0x7A7A7A;
constexpr QRgb Outline = 0x404040;
constexpr QRgb White = 0xFFFFFF;
constexpr QRgb Black = 0x000000;
constexpr QRgb Red = 0xFF0000;
constexpr QRgb Green = 0x00FF00;
constexpr QRgb Blue = 0x0000FF;
constexpr QRgb Yellow = 0xFFFF00;

// Model units that convert to exactly px pixels at 96 dpi.
int U(int px)
{
    return (px * 2540 + 95) / 96;
}

struct Probe
{
    int x;
    int y;
    QRgb color;
};

// The first probe whose pixel differs, as a message; empty when all match.
QByteArray CheckProbes(const QImage &image, const QList<Probe> &probes, QPoint origin = {})
{
    for (const Probe &p : probes) {
        const QRgb actual = Pixel(image, origin.x() + p.x, origin.y() + p.y);
        if (actual != p.color) {
            return QStringLiteral("pixel (%1, %2): expected %3, got %4")
                    .arg(origin.x() + p.x)
                    .arg(origin.y() + p.y)
                    .arg(p.color, 6, 16, QLatin1Char('0'))
                    .arg(actual, 6, 16, QLatin1Char('0'))
                    .toUtf8();
        }
    }
    return {};
}

// Whether every pixel of the rectangle has the colour.
bool AllOf(const QImage &image, const QRect &area, QRgb color)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (Pixel(image, x, y) != color)
                return false;
        }
    }
    return true;
}

// The first row of the rectangle with a pixel that is not white, or -1.
int FirstInkRow(const QImage &image, const QRect &area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (Pixel(image, x, y) != White)
                return y;
        }
    }
    return -1;
}

// A report with one band 96 pixels high at the page top.
CVornBand *OneBand(CVornReport &report, int heightPx = 96)
{
    return AddBand(report, U(heightPx));
}

} // namespace

Q_DECLARE_METATYPE(QList<Probe>)

// The report drawn as a page, checked pixel by pixel where the pixel is the point: page and
// band areas, grid, clipping, pictures, shapes, texts, barcodes and selection marks.
class TestPagePainter : public QObject
{
    Q_OBJECT

private slots:
    void pageAreas_data()
    {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QRgb>("color");
        QTest::newRow("background left of the page") << 50 << 300 << Background;
        QTest::newRow("background above the page") << 500 << 10 << Background;
        QTest::newRow("band outline, top left") << PageLeft << PageTop << Outline;
        QTest::newRow("band outline, last column") << PageRight - 1 << 60 << Outline;
        QTest::newRow("right of the band") << PageRight << 60 << Background;
        QTest::newRow("band outline, last row") << 500 << 115 << Outline;
        QTest::newRow("band fill") << PageLeft + 1 << PageTop + 1 << White;
        QTest::newRow("dark area under the band") << 500 << 116 << Dark;
        QTest::newRow("dark area, last row") << 500 << PageBottom - 1 << Dark;
        QTest::newRow("below the page") << 500 << PageBottom << Background;
        QTest::newRow("the client beyond the scroll size") << 500 << 1190 << Background;
    }
    void pageAreas()
    {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QRgb, color);
        CVornReport report;
        OneBand(report);
        QCOMPARE(Pixel(Render(report, Client), x, y), color);
    }

    void grid_data()
    {
        QTest::addColumn<bool>("grid");
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<QRgb>("color");
        QTest::newRow("first dot") << true << PageLeft + 9 << PageTop + 9 << Background;
        QTest::newRow("next dot across") << true << PageLeft + 19 << PageTop + 9 << Background;
        QTest::newRow("between dots") << true << PageLeft + 10 << PageTop + 9 << White;
        QTest::newRow("no dot on the outline") << true << PageLeft + 9 << PageTop << Outline;
        // The first band is 37 pixels high; the second goes on with the same lattice.
        QTest::newRow("second band, same lattice")
                << true << PageLeft + 9 << PageTop + 39 << Background;
        QTest::newRow("dots lie on top of items")
                << true << PageLeft + 29 << PageTop + 19 << Background;
        QTest::newRow("next to the dot the item shows")
                << true << PageLeft + 30 << PageTop + 19 << Black;
        QTest::newRow("grid off") << false << PageLeft + 9 << PageTop + 9 << White;
    }
    void grid()
    {
        QFETCH(bool, grid);
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(QRgb, color);
        CVornReport report;
        CVornBand *first = AddBand(report, 1000);
        AddBand(report, U(96));
        auto *shape = AddItem<CVornShape>(first, U(20), U(10), U(60), U(30));
        shape->SetBkColor(0);
        QCOMPARE(Pixel(Render(report, Client, grid), x, y), color);
    }

    void itemsAreCutAtTheirBand()
    {
        CVornReport report;
        CVornBand *band = OneBand(report);
        // Past the page's right edge and the band's bottom.
        auto *shape = AddItem<CVornShape>(band, U(700), U(50), U(1000), U(200));
        shape->SetBkColor(0x0000FF);
        shape->SetLineWidth(4);
        auto *text = AddItem<CVornText>(band, U(10), U(60), U(600), U(400));
        text->SetText(u"WWWW WWWW WWWW WWWW WWWW WWWW"_s);
        text->SetFontSize(48);
        const QImage image = Render(report, Client);
        QCOMPARE(Pixel(image, PageLeft + 750, 100), Red);
        QVERIFY(FirstInkRow(image, QRect(PageLeft + 10, PageTop + 60, 590, 35)) >= 0);
        // Nothing of either item shows under the band or right of the page.
        QVERIFY(AllOf(image, QRect(PageLeft, 116, PageRight - PageLeft, 300), Dark));
        QVERIFY(AllOf(image, QRect(PageRight, 0, Client.width() - PageRight, 116), Background));
    }

    void pageBreakItemsDrawNothing()
    {
        CVornReport report;
        OneBand(report);
        CVornBand *pageBreak = AddBand(report, U(96), VornKind::PageBreak);
        const QImage without = Render(report, Client);
        auto *shape = AddItem<CVornShape>(pageBreak, 0, 0, U(200), U(50));
        shape->SetBkColor(0);
        AddItem<CVornImage>(pageBreak, 0, 0, U(200), U(50));
        QCOMPARE(Render(report, Client), without);
    }

    void imagePlaceholder_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("no bytes") << int(VornKind::Image) << QByteArray();
        QTest::newRow("bytes that are no picture")
                << int(VornKind::Image) << QByteArray("\x89PNG broken", 11);
        QTest::newRow("DB Image") << int(VornKind::DbImage) << QByteArray();
    }
    void imagePlaceholder()
    {
        QFETCH(int, kind);
        QFETCH(QByteArray, bytes);
        CVornReport report;
        CVornBand *band = OneBand(report);
        std::unique_ptr<CVornItem> item = CreateItem(kind);
        item->SetRect(U(48), U(24), U(96), U(72));
        static_cast<CVornImage *>(item.get())->SetImageData(bytes);
        band->GetItems().Add(item.release());
        // The box is 48 x 48 pixels from (151, 44): both diagonals run at 45 degrees.
        const QList<Probe> probes {{0, 0, Black},   {10, 10, Black}, {38, 10, Black},
                                   {10, 38, Black}, {47, 20, Black}, {20, 47, Black},
                                   {10, 26, White}, {30, 20, White}, {48, 20, White}};
        const QByteArray failure = CheckProbes(Render(report, Client), probes, {151, 44});
        QVERIFY2(failure.isEmpty(), failure.constData());
    }

    void pictures_data()
    {
        QTest::addColumn<int>("horz");
        QTest::addColumn<int>("vert");
        QTest::addColumn<QSize>("box");
        QTest::addColumn<QList<Probe>>("probes");
        // The picture is 40 x 20 pixels: red, blue / green, yellow quadrants of 20 x 10.
        QTest::newRow("left top, natural size")
                << 0 << 0 << QSize(96, 48)
                << QList<Probe> {{0, 0, Red},    {19, 9, Red},   {20, 0, Blue}, {39, 19, Yellow},
                                 {0, 19, Green}, {40, 0, White}, {0, 20, White}};
        QTest::newRow("right bottom")
                << 1 << 2 << QSize(96, 48)
                << QList<Probe> {{56, 28, Red}, {95, 47, Yellow}, {55, 47, White}, {95, 27, White}};
        QTest::newRow("centred") << 2 << 1 << QSize(96, 48)
                                 << QList<Probe> {{28, 14, Red}, {67, 33, Yellow}, {27, 14, White}};
        QTest::newRow("stretched over the box")
                << 3 << 3 << QSize(96, 48)
                << QList<Probe> {{0, 0, Red},      {47, 23, Red}, {48, 24, Yellow},
                                 {95, 47, Yellow}, {95, 0, Blue}, {0, 47, Green}};
        QTest::newRow("narrow box, left part")
                << 0 << 0 << QSize(20, 48) << QList<Probe> {{0, 0, Red}, {18, 0, Red}};
        QTest::newRow("narrow box, right part")
                << 1 << 0 << QSize(20, 48)
                << QList<Probe> {{1, 0, Blue}, {19, 0, Blue}, {19, 19, Yellow}};
        QTest::newRow("low box, top part")
                << 0 << 0 << QSize(96, 10) << QList<Probe> {{0, 0, Red}, {39, 8, Blue}};
        QTest::newRow("low box, bottom part")
                << 0 << 2 << QSize(96, 10) << QList<Probe> {{0, 1, Green}, {39, 9, Yellow}};
    }
    void pictures()
    {
        QFETCH(int, horz);
        QFETCH(int, vert);
        QFETCH(QSize, box);
        QFETCH(QList<Probe>, probes);
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *image = AddItem<CVornImage>(band, U(48), U(24), U(48 + box.width()),
                                          U(24 + box.height()));
        image->SetImageData(QuadrantPng(40, 20));
        image->SetHorzAlignment(horz);
        image->SetVertAlignment(vert);
        const QByteArray failure = CheckProbes(Render(report, Client), probes, {151, 44});
        QVERIFY2(failure.isEmpty(), failure.constData());
    }

    void keptPicturesFollowEveryChange()
    {
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *image = AddItem<CVornImage>(band, U(48), U(24), U(96), U(72));
        image->SetHorzAlignment(0);
        image->SetVertAlignment(0);
        image->SetImageData(QuadrantPng(40, 20));
        auto *twin = AddItem<CVornImage>(band, U(200), U(24), U(248), U(72));
        twin->SetImageData(image->GetImageData());
        CPaintCache cache;
        QCOMPARE(Pixel(Render(report, Client, false, &cache), 151, 44), Red);
        QCOMPARE(cache.pictures.GetCount(), 2);

        // New bytes show on the next paint; so does a change made in place.
        QImage black(8, 8, QImage::Format_RGB32);
        black.fill(Qt::black);
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        black.save(&buffer, "BMP");
        image->SetImageData(bytes);
        QCOMPARE(Pixel(Render(report, Client, false, &cache), 151, 44), Black);
        const_cast<QByteArray &>(image->GetImageData()).truncate(10);
        QCOMPARE(Pixel(Render(report, Client, false, &cache), 151, 44), Black); // crossed box
        QCOMPARE(Pixel(Render(report, Client, false, &cache), 152, 46), White);

        // Pictures of items that are gone are let go.
        delete band->GetItems().RemoveAt(0);
        delete band->GetItems().RemoveAt(0);
        Render(report, Client, false, &cache);
        QCOMPARE(cache.pictures.GetCount(), 0);
    }

    void keptMeasuresFollowEveryChange()
    {
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *text = AddItem<CVornText>(band, U(10), U(10), U(200), U(90));
        text->SetText(u"One two three four five six"_s);
        text->SetVertAlignment(2);
        auto *dbText = AddItem<CVornDbText>(band, U(300), U(10), U(360), U(40));
        dbText->SetDataField(u"CustomerName"_s);
        dbText->SetWordWrap(0);
        CPaintCache cache;
        Render(report, Client, false, &cache);
        QVERIFY(cache.texts.GetCount() > 0);

        text->SetText(u"One two three four five six seven eight nine ten eleven twelve"_s);
        dbText->SetDataField(u"Amount"_s);
        QCOMPARE(Render(report, Client, false, &cache), Render(report, Client));
        text->SetFontSize(16);
        dbText->SetRight(U(330));
        QCOMPARE(Render(report, Client, false, &cache), Render(report, Client));
    }

    void shapes_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("style");
        QTest::addColumn<QList<Probe>>("probes");
        // The box is 48 x 24 pixels at (151, 44); the line colour is red, the fill blue.
        QTest::newRow("rectangle")
                << 1 << 1 << QList<Probe> {{0, 0, Red},    {47, 23, Red},  {47, 5, Red},
                                           {48, 5, White}, {5, 24, White}, {1, 1, Blue}};
        QTest::newRow("rounded rectangle")
                << 2 << 1 << QList<Probe> {{10, 0, Red}, {0, 10, Red}, {10, 10, Blue}};
        QTest::newRow("ellipse") << 5 << 1
                                 << QList<Probe> {{1, 1, White}, {24, 0, Red}, {24, 12, Blue}};
        QTest::newRow("line down the left edge")
                << 3 << 1
                << QList<Probe> {{0, 0, Red}, {0, 23, Red}, {1, 10, White}, {0, 24, White}};
        QTest::newRow("line along the top edge")
                << 4 << 1
                << QList<Probe> {{0, 0, Red}, {47, 0, Red}, {10, 1, White}, {48, 0, White}};
        QTest::newRow("unknown type draws nothing")
                << 9 << 1 << QList<Probe> {{0, 0, White}, {10, 10, White}};
    }
    void shapes()
    {
        QFETCH(int, type);
        QFETCH(int, style);
        QFETCH(QList<Probe>, probes);
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *shape = AddItem<CVornShape>(band, U(48), U(24), U(96), U(48));
        shape->SetShapeType(type);
        shape->SetLineStyle(style);
        shape->SetColor(0x0000FF);
        shape->SetBkColor(0xFF0000);
        const QByteArray failure = CheckProbes(Render(report, Client), probes, {151, 44});
        QVERIFY2(failure.isEmpty(), failure.constData());
    }

    void dottedOutlineHasGaps_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("dotted");
        QTest::newRow("solid") << 1 << false;
        QTest::newRow("dotted") << 2 << true;
        QTest::newRow("unknown styles are solid") << 5 << false;
    }
    void dottedOutlineHasGaps()
    {
        QFETCH(int, style);
        QFETCH(bool, dotted);
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *shape = AddItem<CVornShape>(band, U(48), U(24), U(96), U(48));
        shape->SetLineStyle(style);
        shape->SetColor(0x0000FF);
        const QImage image = Render(report, Client);
        int red = 0;
        for (int x = 151; x < 199; ++x)
            red += Pixel(image, x, 44) == Red;
        if (dotted)
            QVERIFY2(red >= 12 && red <= 24, QByteArray::number(red).constData());
        else
            QCOMPARE(red, 48);
    }

    void lineWidthIgnoresTheZoom_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<int>("width");
        QTest::newRow("3 pixels, full size") << Client << 3;
        QTest::newRow("3 pixels, narrow window") << QSize(500, 400) << 3;
        QTest::newRow("1 pixel, narrow window") << QSize(500, 400) << 1;
    }
    void lineWidthIgnoresTheZoom()
    {
        QFETCH(QSize, client);
        QFETCH(int, width);
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *line = AddItem<CVornShape>(band, U(48), U(10), U(96), U(80));
        line->SetShapeType(3);
        line->SetLineWidth(width);
        line->SetColor(0x0000FF);
        const QImage image = Render(report, client);
        int red = 0;
        for (int x = 0; x < image.width(); ++x)
            red += Pixel(image, x, 60) == Red;
        QCOMPARE(red, width);
    }

    void textColor_data()
    {
        QTest::addColumn<quint32>("colorRef");
        QTest::addColumn<QRgb>("ink");
        QTest::newRow("0x0000FF is red") << quint32(0x0000FF) << Red;
        QTest::newRow("0xFF0000 is blue") << quint32(0xFF0000) << Blue;
    }
    void textColor()
    {
        QFETCH(quint32, colorRef);
        QFETCH(QRgb, ink);
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *text = AddItem<CVornText>(band, U(10), U(10), U(300), U(80));
        text->SetText(u"MMMM"_s);
        text->SetFontSize(36);
        text->SetBold(1);
        text->SetColor(colorRef);
        const QImage image = Render(report, Client);
        int found = 0;
        for (int y = PageTop + 10; y < PageTop + 80; ++y) {
            for (int x = PageLeft + 10; x < PageLeft + 300; ++x)
                found += Pixel(image, x, y) == ink;
        }
        QVERIFY(found > 100);
    }

    void tallWrappedTextMovesDown_data()
    {
        QTest::addColumn<int>("alignment");
        QTest::newRow("center") << 1;
        QTest::newRow("bottom") << 2;
    }
    void tallWrappedTextMovesDown()
    {
        QFETCH(int, alignment);
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *text = AddItem<CVornText>(band, U(10), U(10), U(200), U(70));
        text->SetText(u"One two three four five six seven eight nine ten"_s);
        text->SetFontSize(20);
        const QRect box(PageLeft + 10, PageTop + 10, 190, 60);
        const int topInk = FirstInkRow(Render(report, Client), box);
        text->SetVertAlignment(alignment);
        const int movedInk = FirstInkRow(Render(report, Client), box);
        QVERIFY(topInk >= 0);
        QVERIFY2(movedInk == -1 || movedInk > topInk + 5, QByteArray::number(movedInk).constData());
    }

    void dbTextShowsTheEndOfALongPlaceholder()
    {
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *text = AddItem<CVornDbText>(band, U(10), U(10), U(60), U(40));
        text->SetDataSource(u"Orders"_s);
        text->SetDataField(u"CustomerName"_s);
        text->SetWordWrap(0);
        // Right of the box nothing shows, and the box is not left empty.
        const QImage image = Render(report, Client);
        QVERIFY(FirstInkRow(image, QRect(PageLeft + 10, PageTop + 10, 50, 30)) >= 0);
        QVERIFY(AllOf(image, QRect(PageLeft + 60, PageTop + 10, 50, 30), White));
    }

    void barcodes_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("value");
        QTest::addColumn<bool>("sample");
        QTest::newRow("empty value shows the sample")
                << int(VornKind::Barcode) << QString() << true;
        QTest::newRow("DB Barcode shows the sample")
                << int(VornKind::DbBarcode) << QString() << true;
        QTest::newRow("its own value") << int(VornKind::Barcode) << u"4006381333931"_s << false;
        QTest::newRow("invalid value") << int(VornKind::Barcode) << u"123"_s << false;
    }
    void barcodes()
    {
        QFETCH(int, kind);
        QFETCH(QString, value);
        QFETCH(bool, sample);
        CVornReport report;
        CVornBand *band = OneBand(report);
        std::unique_ptr<CVornItem> item = CreateItem(kind);
        item->SetRect(U(48), U(12), U(240), U(84));
        static_cast<CVornBarcode *>(item.get())->SetBarcode(value);
        band->GetItems().Add(item.release());
        const QImage image = Render(report, Client);
        // Something black in the box (bars or the crossed box), nothing right of it.
        QVERIFY(!AllOf(image, QRect(PageLeft + 48, PageTop + 12, 192, 72), White));
        QVERIFY(AllOf(image, QRect(PageLeft + 240, PageTop + 12, 60, 72), White));

        auto *reference = static_cast<CVornBarcode *>(band->GetItems()[0]);
        reference->SetBarcode(CPagePainter::SampleBarcode);
        QCOMPARE(Render(report, Client) == image, sample);
    }

    void crossedBoxFillsItsItem()
    {
        // The box goes to the renderer in units and comes back in pixels: the left and top
        // sides of the crossed box must land on the item's own first column and row. The
        // right and bottom sides lie on the item's exclusive edges, outside its clip, as
        // lines drawn to a box's far edges do.
        CVornReport report;
        CVornBand *band = OneBand(report);
        auto *barcode = AddItem<CVornBarcode>(band, U(48), U(12), U(240), U(84));
        barcode->SetBarcode(u"123"_s);
        const QImage image = Render(report, Client);
        const int left = PageLeft + 48;
        const int top = PageTop + 12;
        QCOMPARE(Pixel(image, left, top + 30), Black);
        QCOMPARE(Pixel(image, left + 100, top), Black);
        QCOMPARE(Pixel(image, left + 192, top + 30), White);
        QCOMPARE(Pixel(image, left + 100, top + 72), White);
        // The diagonals meet in the middle.
        QCOMPARE(Pixel(image, left + 96, top + 36), Black);
    }

    void selectedItemMarks()
    {
        CVornReport report;
        CVornBand *band = OneBand(report);
        AddItem<CVornText>(band, U(48), U(24), U(96), U(72))->SetSelected(true);
        const QImage image = Render(report, Client);
        // The box is (151, 44) - (199, 92). Handles: 6 x 6 outlines about each corner.
        const QList<Probe> probes {{148, 41, Outline}, {153, 41, Outline}, {154, 41, White},
                                   {148, 46, Outline}, {149, 42, White},   {196, 41, Outline},
                                   {201, 94, Outline}, {202, 95, White},   {148, 94, Outline}};
        const QByteArray failure = CheckProbes(image, probes);
        QVERIFY2(failure.isEmpty(), failure.constData());
        // Dotted sides between the handles: every other pixel inverted (white to black).
        for (int x = 155; x < 195; ++x)
            QCOMPARE(Pixel(image, x, 44), ((x + 44) % 2 == 0) ? Black : White);
        for (int y = 48; y < 88; ++y) {
            QCOMPARE(Pixel(image, 199, y), ((199 + y) % 2 == 0) ? Black : White);
            QCOMPARE(Pixel(image, 151, y), ((151 + y) % 2 == 0) ? Black : White);
        }
        for (int x = 155; x < 195; ++x)
            QCOMPARE(Pixel(image, x, 92), ((x + 92) % 2 == 0) ? Black : White);
    }

    void selectedBandMarks()
    {
        CVornReport report;
        OneBand(report)->SetSelected(true);
        const QImage image = Render(report, Client);
        // Two handles on the left; the right corners lie off the page.
        QCOMPARE(Pixel(image, PageLeft - 3, PageTop - 3), Outline);
        QCOMPARE(Pixel(image, PageLeft - 3, 116 + 2), Outline);
        QCOMPARE(Pixel(image, PageRight + 2, PageTop + 2), Background);
        QCOMPARE(Pixel(image, PageRight - 3, PageTop - 3), Background);
        // Top, left and bottom sides invert the outline and the dark area; no right side.
        for (int x = 110; x < 130; ++x)
            QCOMPARE(Pixel(image, x, PageTop), ((x + PageTop) % 2 == 0) ? 0xBFBFBF : Outline);
        for (int x = 110; x < 130; ++x)
            QCOMPARE(Pixel(image, x, 116), ((x + 116) % 2 == 0) ? 0x858585 : Dark);
        for (int y = 30; y < 100; ++y) {
            QCOMPARE(Pixel(image, PageLeft, y), ((PageLeft + y) % 2 == 0) ? 0xBFBFBF : Outline);
            QCOMPARE(Pixel(image, PageRight, y), Background);
            QCOMPARE(Pixel(image, PageRight - 1, y), Outline);
        }
    }

    void itemCutAtThePageShowsMarksOnItsLeftOnly()
    {
        CVornReport report;
        CVornBand *band = OneBand(report);
        AddItem<CVornShape>(band, U(700), U(24), U(1000), U(72))->SetSelected(true);
        const QImage image = Render(report, Client);
        QCOMPARE(Pixel(image, PageLeft + 700 - 3, 44 - 3), Outline);
        QCOMPARE(Pixel(image, PageRight + 2, 44 + 2), Background);
        QCOMPARE(Pixel(image, PageRight + 2, 92 + 2), Background);
    }

    void damagedValuesDrawWithoutHarm_data()
    {
        QTest::addColumn<int>("pageWidth");
        QTest::addColumn<int>("bandHeight");
        QTest::addColumn<int>("coordinate");
        QTest::addColumn<int>("size"); // font size, line width
        QTest::newRow("huge page") << INT_MAX << 2540 << 1000 << 10;
        QTest::newRow("huge band") << 21000 << INT_MAX << 1000 << 10;
        QTest::newRow("huge items") << 21000 << 2540 << INT_MAX << 10;
        QTest::newRow("items far left and up") << 21000 << 2540 << INT_MIN << 10;
        QTest::newRow("huge font and pen") << 21000 << 2540 << 1000 << INT_MAX;
        QTest::newRow("negative everything") << -21000 << -2540 << -1000 << -10;
    }
    void damagedValuesDrawWithoutHarm()
    {
        QFETCH(int, pageWidth);
        QFETCH(int, bandHeight);
        QFETCH(int, coordinate);
        QFETCH(int, size);
        CVornReport report;
        report.SetWidth(pageWidth);
        CVornBand *band = AddBand(report, bandHeight);
        for (int kind : {VornKind::Text, VornKind::Shape, VornKind::DbText, VornKind::Image,
                         VornKind::Barcode}) {
            std::unique_ptr<CVornItem> item = CreateItem(kind);
            item->SetRect(500, 500, coordinate, coordinate);
            item->SetSelected(true);
            if (auto *text = dynamic_cast<CVornText *>(item.get())) {
                text->SetText(u"Some text here"_s);
                text->SetFontSize(size);
            }
            if (auto *shape = dynamic_cast<CVornShape *>(item.get()))
                shape->SetLineWidth(size);
            if (auto *image = dynamic_cast<CVornImage *>(item.get()))
                image->SetImageData(QuadrantPng(40, 20));
            band->GetItems().Add(item.release());
        }
        band->SetSelected(true);
        const QImage image = Render(report, QSize(800, 600), true);
        QCOMPARE(Pixel(image, 2, 2), Background);
    }

    void renderReportPage_data()
    {
        QTest::addColumn<QSize>("client");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("pageTopLeft");
        QTest::newRow("the scroll size by default")
                << QSize() << QSize(833, 1162) << QPoint(20, 20);
        QTest::newRow("a wider client")
                << QSize(1000, 700) << QSize(1000, 700) << QPoint(PageLeft, PageTop);
    }
    void renderReportPage()
    {
        QFETCH(QSize, client);
        QFETCH(QSize, size);
        QFETCH(QPoint, pageTopLeft);
        CVornReport report;
        OneBand(report);
        const QImage image = RenderReportPage(report, client, true);
        QCOMPARE(image.size(), size);
        QCOMPARE(image.logicalDpiX(), 96);
        QCOMPARE(Pixel(image, pageTopLeft.x(), pageTopLeft.y()), Outline);
        QCOMPARE(Pixel(image, pageTopLeft.x() - 1, pageTopLeft.y()), Background);
        QCOMPARE(Pixel(image, pageTopLeft.x() + 9, pageTopLeft.y() + 9), Background);
    }
};

VANTEL_TEST_CLASS(TestPagePainter)
#include "tst_pagepainter.moc"
