#include "modelbuilder.h"
#include "testregistry.h"

#include <QTest>

#include <functional>

using namespace ModelBuilder;
using namespace Qt::StringLiterals;

using ReportBuilder = std::function<void(CVornReport &)>;
Q_DECLARE_METATYPE(ReportBuilder)

// Every rule of report validation, each with the first fault it must report.
class TestValidation : public QObject
{
    Q_OBJECT

private slots:
    void validate_data()
    {
        QTest::addColumn<ReportBuilder>("build");
        QTest::addColumn<QString>("message");

        QTest::newRow("empty report is valid") << ReportBuilder([](CVornReport &) {}) << QString();

        QTest::newRow("band without kind")
                << ReportBuilder([](CVornReport &r) { AddBand(r, 0, QString()); })
                << QStringLiteral("Band #0 is invalid: Unspecified item type");

        QTest::newRow("band without name") << ReportBuilder([](CVornReport &r) {
            AddBand(r, 1, QStringLiteral("A"));
            AddBand(r, 2, QString());
        }) << QStringLiteral("Band #1 is invalid: The NAME property is not specified");

        QTest::newRow("group header on a page header")
                << ReportBuilder([](CVornReport &r) {
                       AddBand(r, 4, QStringLiteral("PH"))->SetHeader(QStringLiteral("X"));
                   })
                << QStringLiteral(
                           "Band #0 is invalid: Error: the X header band specified for the PH "
                           "report band");

        QTest::newRow("group footer on a page break")
                << ReportBuilder([](CVornReport &r) {
                       AddBand(r, 8, QStringLiteral("PB"))->SetFooter(QStringLiteral("F"));
                   })
                << QStringLiteral(
                           "Band #0 is invalid: Error: the F footer band specified for the PB "
                           "report band");

        QTest::newRow("item kind read as a band")
                << ReportBuilder([](CVornReport &r) { AddBand(r, 9, QStringLiteral("T")); })
                << QStringLiteral("Band #0 is invalid: Wrong band type: 9");

        QTest::newRow("unnamed item nests its message")
                << ReportBuilder([](CVornReport &r) {
                       CVornBand *band = AddBand(r, 1, QStringLiteral("B"));
                       AddItem(band, QStringLiteral("a"));
                       AddItem(band, QStringLiteral("b"));
                       AddItem(band, QString());
                   })
                << QStringLiteral(
                           "Band #0 is invalid: Item #2 is invalid: The NAME property is not "
                           "specified");

        QTest::newRow("bracket error of a band query") << ReportBuilder([](CVornReport &r) {
            AddBand(r, 1, QStringLiteral("B"))->SetDatabaseQuery(QStringLiteral("{A{B}"));
        }) << QStringLiteral("Band #0 is invalid: Two open brackets in positions 0 and 2");

        QTest::newRow("entry named like an item")
                << ReportBuilder([](CVornReport &r) {
                       CVornBand *band = AddBand(r, 1, QStringLiteral("Lines"));
                       band->SetDatabaseQuery(QStringLiteral("SELECT * FROM T WHERE X = {id}"));
                       AddItem<CVornDbText>(band, QStringLiteral("ID"));
                   })
                << QStringLiteral(
                           "Band #0 is invalid: The id SQL query entry in the Lines report band "
                           "has the same name with one of the band's elements");

        QTest::newRow("items of one band share a name") << ReportBuilder([](CVornReport &r) {
            CVornBand *band = AddBand(r, 1, QStringLiteral("Lines"));
            AddItem(band, QStringLiteral("A"));
            AddItem(band, QStringLiteral("Price"));
            AddItem<CVornShape>(band, QStringLiteral("PRICE"));
        }) << QStringLiteral("The \"Lines\" band have elements with the same name: \"Price\"");

        QTest::newRow("items of different bands may share a name")
                << ReportBuilder([](CVornReport &r) {
                       AddItem(AddBand(r, 1, QStringLiteral("A")), QStringLiteral("Total"));
                       AddItem(AddBand(r, 1, QStringLiteral("B")), QStringLiteral("Total"));
                   })
                << QString();

        const auto pageCase = [](int contentsHeight, int portrait) {
            return ReportBuilder([=](CVornReport &r) {
                r.SetPortrait(portrait);
                AddBand(r, 4, QStringLiteral("PH"), 1500);
                AddBand(r, 1, QStringLiteral("C"), contentsHeight);
                AddBand(r, 5, QStringLiteral("PF"), 1200);
            });
        };
        QTest::newRow("band exactly fills the page") << pageCase(27000, 1) << QString();
        QTest::newRow("band one unit too high")
                << pageCase(27001, 1)
                << QStringLiteral("Band #1 will not fit page height if printed with page header "
                                  "and footer");
        QTest::newRow("landscape offers the width")
                << pageCase(18301, 0)
                << QStringLiteral("Band #1 will not fit page height if printed with page header "
                                  "and footer");
        QTest::newRow("landscape band that fits") << pageCase(18300, 0) << QString();

        QTest::newRow("page break height is ignored")
                << ReportBuilder([](CVornReport &r) { AddBand(r, 8, QStringLiteral("PB"), 99999); })
                << QString();

        QTest::newRow("group header missing")
                << ReportBuilder([](CVornReport &r) {
                       AddBand(r, 1, QStringLiteral("C"))->SetHeader(QStringLiteral("Nowhere"));
                   })
                << QStringLiteral(
                           "Header or footer band \"Nowhere\" specified for the \"C\" report "
                           "band does not exist");

        QTest::newRow("group header names an item")
                << ReportBuilder([](CVornReport &r) {
                       CVornBand *band = AddBand(r, 1, QStringLiteral("C"));
                       AddItem(band, QStringLiteral("Label"));
                       band->SetHeader(QStringLiteral("label"));
                   })
                << QStringLiteral(
                           "Header or footer band \"label\" specified for the \"C\" report band "
                           "is not a band, or a band of a wrong type");

        QTest::newRow("group footer names a report footer")
                << ReportBuilder([](CVornReport &r) {
                       AddBand(r, 1, QStringLiteral("C"))->SetFooter(QStringLiteral("RF"));
                       AddBand(r, 3, QStringLiteral("RF"));
                   })
                << QStringLiteral(
                           "Header or footer band \"RF\" specified for the \"C\" report band is "
                           "not a band, or a band of a wrong type");

        QTest::newRow("shared group footer")
                << ReportBuilder([](CVornReport &r) {
                       AddBand(r, 1, QStringLiteral("F"));
                       AddBand(r, 1, QStringLiteral("G1"))->SetFooter(QStringLiteral("F"));
                       AddBand(r, 1, QStringLiteral("Mid"));
                       AddBand(r, 1, QStringLiteral("G2"))->SetFooter(QStringLiteral("f"));
                       AddBand(r, 1, QStringLiteral("G3"))->SetFooter(QStringLiteral("F"));
                   })
                << QStringLiteral("The \"G1\" and \"G2\" report bands have the same \"F\" band "
                                  "specified as a group footer");

        QTest::newRow("group headers may be shared") << ReportBuilder([](CVornReport &r) {
            AddBand(r, 1, QStringLiteral("H"));
            AddBand(r, 1, QStringLiteral("A"))->SetHeader(QStringLiteral("H"));
            AddBand(r, 1, QStringLiteral("B"))->SetHeader(QStringLiteral("h"));
        }) << QString();

        QTest::newRow("band check comes before the name check")
                << ReportBuilder([](CVornReport &r) {
                       CVornBand *band = AddBand(r, 1, QStringLiteral("A"));
                       AddItem(band, QStringLiteral("X"));
                       AddItem(band, QStringLiteral("X"));
                       AddBand(r, 2, QString());
                   })
                << QStringLiteral("Band #1 is invalid: The NAME property is not specified");

        QTest::newRow("names with percent signs stay literal")
                << ReportBuilder([](CVornReport &r) {
                       AddBand(r, 1, QStringLiteral("%2 band"))->SetHeader(QStringLiteral("%1"));
                   })
                << QStringLiteral(
                           "Header or footer band \"%1\" specified for the \"%2 band\" report "
                           "band does not exist");
    }

