#include "reportfile.h"
#include "reportfixture.h"
#include "testregistry.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// A user runs a FireBird report whose server accepts the connection and never says a word:
// vantel-render gives up with one message and ends, without spinning or crashing on the way out.
class TestRenderDatabase : public QObject
{
    Q_OBJECT

private slots:
    void silentFireBirdServerEndsTheRun()
    {
        // Listening is enough: the system completes the connection, and nothing ever answers.
        const int listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        QCOMPARE(bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        QCOMPARE(listen(listener, 4), 0);
        socklen_t size = sizeof address;
        getsockname(listener, reinterpret_cast<sockaddr *>(&address), &size);

        QTemporaryDir dir;
        CVornReport report;
        ReportFixture::MakeListReport(report, {}, u"SELECT 1 AS NAME FROM RDB$DATABASE"_s);
        report.SetDatabaseType(1);
        report.SetConnectString(
                u"SYSDBA:s3cret@127.0.0.1/%1:employee"_s.arg(ntohs(address.sin_port)));
        QString message;
        QVERIFY2(VornTemplate::Save(report, dir.filePath(u"fb.vnt"_s), message),
                 qPrintable(message));

        QProcess process;
        QElapsedTimer timer;
        timer.start();
        process.start(QStringLiteral(VANTEL_RENDER_PATH),
                      {dir.filePath(u"fb.vnt"_s), u"-o"_s, dir.filePath(u"out.pdf"_s)});
        // The old client waited three minutes and then crashed.
        const bool ended = process.waitForFinished(60000);
        close(listener);
        QVERIFY(ended);
        qInfo("ended after %lld ms", timer.elapsed());
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 1);
        const QString err = QString::fromUtf8(process.readAllStandardError()).trimmed();
        QCOMPARE(err,
                 u"Cannot open the database 127.0.0.1/%1:employee: no answer within 10 seconds"_s
                         .arg(ntohs(address.sin_port)));
        QVERIFY(!QFile::exists(dir.filePath(u"out.pdf"_s)));
    }
};

VANTEL_TEST_CLASS(TestRenderDatabase)
#include "tst_renderdatabase.moc"
