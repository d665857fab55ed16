#include "barcodesymbology.h"
#include "pagemodel.h"
#include "pagerender.h"
#include "pdfwriter.h"
#include "reportrun.h"
#include "testregistry.h"
#include "vornitems.h"
#include "vornreport.h"

// The reader's texts as UTF-8.
#define ZX_USE_UTF8
#include <ZXing/ReadBarcode.h>

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// What a reader program prints for the symbols of an image, one per line; empty when it finds
// none.
QStringList ReadWith(const QString &program, const QStringList &arguments)
{
    const QString path = QStandardPaths::findExecutable(program);
    if (path.isEmpty())
        return {u"(%1 is not installed)"_s.arg(program)};
    QProcess reader;
    reader.start(path, arguments);
    reader.waitForFinished(60000);
    return QString::fromUtf8(reader.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

// What ZXing reads in the part of the page the symbol lies in (it finds small symbols on a
// whole page less readily, and its reading of several at once stumbles on some).
QStringList ReadWithZxing(const QImage &page, const QRect &part)
{
    const QImage gray = page.copy(part).convertToFormat(QImage::Format_Grayscale8);
    ZXing::DecodeHints hints;
    hints.setTryHarder(true);
    const ZXing::Result result
            = ZXing::ReadBarcode({gray.constBits(), gray.width(), gray.height(),
                                  ZXing::ImageFormat::Lum, int(gray.bytesPerLine())},
                                 hints);
    return result.isValid() ? QStringList {QString::fromStdString(result.text())} : QStringList();
}

} // namespace

// Every symbology printed to PDF (rasterised at 150 dpi, as a scan of the paper) and to a PNG
// at 96 dpi, each with a value of its own, read back by the real readers people scan with:
// zbar, libdmtx and ZXing.
class TestSymbologies : public QObject
{
    Q_OBJECT

private slots:
    void readBack_data()
    {
        QTest::addColumn<int>("symbology");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("reader"); // zbarimg or dmtxread, besides ZXing
        QTest::addColumn<QString>("read"); // as the readers give it
        QTest::newRow("Code 128") << 1 << u"Parcel 4711-AB"_s << u"zbarimg"_s
                                  << u"Parcel 4711-AB"_s;
        QTest::newRow("GS1-128") << 2 << u"[01]09501101530003"_s << u"zbarimg"_s
                                 << u"0109501101530003"_s;
        QTest::newRow("QR Code") << 3 << u"https://vantel.example/invoice/2026-0042"_s
                                 << u"zbarimg"_s << u"https://vantel.example/invoice/2026-0042"_s;
        QTest::newRow("DataMatrix")
                << 4 << u"LOT 2026-12 BIN 7"_s << u"dmtxread"_s << u"LOT 2026-12 BIN 7"_s;
        QTest::newRow("PDF417") << 5 << u"TICKET 0815 ROW 12 SEAT 7"_s << QString()
                                << u"TICKET 0815 ROW 12 SEAT 7"_s;
        QTest::newRow("EAN-8, check digit added")
                << 6 << u"9638507"_s << u"zbarimg"_s << u"96385074"_s;
        QTest::newRow("UPC-A") << 7 << u"036000291452"_s << u"zbarimg"_s << u"036000291452"_s;
        QTest::newRow("Code 39") << 8 << u"VANTEL-39"_s << u"zbarimg"_s << u"VANTEL-39"_s;
        QTest::newRow("ITF-14") << 9 << u"15400141288763"_s << u"zbarimg"_s << u"15400141288763"_s;
    }

    void readBack()
    {
        QFETCH(int, symbology);
        QFETCH(QString, value);
        QFETCH(QString, reader);
        QFETCH(QString, read);

        // Linear symbols 100 mm wide, two-dimensional ones in a 30 mm box made wider than
        // high, so that centring them matters.
        const bool square = BarcodeSymbology::IsTwoDimensional(symbology);
        CVornReport report;
        auto *band = new CVornBand(1, u"Labels"_s);
        band->SetHeight(4000);
        report.GetBands().Add(band);
        auto *item = new CVornBarcode;
        item->SetName(u"Code"_s);
        item->SetSymbology(symbology);
        item->SetBarcode(value);
        // PDF417 is a stack of wide rows: it gets a wide box.
        const bool wide = !square || symbology == BarcodeSymbology::Pdf417;
        item->SetRect(1000, 500, wide ? 11000 : 5000, square ? 3500 : 2500);
        band->GetItems().Add(item);
        CPageModel model;
        QString message;
        QVERIFY2(RunReport(report, CRunOptions(), model, message), qPrintable(message));

        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"code.pdf"_s);
        QVERIFY2(WritePdf(model, pdf, QString(), message), qPrintable(message));
        QVERIFY(ReadWith(u"pdftoppm"_s,
                         {u"-r"_s, u"150"_s, u"-png"_s, u"-singlefile"_s, pdf,
                          dir.filePath(u"scan"_s)})
                        .isEmpty());
        const QString png = dir.filePath(u"page.png"_s);
        QVERIFY(RenderPageImage(model, 0, 96).save(png));

        for (const QString &image : {dir.filePath(u"scan.png"_s), png}) {
            const QString where = QFileInfo(image).fileName();
            QImage page(image);
            QVERIFY2(!page.isNull(), qPrintable(where));
            const double scale = page.width() / 21000.0;
            QCOMPARE(ReadWithZxing(page, QRect(0, 0, int(12000 * scale), int(4000 * scale))),
                     QStringList {read});
            if (reader == u"zbarimg")
                // UPC-A as such, not as the EAN-13 with a leading zero it also is.
                QCOMPARE(ReadWith(reader, {u"--quiet"_s, u"--raw"_s, u"-Supca.enable"_s, image}),
                         QStringList {read});
            else if (reader == u"dmtxread")
                QCOMPARE(ReadWith(reader, {u"--stop-after=1"_s, image}), QStringList {read});
        }
    }

    // A value the symbology cannot encode fails the run with the library's reason, naming the
    // band, the item and the value, whether fixed or from the data; so does a DB Barcode's
    // value that is no EAN-13 code, which printed a crossed box before.
    void badValueFailsTheRun_data()
    {
        QTest::addColumn<int>("symbology");
        QTest::addColumn<bool>("fromData");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        QTest::newRow("letters in an EAN-8")
                << 6 << true << u"12A4567"_s
                << u"The item \"Code\" on the band \"Labels\" cannot print the barcode value "
                   "\"12A4567\" as EAN-8: an EAN-8 code has 7 digits, or 8 with its check digit"_s;
        QTest::newRow("wrong check digit of a fixed UPC-A")
                << 7 << false << u"036000291453"_s
                << u"The item \"Code\" on the band \"Labels\" cannot print the barcode value "
                   "\"036000291453\" as UPC-A: Invalid check digit '3', expecting '2'"_s;
        QTest::newRow("too long for a QR Code")
                << 3 << true << QString(8000, u'x')
                << u"The item \"Code\" on the band \"Labels\" cannot print the barcode value "
                   "\"%1\" as QR Code: Input too long for selected error correction level"_s.arg(
                           QString(8000, u'x'));
        QTest::newRow("EAN-13 from the data with a wrong check digit")
                << 0 << true << u"4006381333932"_s
                << u"The item \"Code\" on the band \"Labels\" cannot print the barcode value "
                   "\"4006381333932\": it is not an EAN-13 code of 13 digits with a valid check "
                   "digit"_s;
    }

    void badValueFailsTheRun()
    {
        QFETCH(int, symbology);
        QFETCH(bool, fromData);
        QFETCH(QString, value);
        QFETCH(QString, message);
        CVornReport report;
        auto *band = new CVornBand(1, u"Labels"_s);
        band->SetHeight(4000);
        report.GetBands().Add(band);
        CVornBarcode *item = fromData ? new CVornDbBarcode : new CVornBarcode;
        item->SetName(u"Code"_s);
        item->SetSymbology(symbology);
        item->SetRect(1000, 500, 6000, 3500);
        if (fromData)
            static_cast<CVornDbBarcode *>(item)->SetDataField(u"CODE"_s);
        else
            item->SetBarcode(value);
        band->GetItems().Add(item);
        CRunOptions options;
        options.value = [&value](const QString &, const QString &) {
            return value;
        };
        CPageModel model;
        QString failure;
        CPageSource failedAt;
        QVERIFY(!RunReport(report, options, model, failure, &failedAt));
        QCOMPARE(failure, message);
        QCOMPARE(failedAt, (CPageSource {0, 0}));
    }
};

VANTEL_TEST_CLASS(TestSymbologies)
#include "tst_symbologies.moc"
