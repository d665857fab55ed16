#include "renderreportpage.h"
#include "testregistry.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// A page of barcodes as the design view draws it, read back by a real scanner
// library (zbar's zbarimg): every symbol must read as its value, whatever the
// width of its box.
class TestBarcodeScan : public QObject
{
    Q_OBJECT

private slots:
    void everySymbolReads_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::newRow("screen, 96 dpi") << 96;
        QTest::newRow("150 dpi") << 150;
    }
    void everySymbolReads()
    {
        QFETCH(int, dpi);
        const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        if (zbarimg.isEmpty())
            QSKIP("zbarimg (package zbar-tools) is not installed");

        const QStringList values
                = {QStringLiteral("4006381333931"), QStringLiteral("5901234123457"),
                   QStringLiteral("9780201379624"), QStringLiteral("2000000000015"),
                   QStringLiteral("0012345678905"), QStringLiteral("1234567890128")};
        // Widths that leave every remainder of the division by 95 modules, at both sides of
        // whole pixels.
        const int widths[] = {3000, 3315, 3760, 4105, 4590, 5240};
        CVornReport report;
        auto *band = new CVornBand(1, QStringLiteral("Labels"));
        band->SetHeight(2000 * int(values.size()) + 1000);
        report.GetBands().Add(band);
        for (int i = 0; i < values.size(); ++i) {
            auto *item = new CVornBarcode;
            item->SetName(QStringLiteral("Code %1").arg(i));
            item->SetBarcode(values[i]);
            item->SetRect(1000, 500 + 2000 * i, 1000 + widths[i], 500 + 2000 * i + 1500);
            band->GetItems().Add(item);
        }
        const QImage page = RenderReportPage(report, QSize(), false, dpi);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("page.png"));
        QVERIFY(page.save(path, "PNG"));

        QProcess zbar;
        zbar.start(zbarimg, {QStringLiteral("--quiet"), QStringLiteral("--raw"), path});
        QVERIFY(zbar.waitForFinished(60000));
        QStringList read = QString::fromLatin1(zbar.readAllStandardOutput())
                                   .split(u'\n', Qt::SkipEmptyParts);
        read.sort();
        QStringList expected = values;
        expected.sort();
        QCOMPARE(read, expected);
    }
};

VANTEL_TEST_CLASS(TestBarcodeScan)
#include "tst_barcodescan.moc"
