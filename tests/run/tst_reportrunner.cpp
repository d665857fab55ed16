#include "runtestsupport.h"
#include "testregistry.h"

#include <QTemporaryDir>
#include <QTest>

#include <dlfcn.h>

using namespace RunTest;
using namespace Qt::StringLiterals;

using Outcome = CReportRunner::Outcome;
using ParameterRows = QList<QStringList>;

namespace {

const QString notSaved = u"This report was not saved after the last modification. You can only "
                         "launch the reports that were saved to your hard disk."_s;

// Whether the dynamic loader still holds the library at that path.
bool IsLoaded(const QString &path)
{
    void *handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_NOLOAD);
    if (!handle)
        return false;
    dlclose(handle);
    return true;
}

// A report with one band "Lines" whose query holds {Id} and {Name}.
void AddLinesBand(CVornDocument &document)
{
    AddBand(document, u"Lines"_s, u"SELECT * FROM t WHERE id = {Id} AND name = {Name}"_s);
}

} // namespace

// The Run command against the test engines, with a scripted user.
class TestReportRunner : public QObject
{
    Q_OBJECT

private slots:
    void init() { CReportRunner::ResetWarningAcceptedForTesting(); }

    void checksInOrder_data()
    {
        QTest::addColumn<bool>("hasBands");
        QTest::addColumn<QString>("query");
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("modified");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("engineCalled");

        const QString good = EnginesFolder("good");
        const QString none = u"/nonexistent-vantel-folder"_s;
        const QString notFound = u"The libvantel.so file was not found in the program's folder"_s;
        QTest::newRow("no bands is told before a missing library")
                << false << QString() << none << false << int(Outcome::EmptyReport)
                << QStringList {u"The report is empty, nothing to run"_s} << 0 << false;
        QTest::newRow("a missing library is told before the warning")
                << true << QString() << none << true << int(Outcome::EngineMissing)
                << QStringList {notFound} << 0 << false;
        QTest::newRow("a broken query is told after the warning")
                << true << u"SELECT * FROM t WHERE a = }"_s << good << false
                << int(Outcome::ParseFailed)
                << QStringList {u"Failed to parse report parameters: A close bracket without "
                                "an open one in position 26"_s}
                << 1 << false;
        QTest::newRow("a modified report is refused before the library loads")
                << true << QString() << EnginesFolder("notelf") << true << int(Outcome::NotSaved)
                << QStringList {notSaved} << 1 << false;
        QTest::newRow("a report without entries runs without the dialog")
                << true << u"SELECT * FROM t"_s << good << false << int(Outcome::Succeeded)
                << QStringList {} << 1 << true;
    }

    void checksInOrder()
    {
        QFETCH(bool, hasBands);
        QFETCH(QString, query);
        QFETCH(QString, folder);
        QFETCH(bool, modified);
        QFETCH(int, outcome);
        QFETCH(QStringList, messages);
        QFETCH(int, questions);
        QFETCH(bool, engineCalled);

        CVornDocument document;
        if (hasBands)
            AddBand(document, u"Lines"_s, query);
        MarkSaved(document);
        document.SetModifiedFlag(modified);
        CEngineScript script({u"result\t1"_s});
        CScriptedRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(folder);

        QCOMPARE(int(runner.Run(document)), outcome);
        QCOMPARE(ui.messages, messages);
        QCOMPARE(ui.questions.size(), questions);
        QVERIFY(ui.shown.isEmpty());
        QCOMPARE(!script.Record().isEmpty(), engineCalled);
    }

    void programFolderIsTheApplicationsByDefault()
    {
        CScriptedRunUi ui;
        const CReportRunner runner(ui);
        QCOMPARE(runner.GetProgramFolder(), QCoreApplication::applicationDirPath());
        QCOMPARE(runner.GetEnginePath(),
                 QCoreApplication::applicationDirPath() + u"/libvantel.so"_s);
    }

