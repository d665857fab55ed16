#include "dataformat.h"
#include "pagecontent.h"
#include "pagemodel.h"
#include "pagerender.h"
#include "pagetextlines.h"
#include "pdftext.h"
#include "pdfwriter.h"
#include "picturecache.h"
#include "testregistry.h"
#include "testutil.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

// The page model drawn on images and written as PDF, from a model built by hand.
class TestPageRender : public QObject
{
    Q_OBJECT

private slots:
    void imagePixels();
    void pathPixels();
    void pdfTextAndPageFields();
    void samePictureStoredOnce();
    void failedWriteLeavesNothing();
    void paintScalesToTarget();
    void picturesDecodedAtTheSizeDrawn_data();
    void picturesDecodedAtTheSizeDrawn();
    void picturesKeptWithinTheBudget();
    void deepColourPictureOverQtsLimit();
    void textsBrokenAheadDrawTheSame_data();
    void textsBrokenAheadDrawTheSame();

private:
    static std::shared_ptr<CPage> NewPage();
    static QByteArray PngBytes(QColor color, QSize size, QImage::Format format);
    static std::shared_ptr<const CPagePicture> Picture(QColor color, QSize size = {64, 64});
};

std::shared_ptr<CPage> TestPageRender::NewPage()
{
    static const auto fonts = std::make_shared<const CPageFontTable>(
            CPageFontTable {{u"DejaVu Sans"_s, 12}, {u"DejaVu Serif"_s, 10, true}});
    return std::make_shared<CPage>(fonts);
}

QByteArray TestPageRender::PngBytes(QColor color, QSize size, QImage::Format format)
{
    QImage image(size, format);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

std::shared_ptr<const CPagePicture> TestPageRender::Picture(QColor color, QSize size)
{
    return std::make_shared<const CPagePicture>(PngBytes(color, size, QImage::Format_RGB32));
}

void TestPageRender::imagePixels()
{
    CPageModel model;
    model.SetPageSize({2540, 2540}); // one inch: 96 pixels at 96 dpi
    auto page = NewPage();
    CPageShape red;
    red.box = {0, 0, 1270, 1270};
    red.color = qRgb(255, 0, 0);
    red.fill = qRgb(0, 0, 255);
    page->Add(red);
    CPageShape line;
    line.box = {0, 2000, 2540, 2100};
    line.kind = CPageShape::Kind::HorizontalLine;
    line.lineWidth = 3;
    page->Add(line);
    page->Add(CPageImage {{1270, 1270, 2540, 2540}, Picture(Qt::green), 3, 3, {}});
    page->Add(CPageImage {{1270, 0, 2540, 1270}, nullptr, 3, 3, {}});
    model.AddPage(page);

    const QImage at96 = RenderPageImage(model, 0, 96);
    QCOMPARE(at96.size(), QSize(96, 96));
    QCOMPARE(at96.pixel(0, 0), qRgb(255, 0, 0)); // outline
    QCOMPARE(at96.pixel(10, 10), qRgb(0, 0, 255)); // fill
    QCOMPARE(at96.pixel(70, 70), qRgb(0, 255, 0)); // stretched picture
    QCOMPARE(at96.pixel(58, 10), qRgb(0, 0, 0)); // crossed placeholder's diagonal
    QCOMPARE(at96.pixel(70, 10), qRgb(255, 255, 255));
    // A pen of 3/96 inch is 3 pixels here and 6 at twice the resolution.
    const auto thickness = [](const QImage &image, int x) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            n += image.pixel(x, y) == qRgb(0, 0, 0);
        return n;
    };
    QCOMPARE(thickness(at96, 40), 3);
    const QImage at192 = RenderPageImage(model, 0, 192);
    QCOMPARE(at192.size(), QSize(192, 192));
    QCOMPARE(thickness(at192, 80), 6);
    QVERIFY(RenderPageImage(model, 1, 96).isNull()); // no such page
    QVERIFY(RenderPageImage(model, 0, 1000000).isNull()); // far too many pixels
}

