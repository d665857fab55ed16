#include "designchecks.h"
#include "testregistry.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QBuffer>
#include <QImage>
#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

using Mutation = std::function<void(CVornReport &)>;
Q_DECLARE_METATYPE(Mutation)

// The problems the design alone tells, on a report that has none until one change is made: a
// 50 mm band on an A4 page holding a text, a barcode and a picture.
class TestDesignChecks : public QObject
{
    Q_OBJECT

private slots:
    void problems_data();
    void problems();
};

namespace {

std::unique_ptr<CVornReport> Sound()
{
    auto report = std::make_unique<CVornReport>();
    auto *band = new CVornBand(VornKind::ReportContents, u"Body"_s);
    band->SetHeight(5000);
    auto *text = new CVornText;
    text->SetName(u"Title"_s);
    text->SetRect(1000, 1000, 9000, 2000);
    band->GetItems().Add(text);
    auto *code = new CVornBarcode;
    code->SetName(u"Code"_s);
    code->SetBarcode(u"4006381333931"_s);
    code->SetRect(1000, 2000, 5000, 4000);
    band->GetItems().Add(code);
    auto *picture = new CVornImage;
    picture->SetName(u"Logo"_s);
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    picture->SetImageData(png);
    picture->SetRect(10000, 0, 12000, 2000);
    band->GetItems().Add(picture);
    report->GetBands().Add(band);
    return report;
}

CVornItem *Item(CVornReport &report, int index)
{
    return report.GetBands()[0]->GetItems()[index];
}

} // namespace

void TestDesignChecks::problems_data()
{
    QTest::addColumn<Mutation>("change");
    // Each problem as "E|W band item row: message start".
    QTest::addColumn<QStringList>("expected");

    QTest::newRow("a sound report") << Mutation([](CVornReport &) {}) << QStringList();
    QTest::newRow("every validation fault, not only the first")
            << Mutation([](CVornReport &r) {
                   Item(r, 0)->SetName(QString());
                   r.GetBands()[0]->SetHeight(40000);
                   r.GetBands()[0]->SetFooter(u"Nowhere"_s);
               })
            << QStringList {u"E 0 -1 band_height: Band #0 will not fit page height"_s,
                            u"E 0 -1 group_footer: Header or footer band \"Nowhere\""_s,
                            u"E 0 0 name: Band #0 is invalid: Item #0 is invalid"_s};
    QTest::newRow("inverted rectangle")
            << Mutation([](CVornReport &r) { Item(r, 0)->SetRight(500); })
            << QStringList {u"W 0 0 right: The rectangle is inverted"_s};
    QTest::newRow("empty rectangle")
            << Mutation([](CVornReport &r) { Item(r, 0)->SetBottom(1000); })
            << QStringList {u"W 0 0 bottom: The rectangle is empty"_s};
    QTest::newRow("wholly below the band") << Mutation([](CVornReport &r) {
        Item(r, 0)->SetRect(1000, 6000, 9000, 7000);
    }) << QStringList {u"W 0 0 top: The item lies outside its band (50 mm high, 210 mm wide)"_s};
    QTest::newRow("reaching below the band and past the page")
            << Mutation([](CVornReport &r) { Item(r, 0)->SetRect(1000, 4000, 22050, 5500); })
            << QStringList {u"W 0 0 bottom: The item reaches 5 mm below its band"_s,
                            u"W 0 0 right: The item reaches 10.50 mm past the right edge"_s};
    QTest::newRow("landscape page is wider") << Mutation([](CVornReport &r) {
        r.SetPortrait(0);
        Item(r, 0)->SetRect(1000, 1000, 25000, 2000);
    }) << QStringList();
    QTest::newRow("barcode with a wrong check digit") << Mutation([](CVornReport &r) {
        static_cast<CVornBarcode *>(Item(r, 1))->SetBarcode(u"4006381333932"_s);
    }) << QStringList {u"W 0 1 barcode: The barcode \"4006381333932\" is not an EAN-13 code"_s};
    QTest::newRow("barcode of letters") << Mutation([](CVornReport &r) {
        static_cast<CVornBarcode *>(Item(r, 1))->SetBarcode(u"ABC"_s);
    }) << QStringList {u"W 0 1 barcode: The barcode \"ABC\""_s};
    const auto symbol = [](int symbology, const QString &value) {
        return Mutation([symbology, value](CVornReport &r) {
            auto *code = static_cast<CVornBarcode *>(Item(r, 1));
            code->SetSymbology(symbology);
            code->SetBarcode(value);
        });
    };
    QTest::newRow("QR Code of a text") << symbol(3, u"Invoice 2026-0042"_s) << QStringList();
    QTest::newRow("EAN-8 of letters")
            << symbol(6, u"ABCDEFG"_s)
            << QStringList {u"E 0 1 barcode: The barcode \"ABCDEFG\" cannot be printed as "
                            "EAN-8: an EAN-8 code has 7 digits, or 8 with its check digit"_s};
    QTest::newRow("UPC-A with a wrong check digit")
            << symbol(7, u"012345678906"_s)
            << QStringList {u"E 0 1 barcode: The barcode \"012345678906\" cannot be printed as "
                            "UPC-A: Invalid check digit '6', expecting '5'"_s};
    QTest::newRow("ITF-14 with a wrong check digit")
            << symbol(9, u"15400141288764"_s)
            << QStringList {u"E 0 1 barcode: The barcode \"15400141288764\" cannot be printed as "
                            "ITF-14: invalid check digit '4', expecting '3'"_s};
    QTest::newRow("DataMatrix too long for any size")
            << symbol(4, QString(4000, u'7'))
            << QStringList {u"E 0 1 barcode: The barcode \"7777"_s};
    QTest::newRow("GS1-128 without an application identifier")
            << symbol(2, u"09501101530003"_s)
            << QStringList {u"E 0 1 barcode: The barcode \"09501101530003\" cannot be printed as "
                            "GS1-128: "_s};
    QTest::newRow("symbology of a newer Vantel")
            << symbol(42, u"4006381333931"_s)
            << QStringList {u"E 0 1 symbology: The symbology 42 is unknown"_s};
    QTest::newRow("picture bytes that do not decode") << Mutation([](CVornReport &r) {
        static_cast<CVornImage *>(Item(r, 2))->SetImageData(QByteArray("not a picture"));
    }) << QStringList {u"W 0 2 image_file: The picture cannot be read"_s};
    QTest::newRow("no picture chosen is no problem") << Mutation([](CVornReport &r) {
        static_cast<CVornImage *>(Item(r, 2))->SetImageData(QByteArray());
    }) << QStringList();
}

void TestDesignChecks::problems()
{
    QFETCH(Mutation, change);
    QFETCH(QStringList, expected);
    const std::unique_ptr<CVornReport> report = Sound();
    change(*report);
    const CReportProblems problems = CheckReportDesign(*report);
    QStringList found;
    for (const CReportProblem &problem : problems)
        found << u"%1 %2 %3 %4: %5"_s
                         .arg(problem.severity == CReportProblem::Severity::Error ? u"E"_s : u"W"_s)
                         .arg(problem.band)
                         .arg(problem.item)
                         .arg(problem.row, problem.message);
    QCOMPARE(found.size(), expected.size());
    for (qsizetype i = 0; i < found.size(); ++i)
        QVERIFY2(found.at(i).startsWith(expected.at(i)), qPrintable(found.at(i)));
}

VANTEL_TEST_CLASS(TestDesignChecks)
#include "tst_designchecks.moc"