    void warningAcceptedOncePerProcess()
    {
        CVornDocument document;
        AddBand(document, u"Lines"_s, QString());
        MarkSaved(document);
        CEngineScript script({});
        CScriptedRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        QCOMPARE(runner.Run(document), Outcome::Succeeded);
        QCOMPARE(ui.questions.size(), 1);
        QVERIFY(ui.questions[0].startsWith(u"Running Vantel reports might require"_s));
        QVERIFY(ui.questions[0].contains(u"the report witll be launched"_s));
        QVERIFY(ui.questions[0].endsWith(
                u"or even freeze.\r\n\r\nDo you still wish to launch the report?"_s));
        QVERIFY(CReportRunner::IsWarningAccepted());

        // Another runner and another user in the same process: no question.
        CScriptedRunUi laterUi;
        laterUi.answerYes = false;
        CReportRunner later(laterUi);
        later.SetProgramFolder(EnginesFolder("good"));
        QCOMPARE(later.Run(document), Outcome::Succeeded);
        QVERIFY(laterUi.questions.isEmpty());
    }

    void warningDeclinedEndsSilently()
    {
        CVornDocument document;
        AddLinesBand(document);
        MarkSaved(document);
        CEngineScript script({});
        CScriptedRunUi ui;
        ui.answerYes = false;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        QCOMPARE(runner.Run(document), Outcome::WarningDeclined);
        QVERIFY(ui.messages.isEmpty());
        QVERIFY(ui.shown.isEmpty());
        QVERIFY(script.Record().isEmpty());
        QVERIFY(!CReportRunner::IsWarningAccepted());
        QCOMPARE(runner.Run(document), Outcome::WarningDeclined);
        QCOMPARE(ui.questions.size(), 2);
    }

    void storingValues_data()
    {
        QTest::addColumn<ParameterRows>("stored");
        QTest::addColumn<QString>("typedId");
        QTest::addColumn<bool>("cancel");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<ParameterRows>("storedAfter");
        QTest::addColumn<QString>("engineGets");

        const ParameterRows stored {{u"Lines"_s, u"Id"_s, u"abc"_s},
                                    {u"Lines"_s, u"Name"_s, u"Smith"_s}};
        QTest::newRow("unchanged values reach the engine")
                << stored << u"abc"_s << false << int(Outcome::Succeeded) << stored
                << u"value:abc"_s;
        QTest::newRow("a changed value is stored and the run stops unsaved")
                << stored << u"xyz"_s << false << int(Outcome::NotSaved)
                << ParameterRows {{u"Lines"_s, u"Id"_s, u"xyz"_s},
                                  {u"Lines"_s, u"Name"_s, u"Smith"_s}}
                << QString();
        QTest::newRow("a change of letter case only is no change")
                << stored << u"ABC"_s << false << int(Outcome::Succeeded) << stored
                << u"value:ABC"_s;
        QTest::newRow("a cleared value is a change")
                << stored << QString() << false << int(Outcome::NotSaved)
                << ParameterRows {{u"Lines"_s, u"Id"_s, {}}, {u"Lines"_s, u"Name"_s, u"Smith"_s}}
                << QString();
        QTest::newRow("a value for an entry that is gone is dropped")
                << ParameterRows {{u"Lines"_s, u"Id"_s, u"abc"_s},
                                  {u"Lines"_s, u"Name"_s, u"Smith"_s},
                                  {u"Lines"_s, u"Old"_s, u"1"_s}}
                << u"abc"_s << false << int(Outcome::NotSaved) << stored << QString();
        QTest::newRow("cancel ends the run and stores nothing")
                << stored << u"xyz"_s << true << int(Outcome::Cancelled) << stored << QString();
    }

    void storingValues()
    {
        QFETCH(ParameterRows, stored);
        QFETCH(QString, typedId);
        QFETCH(bool, cancel);
        QFETCH(int, outcome);
        QFETCH(ParameterRows, storedAfter);
        QFETCH(QString, engineGets);

        CVornDocument document;
        AddLinesBand(document);
        document.GetReport().GetParameters() = Parameters(stored);
        MarkSaved(document);
        int changes = 0;
        connect(&document, &CVornDocument::changed, this, [&changes] { ++changes; });
        CEngineScript script({u"ask\tLines\tId"_s});
        CScriptedRunUi ui;
        ui.edit = [typedId, cancel](CVornParameters &parameters) {
            parameters.SetParameter(u"Lines"_s, u"Id"_s, typedId);
            return !cancel;
        };
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        QCOMPARE(int(runner.Run(document)), outcome);
        // The dialog saw the stored values carried over to the gathered entries.
        QCOMPARE(ui.shown,
                 (QList<ParameterRows> {
                         {{u"Lines"_s, u"Id"_s, u"abc"_s}, {u"Lines"_s, u"Name"_s, u"Smith"_s}}}));
        QCOMPARE(Rows(document.GetReport().GetParameters()), storedAfter);
        const bool stopped = outcome == int(Outcome::NotSaved);
        QCOMPARE(document.IsModified(), stopped);
        QCOMPARE(changes, stopped ? 1 : 0);
        QCOMPARE(ui.messages, stopped ? QStringList {notSaved} : QStringList {});
        QCOMPARE(script.Answer(u"Lines"_s, u"Id"_s),
                 engineGets.isEmpty() ? QString() : u"1\t"_s + engineGets);
    }

