#include "pagecontent.h"
#include "pagemodel.h"
#include "reportrun.h"
#include "testregistry.h"
#include "textmeasure.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

CVornBand *AddBand(CVornReport &report, int kind, const QString &name, int height)
{
    auto *band = new CVornBand(kind, name);
    band->SetHeight(height);
    report.GetBands().Add(band);
    return band;
}

template<typename Item>
Item *AddItem(CVornBand *band, const QString &name, int left, int top, int right, int bottom)
{
    auto *item = new Item;
    item->SetName(name);
    item->SetRect(left, top, right, bottom);
    band->GetItems().Add(item);
    return item;
}

CVornText *AddText(CVornBand *band, const QString &text, int left, int top, int right, int bottom,
                   bool grows)
{
    auto *item = AddItem<CVornText>(band, u"T%1"_s.arg(band->GetItems().GetCount()), left, top,
                                    right, bottom);
    item->SetText(text);
    item->SetCanGrow(grows ? 1 : 0);
    return item;
}

// Every primitive of a run: its page, its box and its text (empty for shapes).
struct Placed
{
    int page;
    CPageRect box;
    QString text;
    std::shared_ptr<const CPageFontTable> fonts;
    const CPageText *primitive;
};

struct Run
{
    CPageModel model;
    std::vector<Placed> placed;

    explicit Run(const CVornReport &report)
    {
        QString message;
        if (!RunReport(report, CRunOptions(), model, message))
            qWarning("%s", qPrintable(message));
        for (int i = 0; i < model.GetPageCount(); ++i) {
            const std::shared_ptr<const CPage> page = model.GetPage(i);
            for (const CPageItem &item : page->GetItems()) {
                if (const auto *text = std::get_if<CPageText>(&item))
                    placed.push_back({i, text->box, text->text, page->GetFontTable(), text});
                else if (const auto *shape = std::get_if<CPageShape>(&item))
                    placed.push_back({i, shape->box, u"[shape]"_s, page->GetFontTable(), nullptr});
            }
        }
    }

    const Placed &Find(const QString &text) const
    {
        static const Placed none {-1, {}, {}, {}, nullptr};
        for (const Placed &p : placed) {
            if (p.text == text)
                return p;
        }
        return none;
    }
};

QString Lines(int count, const QString &words)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << u"line %1%2"_s.arg(i).arg(words);
    return lines.join(u'\n');
}

} // namespace

// Texts that grow with their content, bands that move and break across pages, exact totals.
class TestGrowth : public QObject
{
    Q_OBJECT

private slots:
    void growthMovesAndStretches()
    {
        CVornReport report;
        report.SetHeight(29700);
        CVornBand *band = AddBand(report, VornKind::ReportContents, u"B"_s, 1000);
        AddItem<CVornShape>(band, u"Frame"_s, 0, 0, 10000, 1000);
        AddText(band, u"one\ntwo\nthree"_s, 0, 0, 3000, 500, true);
        AddText(band, u"1\n2\n3\n4\n5"_s, 3000, 0, 6000, 500, true);
        AddText(band, u"side"_s, 6000, 0, 9000, 400, false);
        AddText(band, u"below"_s, 0, 500, 3000, 900, false);
        // Stacked: the lower text moves by the growth above it and grows by its own.
        CVornBand *stack = AddBand(report, VornKind::ReportContents, u"S"_s, 1000);
        AddText(stack, u"a\nb\nc"_s, 0, 0, 3000, 500, true);
        AddText(stack, u"d\ne\nf"_s, 0, 500, 3000, 1000, true);
        AddText(stack, u"short"_s, 3000, 0, 6000, 900, true);
        CVornBand *next = AddBand(report, VornKind::ReportContents, u"N"_s, 1000);
        AddText(next, u"next"_s, 0, 0, 3000, 500, false);

        const Run run(report);
        const CPageRect three = run.Find(u"one\ntwo\nthree"_s).box;
        const CPageRect five = run.Find(u"1\n2\n3\n4\n5"_s).box;
        QVERIFY(three.bottom > 500);
        QVERIFY(five.bottom > three.bottom);
        const int growth = five.bottom - 500;
        QCOMPARE(three, (CPageRect {0, 0, 3000, three.bottom}));
        QCOMPARE(run.Find(u"side"_s).box, (CPageRect {6000, 0, 9000, 400}));
        QCOMPARE(run.Find(u"below"_s).box, (CPageRect {0, 500 + growth, 3000, 900 + growth}));
        QCOMPARE(run.Find(u"[shape]"_s).box, (CPageRect {0, 0, 10000, 1000 + growth}));

        const int top = 1000 + growth;
        const CPageRect upper = run.Find(u"a\nb\nc"_s).box;
        const CPageRect lower = run.Find(u"d\ne\nf"_s).box;
        const int lines = three.bottom; // three lines of the same font
        QCOMPARE(upper, (CPageRect {0, top, 3000, top + lines}));
        QCOMPARE(lower, (CPageRect {0, top + lines, 3000, top + 2 * lines}));
        // Never shorter than designed, yet stretched over the growth of the text beside it.
        QCOMPARE(run.Find(u"short"_s).box, (CPageRect {3000, top, 6000, top + 400 + lines}));
        QCOMPARE(run.Find(u"next"_s).box.top, top + 2 * lines);
    }