void TestPageRender::pathPixels()
{
    CPageModel model;
    model.SetPageSize({2540, 2540});
    auto page = NewPage();
    CPagePath triangle;
    triangle.box = {0, 0, 2540, 2540};
    triangle.points = {{0, 0}, {2540, 0}, {0, 2540}};
    triangle.closed = true;
    triangle.fill = qRgb(255, 0, 0);
    triangle.stroke = 0;
    page->Add(triangle);
    // Points relative to the box, reaching past it to the left: cut at the box.
    CPagePath cut;
    cut.box = {1270, 1270, 2540, 2540};
    cut.points = {{-1270, 0}, {1270, 0}, {1270, 1270}, {-1270, 1270}};
    cut.closed = true;
    cut.fill = qRgb(0, 0, 255);
    page->Add(cut);
    // An open path is not filled.
    CPagePath open = triangle;
    open.box = {1270, 0, 2540, 1270};
    open.points = {{0, 0}, {1270, 0}, {1270, 1270}};
    open.closed = false;
    open.fill = qRgb(0, 255, 0);
    page->Add(open);
    model.AddPage(page);
    const QImage image = RenderPageImage(model, 0, 96);
    QCOMPARE(image.pixel(10, 10), qRgb(255, 0, 0));
    QCOMPARE(image.pixel(70, 80), qRgb(0, 0, 255));
    QCOMPARE(image.pixel(20, 80), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(85, 20), qRgb(255, 255, 255));
}

void TestPageRender::pdfTextAndPageFields()
{
    CPageModel model;
    model.SetPageSize({21000, 29700});
    CDataFormat format;
    QString problem;
    QVERIFY(CDataFormat::Parse(u"Page %d"_s, format, problem));
    const auto pageFormat = std::make_shared<const CDataFormat>(format);
    for (int i = 0; i < 3; ++i) {
        auto page = NewPage();
        CPageText text;
        text.box = {1000, 1000, 15000, 2000};
        text.text = u"Row value %1 \u00e9t\u00e9"_s.arg(i);
        text.font = i % 2;
        page->Add(text);
        // A text cut at its box: what does not show is not in the text layer either.
        CPageText cut;
        cut.box = {1000, 3000, 15000, 3450};
        cut.text = u"Shown words\nHidden words\nHidden too"_s;
        page->Add(cut);
        CPageText number;
        number.box = {1000, 28000, 6000, 29000};
        number.field = CPageText::Field::PageNumber;
        number.format = pageFormat;
        page->Add(number);
        CPageText total = number;
        total.box = {7000, 28000, 12000, 29000};
        total.field = CPageText::Field::PageCount;
        total.format = nullptr;
        page->Add(total);
        model.AddPage(page);
    }
    model.SetComplete();
    QTemporaryDir folder;
    const QString path = folder.filePath(u"out.pdf"_s);
    QString message;
    QVERIFY2(WritePdf(model, path, u"Title"_s, message), qPrintable(message));
    const QStringList pages = PdfPages(path);
    QCOMPARE(pages.size(), 3);
    for (int i = 0; i < 3; ++i) {
        QVERIFY2(pages[i].contains(u"Row value %1 \u00e9t\u00e9"_s.arg(i)), qPrintable(pages[i]));
        QVERIFY(pages[i].contains(u"Page %1"_s.arg(i + 1)));
        QVERIFY2(pages[i].contains(u"Shown words"_s) && !pages[i].contains(u"Hidden"_s),
                 qPrintable(pages[i]));
        QVERIFY(pages[i].contains(u"3"_s));
    }
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files), QStringList {u"out.pdf"_s});
}

void TestPageRender::samePictureStoredOnce()
{
    QTemporaryDir folder;
    qint64 sizes[2] = {};
    const auto picture = Picture(Qt::darkCyan);
    for (int pages : {2, 20}) {
        CPageModel model;
        model.SetPageSize({21000, 29700});
        for (int p = 0; p < pages; ++p) {
            auto page = NewPage();
            for (int row = 0; row < 20; ++row)
                page->Add(
                        CPageImage {{1000, row * 1000, 2000, row * 1000 + 900}, picture, 3, 3, {}});
            // A part of the picture, cut the same way on every page.
            page->Add(CPageImage {{3000, 0, 3500, 500}, picture, 0, 0, {}});
            model.AddPage(page);
        }
        const QString path = folder.filePath(u"p%1.pdf"_s.arg(pages));
        QString message;
        QVERIFY2(WritePdf(model, path, {}, message), qPrintable(message));
        sizes[pages == 20] = QFileInfo(path).size();
    }
    // Eighteen more pages of twenty-one pictures each cost only their drawing commands.
    QVERIFY2(sizes[1] - sizes[0] < 18 * 1200, qPrintable(u"%1 %2"_s.arg(sizes[0]).arg(sizes[1])));
}