    void callbackAnswers_data()
    {
        QTest::addColumn<QString>("band");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("buffer");

        const QString longValue = QString(2000, u'v');
        // A surrogate pair across the last place of the buffer.
        const QString pairValue = QString(1022, u'p') + u"\U0001D11E"_s + u"tail"_s;
        QTest::newRow("present") << u"Lines"_s << u"Id"_s << u"value:42"_s;
        QTest::newRow("band and name in other letter case")
                << u"LINES"_s << u"iD"_s << u"value:42"_s;
        QTest::newRow("non-ASCII name and value")
                << u"Lines"_s << u"Größe"_s << u"value:Ünïcødé €"_s;
        QTest::newRow("unknown name") << u"Lines"_s << u"Nope"_s << u"untouched"_s;
        QTest::newRow("unknown band") << u"Header"_s << u"Id"_s << u"untouched"_s;
        QTest::newRow("empty value") << u"Lines"_s << u"Empty"_s << u"untouched"_s;
        QTest::newRow("empty band and name") << QString() << QString() << u"untouched"_s;
        QTest::newRow("value longer than the buffer is cut to 1023 units")
                << u"Lines"_s << u"Long"_s << u"value:"_s + longValue.left(1023);
        QTest::newRow("a surrogate pair is never cut in half")
                << u"Lines"_s << u"Pair"_s << u"value:"_s + pairValue.left(1022);
    }

    void callbackAnswers()
    {
        QFETCH(QString, band);
        QFETCH(QString, name);
        QFETCH(QString, buffer);

        CVornDocument document;
        AddBand(document, u"Lines"_s, u"SELECT {Id}, {Empty}, {Long}, {Pair}, {Größe}"_s);
        document.GetReport().GetParameters() = Parameters(
                {{u"Lines"_s, u"Id"_s, u"42"_s},
                 {u"Lines"_s, u"Long"_s, QString(2000, u'v')},
                 {u"Lines"_s, u"Pair"_s, QString(1022, u'p') + u"\U0001D11E"_s + u"tail"_s},
                 {u"Lines"_s, u"Größe"_s, u"Ünïcødé €"_s}});
        MarkSaved(document);
        CEngineScript script({u"ask\t%1\t%2"_s.arg(band, name)});
        CScriptedRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        QCOMPARE(runner.Run(document), Outcome::Succeeded);
        QCOMPARE(script.Answer(band, name), u"1\t"_s + buffer);
    }

    void engineResult_data()
    {
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("messages");

        QTest::newRow("success") << QStringList {u"result\t1"_s} << int(Outcome::Succeeded)
                                 << QStringList {};
        QTest::newRow("success with a message says nothing")
                << QStringList {u"message\tignored"_s, u"result\t1"_s} << int(Outcome::Succeeded)
                << QStringList {};
        QTest::newRow("failure with the engine's message")
                << QStringList {u"message\tCannot open the database <main.db>"_s, u"result\t0"_s}
                << int(Outcome::EngineFailed)
                << QStringList {u"Cannot open the database <main.db>"_s};
        QTest::newRow("failure without a message")
                << QStringList {u"result\t0"_s} << int(Outcome::EngineFailed)
                << QStringList {u"The reporting engine failed without giving a reason."_s};
        QTest::newRow("failure with a message that fills the buffer without a NUL")
                << QStringList {u"fillerror"_s, u"result\t0"_s} << int(Outcome::EngineFailed)
                << QStringList {QString(1024, u'E')};
    }

    void engineResult()
    {
        QFETCH(QStringList, commands);
        QFETCH(int, outcome);
        QFETCH(QStringList, messages);

        CVornDocument document;
        AddBand(document, u"Lines"_s, QString());
        MarkSaved(document);
        CEngineScript script(commands);
        CScriptedRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        QCOMPARE(int(runner.Run(document)), outcome);
        QCOMPARE(ui.messages, messages);
        QVERIFY(script.Record().contains(u"errorbuffer\tclean"_s));
    }

