#include "testregistry.h"
#include "testutil.h"

#include <QImage>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Result
{
    int exitCode = -1;
    QString output;
};

Result RunDesigner(const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The batch commands must work without any display.
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(VANTEL_DESIGNER_PATH), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).trimmed()};
}

} // namespace

// The designer's batch commands, run as a user would run them in a terminal.
class TestCommandLine : public QObject
{
    Q_OBJECT

private slots:
    void check_data()
    {
        QTest::addColumn<QString>("fixture");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::newRow("valid") << QStringLiteral("full_report.vnt") << 0 << QStringLiteral("OK");
        QTest::newRow("invalid") << QStringLiteral("invalid_report.vnt") << 1
                                 << QStringLiteral("Band #0 will not fit page height if printed "
                                                   "with page header and footer");
        QTest::newRow("unknown item kind")
                << QStringLiteral("item_of_unknown_type.vnt") << 1
                << QStringLiteral("The \"Lines\" band holds an element of an unknown type: \"13\"");
    }
    void check()
    {
        QFETCH(QString, fixture);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        const Result result = RunDesigner(
                {QStringLiteral("--check"), TestUtil::FixturePath(fixture)});
        QCOMPARE(result.exitCode, exitCode);
        QCOMPARE(result.output, output);
    }

    void resaveWritesTheSameBytes()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.vnt"));
        const QString in = TestUtil::FixturePath(QStringLiteral("full_report.vnt"));
        const Result result = RunDesigner({QStringLiteral("--resave"), in, out});
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(TestUtil::ReadAll(out), TestUtil::ReadAll(in));
    }

    void resaveOfABadFileWritesNothing()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.vnt"));
        const Result result = RunDesigner(
                {QStringLiteral("--resave"),
                 TestUtil::FixturePath(QStringLiteral("truncated_report.vnt")), out});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.output.startsWith(QStringLiteral("Failed to load XML:: ")));
        QVERIFY(!QFile::exists(out));
    }

    void renderDrawsThePage()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("page.png"));
        const Result result = RunDesigner(
                {QStringLiteral("--render"),
                 TestUtil::FixturePath(QStringLiteral("full_report.vnt")), QStringLiteral("-o"),
                 out, QStringLiteral("--size"), QStringLiteral("900x400"), QStringLiteral("--grid"),
                 QStringLiteral("0")});
        QCOMPARE(result.exitCode, 0);
        QImage image(out);
        QCOMPARE(image.size(), QSize(900, 400));
        // The view's grey around a white band.
        QCOMPARE(image.pixelColor(2, 2), QColor(128, 128, 128));
        QVERIFY(image.pixelColor(700, 120) == QColor(255, 255, 255));
    }

    void renderRefusesBadArguments_data()
    {
        QTest::addColumn<QStringList>("extra");
        QTest::newRow("bad size") << QStringList{QStringLiteral("--size"), QStringLiteral("10")};
        QTest::newRow("bad grid") << QStringList{QStringLiteral("--grid"), QStringLiteral("2")};
    }
    void renderRefusesBadArguments()
    {
        QFETCH(QStringList, extra);
        QTemporaryDir dir;
        const Result result = RunDesigner(
                QStringList{QStringLiteral("--render"),
                            TestUtil::FixturePath(QStringLiteral("full_report.vnt")),
                            QStringLiteral("-o"), dir.filePath(QStringLiteral("x.png"))}
                + extra);
        QCOMPARE(result.exitCode, 1);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("x.png"))));
    }

    void version()
    {
        const Result result = RunDesigner({QStringLiteral("--version")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY2(result.output.contains(QRegularExpression(QStringLiteral("^Vantel \\d+\\.\\d+\\.\\d+$"))),
                 qPrintable(result.output));
    }
};

VANTEL_TEST_CLASS(TestCommandLine)
#include "tst_commandline.moc"
