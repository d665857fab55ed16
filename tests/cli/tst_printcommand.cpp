#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

struct Result
{
    int exitCode = -1;
    QString out;
    QString err;
};

// The pages of a PDF and the size of its first, in points, as pdfinfo tells them.
QString PdfPages(const QString &path)
{
    QProcess process;
    process.start(u"pdfinfo"_s, {path});
    process.waitForFinished(30000);
    const QString info = QString::fromUtf8(process.readAllStandardOutput());
    static const QRegularExpression pages(u"Pages:\\s+(\\d+)"_s);
    static const QRegularExpression size(u"Page size:\\s+([\\d.]+) x ([\\d.]+)"_s);
    const QRegularExpressionMatch p = pages.match(info);
    const QRegularExpressionMatch s = size.match(info);
    return u"%1 pages %2x%3"_s.arg(p.captured(1))
            .arg(qRound(s.captured(1).toDouble()))
            .arg(qRound(s.captured(2).toDouble()));
}

} // namespace

// Printing from the command line, as an office prints its month's invoices without opening the
// designer: vantel-render --print through a real CUPS server that the test starts on a socket of
// its own, with a PDF queue (cups-pdf) that writes each job to a folder of the test.
class TestPrintCommand : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("the CUPS server and its PDF backend of this test run as root");
        for (const QString &program : {u"/usr/sbin/cupsd"_s, u"/usr/lib/cups/backend/cups-pdf"_s,
                                       u"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"_s}) {
            if (!QFile::exists(program))
                QSKIP(qPrintable(program + u" is missing (scripts/install-deps.sh installs it)"_s));
        }
        if (QStandardPaths::findExecutable(u"lp"_s).isEmpty())
            QSKIP("lp is missing (scripts/install-deps.sh installs it)");
        QVERIFY(m_dir.isValid());
        const QString x = m_dir.path();
        QFile::setPermissions(x,
                              QFile::permissions(x) | QFile::ExeOther | QFile::ReadOther
                                      | QFile::ExeGroup | QFile::ReadGroup);
        for (const char *folder : {"root/ppd", "spool", "cache", "state", "tmp", "out"})
            QVERIFY(QDir().mkpath(x + u'/' + QString::fromLatin1(folder)));
        // The filters run as the server's own user, which writes its temporary files here.
        ::chmod(QFile::encodeName(x + u"/tmp"_s).constData(), 01777);

        const auto write = [](const QString &path, const QString &text) {
            QFile file(path);
            return file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0;
        };
        QVERIFY(write(x + u"/root/cupsd.conf"_s, uR"(Listen %1/cups.sock
LogLevel debug
DefaultAuthType None
WebInterface No
Browsing No
<Location />
  Order allow,deny
  Allow all
</Location>
<Location /admin>
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
)"_s.arg(x)));
        QVERIFY(write(x + u"/root/cups-files.conf"_s, uR"(ServerRoot %1/root
RequestRoot %1/spool
CacheDir %1/cache
StateDir %1/state
TempDir %1/tmp
ErrorLog %1/error_log
AccessLog %1/access_log
PageLog %1/page_log
SystemGroup root
)"_s.arg(x)));
        // cups-pdf reads a queue's own settings from /etc/cups/cups-pdf-NAME.conf, NAME the
        // end of the queue's device URI: this test's, under a name of its own, removed after.
        m_queue = u"vantel-test-%1"_s.arg(::getpid());
        m_pdfConf = u"/etc/cups/cups-pdf-%1.conf"_s.arg(m_queue);
        if (!write(m_pdfConf,
                   u"Out %1/out\nAnonDirName %1/out\nSpool %1/pdfspool\nLog %1/pdflog\n"
                   "Grp root\nLabel 1\n"_s.arg(x)))
            QSKIP("/etc/cups is not writable, where cups-pdf reads the settings of a queue");

        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(u"CUPS_SERVER"_s, x + u"/cups.sock"_s);
        m_cupsd.setProcessChannelMode(QProcess::MergedChannels);
        m_cupsd.start(u"/usr/sbin/cupsd"_s,
                      {u"-f"_s, u"-c"_s, x + u"/root/cupsd.conf"_s, u"-s"_s,
                       x + u"/root/cups-files.conf"_s});
        if (!m_cupsd.waitForStarted(10000))
            QSKIP(qPrintable(u"cupsd does not start: "_s + m_cupsd.errorString()));
        for (int i = 0; i < 100 && !QFile::exists(x + u"/cups.sock"_s); ++i)
            QTest::qWait(100);
        QProcess admin;
        admin.setProcessEnvironment(m_env);
        admin.start(u"lpadmin"_s,
                    {u"-p"_s, m_queue, u"-E"_s, u"-v"_s, u"cups-pdf:/"_s + m_queue, u"-P"_s,
                     u"/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd"_s});
        admin.waitForFinished(30000);
        if (m_cupsd.state() != QProcess::Running || admin.exitCode() != 0)
            QSKIP(qPrintable(
                    u"the CUPS server would not take a queue: "_s
                    + QString::fromUtf8(m_cupsd.readAll() + admin.readAllStandardError())));
        admin.start(u"lpadmin"_s, {u"-d"_s, m_queue});
        admin.waitForFinished(30000);
    }

    void cleanupTestCase()
    {
        if (m_cupsd.state() == QProcess::Running) {
            m_cupsd.terminate();
            if (!m_cupsd.waitForFinished(10000))
                m_cupsd.kill();
        }
        if (!m_pdfConf.isEmpty())
            QFile::remove(m_pdfConf);
    }

    void print_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected"); // what the queue printed
        QTest::addColumn<int>("copies"); // what the queue was asked for
        QTest::newRow("the default queue, two pages of an A4 invoice")
                << QStringList {u"--print"_s, u"--param"_s, u"Invoice Header/INVOICE_NO=1045"_s}
                << u"2 pages 595x842"_s << 1;
        QTest::newRow("a queue named, a page of it")
                << QStringList {u"--print=QUEUE"_s, u"--pages"_s, u"2-2"_s, u"--param"_s,
                                u"Invoice Header/INVOICE_NO=1045"_s}
                << u"1 pages 595x842"_s << 1;
        QTest::newRow("copies") << QStringList {u"--print"_s, u"QUEUE"_s, u"--copies"_s, u"3"_s}
                                << u"1 pages 595x842"_s << 3;
    }
    void print()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QFETCH(int, copies);
        arguments.replaceInStrings(u"QUEUE"_s, m_queue);
        QProcess render;
        render.setProcessEnvironment(m_env);
        render.start(QStringLiteral(VANTEL_RENDER_PATH),
                     QStringList {QStringLiteral(VANTEL_EXAMPLES_DIR "/invoice.vnt")} + arguments);
        QVERIFY(render.waitForFinished(60000));
        QVERIFY2(render.exitCode() == 0, render.readAllStandardError().constData());
        const QString job = QString::fromUtf8(render.readAllStandardOutput()).trimmed();
        QVERIFY2(job.startsWith(m_queue + u'-'), qPrintable(job));
        QCOMPARE(PdfPages(Printed(job)), expected);
        // The PDF queue prints one copy whatever it is asked for; the server's log tells the
        // copies the job asked for (the fourth argument of its filters).
        QFile log(m_dir.filePath(u"error_log"_s));
        QVERIFY(log.open(QIODevice::ReadOnly));
        QVERIFY(log.readAll().contains(
                u"[Job %1] argv[4]=\"%2\""_s.arg(job.section(u'-', -1)).arg(copies).toUtf8()));
    }

    // With a list, a job per row, each with its row's values.
    void aJobPerRow()
    {
        QProcess render;
        render.setProcessEnvironment(m_env);
        render.start(QStringLiteral(VANTEL_RENDER_PATH),
                     {QStringLiteral(VANTEL_EXAMPLES_DIR "/invoice.vnt"), u"--print"_s, m_queue,
                      u"--each"_s,
                      u"SELECT InvoiceNo AS INVOICE_NO FROM Invoices WHERE InvoiceNo IN "
                      "(1044, 1045) ORDER BY InvoiceNo"_s});
        QVERIFY(render.waitForFinished(60000));
        QCOMPARE(render.exitCode(), 0);
        QStringList printed;
        for (const QByteArray &line : render.readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            const QJsonObject row = QJsonDocument::fromJson(line).object();
            QCOMPARE(row[u"status"_s].toString(), u"ok"_s);
            printed << PdfPages(Printed(row[u"job"_s].toString())).section(u' ', 0, 0);
        }
        QCOMPARE(printed, QStringList({u"1"_s, u"2"_s}));
    }

    void aQueueThatIsNotThere()
    {
        QProcess render;
        render.setProcessEnvironment(m_env);
        render.start(QStringLiteral(VANTEL_RENDER_PATH),
                     {QStringLiteral(VANTEL_EXAMPLES_DIR "/invoice.vnt"), u"--print=nowhere"_s});
        QVERIFY(render.waitForFinished(60000));
        QCOMPARE(render.exitCode(), 1);
        QVERIFY(render.readAllStandardError().startsWith("CUPS refused the print job: "));
    }

private:
    // The file the PDF queue wrote for a job ("vantel-test-12-7"), waited for.
    QString Printed(const QString &job)
    {
        const QString id = job.section(u'-', -1);
        for (int i = 0; i < 300; ++i) {
            const QStringList files = QDir(m_dir.filePath(u"out"_s))
                                              .entryList({u"job_"_s + id + u"-*.pdf"_s,
                                                          u"*-job_"_s + id + u".pdf"_s},
                                                         QDir::Files);
            if (!files.isEmpty()) {
                // Written in place by the backend: taken once its size holds still.
                const QString path = m_dir.filePath(u"out/"_s + files.first());
                const qint64 size = QFileInfo(path).size();
                QTest::qWait(200);
                if (size > 0 && size == QFileInfo(path).size())
                    return path;
            }
            QTest::qWait(100);
        }
        return {};
    }

    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    QProcess m_cupsd;
    QString m_queue;
    QString m_pdfConf;
};

VANTEL_TEST_CLASS(TestPrintCommand)
#include "tst_printcommand.moc"
