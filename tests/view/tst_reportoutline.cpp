#include "elementtext.h"
#include "pagetestutil.h"
#include "reportoutline.h"
#include "testregistry.h"

#include <QTest>

Q_DECLARE_METATYPE(COutlineRow::Hidden)

// The outline of bands and items as plain rows, with the items that cannot be seen marked,
// and the texts the view shows about an object.
class TestReportOutline : public QObject
{
    Q_OBJECT

private slots:
    void rows()
    {
        CVornReport report;
        CVornBand *header = PageTest::AddBand(report, 1000, VornKind::PageHeader);
        CVornBand *pageBreak = PageTest::AddBand(report, 1000, VornKind::PageBreak);
        CVornBand *contents = PageTest::AddBand(report, 2000);
        auto *shape = PageTest::AddItem<CVornShape>(header, 0, 0, 100, 100);
        auto *text = PageTest::AddItem<CVornText>(contents, 0, 0, 100, 100);
        auto *image = PageTest::AddItem<CVornImage>(contents, 0, 0, 100, 100);
        text->SetSelected(true);

        const std::vector<COutlineRow> rows = ReportOutline::Build(report);
        QCOMPARE(rows.size(), size_t(3));
        QCOMPARE(rows[0].element, header);
        QCOMPARE(rows[0].kind, int(VornKind::PageHeader));
        QCOMPARE(rows[0].name, header->GetName());
        QCOMPARE(rows[0].children.size(), size_t(1));
        QCOMPARE(rows[0].children[0].element, shape);
        QCOMPARE(rows[1].element, pageBreak);
        QVERIFY(rows[1].children.empty());
        QCOMPARE(rows[2].children.size(), size_t(2));
        QCOMPARE(rows[2].children[0].element, text);
        QVERIFY(rows[2].children[0].selected);
        QCOMPARE(rows[2].children[1].element, image);
        QVERIFY(!rows[2].children[1].selected);

        // A rename or a new selection keeps the shape; a removed item does not.
        text->SetName(QStringLiteral("Renamed"));
        std::vector<COutlineRow> renamed = ReportOutline::Build(report);
        QVERIFY(!(renamed == rows));
        QVERIFY(ReportOutline::SameShape(renamed, rows));
        delete contents->GetItems().RemoveAt(1);
        QVERIFY(!ReportOutline::SameShape(ReportOutline::Build(report), rows));
    }

    void hiddenItems_data()
    {
        QTest::addColumn<int>("bandKind");
        QTest::addColumn<QList<int>>("rect");
        QTest::addColumn<COutlineRow::Hidden>("hidden");
        using H = COutlineRow::Hidden;
        const int contents = VornKind::ReportContents;
        // The band is 1000 high on an A4 page 21000 wide.
        QTest::newRow("inside") << contents << QList<int> {0, 0, 100, 100} << H::No;
        QTest::newRow("partly outside") << contents << QList<int> {-50, -50, 10, 10} << H::No;
        QTest::newRow("no width") << contents << QList<int> {100, 0, 100, 50} << H::EmptyRect;
        QTest::newRow("left above right")
                << contents << QList<int> {200, 0, 100, 50} << H::EmptyRect;
        QTest::newRow("top above bottom")
                << contents << QList<int> {0, 50, 100, 10} << H::EmptyRect;
        QTest::newRow("below the band")
                << contents << QList<int> {0, 1000, 100, 1100} << H::OutsideBand;
        QTest::newRow("right of the page")
                << contents << QList<int> {21000, 0, 21100, 50} << H::OutsideBand;
        QTest::newRow("on a page break")
                << int(VornKind::PageBreak) << QList<int> {0, 0, 100, 100} << H::OutsideBand;
    }
    void hiddenItems()
    {
        QFETCH(int, bandKind);
        QFETCH(QList<int>, rect);
        QFETCH(COutlineRow::Hidden, hidden);
        CVornReport report;
        CVornBand *band = PageTest::AddBand(report, 1000, bandKind);
        PageTest::AddItem<CVornText>(band, rect[0], rect[1], rect[2], rect[3]);
        QCOMPARE(ReportOutline::Build(report)[0].children[0].hidden, hidden);
    }

    void elementTexts()
    {
        CVornReport report;
        PageTest::AddBand(report, 1234, VornKind::PageHeader);
        CVornBand *band = PageTest::AddBand(report, 2000);
        auto *text = PageTest::AddItem<CVornText>(band, 250, 5, 200, 1005);
        QCOMPARE(ElementText::Describe(report, band), QStringLiteral("Band 1 (Report Contents)"));
        QCOMPARE(ElementText::Describe(report, text), QStringLiteral("Item 0 (Text) on Band 1"));
        QCOMPARE(ElementText::Geometry(report, band),
                 QStringLiteral("Top 12.34 mm, Height 20.00 mm"));
        QCOMPARE(ElementText::Geometry(report, text),
                 QStringLiteral("Left 2.50 mm, Top 0.05 mm, Width -0.50 mm, Height 10.00 mm"));
        QCOMPARE(ElementText::Describe(report, nullptr), QString());
    }
};

VANTEL_TEST_CLASS(TestReportOutline)
#include "tst_reportoutline.moc"
