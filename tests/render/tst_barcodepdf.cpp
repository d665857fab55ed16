#include "pagemodel.h"
#include "pagerender.h"
#include "pdfwriter.h"
#include "reportrun.h"
#include "testregistry.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

// A label sheet printed to PDF and read back by a real scanner library (zbar's zbarimg, on
// the PDF rasterised by pdftoppm): every EAN-13 symbol on paper must read as its value.
class TestBarcodePdf : public QObject
{
    Q_OBJECT

private slots:
    void everySymbolReads()
    {
        const QString zbarimg = QStandardPaths::findExecutable(QStringLiteral("zbarimg"));
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (zbarimg.isEmpty() || pdftoppm.isEmpty())
            QSKIP("zbarimg (zbar-tools) or pdftoppm (poppler-utils) is not installed");

        const QStringList values = {
                QStringLiteral("4006381333931"), QStringLiteral("5901234123457"),
                QStringLiteral("9780201379624"), QStringLiteral("2000000000015"),
                QStringLiteral("0012345678905"), QStringLiteral("1234567890128")};
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
        CPageModel model;
        QString message;
        QVERIFY2(RunReport(report, CRunOptions(), model, message), qPrintable(message));
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
        QVERIFY2(WritePdf(model, pdf, QString(), message), qPrintable(message));

        QProcess raster;
        raster.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-png"),
                                QStringLiteral("-f"), QStringLiteral("1"), QStringLiteral("-l"),
                                QStringLiteral("1"), pdf, dir.filePath(QStringLiteral("page"))});
        QVERIFY(raster.waitForFinished(60000));
        const QStringList images = QDir(dir.path()).entryList({QStringLiteral("page*.png")});
        QCOMPARE(images.size(), 1);

        QProcess zbar;
        zbar.start(zbarimg, {QStringLiteral("--quiet"), QStringLiteral("--raw"),
                             dir.filePath(images.constFirst())});
        QVERIFY(zbar.waitForFinished(60000));
        QStringList read = QString::fromLatin1(zbar.readAllStandardOutput())
                                   .split(u'\n', Qt::SkipEmptyParts);
        read.sort();
        QStringList expected = values;
        expected.sort();
        QCOMPARE(read, expected);
    }
};

VANTEL_TEST_CLASS(TestBarcodePdf)
#include "tst_barcodepdf.moc"
