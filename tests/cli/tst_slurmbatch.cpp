#include "testregistry.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A TCP port on loopback that nobody listens on now.
int FreePort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), size) == 0
        && ::getsockname(fd, reinterpret_cast<sockaddr *>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    ::close(fd);
    return port;
}

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString invoices = u"SELECT InvoiceNo AS INVOICE_NO FROM Invoices ORDER BY InvoiceNo"_s;

} // namespace

// An administrator spreads a month-end run over a cluster with the Slurm array job of
// scripts/batch: a real single-node Slurm (its controller and node daemon on loopback with a
// throw-away configuration, and a munge daemon of its own) runs four shards over the example
// shop's invoices, which must give every file once, equal to a run in one process.
class TestSlurmBatch : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (::geteuid() != 0)
            QSKIP("the Slurm and munge daemons of this test run as root");
        for (const char *program : {"munged", "mungekey", "slurmctld", "slurmd", "sbatch"}) {
            if (QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty()
                && !QFile::exists(u"/usr/sbin/"_s + QString::fromLatin1(program)))
                QSKIP(qPrintable(u"%1 is not installed (scripts/install-deps.sh installs it)"_s.arg(
                        QString::fromLatin1(program))));
        }
        QVERIFY(m_dir.isValid());
        // munged wants every folder above its socket searchable by all.
        QFile::setPermissions(m_dir.path(),
                              QFile::permissions(m_dir.path()) | QFile::ExeGroup | QFile::ExeOther
                                      | QFile::ReadGroup | QFile::ReadOther);
        const QString x = m_dir.path();
        QDir().mkpath(x + u"/state"_s);
        QDir().mkpath(x + u"/spool"_s);
        QProcess key;
        key.start(u"mungekey"_s, {u"-c"_s, u"-k"_s, x + u"/munge.key"_s});
        QVERIFY(key.waitForFinished(10000) && key.exitCode() == 0);
        QFile::setPermissions(x + u"/munge.key"_s, QFile::ReadOwner);

        const QString host = QSysInfo::machineHostName().section(u'.', 0, 0);
        QFile conf(x + u"/slurm.conf"_s);
        QVERIFY(conf.open(QIODevice::WriteOnly));
        conf.write(uR"(ClusterName=vantel
SlurmctldHost=%1(127.0.0.1)
SlurmctldPort=%2
SlurmdPort=%3
SlurmUser=root
SlurmdUser=root
AuthType=auth/munge
AuthInfo=socket=%4/munge.sock
CredType=cred/munge
StateSaveLocation=%4/state
SlurmdSpoolDir=%4/spool
SlurmctldPidFile=%4/slurmctld.pid
SlurmdPidFile=%4/slurmd.pid
SlurmctldLogFile=%4/slurmctld.log
SlurmdLogFile=%4/slurmd.log
ProctrackType=proctrack/linuxproc
TaskPlugin=task/none
SchedulerType=sched/builtin
SelectType=select/cons_tres
SelectTypeParameters=CR_CPU
MpiDefault=none
JobAcctGatherType=jobacct_gather/none
AccountingStorageType=accounting_storage/none
ReturnToService=2
NodeName=%1 NodeAddr=127.0.0.1 CPUs=2 State=UNKNOWN
PartitionName=batch Nodes=%1 Default=YES MaxTime=INFINITE State=UP
)"_s.arg(host)
                           .arg(FreePort())
                           .arg(FreePort())
                           .arg(x)
                           .toUtf8());
        conf.close();
        m_env = QProcessEnvironment::systemEnvironment();
        m_env.insert(u"SLURM_CONF"_s, conf.fileName());

        const QString daemons[][2] = {
                {u"munged"_s,
                 u"-F --socket=%1/munge.sock --key-file=%1/munge.key "
                 "--pid-file=%1/munged.pid --log-file=%1/munged.log "
                 "--seed-file=%1/munged.seed"_s},
                {u"slurmctld"_s, u"-D -f %1/slurm.conf"_s},
                {u"slurmd"_s, u"-D -f %1/slurm.conf -N "_s + host},
        };
        for (const auto &[program, arguments] : daemons) {
            auto process = std::make_unique<QProcess>();
            process->setProcessEnvironment(m_env);
            process->setWorkingDirectory(x);
            process->setProcessChannelMode(QProcess::MergedChannels);
            process->start(program, arguments.arg(x).split(u' '));
            if (!process->waitForStarted(10000))
                QSKIP(qPrintable(program + u" does not start: "_s + process->errorString()));
            m_daemons.push_back(std::move(process));
            // The controller and the node need munge, the node the controller.
            QTest::qWait(program == u"munged"_s ? 300 : 500);
        }
        // Up when the node is idle; a daemon that ends or a node that never comes is outside
        // our code, and skips the test with its log.
        for (int i = 0; i < 100; ++i) {
            QProcess info;
            info.setProcessEnvironment(m_env);
            info.start(u"sinfo"_s, {u"-h"_s, u"-o"_s, u"%T"_s});
            info.waitForFinished(10000);
            if (info.readAllStandardOutput().trimmed() == "idle")
                return;
            for (const auto &daemon : m_daemons) {
                if (daemon->state() != QProcess::Running)
                    QSKIP(qPrintable(daemon->program() + u" ended: "_s
                                     + QString::fromUtf8(daemon->readAll().right(500))));
            }
            QTest::qWait(200);
        }
        QSKIP(qPrintable(u"the Slurm node did not come up: "_s
                         + QString::fromUtf8(Bytes(x + u"/slurmd.log"_s).right(500))));
    }

    void cleanupTestCase()
    {
        // Stopped by their process ids, node first.
        for (auto it = m_daemons.rbegin(); it != m_daemons.rend(); ++it) {
            (*it)->terminate();
            if (!(*it)->waitForFinished(10000))
                (*it)->kill();
        }
        m_daemons.clear();
    }

    void fourShardsEqualOneProcess()
    {
        const QString x = m_dir.path();
        QVERIFY(QDir().mkpath(x + u"/one"_s) && QDir().mkpath(x + u"/slurm"_s));
        QProcessEnvironment env = m_env;
        env.insert(u"SOURCE_DATE_EPOCH"_s, u"1700000000"_s);
        env.insert(u"VANTEL_RENDER"_s, QStringLiteral(VANTEL_RENDER_PATH));
        const QString report = QStringLiteral(VANTEL_EXAMPLES_DIR "/invoice.vnt");

        QProcess one;
        one.setProcessEnvironment(env);
        one.start(QStringLiteral(VANTEL_RENDER_PATH),
                  {report, u"--each"_s, invoices, u"-o"_s, x + u"/one/invoice-{INVOICE_NO}.pdf"_s});
        QVERIFY(one.waitForFinished(60000) && one.exitCode() == 0);

        QProcess job;
        job.setProcessEnvironment(env);
        job.setWorkingDirectory(x);
        job.start(u"sbatch"_s,
                  {u"--wait"_s, u"--array=0-3"_s,
                   QStringLiteral(VANTEL_BATCH_SCRIPTS "/slurm-array.sh"), report, u"--each"_s,
                   invoices, u"-o"_s, x + u"/slurm/invoice-{INVOICE_NO}.pdf"_s});
        QVERIFY(job.waitForFinished(60000));
        QVERIFY2(job.exitCode() == 0, job.readAllStandardError().constData());

        // Every row once over the four tasks' manifests.
        QList<int> rows;
        const QStringList manifests
                = QDir(x).entryList({u"vantel-batch-*.jsonl"_s}, QDir::Files, QDir::Name);
        QCOMPARE(manifests.size(), 4);
        for (const QString &manifest : manifests) {
            for (const QByteArray &line : Bytes(x + u'/' + manifest).split('\n')) {
                if (line.isEmpty())
                    continue;
                const QJsonObject row = QJsonDocument::fromJson(line).object();
                QCOMPARE(row[u"status"_s].toString(), u"ok"_s);
                rows << row[u"row"_s].toInt();
            }
        }
        std::sort(rows.begin(), rows.end());
        QCOMPARE(rows, QList<int>({0, 1, 2, 3, 4, 5, 6, 7}));
        const QStringList files = QDir(x + u"/one"_s).entryList(QDir::Files, QDir::Name);
        QCOMPARE(files.size(), 8);
        QCOMPARE(QDir(x + u"/slurm"_s).entryList(QDir::Files, QDir::Name), files);
        for (const QString &file : files) {
            QVERIFY2(Bytes(x + u"/one/"_s + file) == Bytes(x + u"/slurm/"_s + file),
                     qPrintable(file));
        }
    }

private:
    QTemporaryDir m_dir;
    QProcessEnvironment m_env;
    std::vector<std::unique_ptr<QProcess>> m_daemons;
};

VANTEL_TEST_CLASS(TestSlurmBatch)
#include "tst_slurmbatch.moc"
