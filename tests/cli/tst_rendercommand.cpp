#include "reportfile.h"
#include "reportfixture.h"
#include "testregistry.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

Result RunRender(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // It must run on a machine without any display, choosing its platform itself.
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VANTEL_RENDER_PATH), arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError()).trimmed()};
}

QString PdfText(const QString &path)
{
    QProcess process;
    process.start(u"pdftotext"_s, {u"-layout"_s, path, u"-"_s});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

// vantel-render run as a user runs it: a report on a real SQLite database to PDF and PNG,
// with parameters from the report and from the command line, and the failures.
class TestRenderCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(ReportFixture::CreatePeople(m_dir.filePath(u"people.db"_s), 100), QString());
        CVornReport report;
        // The connection string is relative to the report's folder.
        ReportFixture::MakeListReport(report, u"people.db"_s,
                                      u"SELECT Name FROM People WHERE Id <= {LAST} ORDER BY Id"_s);
        report.GetParameters().SetParameter(u"Rows"_s, u"LAST"_s, u"40"_s);
        QString message;
        QVERIFY2(VornTemplate::Save(report, m_dir.filePath(u"list.vnt"_s), message),
                 qPrintable(message));
        // The same list with a misspelt field and no stored value for its entry.
        static_cast<CVornDbText *>(report.GetBands()[0]->GetItems()[0])->SetDataField(u"NAM"_s);
        report.GetParameters().RemoveAllAndDelete();
        QVERIFY2(VornTemplate::Save(report, m_dir.filePath(u"broken.vnt"_s), message),
                 qPrintable(message));
    }

    void check_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QStringList>("lines"); // the start of each line on standard output
        const QString examples = QStringLiteral(VANTEL_EXAMPLES_DIR);
        QTest::newRow("the invoice example")
                << QStringList {examples + u"/invoice.vnt"_s} << 0 << QStringList {u"OK"_s};
        QTest::newRow("the customers example")
                << QStringList {examples + u"/customers.vnt"_s} << 0 << QStringList {u"OK"_s};
        QTest::newRow("a sound list") << QStringList {u"list.vnt"_s} << 0 << QStringList {u"OK"_s};
        QTest::newRow("one line per problem")
                << QStringList {u"broken.vnt"_s} << 1
                << QStringList {u"Rows: The query entry {LAST} has no value"_s,
                                u"Rows/Name: No column NAM in the query of band Rows; it returns "
                                u"Name"_s};
        QTest::newRow("a value given on the command line")
                << QStringList {u"broken.vnt"_s, u"--param"_s, u"rows/last=3"_s} << 1
                << QStringList {u"Rows/Name: No column NAM"_s};
        QTest::newRow("no report to check") << QStringList {u"nothere.vnt"_s} << 1 << QStringList();
    }
    void check()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QStringList, lines);
        if (QFileInfo(arguments[0]).isRelative())
            arguments[0] = m_dir.filePath(arguments[0]);
        const Result result = RunRender(QStringList {u"--check"_s} + arguments);
        QCOMPARE(result.exitCode, exitCode);
        const QStringList out = result.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(out.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i)
            QVERIFY2(out.at(i).startsWith(lines.at(i)), qPrintable(out.at(i)));
        // A report that cannot be read says why on standard error, and only then.
        QCOMPARE(result.err.isEmpty(), !lines.isEmpty());
    }

    void pdfWithStoredAndGivenParameters()
    {
        const QString out = m_dir.filePath(u"stored.pdf"_s);
        Result result = RunRender({m_dir.filePath(u"list.vnt"_s), u"-o"_s, out});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.exitCode, 0);
        QString text = PdfText(out);
        QVERIFY(text.contains(u"Person 40"_s));
        QVERIFY(!text.contains(u"Person 41"_s));

        // Band and name in any letter case replace the stored value.
        const QString given = m_dir.filePath(u"given.pdf"_s);
        result = RunRender({m_dir.filePath(u"list.vnt"_s), u"-o"_s, given, u"--param"_s,
                            u"rows/last=3"_s});
        QCOMPARE(result.exitCode, 0);
        text = PdfText(given);
        QVERIFY(text.contains(u"Person 3"_s));
        QVERIFY(!text.contains(u"Person 4"_s));
    }

    void pngOfOnePage()
    {
        const QString out = m_dir.filePath(u"page2.png"_s);
        const Result result = RunRender({m_dir.filePath(u"list.vnt"_s), u"-o"_s, out, u"--page"_s,
                                         u"2"_s, u"--dpi"_s, u"127"_s});
        QCOMPARE(result.err, QString());
        QCOMPARE(result.exitCode, 0);
        const QImage image(out);
        // A4 at 127 dpi, 5 pixels a millimetre.
        QCOMPARE(image.size(), QSize(1050, 1485));
    }

    void failures_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such page")
                << QStringList {u"list.vnt"_s, u"--page"_s, u"9"_s} << u"there is no page 9"_s;
        QTest::newRow("parameter the report does not have")
                << QStringList {u"list.vnt"_s, u"--param"_s, u"Rows/FIRST=1"_s}
                << u"The report has no parameter Rows/FIRST"_s;
        QTest::newRow("missing report")
                << QStringList {u"nothere.vnt"_s} << u"File not found"_s;
        QTest::newRow("bad arguments")
                << QStringList {u"list.vnt"_s, u"--dpi"_s, u"x"_s} << u"--dpi needs"_s;
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const QString out = m_dir.filePath(u"failed.png"_s);
        arguments[0] = m_dir.filePath(arguments[0]);
        arguments << u"-o"_s << out;
        const Result result = RunRender(arguments);
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(message), qPrintable(result.err));
        QVERIFY(!result.err.contains(u'\n'));
        QVERIFY(!QFile::exists(out));
    }

    void missingDatabaseLeavesNoPdf()
    {
        // The report moved away from its database.
        QDir(m_dir.path()).mkdir(u"sub"_s);
        QVERIFY(QFile::copy(m_dir.filePath(u"list.vnt"_s), m_dir.filePath(u"sub/list.vnt"_s)));
        const QString out = m_dir.filePath(u"sub/out.pdf"_s);
        const Result result = RunRender({m_dir.filePath(u"sub/list.vnt"_s), u"-o"_s, out});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.contains(u"people.db"_s), qPrintable(result.err));
        QCOMPARE(QDir(m_dir.filePath(u"sub"_s)).entryList(QDir::Files),
                 QStringList {u"list.vnt"_s});
    }

private:
    QTemporaryDir m_dir;
};

VANTEL_TEST_CLASS(TestRenderCommand)
#include "tst_rendercommand.moc"
