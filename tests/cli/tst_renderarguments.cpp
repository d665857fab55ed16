#include "renderarguments.h"
#include "testregistry.h"

#include <QTest>

using namespace Qt::StringLiterals;

// Reading the command line of vantel-render.
class TestRenderArguments : public QObject
{
    Q_OBJECT

private slots:
    void parse_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // "report|output|format|first-last page|dpi|band/name=value;..." or the message.
        QTest::addColumn<QString>("expected");

        QTest::newRow("pdf") << QStringList {u"r.vnt"_s, u"-o"_s, u"out.pdf"_s}
                             << u"r.vnt|out.pdf|pdf|1-0|96|"_s;
        QTest::newRow("png with page and dpi, options first")
                << QStringList {u"--page"_s, u"3"_s,     u"--dpi=150"_s,
                                u"-o"_s,     u"a.PNG"_s, u"r.vnt"_s}
                << u"r.vnt|a.PNG|png|3-0|150|"_s;
        QTest::newRow("parameters keep their order; value may hold = and /")
                << QStringList {u"r.vnt"_s, u"--output=o.pdf"_s, u"--param"_s, u"Lines/NO=1042"_s,
                                u"--param=Band/With/Slash/X=a=b/c"_s}
                << u"r.vnt|o.pdf|pdf|1-0|96|Lines/NO=1042;Band/With/Slash/X=a=b/c"_s;
        QTest::newRow("empty value")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.pdf"_s, u"--param"_s, u"B/N="_s}
                << u"r.vnt|o.pdf|pdf|1-0|96|B/N="_s;

