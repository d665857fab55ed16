// Paints a busy report page into an offscreen image, as the design view repaints it: a first
// paint, then 100 repaints, and the same page with every item replaced by a plain rectangle.
// Prints milliseconds per repaint and the ratio of the two.

#include "pagegeometry.h"
#include "pagepainter.h"
#include "paintcache.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QBuffer>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int Repaints = 100;
constexpr int BandCount = 10;
constexpr int BandHeight = 2970; // ten bands fill the A4 page

// A PNG of random pixels, which does not compress: about 100 KB.
QByteArray NoisyPng(quint32 seed)
{
    QRandomGenerator random(seed);
    QImage image(182, 182, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<quint32 *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = 0xFF000000 | (random.generate() & 0xFFFFFF);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

const QString Words[] = {u"quarterly"_s, u"sales"_s,  u"report"_s,   u"customer"_s, u"invoice"_s,
                         u"total"_s,     u"amount"_s, u"shipping"_s, u"address"_s,  u"region"_s};
const QString Faces[] = {u"Arial"_s, u"Times New Roman"_s, u"Courier New"_s};

// 500 items over ten bands: 380 texts (a tenth of them DB Texts), 50 shapes, 50 barcodes in ten
// box sizes and 20 pictures.
void BuildReport(CVornReport &report, const QList<QByteArray> &pictures)
{
    QRandomGenerator random(7);
    for (int b = 0; b < BandCount; ++b) {
        auto *band = new CVornBand(VornKind::ReportContents, u"Band %1"_s.arg(b));
        band->SetHeight(BandHeight);
        report.GetBands().Add(band);
    }
    for (int i = 0; i < 500; ++i) {
        CVornBand *band = report.GetBands()[i / 50];
        const int slot = i % 50; // 50 slots in each band, 10 across and 5 down
        const int left = 200 + (slot % 10) * 2060;
        const int top = 100 + (slot / 10) * 560;
        std::unique_ptr<CVornItem> item;
        if (i % 10 == 3) {
            auto shape = std::make_unique<CVornShape>();
            shape->SetShapeType(1 + (i / 10) % 5);
            shape->SetLineWidth(1 + i % 3);
            shape->SetLineStyle(1 + (i / 10) % 2);
            shape->SetBkColor(random.generate() & 0xFFFFFF);
            shape->SetRect(left, top, left + 1900, top + 500);
            item = std::move(shape);
        } else if (i % 10 == 5) {
            auto barcode = std::make_unique<CVornBarcode>();
            const int size = (i / 10) % 10; // ten box sizes
            barcode->SetBarcode(size % 2 ? u"4006381333931"_s : QString());
            // At least 10 mm high, so that every one prints its digits.
            barcode->SetRect(left, top, left + 1000 + 90 * size, top + 1000 + 50 * size);
            item = std::move(barcode);
        } else if (i % 25 == 7) {
            auto image = std::make_unique<CVornImage>();
            image->SetImageData(pictures[(i / 25) % pictures.size()]);
            image->SetHorzAlignment(i % 4);
            image->SetVertAlignment((i / 4) % 4);
            image->SetRect(left, top, left + 1900, top + 500);
            item = std::move(image);
        } else {
            std::unique_ptr<CVornText> text;
            if (i % 10 == 9) {
                auto dbText = std::make_unique<CVornDbText>();
                dbText->SetDataSource(u"Orders"_s);
                dbText->SetDataField(u"CustomerName"_s);
                text = std::move(dbText);
            } else {
                text = std::make_unique<CVornText>();
                QString words;
                for (int w = 0; w < 6; ++w)
                    words += Words[random.bounded(10)] + u' ';
                text->SetText(words.trimmed());
            }
            text->SetFontName(Faces[i % 3]);
            text->SetFontSize(8 + i % 5);
            text->SetBold(i % 4 == 0);
            text->SetItalic(i % 7 == 0);
            text->SetWordWrap(1);
            text->SetHorzAlignment(i % 3);
            text->SetVertAlignment((i / 3) % 3);
            text->SetColor(random.generate() & 0xFFFFFF);
            text->SetRect(left, top, left + 1900, top + 500);
            item = std::move(text);
        }
        item->SetName(u"Item %1"_s.arg(i));
        band->GetItems().Add(item.release());
    }
}

// The same page with every item a plain rectangle of the same size.
void BuildPlainReport(const CVornReport &from, CVornReport &report)
{
    for (const CVornBand *source : from.GetBands()) {
        auto *band = new CVornBand(source->GetKind(), source->GetName());
        band->SetHeight(source->GetHeight());
        for (const CVornItem *item : source->GetItems()) {
            auto *shape = new CVornShape;
            shape->SetName(item->GetName());
            shape->SetRect(item->GetLeft(), item->GetTop(), item->GetRight(), item->GetBottom());
            band->GetItems().Add(shape);
        }
        report.GetBands().Add(band);
    }
}

struct Timing
{
    double first = 0;
    double perRepaint = 0;
    bool sameAsUncached = false;
};

Timing Measure(const CVornReport &report)
{
    const QSize total = CPageGeometry::TotalScrollSize(report, 96, 96);
    QImage image(total, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    CPaintCache cache;
    const auto paintInto = [&](QImage &target, CPaintCache *kept) {
        const CPageGeometry geometry(report, 96, 96, {0, 0, total.width(), total.height()},
                                     QPoint(), total);
        QPainter painter(&target);
        CPagePainter(painter, geometry, report, true, kept).Paint();
    };
    const auto paint = [&] {
        paintInto(image, &cache);
    };
    Timing timing;
    QElapsedTimer timer;
    timer.start();
    paint();
    timing.first = timer.nsecsElapsed() / 1e6;
    timer.restart();
    for (int i = 0; i < Repaints; ++i)
        paint();
    timing.perRepaint = timer.nsecsElapsed() / 1e6 / Repaints;

    // What is kept between paints must not change a pixel.
    QImage fresh(image.size(), image.format());
    fresh.setDotsPerMeterX(3780);
    fresh.setDotsPerMeterY(3780);
    paintInto(fresh, nullptr);
    timing.sameAsUncached = fresh == image;
    return timing;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    QList<QByteArray> pictures;
    qint64 pictureBytes = 0;
    for (int i = 0; i < 20; ++i) {
        pictures.append(NoisyPng(quint32(i + 1)));
        pictureBytes += pictures.last().size();
    }
    CVornReport report;
    BuildReport(report, pictures);
    CVornReport plain;
    BuildPlainReport(report, plain);

    const Timing full = Measure(report);
    const Timing rectangles = Measure(plain);
    std::printf("page: 500 items (380 texts, 50 shapes, 50 barcodes in 10 box sizes, "
                "20 pictures of %lld KB on average), 96 dpi, grid on\n",
                pictureBytes / 20 / 1024);
    std::printf("first paint:            %8.2f ms\n", full.first);
    std::printf("repaint:                %8.2f ms  (mean of %d)\n", full.perRepaint, Repaints);
    std::printf("plain rectangles:       %8.2f ms  per repaint (first %.2f ms)\n",
                rectangles.perRepaint, rectangles.first);
    std::printf("ratio repaint / plain:  %8.2f\n", full.perRepaint / rectangles.perRepaint);
    std::printf("one 60 Hz frame:           16.67 ms: %s\n",
                full.perRepaint <= 1000.0 / 60 ? "fits" : "does not fit");
    std::printf("repaint identical to a paint without kept pictures and measures: %s\n",
                full.sameAsUncached && rectangles.sameAsUncached ? "yes" : "NO");
    return full.sameAsUncached && rectangles.sameAsUncached ? 0 : 1;
}
