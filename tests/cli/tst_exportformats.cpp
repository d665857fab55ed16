#include "reportfile.h"
#include "reportfixture.h"
#include "testregistry.h"
#include "testutil.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

#ifdef __SANITIZE_ADDRESS__
constexpr int ListRows = 1000; // the sanitizer makes every page several times slower
#else
constexpr int ListRows = 10000;
#endif

struct Output
{
    int exitCode = -1;
    QString out;
    QString err;
};

Output Run(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(300000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()).trimmed()};
}

// Reads a CSV file with Python's csv module, or an XLSX workbook with openpyxl: the sheet's
// name, and every row as [type, value] per cell (dates in ISO form) and its number formats.
const QString pythonReader = uR"(
import csv, json, sys
path = sys.argv[1]
if path.endswith('.csv'):
    with open(path, newline='', encoding='utf-8') as f:
        print(json.dumps({'rows': [[['str', c] for c in r] for r in csv.reader(f, strict=True)]}))
else:
    import openpyxl
    book = openpyxl.load_workbook(path, read_only=True)
    sheet = book.worksheets[0]
    rows, formats = [], []
    for row in sheet.iter_rows():
        rows.append([[type(c.value).__name__,
                      c.value.isoformat() if hasattr(c.value, 'isoformat') else c.value]
                     for c in row])
        formats.append([getattr(c, 'number_format', None) or 'General' for c in row])
    print(json.dumps({'sheets': book.sheetnames, 'rows': rows, 'formats': formats}))
)"_s;

} // namespace