void TestPageRender::failedWriteLeavesNothing()
{
    CPageModel model;
    model.SetPageSize({21000, 29700});
    QTemporaryDir folder;
    QString message;
    QVERIFY(!WritePdf(model, folder.filePath(u"empty.pdf"_s), {}, message));
    QVERIFY(!message.isEmpty());
    model.AddPage(NewPage());
    message.clear();
    QVERIFY(!WritePdf(model, folder.filePath(u"missing/out.pdf"_s), {}, message));
    QVERIFY2(message.contains(u"out.pdf"_s), qPrintable(message));
    QVERIFY(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
    // An existing file is replaced only by a complete one.
    const QString path = folder.filePath(u"keep.pdf"_s);
    QVERIFY(TestUtil::WriteAll(path, "old"));
    QVERIFY2(WritePdf(model, path, {}, message), qPrintable(message));
    QVERIFY(TestUtil::ReadAll(path).startsWith("%PDF"));
}

void TestPageRender::paintScalesToTarget()
{
    CPageModel model;
    model.SetPageSize({2540, 5080});
    auto page = NewPage();
    CPageShape box;
    box.box = {1270, 2540, 2540, 5080};
    box.fill = qRgb(0, 0, 0);
    page->Add(box);
    model.AddPage(page);
    QImage image(300, 300, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        PaintPage(painter, model, 0, QRectF(100, 50, 48, 10));
    }
    // 48 pixels wide, so 96 high, white paper with the black lower right quarter.
    QCOMPARE(image.pixel(99, 60), QColor(Qt::gray).rgb());
    QCOMPARE(image.pixel(110, 60), qRgb(255, 255, 255));
    QCOMPARE(image.pixel(140, 130), qRgb(0, 0, 0));
    QCOMPARE(image.pixel(140, 147), QColor(Qt::gray).rgb());
}

void TestPageRender::picturesDecodedAtTheSizeDrawn_data()
{
    // A box of half an inch by a quarter on a page of one inch.
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<int>("alignment");
    QTest::addColumn<QSize>("onImage"); // decoded for the page drawn at 96 dpi
    QTest::addColumn<QSize>("inPdf"); // embedded in a PDF
    QTest::newRow("large, stretched: the box's size, at most 300 dpi in a PDF")
            << QSize(3000, 1500) << 3 << QSize(48, 24) << QSize(150, 75);
    QTest::newRow("large, at natural size: the part shown")
            << QSize(3000, 1500) << 0 << QSize(48, 24) << QSize(48, 24);
    QTest::newRow("small, stretched: never more than it has")
            << QSize(40, 10) << 3 << QSize(40, 10) << QSize(40, 10);
}

void TestPageRender::picturesDecodedAtTheSizeDrawn()
{
    QFETCH(QSize, picture);
    QFETCH(int, alignment);
    QFETCH(QSize, onImage);
    QFETCH(QSize, inPdf);
    CPageModel model;
    model.SetPageSize({2540, 2540});
    auto page = NewPage();
    page->Add(CPageImage {
            {0, 0, 1270, 635}, Picture(Qt::darkRed, picture), alignment, alignment, {}});
    model.AddPage(page);
    CPictureStore &store = CPictureStore::Instance();
    const qint64 held = store.GetHeldBytes();
    const QImage image = RenderPageImage(model, 0, 96);
    QCOMPARE(store.GetHeldBytes() - held, qint64(onImage.width()) * onImage.height() * 4);
    QCOMPARE(image.pixel(10, 10), QColor(Qt::darkRed).rgb());

    QTemporaryDir folder;
    const QString path = folder.filePath(u"picture.pdf"_s);
    QString message;
    QVERIFY2(WritePdf(model, path, {}, message), qPrintable(message));
    QProcess list;
    list.start(u"pdfimages"_s, {u"-list"_s, path});
    QVERIFY(list.waitForFinished(60000));
    // "page num type width height ...": one image, below a two-line heading.
    const QStringList lines
            = QString::fromUtf8(list.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 3);
    const QStringList columns = lines[2].split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(QSize(columns[3].toInt(), columns[4].toInt()), inPdf);
}

void TestPageRender::picturesKeptWithinTheBudget()
{
    // Room for two of the drawn images: drawing a third lets the one drawn longest ago go, and
    // a picture drawn again after that is decoded again. A picture that is gone takes its
    // images with it.
    CPictureStore &store = CPictureStore::Instance();
    const qint64 budget = store.GetBudget();
    const qint64 one = 48 * 24 * 4;
    store.SetBudget(2 * one + 100);
    std::vector<std::shared_ptr<const CPagePicture>> pictures {Picture(Qt::red, {480, 240}),
                                                               Picture(Qt::green, {480, 240}),
                                                               Picture(Qt::blue, {480, 240})};
    const QRect whole(0, 0, 480, 240);
    const QImage first = store.ImageOf(*pictures[0], whole, {48, 24});
    QCOMPARE(store.ImageOf(*pictures[0], whole, {48, 24}).cacheKey(), first.cacheKey());
    store.ImageOf(*pictures[1], whole, {48, 24});
    store.ImageOf(*pictures[2], whole, {48, 24});
    QVERIFY(store.GetHeldBytes() <= 2 * one + 100);
    const QImage again = store.ImageOf(*pictures[0], whole, {48, 24});
    QVERIFY(again.cacheKey() != first.cacheKey());
    QCOMPARE(again.pixel(5, 5), QColor(Qt::red).rgb());
    pictures.clear();
    QCOMPARE(store.GetHeldBytes(), qint64(0));
    store.SetBudget(budget);
}

void TestPageRender::deepColourPictureOverQtsLimit()
{
    // 16 bits a channel at 5000 x 5000: 200 MB of pixels before scaling, over the 128 MB that Qt
    // decodes on its own. The engine prints it and the design view shows it.
    const QColor colour(10, 200, 30);
    const QByteArray bytes = PngBytes(colour, {5000, 5000}, QImage::Format_RGBA64);
    const CPagePicture picture(bytes);
    const QImage drawn = CPictureStore::Instance().ImageOf(picture, {0, 0, 5000, 5000}, {50, 50});
    QVERIFY(!drawn.isNull());
    QCOMPARE(drawn.pixel(25, 25), colour.rgb());
    const CPictureCache::Picture shown = CPictureCache::Decode(bytes);
    QCOMPARE(shown.image.size(), QSize(5000, 5000));
}

void TestPageRender::textsBrokenAheadDrawTheSame_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wrap");
    QTest::addColumn<int>("horz");
    QTest::addColumn<int>("vert");
    QTest::addColumn<int>("font");
    QTest::addColumn<int>("height");

    const QString words = u"Several words that do not fit on one line of the box"_s;
    QTest::newRow("one line") << u"C-0000042"_s << false << 0 << 0 << 0 << 600;
    QTest::newRow("right") << u"1234.50"_s << false << 1 << 1 << 1 << 600;
    QTest::newRow("centred, bottom") << u"Mitte"_s << false << 2 << 2 << 0 << 600;
    QTest::newRow("wrapped") << words << true << 0 << 0 << 0 << 3000;
    QTest::newRow("wrapped, centred, cut") << words << true << 2 << 1 << 1 << 700;
    QTest::newRow("line feeds and tabs") << u"a\tb\r\nc\nd"_s << true << 1 << 0 << 0 << 3000;
    QTest::newRow("line feeds on one line") << u"a\nb\u2028c"_s << false << 0 << 0 << 0 << 600;
    QTest::newRow("runs out of the box") << words << false << 1 << 0 << 0 << 600;
    QTest::newRow("font outside the table") << u"default"_s << false << 0 << 0 << 7 << 600;
    QTest::newRow("far longer than the box shows")
            << QString(50000, u'x') + u" end"_s << false << 1 << 0 << 0 << 600;
}

