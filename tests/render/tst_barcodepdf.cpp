#include "pagemodel.h"
#include "pagerender.h"
#include "pdfwriter.h"
#include "reportrun.h"
#include "testregistry.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QStringList values = {QStringLiteral("4006381333931"), QStringLiteral("5901234123457"),
                            QStringLiteral("9780201379624"), QStringLiteral("2000000000015"),
                            QStringLiteral("0012345678905"), QStringLiteral("1234567890128")};
const int widths[] = {3000, 3315, 3760, 4105, 4590, 5240};
constexpr int labelLeft = 1000;

int LabelTop(int i)
{
    return 500 + 2000 * i;
}

} // namespace

// A label sheet printed to PDF and to images, read back by a real scanner library (zbar's
// zbarimg; the PDF rasterised by pdftoppm): every EAN-13 symbol must read as its value, and on
// an image each symbol spans its box as on paper.
class TestBarcodePdf : public QObject
{
    Q_OBJECT

private slots:
    void everySymbolReads_data()
    {
        QTest::addColumn<bool>("pdf");
        QTest::addColumn<int>("dpi");
        // Symbols narrower than this are left out: at 96 dpi a module of a 30 mm symbol is
        // 1.2 pixels, too fine for a scanner on a screen's resolution, on paper's size alike.
        QTest::addColumn<int>("narrowest");
        QTest::newRow("PDF rasterised at 200 dpi") << true << 200 << 0;
        QTest::newRow("PNG at 96 dpi") << false << 96 << 3300;
        QTest::newRow("PNG at 150 dpi") << false << 150 << 0;
    }

    void everySymbolReads()
    {
        QFETCH(bool, pdf);
        QFETCH(int, dpi);
        QFETCH(int, narrowest);
        const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (zbarimg.isEmpty() || pdftoppm.isEmpty())
            QSKIP("zbarimg (zbar-tools) or pdftoppm (poppler-utils) is not installed");

        CVornReport report;
        auto *band = new CVornBand(1, QStringLiteral("Labels"));
        band->SetHeight(2000 * int(values.size()) + 1000);
        report.GetBands().Add(band);
        for (int i = 0; i < values.size(); ++i) {
            auto *item = new CVornBarcode;
            item->SetName(QStringLiteral("Code %1").arg(i));
            item->SetBarcode(values[i]);
            item->SetRect(labelLeft, LabelTop(i), labelLeft + widths[i], LabelTop(i) + 1500);
            band->GetItems().Add(item);
        }
        CPageModel model;
        QString message;
        QVERIFY2(RunReport(report, CRunOptions(), model, message), qPrintable(message));
        QTemporaryDir dir;
        const QString image = dir.filePath(QStringLiteral("page.png"));
        if (pdf) {
            const QString file = dir.filePath(QStringLiteral("labels.pdf"));
            QVERIFY2(WritePdf(model, file, QString(), message), qPrintable(message));
            QProcess raster;
            raster.start(pdftoppm,
                         {QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                          QStringLiteral("-singlefile"), file,
                          dir.filePath(QStringLiteral("page"))});
            QVERIFY(raster.waitForFinished(60000));
        } else {
            const QImage page = RenderPageImage(model, 0, dpi);
            QVERIFY(page.save(image));
            // Each symbol from its start guard to its end guard spans 95 modules of the box's
            // width / 95, to within a pixel: not narrowed to whole pixels per module.
            for (int i = 0; i < values.size(); ++i) {
                const int row = int((LabelTop(i) + 500) * dpi / 2540.0);
                int first = -1;
                int last = -1;
                for (int x = 0; x < page.width(); ++x) {
                    if (qGray(page.pixel(x, row)) < 128) {
                        first = first < 0 ? x : first;
                        last = x;
                    }
                }
                const double left = labelLeft * dpi / 2540.0;
                const double right = (labelLeft + widths[i] / 95 * 95) * dpi / 2540.0;
                QVERIFY2(std::abs(first - left) <= 1.0 && std::abs(last + 1 - right) <= 1.0,
                         qPrintable(QStringLiteral("symbol %1 spans %2..%3, its box %4..%5")
                                            .arg(i)
                                            .arg(first)
                                            .arg(last + 1)
                                            .arg(left)
                                            .arg(right)));
            }
        }

        QProcess zbar;
        zbar.start(zbarimg, {QStringLiteral("--quiet"), QStringLiteral("--raw"), image});
        QVERIFY(zbar.waitForFinished(60000));
        QStringList read = QString::fromLatin1(zbar.readAllStandardOutput())
                                   .split(u'\n', Qt::SkipEmptyParts);
        read.sort();
        QStringList expected;
        for (int i = 0; i < values.size(); ++i) {
            if (widths[i] >= narrowest)
                expected << values[i];
        }
        expected.sort();
        QCOMPARE(read, expected);
    }
};

VANTEL_TEST_CLASS(TestBarcodePdf)
#include "tst_barcodepdf.moc"
