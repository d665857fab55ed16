#include "testregistry.h"
#include "testutil.h"

#include <QDir>
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
    QString error;
};

// Runs the designer without a display and without a runtime folder of the
// user's session; `tempDir` (when given) becomes its TMPDIR, where the
// toolkit would create one.
Result RunDesigner(const QStringList &arguments, const QString &tempDir = QString())
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    // The batch commands must work without any display.
    env.remove(QStringLiteral("DISPLAY"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    if (!tempDir.isEmpty())
        env.insert(QStringLiteral("TMPDIR"), tempDir);
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(QStringLiteral(VANTEL_DESIGNER_PATH), arguments);
    if (!process.waitForFinished(60000))
        return {};
    return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
            QString::fromUtf8(process.readAllStandardError()).trimmed()};
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
        QTest::addColumn<QString>("warning");
        QTest::newRow("valid") << QStringLiteral("full_report.vnt") << 0 << QStringLiteral("OK")
                               << QString();
        // The file opens, so it is no failure; the run would fail, so it is said.
        QTest::newRow("parent loop")
                << QStringLiteral("parent_loop.vnt") << 0 << QStringLiteral("OK")
                << QStringLiteral("Warning: The parent data sources of these bands lead round "
                                  "in a loop: \"Orders\" -> \"Lines\" -> \"Orders\"");
        QTest::newRow("invalid") << QStringLiteral("invalid_report.vnt") << 1
                                 << QStringLiteral("Band #0 will not fit page height if printed "
                                                   "with page header and footer")
                                 << QString();
        QTest::newRow("unknown item kind")
                << QStringLiteral("item_of_unknown_type.vnt") << 1
                << QStringLiteral("The \"Lines\" band holds an element of an unknown type: \"13\"")
                << QString();
    }
    void check()
    {
        QFETCH(QString, fixture);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, warning);
        const Result result
                = RunDesigner({QStringLiteral("--check"), TestUtil::FixturePath(fixture)});
        QCOMPARE(result.exitCode, exitCode);
        // The answer on standard output, a failure or a warning on standard error.
        QCOMPARE(exitCode == 0 ? result.output : result.error, output);
        QCOMPARE(exitCode == 0 ? result.error : result.output, warning);
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error");
        const auto list = [](const char *text) {
            return QString::fromLatin1(text).split(u' ');
        };
        QTest::newRow("misspelt option")
                << list("--chek file.vnt") << QStringLiteral("Unknown option: --chek");
        QTest::newRow("unknown short option") << list("-x") << QStringLiteral("Unknown option: -x");
        QTest::newRow("two batch commands")
                << list("--check a.vnt --version")
                << QStringLiteral("Only one of --check, --resave, --render, --help and "
                                  "--version may be given");
        QTest::newRow("option without its value")
                << list("--check") << QStringLiteral("Missing value for --check");
        QTest::newRow("render option without --render")
                << list("a.vnt --grid 1")
                << QStringLiteral("-o, --size and --grid go with --render");
        QTest::newRow("two files for the window")
                << list("a.vnt b.vnt") << QStringLiteral("Only one FILE may be given");
    }
    void usageErrors()
    {
        // Without a display: a wrong command line never gets as far as a window.
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const Result result = RunDesigner(arguments);
        QCOMPARE(result.exitCode, 2);
        QVERIFY(result.output.isEmpty());
        QCOMPARE(result.error.section(u'\n', 0, 0), QStringLiteral("vantel-designer: ") + error);
    }

    void batchCommandsSayOnlyTheirAnswer_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("output");
        const QString report = TestUtil::FixturePath(QStringLiteral("full_report.vnt"));
        QTest::newRow("check") << QStringList {QStringLiteral("--check"), report}
                               << QStringLiteral("OK");
        QTest::newRow("render") << QStringList {QStringLiteral("--render"), report,
                                                QStringLiteral("-o"), QStringLiteral("page.png")}
                                << QString();
        QTest::newRow("version") << QStringList {QStringLiteral("--version")}
                                 << QStringLiteral("Vantel 1.0.0");
    }
    void batchCommandsSayOnlyTheirAnswer()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, output);
        QTemporaryDir dir;
        arguments.replaceInStrings(QStringLiteral("page.png"),
                                   dir.filePath(QStringLiteral("page.png")));
        const QString temp = dir.filePath(QStringLiteral("tmp"));
        QVERIFY(QDir().mkdir(temp));
        const Result result = RunDesigner(arguments, temp);
        QCOMPARE(result.exitCode, 0);
        QCOMPARE(result.output.section(u'\n', 0, 0).startsWith(QStringLiteral("Vantel ")),
                 output.startsWith(QStringLiteral("Vantel ")));
        if (!output.startsWith(QStringLiteral("Vantel ")))
            QCOMPARE(result.output, output);
        // No toolkit warnings, and no runtime folder left in the temporary folder.
        QCOMPARE(result.error, QString());
        QCOMPARE(QDir(temp).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList());
    }

    void helpNamesEveryArgument()
    {
        const Result result = RunDesigner({QStringLiteral("--help")});
        QCOMPARE(result.exitCode, 0);
        QVERIFY(result.error.isEmpty());
        for (const char *usage : {"vantel-designer [FILE]", "--check FILE", "--resave IN OUT",
                                  "--render IN -o OUT.png [--size WxH] [--grid 0|1]"}) {
            QVERIFY2(result.output.contains(QLatin1StringView(usage)), usage);
        }
    }

    void renderRefusesAHugePage()
    {
        // A sheet of 10 x 10 metres would be an image of gigabytes.
        QTemporaryDir dir;
        const QString report = dir.filePath(QStringLiteral("huge.vnt"));
        QVERIFY(TestUtil::WriteAll(
                report,
                TestUtil::Utf16File(QStringLiteral(
                        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\n<report version=\"1\" "
                        "width=\"1000000\" height=\"1000000\" title=\"\" "
                        "database-type=\"-1\" portrait=\"1\" "
                        "database-connect-string=\"\">\n\n</report>"))));
        const QString out = dir.filePath(QStringLiteral("page.png"));
        const Result result
                = RunDesigner({QStringLiteral("--render"), report, QStringLiteral("-o"), out});
        QCOMPARE(result.exitCode, 1);
        QVERIFY2(result.error.startsWith(QStringLiteral("The page is too large to render: ")),
                 qPrintable(result.error));
        QVERIFY(!QFile::exists(out));
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
        const Result result
                = RunDesigner({QStringLiteral("--resave"),
                               TestUtil::FixturePath(QStringLiteral("truncated_report.vnt")), out});
        QCOMPARE(result.exitCode, 1);
        QVERIFY(result.error.startsWith(QStringLiteral("Failed to load XML:: ")));
        QVERIFY(!QFile::exists(out));
    }

    void renderDrawsThePage()
    {
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("page.png"));
        const Result result = RunDesigner({QStringLiteral("--render"),
                                           TestUtil::FixturePath(QStringLiteral("full_report.vnt")),
                                           QStringLiteral("-o"), out, QStringLiteral("--size"),
                                           QStringLiteral("900x400"), QStringLiteral("--grid"),
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
        QTest::newRow("bad size") << QStringList {QStringLiteral("--size"), QStringLiteral("10")};
        QTest::newRow("bad grid") << QStringList {QStringLiteral("--grid"), QStringLiteral("2")};
    }
    void renderRefusesBadArguments()
    {
        QFETCH(QStringList, extra);
        QTemporaryDir dir;
        const Result result = RunDesigner(
                QStringList {QStringLiteral("--render"),
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
        QVERIFY2(result.output.contains(
                         QRegularExpression(QStringLiteral("^Vantel \\d+\\.\\d+\\.\\d+$"))),
                 qPrintable(result.output));
    }
};

VANTEL_TEST_CLASS(TestCommandLine)
#include "tst_commandline.moc"