// The layout may break the texts of a page on its thread before a writer on another draws it:
// the page must come out exactly as when the painter breaks them itself.
void TestPageRender::textsBrokenAheadDrawTheSame()
{
    QFETCH(QString, text);
    QFETCH(bool, wrap);
    QFETCH(int, horz);
    QFETCH(int, vert);
    QFETCH(int, font);
    QFETCH(int, height);
    auto page = NewPage();
    CPageText item;
    item.box = {500, 500, 4500, 500 + height};
    item.text = text;
    item.wordWrap = wrap;
    item.horzAlignment = horz;
    item.vertAlignment = vert;
    item.font = font;
    page->Add(item);
    CPageText number = item;
    number.box = {500, 4000, 4500, 4600};
    number.text.clear();
    number.field = CPageText::Field::PageNumber;
    page->Add(number);

    const QSize size {5000, 5000};
    const QImage own = RenderPageImage(*page, size, 3, 9, 300);
    CPageLayoutFonts fonts;
    auto lines = std::make_shared<const CPageTextLines>(*page, fonts);
    QVERIFY(lines->Get(0));
    QVERIFY(!lines->Get(1)); // a page number is only known when drawn
    page->SetTextLines(lines);
    QCOMPARE(RenderPageImage(*page, size, 3, 9, 300), own);
}

VANTEL_TEST_CLASS(TestPageRender)
#include "tst_pagerender.moc"
