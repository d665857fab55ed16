#include "reportfile.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <climits>

namespace {

// Loads a fixture into a fresh report; the message when that fails.
QString LoadFixture(const QString &name, CVornReport &report)
{
    QString message;
    if (!VornTemplate::Load(report, TestUtil::FixturePath(name), message))
        return message.isEmpty() ? QStringLiteral("(no message)") : message;
    return QString();
}

template<typename T>
T *ItemAt(const CVornReport &report, int band, int item)
{
    return dynamic_cast<T *>(report.GetBands()[band]->GetItems()[item]);
}

} // namespace

Q_DECLARE_METATYPE(CBandPaging)

// Writing templates byte for byte and reading back what was written and what
// other writers may produce.
class TestReportFile : public QObject
{
    Q_OBJECT

private slots:
    void emptyReportIsFourLines()
    {
        CVornReport report;
        QCOMPARE(VornTemplate::WriteReportXml(report),
                 QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n"
                                "<report version=\"1\" width=\"21000\" height=\"29700\" title=\"\" "
                                "database-type=\"-1\" portrait=\"1\" database-connect-string=\"\">"
                                "\r\n\r\n</report>"));
    }

    void fullReportLoadsAndSavesByteForByte()
    {
        CVornReport report;
        QCOMPARE(LoadFixture(QStringLiteral("full_report.vnt"), report), QString());
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("copy.vnt"));
        QString message;
        QVERIFY(VornTemplate::Save(report, path, message));
        QCOMPARE(TestUtil::ReadAll(path),
                 TestUtil::ReadAll(TestUtil::FixturePath(QStringLiteral("full_report.vnt"))));
    }

    void fullReportFields()
    {
        CVornReport report;
        QCOMPARE(LoadFixture(QStringLiteral("full_report.vnt"), report), QString());
        QCOMPARE(report.GetTitle(), QStringLiteral("Sales & \"Returns\" <2026>"));
        QCOMPARE(report.GetDatabaseType(), 0);
        QCOMPARE(report.GetConnectString(), QStringLiteral("/data/shop.db"));
        QCOMPARE(report.GetBands().GetCount(), 4);
        QCOMPARE(report.GetParameters().GetCount(), 1);
        QCOMPARE(report.FindFirstSelected(), nullptr);

        const CVornBand *header = report.GetBands()[0];
        QCOMPARE(header->GetKind(), 4);
        QCOMPARE(header->GetPrintOnFirstPage(), 0);
        const auto *title = ItemAt<CVornText>(report, 0, 0);
        QVERIFY(title);
        QCOMPARE(title->GetText(), QStringLiteral("Invoice's title"));
        QCOMPARE(title->GetColor(), 255u);
        QCOMPARE(title->GetFontName(), QStringLiteral("Arial"));
        QCOMPARE(title->GetCharset(), 204);
        QCOMPARE(title->GetBold(), 1);
        QCOMPARE(title->GetUnderline(), 1);
        QCOMPARE(title->GetWordWrap(), 0);
        const auto *frame = ItemAt<CVornShape>(report, 0, 1);
        QCOMPARE(frame->GetColor(), 0xFFFFFFFFu);
        QCOMPARE(frame->GetLeft(), -150);
        QCOMPARE(frame->GetLineWidth(), 3);

        const CVornBand *lines = report.GetBands()[1];
        QCOMPARE(lines->GetDatabaseQuery(),
                 QStringLiteral("SELECT * FROM Lines\nWHERE OrderId = {ORDER}"));
        const auto *amount = ItemAt<CVornDbText>(report, 1, 0);
        QCOMPARE(amount->GetFormat(), QStringLiteral("%.2f"));
        QCOMPARE(amount->GetDataField(), QStringLiteral("AMOUNT"));
        QCOMPARE(amount->GetQuery(),
                 QStringLiteral("SELECT Name FROM Customers WHERE Id = {CUSTOMER_ID}"));
        const auto *logo = ItemAt<CVornImage>(report, 1, 1);
        QByteArray hundred;
        for (int i = 0; i < 100; ++i)
            hundred.append(char(i));
        QCOMPARE(logo->GetImageData(), hundred);
        QCOMPARE(logo->GetVertAlignment(), 2);
        QCOMPARE(ItemAt<CVornDbImage>(report, 1, 2)->GetDataField(), QStringLiteral("PHOTO"));
        QCOMPARE(ItemAt<CVornBarcode>(report, 1, 3)->GetBarcode(), QStringLiteral("2000000000015"));
        QCOMPARE(ItemAt<CVornDbBarcode>(report, 1, 4)->GetDataSource(), QStringLiteral("Lines"));
    }

    void writerRules()
    {
        CVornReport report;
        auto *pageBreak = new CVornBand(VornKind::PageBreak, QStringLiteral("PB"));
        pageBreak->SetHeight(500);
        report.GetBands().Add(pageBreak);
        auto *contents = new CVornBand(VornKind::ReportContents, QStringLiteral("C"));
        contents->SetDatabaseQuery(QStringLiteral("SELECT a\r\nFROM t"));
        report.GetBands().Add(contents);
        auto *image = new CVornImage;
        image->SetName(QStringLiteral("Empty"));
        contents->GetItems().Add(image);
        auto *dbImage = new CVornDbImage;
        dbImage->SetName(QStringLiteral("Db"));
        dbImage->SetImageData(QByteArray("abc"));
        contents->GetItems().Add(dbImage);
        auto *dbBarcode = new CVornDbBarcode;
        dbBarcode->SetName(QStringLiteral("DbCode"));
        dbBarcode->SetBarcode(QStringLiteral("4006381333931"));
        contents->GetItems().Add(dbBarcode);
        report.GetParameters().SetParameter(QStringLiteral("C"), QStringLiteral("EMPTY"));

        const QString text = VornTemplate::WriteReportXml(report);
        QVERIFY(text.contains(QStringLiteral("\r\n\r\n<parameters>\r\n</parameters>\r\n\r\n")));
        QVERIFY(text.contains(
                QStringLiteral("<element name=\"PB\" type=\"8\">\r\n  <header></header>"
                               "\r\n  <footer></footer>\r\n  <height>0</height>")));
        QVERIFY(text.contains(QStringLiteral("  <image></image>\r\n")));
        // Database kinds write no picture and no barcode of their own.
        QCOMPARE(text.count(QStringLiteral("<image>")), 1);
        QVERIFY(!text.contains(QStringLiteral("4006381333931")));
        QVERIFY(text.endsWith(QStringLiteral("</element>\r\n\r\n</report>")));

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("r.vnt"));
        QString message;
        QVERIFY(VornTemplate::Save(report, path, message));
        const QByteArray bytes = TestUtil::ReadAll(path);
        // UTF-16LE without a byte-order mark.
        QCOMPARE(bytes.left(4), QByteArray("<\0?\0", 4));

        CVornReport back;
        QVERIFY2(VornTemplate::Load(back, path, message), qPrintable(message));
        QCOMPARE(back.GetParameters().GetCount(), 0);
        QCOMPARE(back.GetBands()[0]->GetHeight(), 0);
        // The XML end-of-line rule turns the written CR LF into LF.
        QCOMPARE(back.GetBands()[1]->GetDatabaseQuery(), QStringLiteral("SELECT a\nFROM t"));
    }

    // Growth and totals are child elements after an item's others, written only when they
    // differ from their defaults; a file that holds them reads back to the same bytes.
    void extensionElements_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("canGrow");
        QTest::addColumn<int>("aggregate");
        QTest::addColumn<int>("over");
        QTest::addColumn<QString>("tail");
        const QString dbLines = QStringLiteral("  <query></query>\r\n");
        QTest::newRow("text at its defaults")
                << int(VornKind::Text) << 0 << 0 << 0 << QStringLiteral("strikeout=\"0\"/>\r\n");
        QTest::newRow("growing text") << int(VornKind::Text) << 1 << 0 << 0
                                      << QStringLiteral("strikeout=\"0\"/>\r\n"
                                                        "  <can_grow>1</can_grow>\r\n");
        QTest::newRow("DB text at its defaults") << int(VornKind::DbText) << 0 << 0 << 0 << dbLines;
        QTest::newRow("sum over the report") << int(VornKind::DbText) << 0 << 1 << 2
                                             << dbLines
                        + QStringLiteral("  <aggregate>1</aggregate>\r\n"
                                         "  <aggregate_over>2</aggregate_over>\r\n");
        QTest::newRow("growing page count") << int(VornKind::DbText) << 1 << 2 << 1
                                            << dbLines
                        + QStringLiteral("  <can_grow>1</can_grow>\r\n  <aggregate>2</aggregate>"
                                         "\r\n  <aggregate_over>1</aggregate_over>\r\n");
        QTest::newRow("scope without an aggregate")
                << int(VornKind::DbText) << 0 << 0 << 1
                << dbLines + QStringLiteral("  <aggregate_over>1</aggregate_over>\r\n");
    }
    void extensionElements()
    {
        QFETCH(int, kind);
        QFETCH(int, canGrow);
        QFETCH(int, aggregate);
        QFETCH(int, over);
        QFETCH(QString, tail);
        CVornReport report;
        auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("B"));
        report.GetBands().Add(band);
        CVornText *text = kind == VornKind::Text ? new CVornText : new CVornDbText;
        text->SetName(QStringLiteral("T"));
        text->SetCanGrow(canGrow);
        if (auto *dbText = dynamic_cast<CVornDbText *>(text)) {
            dbText->SetAggregate(aggregate);
            dbText->SetAggregateOver(over);
        }
        band->GetItems().Add(text);

        const QString written = VornTemplate::WriteReportXml(report);
        QVERIFY2(written.endsWith(tail
                                  + QStringLiteral("</element>\r\n</element>\r\n\r\n</report>")),
                 qPrintable(written.right(300)));
        QByteArray bytes(reinterpret_cast<const char *>(written.utf16()), written.size() * 2);
        CVornReport back;
        QString message;
        QVERIFY2(VornTemplate::LoadBytes(back, bytes, message), qPrintable(message));
        const auto *read = ItemAt<CVornText>(back, 0, 0);
        QCOMPARE(read->GetCanGrow(), canGrow);
        if (const auto *dbText = dynamic_cast<const CVornDbText *>(read)) {
            QCOMPARE(dbText->GetAggregate(), aggregate);
            QCOMPARE(dbText->GetAggregateOver(), over);
        }
        QCOMPARE(VornTemplate::WriteReportXml(back), written);
    }

    // Expressions, formats, conditions, style rules and the locale: written after the other
    // elements, read back to the same model and the same bytes.
    void expressionElements()
    {
        CVornReport report;
        report.SetLocale(QStringLiteral("de_DE"));
        auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("B"));
        band->SetPrintWhen(QStringLiteral("[B].[paid] = 1"));
        report.GetBands().Add(band);
        auto *text = new CVornDbText;
        text->SetName(QStringLiteral("T"));
        text->SetExpression(QStringLiteral("[qty] * [price] & '<€>'"));
        text->SetDisplayFormat(QStringLiteral("#,##0.00 \"pcs\""));
        text->SetPrintWhen(QStringLiteral("NOT ISNULL([qty])"));
        CStyleRule red {QStringLiteral("[total] > 1000"), 0x0000FFu, 0x00FFFFu, 1, 0};
        CStyleRule italic {QStringLiteral("#ROW MOD 2 = 0"), {}, {}, {}, 1};
        text->SetStyleRules({red, italic});
        band->GetItems().Add(text);
        auto *shape = new CVornShape;
        shape->SetName(QStringLiteral("S"));
        shape->SetPrintWhen(QStringLiteral("#PAGE > 1"));
        band->GetItems().Add(shape);

        const QString written = VornTemplate::WriteReportXml(report);
        for (const char *part :
             {"<report version=\"1\" width=\"21000\" height=\"29700\" title=\"\" "
              "database-type=\"-1\" portrait=\"1\" database-connect-string=\"\">\r\n"
              "  <locale>de_DE</locale>\r\n",
              "</element>\r\n  <print_when>[B].[paid] = 1</print_when>\r\n</element>\r\n",
              "  <query></query>\r\n"
              "  <expression>[qty] * [price] &amp; '&lt;€&gt;'</expression>\r\n"
              "  <display_format>#,##0.00 &quot;pcs&quot;</display_format>\r\n"
              "  <print_when>NOT ISNULL([qty])</print_when>\r\n"
              "  <style_rule>\r\n    <when>[total] &gt; 1000</when>\r\n"
              "    <color>255</color>\r\n    <bk_color>65535</bk_color>\r\n"
              "    <bold>1</bold>\r\n    <italic>0</italic>\r\n  </style_rule>\r\n"
              "  <style_rule>\r\n    <when>#ROW MOD 2 = 0</when>\r\n    <italic>1</italic>\r\n"
              "  </style_rule>\r\n</element>\r\n",
              "  <shape_type>1</shape_type>\r\n  <print_when>#PAGE &gt; 1</print_when>\r\n"
              "</element>\r\n"})
            QVERIFY2(written.contains(QString::fromUtf8(part)), part);

        QByteArray bytes(reinterpret_cast<const char *>(written.utf16()), written.size() * 2);
        CVornReport back;
        QString message;
        QVERIFY2(VornTemplate::LoadBytes(back, bytes, message), qPrintable(message));
        QCOMPARE(back.GetLocale(), report.GetLocale());
        QCOMPARE(back.GetBands()[0]->GetPrintWhen(), band->GetPrintWhen());
        const auto *read = ItemAt<CVornDbText>(back, 0, 0);
        QCOMPARE(read->GetExpression(), text->GetExpression());
        QCOMPARE(read->GetDisplayFormat(), text->GetDisplayFormat());
        QCOMPARE(read->GetPrintWhen(), text->GetPrintWhen());
        QVERIFY(read->GetStyleRules() == text->GetStyleRules());
        QCOMPARE(ItemAt<CVornShape>(back, 0, 1)->GetPrintWhen(), shape->GetPrintWhen());
        QCOMPARE(VornTemplate::WriteReportXml(back), written);
    }

    // A band's page rules follow its items, each only where it differs from its default, and
    // read back to the same bytes.
    void bandPagingElements_data()
    {
        QTest::addColumn<CBandPaging>("paging");
        QTest::addColumn<QString>("tail");
        const QString end = QStringLiteral("<print-on-first-page>1</print-on-first-page>\r\n");
        QTest::newRow("defaults") << CBandPaging() << end;
        CBandPaging invoice;
        invoice.newPage = CBandPaging::NewPageAfter;
        invoice.resetPageNumber = 1;
        invoice.keepWithNext = 1;
        invoice.repeatHeader = 1;
        invoice.keepTogether = 1;
        QTest::newRow("page rules") << invoice
                                    << end
                        + QStringLiteral("  <new_page>2</new_page>\r\n"
                                         "  <reset_page_number>1</reset_page_number>\r\n"
                                         "  <keep_with_next>1</keep_with_next>\r\n"
                                         "  <repeat_header>1</repeat_header>\r\n"
                                         "  <keep_together>1</keep_together>\r\n");
        CBandPaging labels;
        labels.columns = 3;
        labels.columnGap = 250;
        labels.columnOrder = CBandPaging::DownThenAcross;
        labels.columnWidth = 6350;
        labels.columnLeft = 725;
        labels.skipLabels = 5;
        QTest::newRow("labels") << labels
                                << end
                        + QStringLiteral("  <columns>3</columns>\r\n"
                                         "  <column_gap>250</column_gap>\r\n"
                                         "  <column_order>1</column_order>\r\n"
                                         "  <column_width>6350</column_width>\r\n"
                                         "  <column_left>725</column_left>\r\n"
                                         "  <skip_labels>5</skip_labels>\r\n");
    }
    void bandPagingElements()
    {
        QFETCH(CBandPaging, paging);
        QFETCH(QString, tail);
        CVornReport report;
        auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("B"));
        band->SetPaging(paging);
        report.GetBands().Add(band);
        const QString written = VornTemplate::WriteReportXml(report);
        QVERIFY2(written.endsWith(tail + QStringLiteral("</element>\r\n\r\n</report>")),
                 qPrintable(written.right(400)));
        QByteArray bytes(reinterpret_cast<const char *>(written.utf16()), written.size() * 2);
        CVornReport back;
        QString message;
        QVERIFY2(VornTemplate::LoadBytes(back, bytes, message), qPrintable(message));
        QCOMPARE(back.GetBands()[0]->GetPaging(), paging);
        QCOMPARE(VornTemplate::WriteReportXml(back), written);
    }

    void textsSurviveARoundTrip_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("markup characters") << QStringLiteral("a \"b\" & <c> 'd'");
        QTest::newRow("entity-like text") << QStringLiteral("&amp; &#10; &lt;");
        QTest::newRow("non-latin") << QStringLiteral("Счёт № 5 – 東京 €");
        QTest::newRow("blanks only") << QStringLiteral("   ");
        QTest::newRow("percent signs") << QStringLiteral("%1 %s %d");
        // An XML reader turns these into blanks inside attribute values unless
        // they are written as character references.
        QTest::newRow("tab and line breaks") << QStringLiteral("a\tb\nc");
        QTest::newRow("carriage return alone") << QStringLiteral("a\rb");
    }
    void textsSurviveARoundTrip()
    {
        QFETCH(QString, text);
        CVornReport report;
        report.SetTitle(text);
        report.SetConnectString(text);
        auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("B"));
        band->SetDatabaseQuery(text);
        report.GetBands().Add(band);
        auto *item = new CVornText;
        item->SetName(QStringLiteral("T"));
        item->SetText(text);
        band->GetItems().Add(item);
        report.GetParameters().SetParameter(QStringLiteral("B"), QStringLiteral("P"), text);

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("t.vnt"));
        QString message;
        QVERIFY(VornTemplate::Save(report, path, message));
        CVornReport back;
        QVERIFY2(VornTemplate::Load(back, path, message), qPrintable(message));
        QCOMPARE(back.GetTitle(), text);
        QCOMPARE(back.GetConnectString(), text);
        QCOMPARE(back.GetParameters()[0]->GetValue(), text);
        // Element content follows the XML end-of-line rule.
        QString content = text;
        content.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
        QCOMPARE(back.GetBands()[0]->GetDatabaseQuery(), content);
        QCOMPARE(ItemAt<CVornText>(back, 0, 0)->GetText(), content);
    }

    void readerTolerance()
    {
        CVornReport report;
        QCOMPARE(LoadFixture(QStringLiteral("reader_tolerance.vnt"), report), QString());
        QCOMPARE(report.GetDatabaseType(), -1);
        // Any non-zero number means portrait.
        QCOMPARE(report.GetPortrait(), 1);
        QCOMPARE(report.GetBands().GetCount(), 1);
        const CVornBand *band = report.GetBands()[0];
        QCOMPARE(band->GetHeight(), 1200);
        QCOMPARE(band->GetDatabaseQuery(), QStringLiteral("SELECT * FROM T WHERE X = {ID}"));

        const auto *old = ItemAt<CVornDbText>(report, 0, 0);
        QVERIFY(old);
        QCOMPARE(old->GetDataField(), QStringLiteral("AMOUNT"));
        QVERIFY(old->GetText().isEmpty());
        QCOMPARE(old->GetColor(), 0xFFFFFFFFu);
        QCOMPARE(old->GetLeft(), INT_MIN);
        QCOMPARE(old->GetTop(), 0);
        QCOMPARE(old->GetRight(), INT_MAX);
        QCOMPARE(old->GetBottom(), -500);
        QCOMPARE(old->GetFontName(), QStringLiteral("Courier New"));
        QCOMPARE(old->GetFontSize(), 0);
        QCOMPARE(old->GetCharset(), 0);

        // Decoding skips leading blanks and stops at the line break.
        QCOMPARE(ItemAt<CVornImage>(report, 0, 1)->GetImageData(), QByteArray("\0\1\2", 3));

        // The later of two equal parameters wins; missing attributes read as empty.
        QCOMPARE(report.GetParameters().GetCount(), 2);
        QCOMPARE(report.GetParameters()[0]->GetBand(), QStringLiteral("Lines"));
        QCOMPARE(report.GetParameters()[0]->GetValue(), QStringLiteral("2"));
        QCOMPARE(report.GetParameters()[1]->GetName(), QStringLiteral("LOOSE"));
        QVERIFY(report.GetParameters()[1]->GetBand().isEmpty());
    }

    void missingAttributes()
    {
        CVornReport report;
        report.SetTitle(QStringLiteral("kept?"));
        QCOMPARE(LoadFixture(QStringLiteral("missing_attributes.vnt"), report), QString());
        QCOMPARE(report.GetWidth(), 0);
        QCOMPARE(report.GetHeight(), 0);
        QCOMPARE(report.GetPortrait(), 0);
        QCOMPARE(report.GetDatabaseType(), -1);
        QVERIFY(report.GetTitle().isEmpty());
    }

    void otherRootReadsNoBands()
    {
        CVornReport report;
        QCOMPARE(LoadFixture(QStringLiteral("other_root.vnt"), report), QString());
        QCOMPARE(report.GetWidth(), 100);
        QCOMPARE(report.GetHeight(), 200);
        QCOMPARE(report.GetBands().GetCount(), 0);
        QCOMPARE(report.GetParameters().GetCount(), 0);
    }

    void failures_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<QString>("message");
        QTest::newRow("band of an item type") << QStringLiteral("band_of_item_type.vnt")
                                              << QStringLiteral("Band #0 is invalid: Wrong band "
                                                                "type: 9");
        QTest::newRow("item of no item type")
                << QStringLiteral("item_of_unknown_type.vnt")
                << QStringLiteral("The \"Lines\" band holds an element of an unknown type: \"13\"");
        QTest::newRow("item of a kind from a newer version")
                << QStringLiteral("item_of_newer_kind.vnt")
                << QStringLiteral("The \"Lines\" band holds an element of kind 33, which this "
                                  "Vantel does not know: the report needs a newer Vantel");
        QTest::newRow("item without a type")
                << QStringLiteral("item_without_type.vnt")
                << QStringLiteral("The \"Lines\" band holds an element of an unknown type: \"\"");
        QTest::newRow("validation fault") << QStringLiteral("invalid_report.vnt")
                                          << QStringLiteral("Band #0 will not fit page height if "
                                                            "printed with page header and footer");
        QTest::newRow("truncated file") << QStringLiteral("truncated_report.vnt")
                                        << QStringLiteral("Failed to load XML:: ");
        QTest::newRow("missing file")
                << QStringLiteral("no_such_file.vnt") << QStringLiteral("File not found: ");
    }
    void failures()
    {
        QFETCH(QString, fixture);
        QFETCH(QString, message);
        CVornReport report;
        const QString got = LoadFixture(fixture, report);
        QVERIFY2(got.startsWith(message), qPrintable(got));
    }

    void saveFailureLeavesTheReport()
    {
        CVornReport report;
        report.SetTitle(QStringLiteral("T"));
        QString message;
        QVERIFY(!VornTemplate::Save(report, QStringLiteral("/nonexistent-folder/r.vnt"), message));
        QCOMPARE(message, QStringLiteral("No such file or directory"));
        QCOMPARE(report.GetTitle(), QStringLiteral("T"));
    }
};

VANTEL_TEST_CLASS(TestReportFile)
#include "tst_reportfile.moc"
