#include "reportfile.h"
#include "reportfixture.h"
#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs vantel-render, through a shell when a file-size limit (in blocks of 1 KB) is asked for.
Result RunRender(const QStringList &arguments, int fileSizeLimit = 0)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // It must run on a machine without any display, choosing its platform itself.
    env.remove(u"DISPLAY"_s);
    env.remove(u"WAYLAND_DISPLAY"_s);
    env.remove(u"QT_QPA_PLATFORM"_s);
    process.setProcessEnvironment(env);
    if (fileSizeLimit > 0) {
        process.start(u"sh"_s,
                      QStringList {u"-c"_s,
                                   u"ulimit -f %1; exec \"$0\" \"$@\""_s.arg(fileSizeLimit),
                                   QStringLiteral(VANTEL_RENDER_PATH)}
                              + arguments);
    } else {
        process.start(QStringLiteral(VANTEL_RENDER_PATH), arguments);
    }
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
        // And with a group header that is no band: the designer would not open it.
        report.GetBands()[0]->SetHeader(u"Nowhere"_s);
        QVERIFY2(VornTemplate::Save(report, m_dir.filePath(u"grouped.vnt"_s), message),
                 qPrintable(message));
        report.GetBands()[0]->SetHeader(QString());
        report.SetHeight(0);
        report.GetBands().RemoveAllAndDelete();
        QVERIFY2(VornTemplate::Save(report, m_dir.filePath(u"flat.vnt"_s), message),
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
        QTest::newRow("a report that breaks a rule of the template")
                << QStringList {u"grouped.vnt"_s, u"--param"_s, u"rows/last=3"_s} << 1
                << QStringList {u"Rows: The group header \"Nowhere\""_s,
                                u"Rows/Name: No column NAM"_s};
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
        result = RunRender(
                {m_dir.filePath(u"list.vnt"_s), u"-o"_s, given, u"--param"_s, u"rows/last=3"_s});
        QCOMPARE(result.exitCode, 0);
        text = PdfText(given);
        QVERIFY(text.contains(u"Person 3"_s));
        QVERIFY(!text.contains(u"Person 4"_s));
    }

    // The bundled examples on their database: a description of two lines, the invoice of 60
    // lines with its page totals and the total carried forward, the counts per city.
    void examples()
    {
        const QString folder = QStringLiteral(VANTEL_EXAMPLES_DIR);
        const auto pages = [&](const QString &report, const QStringList &more) {
            const QString out = m_dir.filePath(u"example.pdf"_s);
            const Result result
                    = RunRender(QStringList {folder + u'/' + report, u"-o"_s, out} + more);
            if (result.exitCode != 0)
                qWarning("%s", qPrintable(result.err));
            QStringList texts = PdfText(out).split(u'\f');
            texts.removeAll(QString());
            // One blank between words, so that columns do not matter.
            for (QString &text : texts)
                text = text.simplified();
            return texts;
        };
        const auto amount = [](const QString &text, const QString &label) {
            const QRegularExpressionMatch match
                    = QRegularExpression(label + u" ([0-9.,]+)"_s).match(text);
            return match.hasMatch() ? match.captured(1).remove(u',') : QString();
        };

        QStringList invoice = pages(u"invoice.vnt"_s, {});
        QCOMPARE(invoice.size(), 1);
        QVERIFY2(invoice[0].contains(u"Ink cartridges, colour, high-capacity XL for the"_s)
                         && invoice[0].contains(u"office printer, pack of two"_s),
                 qPrintable(invoice[0]));
        QCOMPARE(amount(invoice[0], u"Page total:"_s), u"325.45"_s);
        QCOMPARE(amount(invoice[0], u"Total due:"_s), u"325.45"_s);
        QVERIFY(!invoice[0].contains(u"Carried forward"_s));
        // The date by its Display Format; the stamp only on a paid invoice.
        QVERIFY2(invoice[0].contains(u"14 March 2026"_s) && invoice[0].contains(u"PAID"_s),
                 qPrintable(invoice[0]));

        invoice = pages(u"invoice.vnt"_s, {u"--param"_s, u"Invoice Header/INVOICE_NO=1045"_s});
        QCOMPARE(invoice.size(), 2);
        QVERIFY(!invoice[0].contains(u"PAID"_s));
        QVERIFY(invoice[0].contains(u"LNS-001"_s) && invoice[1].contains(u"LNS-060"_s));
        QVERIFY(invoice[0].contains(u"in its protective case"_s));
        // Carried forward: the rows of page 1; the grand total: both pages' totals.
        const QString first = amount(invoice[0], u"Page total:"_s);
        QCOMPARE(amount(invoice[1], u"Carried forward:"_s), first);
        const double second = amount(invoice[1], u"Page total:"_s).toDouble();
        QCOMPARE(QString::number(first.toDouble() + second, 'f', 2), u"1094.20"_s);
        QCOMPARE(amount(invoice[1], u"Total due:"_s), u"1094.20"_s);

        const QString customers = pages(u"customers.vnt"_s, {}).join(u' ');
        QCOMPARE(customers.count(u"Customers in this city: 3"_s), 2);
        QCOMPARE(customers.count(u"Customers in this city: 4"_s), 1);
        QCOMPARE(customers.count(u"Customers in this city: 2"_s), 1);
        QVERIFY(customers.contains(u"Customers: 12 Invoices: 8"_s));
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
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("no such page")
                << QStringList {u"list.vnt"_s, u"--page"_s, u"9"_s} << 1 << u"there is no page 9"_s;
        QTest::newRow("parameter the report does not have")
                << QStringList {u"list.vnt"_s, u"--param"_s, u"Rows/FIRST=1"_s} << 1
                << u"The report has no parameter Rows/FIRST"_s;
        QTest::newRow("missing report")
                << QStringList {u"nothere.vnt"_s} << 1 << u"File not found"_s;
        QTest::newRow("report that cannot be read")
                << QStringList {u"."_s} << 1
                << u"Cannot read the report \"%1/.\": Is a directory"_s;
        QTest::newRow("page of no size")
                << QStringList {u"flat.vnt"_s} << 1
                << u"The page is 210 x 0 mm: it needs a width and a height above zero"_s;
        QTest::newRow("bad arguments, as the designer tells them")
                << QStringList {u"list.vnt"_s, u"--dpi"_s, u"x"_s} << 2 << u"--dpi needs"_s;
    }
    void failures()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const QString out = m_dir.filePath(u"failed.png"_s);
        arguments[0] = m_dir.filePath(arguments[0]);
        arguments << u"-o"_s << out;
        const Result result = RunRender(arguments);
        QCOMPARE(result.exitCode, exitCode);
        QVERIFY2(result.err.contains(message.arg(m_dir.path())), qPrintable(result.err));
        QVERIFY(!result.err.contains(u'\n'));
        QVERIFY(!QFile::exists(out));
    }

    void outputTargetsThatAreNoFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("format");
        for (const char *kind : {"link to /dev/full", "fifo", "fifo with a reader", "socket",
                                 "folder", "link to a folder"}) {
            for (const char *format : {"pdf", "png"})
                QTest::addRow("%s, %s", kind, format)
                        << QString::fromLatin1(kind) << QString::fromLatin1(format);
        }
    }
    void outputTargetsThatAreNoFile()
    {
        // Each is refused with its name and left exactly as it was; nothing else appears.
        QFETCH(QString, kind);
        QFETCH(QString, format);
        QTemporaryDir dir;
        QString target = dir.filePath(u"target"_s);
        const QByteArray name = QFile::encodeName(target);
        int reader = -1;
        if (kind == u"link to /dev/full") {
            target = u"/dev/full"_s;
        } else if (kind.startsWith(u"fifo")) {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
            if (kind.endsWith(u"reader"))
                reader = ::open(name.constData(), O_RDONLY | O_NONBLOCK);
        } else if (kind == u"socket") {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address {};
            address.sun_family = AF_UNIX;
            std::copy(name.cbegin(), name.cend(), address.sun_path);
            QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
            ::listen(fd, 1);
            reader = fd;
        } else {
            QVERIFY(QDir().mkdir(target));
        }
        const QString out = dir.filePath(u"out."_s + format);
        if (kind.startsWith(u"link")) {
            QVERIFY(QFile::link(target, out));
        } else {
            QCOMPARE(::rename(name.constData(), QFile::encodeName(out).constData()), 0);
            target = out;
        }
        struct stat before;
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &before), 0);
        const QStringList entries
                = QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden);

        const Result result = RunRender({m_dir.filePath(u"list.vnt"_s), u"-o"_s, out});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.err.startsWith(u"Cannot write \"%1\""_s.arg(out)), qPrintable(result.err));
        QVERIFY2(result.err.contains(kind.contains(u"folder") ? u"Is a directory"_s
                                                              : u"not a file"_s),
                 qPrintable(result.err));
        if (kind == u"link to /dev/full")
            QVERIFY(result.err.contains(u"/dev/full"_s));
        struct stat after;
        QCOMPARE(::stat(QFile::encodeName(target).constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(after.st_mode, before.st_mode);
        QCOMPARE(after.st_size, before.st_size);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden),
                 entries);
        if (reader >= 0) {
            char byte = 0;
            QVERIFY(::read(reader, &byte, 1) <= 0); // nothing was written into it
            ::close(reader);
        }
    }

    void writeFailureSaysWhyAndKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("pdf") << u"pdf"_s;
        QTest::newRow("png") << u"png"_s;
    }
    void writeFailureSaysWhyAndKeepsTheOldFile()
    {
        // A file-size limit of 4 KB stops the write as a full disk would.
        QFETCH(QString, format);
        QTemporaryDir dir;
        const QString out = dir.filePath(u"out."_s + format);
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        const Result result = RunRender({m_dir.filePath(u"list.vnt"_s), u"-o"_s, out}, 4);
        QCOMPARE(result.exitCode, 1);
        QCOMPARE(result.err, u"Cannot write \"%1\": File too large"_s.arg(out));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("old"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
                 QStringList {u"out."_s + format});
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
