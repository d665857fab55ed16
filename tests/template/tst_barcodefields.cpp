#include "reportfile.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QTest>

using namespace Qt::StringLiterals;

// A barcode's symbology, error correction and text line are written after its other elements
// only when they differ from their defaults, and read back as written.
class TestBarcodeFields : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data()
    {
        QTest::addColumn<bool>("fromData");
        QTest::addColumn<int>("symbology");
        QTest::addColumn<int>("eccLevel");
        QTest::addColumn<int>("showText");
        QTest::addColumn<QString>("written"); // the lines after the kind's own elements
        QTest::newRow("defaults write nothing") << false << 0 << 1 << 1 << u"</element>"_s;
        QTest::newRow("QR Code, level H")
                << false << 3 << 3 << 1
                << u"  <symbology>3</symbology>\n  <ecc_level>3</ecc_level>\n</element>"_s;
        QTest::newRow("DB Code 128 without its text")
                << true << 1 << 1 << 0
                << u"  <symbology>1</symbology>\n  <show_text>0</show_text>\n</element>"_s;
    }

    void roundTrip()
    {
        QFETCH(bool, fromData);
        QFETCH(int, symbology);
        QFETCH(int, eccLevel);
        QFETCH(int, showText);
        QFETCH(QString, written);
        CVornReport report;
        auto *band = new CVornBand(1, u"Labels"_s);
        report.GetBands().Add(band);
        CVornBarcode *item = fromData ? new CVornDbBarcode : new CVornBarcode;
        item->SetName(u"Code"_s);
        item->SetBarcode(fromData ? QString() : u"4006381333931"_s);
        item->SetSymbology(symbology);
        item->SetEccLevel(eccLevel);
        item->SetShowText(showText);
        band->GetItems().Add(item);
        QString xml = VornTemplate::WriteReportXml(report);
        xml.replace(u"\r\n"_s, u"\n"_s);
        const QString kindEnd = fromData ? u"</data-source>\n"_s : u"</barcode>\n"_s;
        QVERIFY2(xml.contains(kindEnd + written), qPrintable(xml));

        CVornReport read;
        QString message;
        QVERIFY2(VornTemplate::LoadBytes(read, TestUtil::Utf16File(xml), message),
                 qPrintable(message));
        const auto *back = static_cast<const CVornBarcode *>(read.GetBands()[0]->GetItems()[0]);
        QCOMPARE(back->GetSymbology(), symbology);
        QCOMPARE(back->GetEccLevel(), eccLevel);
        QCOMPARE(back->GetShowText(), showText);
    }
};

VANTEL_TEST_CLASS(TestBarcodeFields)
#include "tst_barcodefields.moc"