        QTest::newRow("no report") << QStringList {u"-o"_s, u"o.pdf"_s} << u"No report given"_s;
        QTest::newRow("two reports") << QStringList {u"a.vnt"_s, u"b.vnt"_s, u"-o"_s, u"o.pdf"_s}
                                     << u"One report at a time, not a.vnt b.vnt"_s;
        QTest::newRow("no output")
                << QStringList {u"r.vnt"_s}
                << u"-o OUT is missing (a .pdf, .png, .svg, .html, .csv or .xlsx file)"_s;
        QTest::newRow("-o without value")
                << QStringList {u"r.vnt"_s, u"-o"_s} << u"-o needs a value"_s;
        QTest::newRow("other extension")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.jpg"_s}
                << u"The output must end in .pdf, .png, .svg, .html, .csv or .xlsx: o.jpg"_s;
        QTest::newRow("page for a pdf")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.pdf"_s, u"--page"_s, u"2"_s}
                << u"--page and --pages apply to PNG and SVG output only"_s;
        QTest::newRow("pdfa") << QStringList {u"r.vnt"_s, u"--pdfa"_s, u"-o"_s, u"a.pdf"_s}
                              << u"r.vnt|a.pdf|pdf+a|1-0|96|"_s;
        QTest::newRow("pdfa for a page")
                << QStringList {u"r.vnt"_s, u"--pdfa"_s, u"-o"_s, u"a.png"_s}
                << u"--pdfa applies to PDF output only"_s;
        QTest::newRow("every page") << QStringList {u"r.vnt"_s, u"-o"_s, u"p-%d.svg"_s}
                                    << u"r.vnt|p-%d.svg|svg|1-0|96|"_s;
        QTest::newRow("a range") << QStringList {u"r.vnt"_s, u"-o"_s, u"p%d.png"_s,
                                                 u"--pages=2-5"_s}
                                 << u"r.vnt|p%d.png|png|2-5|96|"_s;
        QTest::newRow("to the end")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"p%d.png"_s, u"--pages"_s, u"3-"_s}
                << u"r.vnt|p%d.png|png|3-0|96|"_s;
        QTest::newRow("a range needs %d")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"p.png"_s, u"--pages"_s, u"2-5"_s}
                << u"--pages needs an output name with %d for the page number"_s;
        QTest::newRow("backwards range")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"p%d.png"_s, u"--pages"_s, u"5-2"_s}
                << u"--pages needs FIRST-LAST, FIRST- or a page number, not \"5-2\""_s;
        QTest::newRow("two patterns") << QStringList {u"r.vnt"_s, u"-o"_s, u"%d-%d.png"_s}
                                      << u"The output name may hold one %d for the page number, "
                                         "not more: %d-%d.png"_s;
        QTest::newRow("dpi for svg")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.svg"_s, u"--dpi"_s, u"300"_s}
                << u"--dpi applies to PNG output only"_s;
        QTest::newRow("data formats") << QStringList {u"r.vnt"_s, u"-o"_s, u"rows.XLSX"_s}
                                      << u"r.vnt|rows.XLSX|xlsx|1-0|96|"_s;
        QTest::newRow("page 0") << QStringList {u"r.vnt"_s, u"-o"_s, u"o.png"_s, u"--page"_s,
                                                u"0"_s}
                                << u"--page needs a whole number from 1 to 1000000, not \"0\""_s;
        QTest::newRow("dpi too high")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.png"_s, u"--dpi"_s, u"5000"_s}
                << u"--dpi needs a whole number from 1 to 1200, not \"5000\""_s;
        QTest::newRow("skipped labels below zero")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.pdf"_s, u"--skip-labels=-1"_s}
                << u"--skip-labels needs a whole number from 0 to 10000, not \"-1\""_s;
        QTest::newRow("parameter without =")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.pdf"_s, u"--param"_s, u"B/N"_s}
                << u"--param needs BAND/NAME=VALUE, not \"B/N\""_s;
        QTest::newRow("parameter without band")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.pdf"_s, u"--param"_s, u"N=1"_s}
                << u"--param needs BAND/NAME=VALUE, not \"N=1\""_s;
        QTest::newRow("slash only after =")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.pdf"_s, u"--param"_s, u"N=a/b"_s}
                << u"--param needs BAND/NAME=VALUE, not \"N=a/b\""_s;
        QTest::newRow("a check needs no output")
                << QStringList {u"--check"_s, u"r.vnt"_s, u"--param=B/N=1"_s}
                << u"r.vnt||pdf|1-0|96|B/N=1"_s;
        QTest::newRow("a check writes no pages")
                << QStringList {u"--check"_s, u"r.vnt"_s, u"--pages=1-2"_s}
                << u"--check takes no -o, --page, --pages, --dpi or --pdfa"_s;
        QTest::newRow("a batch") << QStringList {u"r.vnt"_s,           u"--each"_s,
                                                 u"SELECT 1 AS N"_s,   u"--shard=1/4"_s,
                                                 u"--skip-existing"_s, u"-o"_s,
                                                 u"o-{N}.pdf"_s}
                                 << u"r.vnt|o-{N}.pdf|pdf|1-0|96|"_s;
        QTest::newRow("shard past the count")
                << QStringList {u"r.vnt"_s, u"--each-file=l.csv"_s, u"-o"_s,
                                u"o.pdf"_s, u"--shard"_s,           u"4/4"_s}
                << u"--shard needs K/N with K from 0 to N-1, not \"4/4\""_s;
        QTest::newRow("shard without a list")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.pdf"_s, u"--shard"_s, u"0/2"_s}
                << u"--shard and --skip-existing apply to --each and --each-file only"_s;
        QTest::newRow("two lists")
                << QStringList {u"r.vnt"_s,    u"-o"_s,          u"o.pdf"_s, u"--each"_s,
                                u"SELECT 1"_s, u"--each-file"_s, u"l.csv"_s}
                << u"--each or --each-file may be given once"_s;
        QTest::newRow("a check of a batch")
                << QStringList {u"--check"_s, u"r.vnt"_s, u"--each-file"_s, u"l.csv"_s}
                << u"--check takes no --each or --each-file"_s;
        QTest::newRow("print: the report after --print is no queue")
                << QStringList {u"--print"_s, u"r.VNT"_s} << u"r.VNT||pdf|1-0|96|"_s;
        QTest::newRow("print: a queue and pages")
                << QStringList {u"r.vnt"_s,   u"--print"_s, u"office"_s,
                                u"--pages"_s, u"2-3"_s,     u"--copies=2"_s}
                << u"r.vnt||pdf|2-3|96|"_s;
        QTest::newRow("print writes no file")
                << QStringList {u"r.vnt"_s, u"--print"_s, u"-o"_s, u"o.pdf"_s}
                << u"--print takes no --check, -o, --page, --dpi, --pdfa or --skip-existing; "
                   "--pages chooses the pages"_s;
        QTest::newRow("copies without print")
                << QStringList {u"r.vnt"_s, u"-o"_s, u"o.pdf"_s, u"--copies"_s, u"2"_s}
                << u"--copies applies to --print only"_s;
        QTest::newRow("unknown option")
                << QStringList {u"r.vnt"_s, u"--all-pages"_s} << u"Unknown option: --all-pages"_s;
    }
    void parse()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);

        CRenderArguments parsed;
        QString message;
        if (!parsed.Parse(arguments, message)) {
            QCOMPARE(message, expected);
            return;
        }
        QStringList parameters;
        for (const CRenderParameter &parameter : parsed.parameters)
            parameters << parameter.band + u'/' + parameter.name + u'=' + parameter.value;
        const QString format
                = ExportFiles::SuffixOf(parsed.format) + (parsed.pdfa ? u"+a"_s : QString());
        const QString pages = u"%1-%2"_s.arg(parsed.page).arg(parsed.lastPage);
        QCOMPARE(QStringList({parsed.report, parsed.output, format, pages,
                              QString::number(parsed.dpi), parameters.join(u';')})
                         .join(u'|'),
                 expected);
    }

    void helpNeedsNothingElse()
    {
        CRenderArguments parsed;
        QString message;
        QVERIFY(parsed.Parse({u"--help"_s}, message));
        QVERIFY(parsed.help);
    }
};

VANTEL_TEST_CLASS(TestRenderArguments)
#include "tst_renderarguments.moc"