// Each format written by vantel-render from both example reports and a long list, then read
// back with a real reader of that format: pdfinfo and pdffonts, rsvg-convert, an XML parser,
// Python's csv module and openpyxl.
class TestExportFormats : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(ReportFixture::CreatePeople(m_dir.filePath(u"people.db"_s), ListRows), QString());
        CVornReport report;
        ReportFixture::MakeListReport(report, u"people.db"_s,
                                      u"SELECT Id, Name FROM People ORDER BY Id"_s);
        ReportFixture::AddDbText(*report.GetBands()[0], u"Id"_s, u"ID"_s, 0, 900, u"%d"_s);
        QString message;
        QVERIFY2(VornTemplate::Save(report, m_dir.filePath(u"list.vnt"_s), message),
                 qPrintable(message));
        // Cities, each with 40 of its people as master/detail over several pages; both bands
        // show a field NAME.
        CVornReport grouped;
        ReportFixture::MakeListReport(grouped, u"people.db"_s,
                                      u"SELECT DISTINCT City AS NAME FROM People ORDER BY City"_s);
        grouped.GetBands()[0]->SetName(u"Cities"_s);
        static_cast<CVornDbText *>(grouped.GetBands()[0]->GetItems()[0])
                ->SetDataSource(u"Cities"_s);
        auto *people = new CVornBand(VornKind::ReportContents, u"People"_s);
        people->SetHeight(1000);
        people->SetParentDataSource(u"Cities"_s);
        people->SetDatabaseQuery(
                u"SELECT Id, Name FROM People WHERE City = {NAME} ORDER BY Id LIMIT 40"_s);
        grouped.GetBands().Add(people);
        ReportFixture::AddDbText(*people, u"Id"_s, u"ID"_s, 0, 900, u"%d"_s);
        ReportFixture::AddDbText(*people, u"Person"_s, u"NAME"_s, 1000, 9000);
        QVERIFY2(VornTemplate::Save(grouped, m_dir.filePath(u"grouped.vnt"_s), message),
                 qPrintable(message));
        // Texts a spreadsheet would run or an XML reader refuse, under a title that would close
        // its element: the same values in every format.
        QCOMPARE(ReportFixture::CreateDatabase(
                         m_dir.filePath(u"hostile.db"_s),
                         {u"CREATE TABLE T (Id INTEGER, Value TEXT)"_s,
                          u"INSERT INTO T VALUES (1, '=HYPERLINK(\"http://x.invalid\",\"go\")'), "
                          u"(2, '+1+2'), (3, '-12.50'), (4, '@SUM(A1)'), (5, char(9) || '=1'), "
                          u"(6, char(13) || '=1'), (7, 'a' || char(0) || 'b' || char(1)), "
                          u"(8, '-'), (9, 'plain')"_s}),
                 QString());
        CVornReport hostile;
        ReportFixture::MakeListReport(hostile, u"hostile.db"_s,
                                      u"SELECT Id, Value FROM T ORDER BY Id"_s);
        hostile.SetTitle(u"</title><script>alert(1)</script>&\u0001"_s);
        ReportFixture::AddDbText(*hostile.GetBands()[0], u"Id"_s, u"ID"_s, 0, 900, u"%d"_s);
        hostile.GetBands()[0]->GetItems()[0]->SetName(u"Value"_s);
        static_cast<CVornDbText *>(hostile.GetBands()[0]->GetItems()[0])->SetDataField(u"VALUE"_s);
        QVERIFY2(VornTemplate::Save(hostile, m_dir.filePath(u"hostile.vnt"_s), message),
                 qPrintable(message));
        hostile.GetBands()[0]->SetDatabaseQuery(
                u"SELECT 1 AS Id, replace(hex(zeroblob(20000)), '0', 'x') AS Value"_s);
        QVERIFY2(VornTemplate::Save(hostile, m_dir.filePath(u"long.vnt"_s), message),
                 qPrintable(message));
        for (const char *tool : {"pdfinfo", "pdffonts", "rsvg-convert"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                QSKIP(qPrintable(u"%1 is not installed"_s.arg(QString::fromLatin1(tool))));
        }
    }

    void pdf_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<bool>("archive");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QString>("size");
        QTest::addColumn<QString>("text");
        QTest::newRow("invoice") << u"invoice"_s << false << 1 << u"595 x 842"_s
                                 << u"Harbour Lights Hotel"_s;
        QTest::newRow("customers as PDF/A")
                << u"customers"_s << true << 2 << u"420 x 595"_s << u"Customers: 12"_s;
        QTest::newRow("list") << u"list"_s << false << (ListRows + 28) / 29 << u"595 x 842"_s
                              << u"Person %1"_s.arg(ListRows);
    }
    void pdf()
    {
        QFETCH(QString, report);
        QFETCH(bool, archive);
        QFETCH(int, pages);
        QFETCH(QString, size);
        QFETCH(QString, text);
        const QString path = m_dir.filePath(report + u".pdf"_s);
        QStringList arguments {ReportPath(report), u"-o"_s, path};
        if (archive)
            arguments << u"--pdfa"_s;
        QVERIFY(Render(arguments));

        const QString info = Run(u"pdfinfo"_s, {path}).out;
        QVERIFY2(info.contains(QRegularExpression(u"Pages:\\s+%1\\n"_s.arg(pages))),
                 qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(u"Page size:\\s+"_s + size)), qPrintable(info));
        // Every font is embedded, as an archive and any printer need.
        const QStringList fonts = Run(u"pdffonts"_s, {path}).out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(fonts.size() > 2);
        for (const QString &font : fonts.mid(2))
            QVERIFY2(
                    font.contains(QRegularExpression(u"\\s+yes\\s+(yes|no)\\s+(yes|no)\\s+\\d+"_s)),
                    qPrintable(font));
        QVERIFY(Run(u"pdftotext"_s, {path, u"-"_s}).out.contains(text));
        if (archive) {
            // PDF/A-1 is PDF 1.4 with its part and conformance declared in the metadata, and
            // the report's title in the document information.
            QVERIFY2(info.contains(QRegularExpression(u"PDF version:\\s+1.4\\n"_s)),
                     qPrintable(info));
            QVERIFY2(info.contains(QRegularExpression(u"Title:\\s+Customers by city\\n"_s)),
                     qPrintable(info));
            const QString meta = Run(u"pdfinfo"_s, {u"-meta"_s, path}).out;
            QVERIFY2(meta.contains(QRegularExpression(u"pdfaid:part(>|=\")1"_s))
                             && meta.contains(QRegularExpression(u"pdfaid:conformance(>|=\")B"_s)),
                     qPrintable(meta));
        }
    }

    void filePerPage_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("invoice as one PNG") << u"invoice"_s << u"invoice.png"_s << QStringList()
                                            << QStringList {u"invoice.png"_s};
        QTest::newRow("customers, every page as PNG")
                << u"customers"_s << u"page-%d.png"_s << QStringList()
                << QStringList {u"page-1.png"_s, u"page-2.png"_s};
        QTest::newRow("list, a range as PNG")
                << u"list"_s << u"list-%d.png"_s << QStringList {u"--pages"_s, u"2-3"_s}
                << QStringList {u"list-2.png"_s, u"list-3.png"_s};
        QTest::newRow("invoice as SVG") << u"invoice"_s << u"invoice.svg"_s << QStringList()
                                        << QStringList {u"invoice.svg"_s};
        QTest::newRow("customers, every page as SVG")
                << u"customers"_s << u"c%d.svg"_s << QStringList()
                << QStringList {u"c1.svg"_s, u"c2.svg"_s};
        QTest::newRow("list, the last pages as SVG")
                << u"list"_s << u"l%d.svg"_s
                << QStringList {u"--pages"_s, u"%1-"_s.arg((ListRows + 28) / 29 - 1)}
                << QStringList {u"l%1.svg"_s.arg((ListRows + 28) / 29 - 1),
                                u"l%1.svg"_s.arg((ListRows + 28) / 29)};
    }
    void filePerPage()
    {
        QFETCH(QString, report);
        QFETCH(QString, name);
        QFETCH(QStringList, options);
        QFETCH(QStringList, files);
        QTemporaryDir out;
        QVERIFY(Render(QStringList {ReportPath(report), u"-o"_s, out.filePath(name)} + options));
        QStringList written = QDir(out.path()).entryList(QDir::Files);
        written.sort();
        QCOMPARE(written, files);
        for (const QString &file : files) {
            const QString path = out.filePath(file);
            if (file.endsWith(u".png"_s)) {
                const QImage image(path);
                QVERIFY(!image.isNull());
                QCOMPARE(qRound(image.dotsPerMeterX() * 0.0254), 96);
                continue;
            }
            // A drawing an SVG renderer takes, its texts kept as text.
            const Output converted = Run(u"rsvg-convert"_s, {u"-o"_s, path + u".png"_s, path});
            QVERIFY2(converted.exitCode == 0, qPrintable(converted.err));
            QVERIFY(!QImage(path + u".png"_s).isNull());
            QFile svg(path);
            QVERIFY(svg.open(QIODevice::ReadOnly));
            const QByteArray content = svg.readAll();
            QVERIFY(content.contains("<text"));
            QVERIFY(report != u"invoice"_s || content.contains("Harbour Lights Hotel"));
            QVERIFY(report != u"invoice"_s || content.contains("<image"));
        }
    }

    void html_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("pages");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("invoice") << u"invoice"_s << 1
                                 << QStringList {u"Harbour Lights Hotel"_s, u"325.45"_s};
        QTest::newRow("customers")
                << u"customers"_s << 2 << QStringList {u"Page 2\n"_s, u"Customers: 12"_s};
        QTest::newRow("list") << u"list"_s << (ListRows + 28) / 29
                              << QStringList {u"Person %1"_s.arg(ListRows)};
    }
    void html()
    {
        QFETCH(QString, report);
        QFETCH(int, pages);
        QFETCH(QStringList, texts);
        const QString path = m_dir.filePath(report + u".html"_s);
        QVERIFY(Render({ReportPath(report), u"-o"_s, path}));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // Parsed whole: every page a block of its own, every text as text, nothing outside.
        QXmlStreamReader xml(&file);
        int pageBlocks = 0;
        int outside = 0;
        QString text;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement()) {
                if (xml.attributes().value(u"class"_s) == u"page"_s)
                    ++pageBlocks;
                for (const QXmlStreamAttribute &attribute : xml.attributes()) {
                    if (attribute.value().contains(u"url("_s)
                        && !attribute.value().contains(u"url(data:"_s))
                        ++outside;
                }
                if (xml.name() == u"img"_s || xml.name() == u"link"_s || xml.name() == u"script"_s)
                    ++outside;
            } else if (xml.isCharacters()) {
                text += xml.text();
                text += u'\n';
            }
        }
        QVERIFY2(!xml.hasError(), qPrintable(xml.errorString()));
        QCOMPARE(pageBlocks, pages);
        QCOMPARE(outside, 0);
        for (const QString &expected : texts)
            QVERIFY2(text.contains(expected), qPrintable(expected));
    }

    void data_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("headings");
        // One row given as "type:value|type:value...", and its number formats for XLSX.
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("cells");
        QTest::addColumn<QString>("formats");

        const QString invoiceHeadings
                = u"Band|CUSTOMER_NAME|CUSTOMER_ADDRESS|INVOICE_NO|INVOICE_DATE|CODE|DESCRIPTION|"
                  "QUANTITY|PRICE|AMOUNT"_s;
        // A line carries what its master, the invoice header, printed; CSV as printed (the date by
        // its Display Format), XLSX typed with the Display Format's number pattern.
        QTest::newRow("invoice as CSV")
                << u"invoice"_s << u".csv"_s << 9 << invoiceHeadings << 2
                << u"str:Lines|str:Harbour Lights Hotel|str:2 Quay Parade\nLakeside|str:No. 1042|"
                   "str:14 March 2026|str:INK-BK|str:Ink cartridge, black|str:4|str:18.40|"
                   "str:73.60"_s
                << QString();
        QTest::newRow("invoice as XLSX")
                << u"invoice"_s << u".xlsx"_s << 9 << invoiceHeadings << 2
                << u"str:Lines|str:Harbour Lights Hotel|str:2 Quay Parade\nLakeside|int:1042|"
                   "datetime:2026-03-14T00:00:00|str:INK-BK|str:Ink cartridge, black|int:4|"
                   "float:18.4|float:73.6"_s
                << u"General|General|General|\"No. \"General|yyyy-mm-dd|General|General|0|"
                   "#,##0.00|#,##0.00"_s;
        QTest::newRow("invoice header as XLSX: a date stays a date")
                << u"invoice"_s << u".xlsx"_s << 9 << invoiceHeadings << 0
                << u"str:Invoice Header|str:Harbour Lights Hotel|str:2 Quay Parade\nLakeside|"
                   "int:1042|datetime:2026-03-14T00:00:00|NoneType:|NoneType:|NoneType:|"
                   "NoneType:|NoneType:"_s
                << u"General|General|General|\"No. \"General|yyyy-mm-dd|General|General|General|"
                   "General|General"_s;
        QTest::newRow("invoice total as XLSX: a sum in its field's column")
                << u"invoice"_s << u".xlsx"_s << 9 << invoiceHeadings << 8
                << u"str:Totals|NoneType:|NoneType:|NoneType:|NoneType:|NoneType:|NoneType:|"
                   "NoneType:|NoneType:|float:325.45"_s
                << QString();
        // One band prints rows: no band column; the counts are texts an expression writes.
        // Each row carries the city its group header printed.
        const QString customerHeadings = u"CITY|NAME|ADDRESS|INVOICES"_s;
        QTest::newRow("customers as CSV")
                << u"customers"_s << u".csv"_s << 12 << customerHeadings << 11
                << u"str:Marsh End|str:Kestrel Cycles|str:9 Bridge Street|str:1 invoice"_s
                << QString();
        QTest::newRow("customers as XLSX")
                << u"customers"_s << u".xlsx"_s << 12 << customerHeadings << 11
                << u"str:Marsh End|str:Kestrel Cycles|str:9 Bridge Street|str:1 invoice"_s
                << u"General|General|General|General"_s;
        // A detail row on the second page carries its master's NAME in the master's column.
        QTest::newRow("master/detail as CSV")
                << u"grouped"_s << u".csv"_s << 123 << u"Band|NAME|ID|People.NAME"_s << 34
                << u"str:People|str:City 0|str:102|str:Person 102"_s << QString();
        QTest::newRow("list as CSV")
                << u"list"_s << u".csv"_s << ListRows << u"ID|NAME"_s << ListRows - 1
                << u"str:%1|str:Person %1"_s.arg(ListRows) << QString();
        QTest::newRow("list as XLSX")
                << u"list"_s << u".xlsx"_s << ListRows << u"ID|NAME"_s << ListRows - 1
                << u"int:%1|str:Person %1"_s.arg(ListRows) << u"0|General"_s;
    }
    void data()
    {
        QFETCH(QString, report);
        QFETCH(QString, suffix);
        QFETCH(int, rows);
        QFETCH(QString, headings);
        QFETCH(int, row);
        QFETCH(QString, cells);
        QFETCH(QString, formats);
        const QString path = m_dir.filePath(report + suffix);
        QVERIFY(Render({ReportPath(report), u"-o"_s, path}));
        const Output read = Run(u"/usr/bin/python3"_s, {u"-c"_s, pythonReader, path});
        QVERIFY2(read.exitCode == 0, qPrintable(read.err));
        const QJsonObject json = QJsonDocument::fromJson(read.out.toUtf8()).object();
        const QJsonArray table = json[u"rows"_s].toArray();
        QCOMPARE(table.size(), rows + 1);
        const auto cellsOf = [](const QJsonArray &cells, bool typed) {
            QStringList texts;
            for (const QJsonValue &cell : cells) {
                const QJsonArray pair = cell.toArray();
                const QString value = pair[1].isDouble() ? QString::number(pair[1].toDouble())
                                                         : pair[1].toString();
                texts << (typed ? pair[0].toString() + u':' + value : value);
            }
            return texts.join(u'|');
        };
        QCOMPARE(cellsOf(table[0].toArray(), false), headings);
        QCOMPARE(cellsOf(table[row + 1].toArray(), true), cells);
        if (suffix == u".xlsx"_s) {
            QCOMPARE(json[u"sheets"_s].toArray().first().toString(),
                     report == u"list"_s              ? u"People"_s
                             : report == u"invoice"_s ? u"Invoice"_s
                                                      : u"Customers by city"_s);
            if (!formats.isEmpty()) {
                QStringList numberFormats;
                for (const QJsonValue &format : json[u"formats"_s].toArray()[row + 1].toArray())
                    numberFormats << format.toString();
                QCOMPARE(numberFormats.join(u'|'), formats);
            }
        }
    }

    void hostileValues_data()
    {
        // The values as the reader reads them, one per row.
        QTest::addColumn<QString>("suffix");
        QTest::addColumn<QStringList>("values");
        // Texts that start like a formula get an apostrophe; signed numbers stay numbers.
        QTest::newRow("CSV") << u".csv"_s
                             << QStringList {u"'=HYPERLINK(\"http://x.invalid\",\"go\")"_s,
                                             u"'+1+2"_s,
                                             u"-12.50"_s,
                                             u"'@SUM(A1)"_s,
                                             u"'\t=1"_s,
                                             u"'\r=1"_s,
                                             u"ab\u0001"_s,
                                             u"'-"_s,
                                             u"plain"_s};
        // Text cells are never formulas; a NUL would end the text early. The reader shows the
        // carriage return as the format writes it, and as a spreadsheet reads it back.
        QTest::newRow("XLSX") << u".xlsx"_s
                              << QStringList {u"=HYPERLINK(\"http://x.invalid\",\"go\")"_s,
                                              u"+1+2"_s,
                                              u"-12.50"_s,
                                              u"@SUM(A1)"_s,
                                              u"\t=1"_s,
                                              u"_x000D_=1"_s,
                                              u"ab"_s,
                                              u"-"_s,
                                              u"plain"_s};
        QTest::newRow("SVG") << u".svg"_s << QStringList();
        QTest::newRow("HTML") << u".html"_s << QStringList();
        QTest::newRow("PDF/A") << u".pdf"_s << QStringList();
    }
    void hostileValues()
    {
        QFETCH(QString, suffix);
        QFETCH(QStringList, values);
        const QString path = m_dir.filePath(u"hostile"_s + suffix);
        QStringList arguments {m_dir.filePath(u"hostile.vnt"_s), u"-o"_s, path};
        if (suffix == u".pdf"_s)
            arguments << u"--pdfa"_s;
        QVERIFY(Render(arguments));
        if (!values.isEmpty()) {
            const Output read = Run(u"/usr/bin/python3"_s, {u"-c"_s, pythonReader, path});
            QVERIFY2(read.exitCode == 0, qPrintable(read.err));
            const QJsonArray table
                    = QJsonDocument::fromJson(read.out.toUtf8()).object()[u"rows"_s].toArray();
            QStringList read2;
            for (qsizetype row = 1; row < table.size(); ++row)
                read2 << table[row].toArray()[1].toArray()[1].toString();
            QCOMPARE(read2, values);
            return;
        }
        // Well-formed XML (the PDF's metadata as pdfinfo gives it), the title as text with
        // no element of its own.
        QByteArray xml;
        if (suffix == u".pdf"_s) {
            xml = Run(u"pdfinfo"_s, {u"-meta"_s, path}).out.toUtf8();
        } else {
            QFile file(path);
            QVERIFY(file.open(QIODevice::ReadOnly));
            xml = file.readAll();
        }
        QXmlStreamReader reader(xml);
        QStringList elements;
        QString title;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isStartElement())
                elements << reader.name().toString();
            if (reader.isStartElement() && reader.qualifiedName() == u"title"_s)
                title = reader.readElementText();
        }
        QVERIFY2(!reader.hasError(), qPrintable(reader.errorString()));
        QVERIFY(!elements.contains(u"script"_s));
        if (suffix != u".pdf"_s) {
            QCOMPARE(title, u"</title><script>alert(1)</script>&"_s);
            QVERIFY(!xml.contains(u"a\0b"_s.toUtf8()));
        } else {
            QVERIFY2(xml.contains("&lt;/title&gt;&lt;script&gt;alert(1)&lt;/script&gt;&amp;<"),
                     xml.constData());
        }
        if (suffix == u".svg"_s) {
            const Output converted = Run(u"rsvg-convert"_s, {u"-o"_s, path + u".png"_s, path});
            QVERIFY2(converted.exitCode == 0, qPrintable(converted.err));
        }
    }

    void valueTooLongForACell()
    {
        const QString path = m_dir.filePath(u"long.xlsx"_s);
        const Output result = Run(QStringLiteral(VANTEL_RENDER_PATH),
                                  {m_dir.filePath(u"long.vnt"_s), u"-o"_s, path});
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err,
                 u"The value of the item \"Value\" of the band \"Rows\" in row 2 has "
                 u"40000 characters; a cell holds at most 32767."_s);
        QVERIFY(!QFile::exists(path));
        // CSV has no such limit.
        QVERIFY(Render({m_dir.filePath(u"long.vnt"_s), u"-o"_s, m_dir.filePath(u"long.csv"_s)}));
        QCOMPARE(TestUtil::ReadAll(m_dir.filePath(u"long.csv"_s)).count('x'), 40000);
    }

    void htmlWritesWhatPrints()
    {
        // A value of 2,000,000 characters on one line of its box: the page holds the part
        // that can show, as the painter draws it (at most 20,000 characters here), not the
        // whole value.
        CVornReport report;
        ReportFixture::MakeListReport(
                report, u"hostile.db"_s,
                u"SELECT replace(hex(zeroblob(1000000)), '0', 'x') AS NAME"_s);
        QString message;
        QVERIFY2(VornTemplate::Save(report, m_dir.filePath(u"huge.vnt"_s), message),
                 qPrintable(message));
        const QString path = m_dir.filePath(u"huge.html"_s);
        QVERIFY(Render({m_dir.filePath(u"huge.vnt"_s), u"-o"_s, path}));
        const qsizetype shown = TestUtil::ReadAll(path).count('x');
        QVERIFY2(shown > 100 && shown <= 21000, QByteArray::number(shown).constData());
    }

private:
    QString ReportPath(const QString &name) const
    {
        return name == u"list"_s || name == u"grouped"_s
                ? m_dir.filePath(name + u".vnt"_s)
                : QStringLiteral(VANTEL_EXAMPLES_DIR "/") + name + u".vnt"_s;
    }

    static bool Render(const QStringList &arguments)
    {
        const Output result = Run(QStringLiteral(VANTEL_RENDER_PATH), arguments);
        if (result.exitCode != 0)
            qWarning("%s", qPrintable(result.err));
        return result.exitCode == 0 && result.err.isEmpty();
    }

    QTemporaryDir m_dir;
};

VANTEL_TEST_CLASS(TestExportFormats)
#include "tst_exportformats.moc"
