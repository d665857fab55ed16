#include "testregistry.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Runs vantel-render on the example invoice; epoch is SOURCE_DATE_EPOCH, none when empty.
int Render(const QStringList &arguments, const QString &epoch, const QString &zone = u"UTC"_s)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"TZ"_s, zone);
    env.remove(u"SOURCE_DATE_EPOCH"_s);
    if (!epoch.isEmpty())
        env.insert(u"SOURCE_DATE_EPOCH"_s, epoch);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VANTEL_RENDER_PATH),
                  QStringList {QStringLiteral(VANTEL_EXAMPLES_DIR "/invoice.vnt")} + arguments);
    process.waitForFinished(120000);
    return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

QByteArray Bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

// Users keep reports and their outputs under version control: with SOURCE_DATE_EPOCH the same
// report and data give the same bytes in every format, run after run.
class TestReproducible : public QObject
{
    Q_OBJECT

private slots:
    void sameBytesEveryTime()
    {
        QTemporaryDir dir;
        const QStringList names {u"a.pdf"_s,  u"a-archive.pdf"_s, u"a.png"_s, u"a.svg"_s,
                                 u"a.html"_s, u"a.csv"_s,         u"a.xlsx"_s};
        // Two runs of every format, seconds apart, each of its own process, in time zones of
        // their own.
        for (const QString &run : {u"1"_s, u"2"_s}) {
            for (const QString &name : names) {
                QStringList arguments {u"-o"_s, dir.filePath(run + name)};
                if (name.contains(u"archive"_s))
                    arguments << u"--pdfa"_s;
                QCOMPARE(Render(arguments, u"1700000000"_s,
                                run == u"1"_s ? u"UTC"_s : u"Asia/Kolkata"_s),
                         0);
            }
        }
        for (const QString &name : names) {
            const QByteArray first = Bytes(dir.filePath(u"1"_s + name));
            QVERIFY(!first.isEmpty());
            QVERIFY2(first == Bytes(dir.filePath(u"2"_s + name)), qPrintable(name));
        }
        // The dates are the epoch's, the archive's document ID a digest of its content.
        const QByteArray pdf = Bytes(dir.filePath(u"1a-archive.pdf"_s));
        QVERIFY(pdf.contains("/CreationDate (D:20231114221320"));
        QVERIFY(pdf.contains("xmp:CreateDate=\"2023-11-14T22:13:20"));
        const qsizetype id = pdf.lastIndexOf("/ID [ <") + 7;
        QCOMPARE(pdf.mid(id, 32),
                 QCryptographicHash::hash(pdf.left(id), QCryptographicHash::Md5).toHex());
    }

    // Without it, two PDFs differ in their date alone.
    void onlyTheDateDiffersWithout()
    {
        QTemporaryDir dir;
        QCOMPARE(Render({u"-o"_s, dir.filePath(u"1.pdf"_s)}, {}), 0);
        QTest::qWait(1100);
        QCOMPARE(Render({u"-o"_s, dir.filePath(u"2.pdf"_s)}, {}), 0);
        static const QRegularExpression date(u"/CreationDate \\(D:[^)]*\\)"_s);
        QString first = QString::fromLatin1(Bytes(dir.filePath(u"1.pdf"_s)));
        QString second = QString::fromLatin1(Bytes(dir.filePath(u"2.pdf"_s)));
        QVERIFY(first != second);
        QCOMPARE(first.replace(date, QString()), second.replace(date, QString()));
    }

    void malformedEpochIsRefused()
    {
        QTemporaryDir dir;
        QCOMPARE(Render({u"-o"_s, dir.filePath(u"x.pdf"_s)}, u"yesterday"_s), 2);
        QVERIFY(!QFile::exists(dir.filePath(u"x.pdf"_s)));
    }
};

VANTEL_TEST_CLASS(TestReproducible)
#include "tst_reproducible.moc"
