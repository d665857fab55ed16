#include "reportbuilder.h"
#include "reportfile.h"
#include "reportrun.h"
#include "testregistry.h"

#include <QDir>
#include <QTest>

#include <set>

using namespace Qt::StringLiterals;
using namespace ReportBuilder;

// Every primitive of a laid-out page names the band and item that made it, and every placed
// body band keeps the values its DB Texts printed.
class TestPageSource : public QObject
{
    Q_OBJECT

private slots:
    void examplesFoundFromTheirPrimitives_data();
    void examplesFoundFromTheirPrimitives();
    void printedRowsWithoutDatabase();
};

void TestPageSource::examplesFoundFromTheirPrimitives_data()
{
    QTest::addColumn<QString>("file");
    QTest::newRow("invoice: master and detail, picture, barcode") << u"invoice.vnt"_s;
    QTest::newRow("customers: groups, page fields, several pages") << u"customers.vnt"_s;
}

void TestPageSource::examplesFoundFromTheirPrimitives()
{
    QFETCH(QString, file);
    const QDir examples(QStringLiteral(VANTEL_EXAMPLES_DIR));
    CVornReport report;
    QString message;
    QVERIFY2(VornTemplate::Load(report, examples.filePath(file), message), qPrintable(message));
    CRunOptions options;
    options.reportFolder = examples.path();
    CPageModel model;
    QVERIFY2(RunReport(report, options, model, message), qPrintable(message));

    const auto &bands = report.GetBands();
    std::set<std::pair<int, int>> found;
    QStringList bodyOrder;
    for (int p = 0; p < model.GetPageCount(); ++p) {
        const CPage &page = *model.GetPage(p);
        for (const CPageItem &primitive : page.GetItems()) {
            const CPageSource &source = SourceOf(primitive);
            QVERIFY(source.band >= 0 && source.band < bands.GetCount());
            const CVornBand &band = *bands[source.band];
            QVERIFY(source.item >= 0 && source.item < band.GetItems().GetCount());
            const CVornItem &item = *band.GetItems()[source.item];
            // The primitive lies where its item lies in one placing of its band on this page.
            const CPageRect &box = BoxOf(primitive);
            const auto placed = std::find_if(
                    page.GetBands().begin(), page.GetBands().end(), [&](const CPageBand &b) {
                        return b.band == source.band && b.top <= box.top && box.bottom <= b.bottom;
                    });
            QVERIFY2(placed != page.GetBands().end(), qPrintable(item.GetName()));
            QCOMPARE(box.left, std::max(item.GetLeft(), 0));
            // A text growing above it moves it down, never up.
            QVERIFY(box.top >= placed->top + std::max(item.GetTop(), 0));
            const int kind = item.GetKind();
            const bool matches = std::visit(
                    [kind](const auto &p) {
                        using T = std::decay_t<decltype(p)>;
                        if constexpr (std::is_same_v<T, CPageText>)
                            return kind == VornKind::Text || kind == VornKind::DbText;
                        else if constexpr (std::is_same_v<T, CPageShape>)
                            return kind == VornKind::Shape;
                        else if constexpr (std::is_same_v<T, CPageImage>)
                            return kind == VornKind::Image || kind == VornKind::DbImage;
                        else
                            return kind == VornKind::Barcode || kind == VornKind::DbBarcode;
                    },
                    primitive);
            QVERIFY2(matches, qPrintable(item.GetName()));
            found.emplace(source.band, source.item);
        }
        for (const CPageBand &placed : page.GetBands()) {
            const int kind = bands[placed.band]->GetKind();
            QCOMPARE(placed.body, kind != VornKind::PageHeader && kind != VornKind::PageFooter);
            if (!placed.body)
                continue;
            if (bodyOrder.isEmpty() || bodyOrder.last() != bands[placed.band]->GetName())
                bodyOrder << bands[placed.band]->GetName();
            // A row holds what its DB Texts printed on the page.
            QStringList printed;
            for (const CPageItem &primitive : page.GetItems()) {
                const auto *text = std::get_if<CPageText>(&primitive);
                if (text && text->source.band == placed.band && text->box.top >= placed.top
                    && text->box.bottom <= placed.bottom
                    && bands[placed.band]->GetItems()[text->source.item]->GetKind()
                            == VornKind::DbText)
                    printed << text->text;
            }
            QStringList row;
            for (const CPrintedValue &value : placed.values) {
                if (!value.text.isEmpty())
                    row << value.text;
            }
            row.sort();
            printed.sort();
            QCOMPARE(row, printed);
        }
    }
    for (int b = 0; b < bands.GetCount(); ++b) {
        // A band left out on the first page prints nothing in a report of one page.
        if (model.GetPageCount() == 1 && !bands[b]->GetPrintOnFirstPage())
            continue;
        for (int i = 0; i < bands[b]->GetItems().GetCount(); ++i)
            QVERIFY2(found.count({b, i}), qPrintable(bands[b]->GetItems()[i]->GetName()));
    }
    if (file == u"customers.vnt"_s) {
        // Groups in print order: header, its rows, footer, and the report footer last.
        QCOMPARE(bodyOrder.mid(0, 4),
                 QStringList({u"Title"_s, u"City Header"_s, u"Customers"_s, u"City Footer"_s}));
        QCOMPARE(bodyOrder.last(), u"Totals"_s);
    }
}

void TestPageSource::printedRowsWithoutDatabase()
{
    CVornReport report;
    report.SetHeight(10000);
    CVornBand *head = Band(report, VornKind::PageHeader, u"PH"_s);
    Field(head, u"PH"_s, u"title"_s);
    CVornBand *rows = Band(report, VornKind::ReportContents, u"Rows"_s);
    Text(rows, u"static"_s);
    Field(rows, u"Rows"_s, u"b"_s, u"[%s]"_s)->SetRect(5000, 0, 6000, 1000);
    Field(rows, u"Rows"_s, u"a"_s)->SetRect(2000, 0, 3000, 1000);
    Field(rows, {}, u"#PAGE"_s);
    Field(rows, u"Rows"_s, u"outside"_s)->SetRect(22000, 0, 23000, 1000);
    CRunOptions options;
    options.value = [](const QString &band, const QString &field) {
        return band + u'.' + field;
    };
    CPageModel model;
    QString message;
    QVERIFY2(RunReport(report, options, model, message), qPrintable(message));
    QCOMPARE(model.GetPageCount(), 1);
    const std::vector<CPageBand> expected {{0, 0, 1000, false, {}},
                                           {1,
                                            1000,
                                            2000,
                                            true,
                                            {{2, 2000, 3000, u"Rows.a"_s, u"Rows.a"_s},
                                             {1, 5000, 6000, u"[Rows.b]"_s, u"Rows.b"_s}}}};
    QCOMPARE(model.GetPage(0)->GetBands(), expected);
}

VANTEL_TEST_CLASS(TestPageSource)
#include "tst_pagesource.moc"