    void validate()
    {
        QFETCH(ReportBuilder, build);
        QFETCH(QString, message);
        CVornReport report;
        build(report);
        QString text;
        QCOMPARE(report.Validate(text), message.isEmpty());
        QCOMPARE(text, message);
    }

    // The Problems pane lists every fault, not only the first; the first stays Validate's.
    void everyFault()
    {
        CVornReport report;
        report.SetHeight(10000);
        CVornBand *rows = AddBand(report, 1, QStringLiteral("Rows"));
        rows->SetHeight(20000);
        rows->SetFooter(QStringLiteral("Sum"));
        rows->SetDatabaseQuery(QStringLiteral("SELECT * FROM T WHERE A = {ID}"));
        AddItem(rows, QString());
        AddItem(rows, QStringLiteral("id"));
        AddItem(rows, QStringLiteral("Twice"));
        AddItem(rows, QStringLiteral("twice"));
        AddBand(report, 4, QStringLiteral("Top"))->SetHeader(QStringLiteral("Rows"));
        CVornBand *other = AddBand(report, 1, QStringLiteral("Other"));
        other->SetFooter(QStringLiteral("sum"));
        other->SetDatabaseQuery(QStringLiteral("}"));
        AddBand(report, 1, QStringLiteral("Sum"));

        QList<CValidationFault> faults;
        QVERIFY(report.VisitValidationFaults([&](const CValidationFault &fault) {
            faults.append(fault);
            return true;
        }));
        using P = CValidationFault::Property;
        const QList<CValidationFault> expected {
                {0, 0,
                 u"Band #0 is invalid: Item #0 is invalid: The NAME property is not "
                 u"specified"_s,
                 P::Name},
                {0, 1,
                 u"Band #0 is invalid: The ID SQL query entry in the Rows report band has "
                 u"the same name with one of the band's elements"_s,
                 P::Name},
                {1, -1,
                 u"Band #1 is invalid: Error: the Rows header band specified for the Top "
                 u"report band"_s,
                 P::GroupHeader},
                {2, -1, u"Band #2 is invalid: A close bracket without an open one in position 0"_s,
                 P::Query},
                {0, 2, u"The \"Rows\" band have elements with the same name: \"Twice\""_s, P::Name},
                {0, -1,
                 u"Band #0 will not fit page height if printed with page header and "
                 u"footer"_s,
                 P::Height},
                {0, -1,
                 u"The \"Rows\" and \"Other\" report bands have the same \"Sum\" band "
                 u"specified as a group footer"_s,
                 P::GroupFooter},
        };
        QCOMPARE(faults, expected);
        QString first;
        QVERIFY(!report.Validate(first));
        QCOMPARE(first, expected.first().message);

        int seen = 0;
        QVERIFY(!report.VisitValidationFaults(
                [&](const CValidationFault &) { return ++seen < 2; }));
        QCOMPARE(seen, 2);
    }
};

VANTEL_TEST_CLASS(TestValidation)
#include "tst_validation.moc"