    void longPathPassedWhole()
    {
        // Far beyond 259 units, with characters outside ASCII and a surrogate pair.
        const QString path = QDir::tempPath() + u"/"_s + QString(120, u'a') + u"/Ärger €/"_s
                + QString(120, u'b') + u"/\U0001F4C4 "_s + QString(40, u'c') + u".vnt"_s;
        QVERIFY(path.size() > 300);
        CVornDocument document;
        AddBand(document, u"Lines"_s, QString());
        MarkSaved(document, path);
        CEngineScript script({});
        CScriptedRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));

        QCOMPARE(runner.Run(document), Outcome::Succeeded);
        QCOMPARE(script.Record().value(0), u"path\t"_s + path);
    }

    void unsavedNewReportIsRefused()
    {
        CVornDocument document;
        AddBand(document, u"Lines"_s, QString());
        CScriptedRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(EnginesFolder("good"));
        QCOMPARE(runner.Run(document), Outcome::NotSaved);
        QCOMPARE(ui.messages, QStringList {notSaved});
    }

    void libraryUnloadedAfterTheRun_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QStringList>("commands");
        QTest::addColumn<int>("outcome");

        QTest::newRow("success") << EnginesFolder("good") << QStringList {u"result\t1"_s}
                                 << int(Outcome::Succeeded);
        QTest::newRow("engine failure") << EnginesFolder("good") << QStringList {u"result\t0"_s}
                                        << int(Outcome::EngineFailed);
        QTest::newRow("no entry") << EnginesFolder("noexport") << QStringList {}
                                  << int(Outcome::EntryMissing);
    }

    void libraryUnloadedAfterTheRun()
    {
        QFETCH(QString, folder);
        QFETCH(QStringList, commands);
        QFETCH(int, outcome);

        CVornDocument document;
        AddBand(document, u"Lines"_s, QString());
        MarkSaved(document);
        CEngineScript script(commands);
        CScriptedRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(folder);

        QVERIFY(!IsLoaded(runner.GetEnginePath()));
        QCOMPARE(int(runner.Run(document)), outcome);
        QVERIFY(!IsLoaded(runner.GetEnginePath()));
    }

    void badLibraryEndsInOneMessage_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("mentions");

        const QString loadFailed = u"Failed to load reporting engine DLL: "_s;
        QTest::newRow("not a shared library") << EnginesFolder("notelf") << int(Outcome::LoadFailed)
                                              << loadFailed << u"libvantel.so"_s;
        QTest::newRow("missing dependency")
                << EnginesFolder("missingdep") << int(Outcome::LoadFailed) << loadFailed
                << u"libvantel_run_dependency.so"_s;
        QTest::newRow("unresolved symbol")
                << EnginesFolder("unresolved") << int(Outcome::LoadFailed) << loadFailed
                << u"vantelRunTestNowhereDefined"_s;
        QTest::newRow("no entry")
                << EnginesFolder("noexport") << int(Outcome::EntryMissing)
                << u"Failed to get a pointer to a function in the reporting engine DLL"_s
                << QString();
    }

    void badLibraryEndsInOneMessage()
    {
        QFETCH(QString, folder);
        QFETCH(int, outcome);
        QFETCH(QString, start);
        QFETCH(QString, mentions);

        CVornDocument document;
        AddLinesBand(document);
        MarkSaved(document);
        CEngineScript script({});
        CScriptedRunUi ui;
        CReportRunner runner(ui);
        runner.SetProgramFolder(folder);

        QCOMPARE(int(runner.Run(document)), outcome);
        QCOMPARE(ui.messages.size(), 1);
        QVERIFY2(ui.messages[0].startsWith(start), qPrintable(ui.messages[0]));
        QVERIFY2(ui.messages[0].contains(mentions), qPrintable(ui.messages[0]));
        QVERIFY(ui.messages[0].size() > start.size() || mentions.isEmpty());
        QVERIFY(!document.IsModified());

        // The designer goes on: the next run with a sound engine works.
        runner.SetProgramFolder(EnginesFolder("good"));
        QCOMPARE(runner.Run(document), Outcome::Succeeded);
        QVERIFY(!script.Record().isEmpty());
    }
};

VANTEL_TEST_CLASS(TestReportRunner)
#include "tst_reportrunner.moc"