    void grownBandMovesToTheNextPage()
    {
        CVornReport report;
        report.SetHeight(10000);
        AddText(AddBand(report, VornKind::PageHeader, u"PH"_s, 1000), u"head"_s, 0, 0, 3000, 500,
                false);
        AddText(AddBand(report, VornKind::PageFooter, u"PF"_s, 1000), u"foot"_s, 0, 0, 3000, 500,
                false);
        AddText(AddBand(report, VornKind::ReportContents, u"Fill"_s, 6000), u"fill"_s, 0, 0, 3000,
                500, false);
        const QString six = Lines(6, {});
        AddText(AddBand(report, VornKind::ReportContents, u"Grow"_s, 1000), six, 0, 0, 3000, 500,
                true);
        const Run run(report);
        QCOMPARE(run.model.GetPageCount(), 2);
        const Placed &grown = run.Find(six);
        QCOMPARE(grown.page, 1);
        QCOMPARE(grown.box.top, 1000);
        QVERIFY(grown.box.bottom - 1000 > 2000); // it did not fit below the filler
    }

    void tallBandBreaksBetweenLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::newRow("line breaks") << Lines(60, {}) << 5000;
        QTest::newRow("wrapped words")
                << Lines(25, u" of a note that takes more than one line in its box"_s) << 4000;
    }
    void tallBandBreaksBetweenLines()
    {
        QFETCH(QString, text);
        QFETCH(int, width);
        CVornReport report;
        report.SetHeight(10000);
        AddText(AddBand(report, VornKind::PageHeader, u"PH"_s, 1000), u"head"_s, 0, 0, 3000, 500,
                false);
        AddText(AddBand(report, VornKind::PageFooter, u"PF"_s, 1000), u"foot"_s, 0, 0, 3000, 500,
                false);
        CVornBand *band = AddBand(report, VornKind::ReportContents, u"Note"_s, 1000);
        AddItem<CVornShape>(band, u"Rule"_s, 9000, 0, 9100, 1000)->SetShapeType(3);
        AddText(band, text, 0, 0, width, 500, true);
        AddText(band, u"after"_s, 0, 500, 3000, 1000, false);
        AddText(AddBand(report, VornKind::ReportContents, u"End"_s, 1000), u"end"_s, 0, 0, 3000,
                500, false);

        const Run run(report);
        QVERIFY(run.model.GetPageCount() >= 3);
        QString joined;
        int lastPage = -1;
        int lastBottom = 0;
        for (const Placed &p : run.placed) {
            // Nothing reaches over the footers or under the headers.
            QVERIFY(p.box.bottom <= 9000 || p.text == u"foot");
            QVERIFY(p.box.top >= 1000 || p.text == u"head");
            if (!p.primitive || !text.contains(p.text) || p.text.isEmpty())
                continue;
            QVERIFY2(p.page > lastPage, "one part per page");
            lastPage = p.page;
            lastBottom = p.box.bottom;
            // Whole lines only: a part starts where a line starts, and its box holds it.
            QVERIFY2(joined.isEmpty() || joined.endsWith(u'\n') || joined.endsWith(u' '),
                     qPrintable(joined.right(40)));
            CTextMeasure measure(p.fonts);
            QVERIFY2(measure.Height(*p.primitive) <= p.box.bottom - p.box.top,
                     qPrintable(u"%1 > %2: %3"_s.arg(measure.Height(*p.primitive))
                                        .arg(p.box.bottom - p.box.top)
                                        .arg(p.text.right(50))));
            joined += p.text;
            // A part leaves out the line break it ends at.
            if (text.mid(joined.size(), 1) == u"\n")
                joined += u'\n';
        }
        QCOMPARE(joined, text); // none lost
        // What follows the text comes after its last line, on its page or the next.
        const Placed &after = run.Find(u"after"_s);
        QVERIFY(after.page == lastPage + 1
                || (after.page == lastPage && after.box.top >= lastBottom));
        QVERIFY(run.Find(u"end"_s).box.top >= after.box.bottom
                || run.Find(u"end"_s).page > lastPage);
        // The rule prints on the part where its top lies, cut at the end of that part.
        const Placed &rule = run.Find(u"[shape]"_s);
        QCOMPARE(rule.page, 0);
        QVERIFY(rule.box.bottom > 8000 && rule.box.bottom <= 9000);
    }
};

VANTEL_TEST_CLASS(TestGrowth)
#include "tst_growth.moc"
