#include "appinstance.h"
#include "mainframe.h"
#include "modalanswer.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertygridproperty.h"
#include "propertyid.h"
#include "quarndoc.h"
#include "recoverymanager.h"
#include "reportedit.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornitems.h"

#include <QDir>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The text, or its start when the pattern ends in "*".
bool Matches(const QString &text, const QString &pattern)
{
    return pattern.endsWith(u'*') ? text.startsWith(pattern.chopped(1)) : text == pattern;
}

QStringList RecoveryFiles()
{
    return QDir(CRecoveryManager::RecoveryFolder())
            .entryList({QStringLiteral("*.vnt")}, QDir::Files);
}

// A report the user has been working on: one band named after the case.
void Edit(CQuarnDoc &doc, const QString &bandName, int height = 2540)
{
    auto band = std::make_unique<CVornBand>(VornKind::ReportContents, bandName);
    band->SetHeight(height);
    CReportEdit edit(doc, QStringLiteral("Insert"));
    edit.InsertBand(doc.GetReport().GetBands().GetCount(), std::move(band));
}

} // namespace

// The user starts the designer, with or without a file, works, and exits; or the designer
// dies while a modified report is open and the next start offers the automatically saved copy
// back, as it was and with its own path.
class TestAppInstance : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        QSettings().clear();
        QDir(CRecoveryManager::RecoveryFolder()).removeRecursively();
    }
    void cleanup()
    {
        QSettings().clear();
        QDir(CRecoveryManager::RecoveryFolder()).removeRecursively();
    }

    void startWithoutAFile()
    {
        CAppInstance app;
        QVERIFY(app.Start({}));
        CQuarnDoc *doc = app.GetDocument();
        QVERIFY(app.GetMainFrame()->isVisible());
        QVERIFY(doc->GetPathName().isEmpty());
        QVERIFY(!doc->IsModified());
        QCOMPARE(app.GetMainFrame()->windowTitle(), QStringLiteral("Untitled[*] - Vantel"));
        // The view's first update shows the report's page.
        QVERIFY(app.GetMainFrame()->GetPropertiesWnd()->GetPropertyGrid()->FindRow(RowId::Title));
        QVERIFY(app.GetRecovery()->IsActive());
        QCOMPARE(app.GetRecovery()->GetInterval(), CRecoveryManager::DefaultInterval);
    }

    void startWithAFile_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QString>("message");

        QTest::newRow("a report") << TestUtil::FixturePath(QStringLiteral("full_report.vnt"))
                                  << true << QString();
        // Opened after its message, to be mended in the designer.
        QTest::newRow("an invalid report")
                << TestUtil::FixturePath(QStringLiteral("invalid_report.vnt")) << true
                << QStringLiteral("*");
        QTest::newRow("a missing file")
                << QStringLiteral("/nonexistent/missing.vnt") << false
                << QStringLiteral("File not found: /nonexistent/missing.vnt");
    }
    void startWithAFile()
    {
        QFETCH(QString, file);
        QFETCH(bool, starts);
        QFETCH(QString, message);

        CModalAnswer answer(QMessageBox::Ok);
        CAppInstance app;
        QCOMPARE(app.Start({file}), starts);
        QCOMPARE(app.GetMainFrame()->isVisible(), starts);
        if (starts) {
            QCOMPARE(app.GetDocument()->GetPathName(), QFileInfo(file).absoluteFilePath());
            QCOMPARE(app.GetMainFrame()->GetRecentFiles().GetFiles(),
                     QStringList({QFileInfo(file).absoluteFilePath()}));
        }
        QCOMPARE(answer.texts.size(), message.isEmpty() ? 0 : 1);
        if (!message.isEmpty())
            QVERIFY2(Matches(answer.texts.constFirst(), message),
                     qPrintable(answer.texts.constFirst()));
    }

    void gridSettingWrittenAtExit()
    {
        {
            CAppInstance app;
            QVERIFY(app.Start({}));
            QVERIFY(app.GetDocument()->IsGridOn());
            app.GetMainFrame()->GetAlignToGridAction()->trigger();
            QVERIFY(!app.GetDocument()->IsGridOn());
            QVERIFY(!app.GetMainFrame()->GetAlignToGridAction()->isChecked());
            QVERIFY(!QSettings().contains(CQuarnDoc::GridSettingKey()));
        }
        QCOMPARE(QSettings().value(CQuarnDoc::GridSettingKey()).toInt(), 0);
        CAppInstance again;
        QVERIFY(again.Start({}));
        QVERIFY(!again.GetDocument()->IsGridOn());
        QVERIFY(!again.GetMainFrame()->GetAlignToGridAction()->isChecked());
    }

    void autosaveKeepsTheDocumentAsItIs()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("orders.vnt"));
        CAppInstance app;
        QVERIFY(app.Start({}));
        CQuarnDoc *doc = app.GetDocument();
        CRecoveryManager *recovery = app.GetRecovery();

        // Nothing to keep while the report is unchanged.
        QVERIFY(!recovery->Autosave());
        QVERIFY(RecoveryFiles().isEmpty());

        QVERIFY(app.GetMainFrame()->SaveDocumentTo(path));
        Edit(*doc, QStringLiteral("Orders"));
        recovery->Start(20);
        QTRY_VERIFY(QFile::exists(recovery->GetRecoveryFile()));
        QVERIFY(doc->IsModified());
        QCOMPARE(doc->GetPathName(), path);
        QCOMPARE(app.GetMainFrame()->windowTitle(), QStringLiteral("orders.vnt[*] - Vantel"));
        QVERIFY(QFile::exists(recovery->GetNoteFile()));

        // Saving makes the copy needless.
        QVERIFY(app.GetMainFrame()->DoFileSave());
        QVERIFY(!QFile::exists(recovery->GetRecoveryFile()));
        QVERIFY(!QFile::exists(recovery->GetNoteFile()));

        // So does a new report.
        Edit(*doc, QStringLiteral("More"));
        QVERIFY(recovery->Autosave());
        CModalAnswer answer(QMessageBox::No);
        QVERIFY(app.GetMainFrame()->DoFileNew());
        QCOMPARE(answer.texts, QStringList({u"Save changes to orders.vnt?"_s}));
        QVERIFY(!QFile::exists(recovery->GetRecoveryFile()));
    }

    void normalEndRemovesTheCopy()
    {
        {
            CAppInstance app;
            QVERIFY(app.Start({}));
            Edit(*app.GetDocument(), QStringLiteral("Orders"));
            QVERIFY(app.GetRecovery()->Autosave());
            QCOMPARE(RecoveryFiles().size(), 1);
            app.GetDocument()->SetModifiedFlag(false);
            QVERIFY(RecoveryFiles().isEmpty());
            Edit(*app.GetDocument(), QStringLiteral("Again"));
            QVERIFY(app.GetRecovery()->Autosave());
        }
        QVERIFY(RecoveryFiles().isEmpty());
        QVERIFY(QDir(CRecoveryManager::RecoveryFolder()).entryList(QDir::Files).isEmpty());
    }

    void restoreAfterACrash_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<int>("bandHeight");

        QTest::newRow("untitled report") << false << 2540;
        QTest::newRow("saved report") << true << 2540;
        // A report may be kept while it fails the checks that opening it would make.
        QTest::newRow("band taller than the page") << true << 40000;
    }
    void restoreAfterACrash()
    {
        QFETCH(bool, saved);
        QFETCH(int, bandHeight);

        QTemporaryDir dir;
        const QString path = saved ? dir.filePath(QStringLiteral("orders.vnt")) : QString();
        {
            CAppInstance crashed;
            QVERIFY(crashed.Start({}));
            if (saved)
                QVERIFY(crashed.GetMainFrame()->SaveDocumentTo(path));
            crashed.GetDocument()->GetReport().SetTitle(QStringLiteral("Monthly orders"));
            Edit(*crashed.GetDocument(), QStringLiteral("Orders"), bandHeight);
            QVERIFY(crashed.GetRecovery()->Autosave());
            crashed.GetRecovery()->Abandon();
        }
        QCOMPARE(RecoveryFiles().size(), 1);

        // The next start offers it, even with a file on the command line.
        std::optional<CModalAnswer> answer;
        answer.emplace(QMessageBox::Yes);
        CAppInstance app;
        QVERIFY(app.Start({TestUtil::FixturePath(QStringLiteral("full_report.vnt"))}));
        QCOMPARE(answer->titles, QStringList({u"Vantel"_s}));
        QVERIFY2(answer->texts.constFirst().contains(saved ? QStringLiteral("\"orders.vnt\"")
                                                           : QStringLiteral("\"Untitled\"")),
                 qPrintable(answer->texts.constFirst()));
        QVERIFY(answer->texts.constFirst().endsWith(QStringLiteral("Do you want to restore it?")));

        CQuarnDoc *doc = app.GetDocument();
        QVERIFY(doc->IsModified());
        QCOMPARE(doc->GetPathName(), path);
        QCOMPARE(doc->GetReport().GetTitle(), QStringLiteral("Monthly orders"));
        QCOMPARE(doc->GetReport().GetBands().GetCount(), 1);
        QCOMPARE(doc->GetReport().GetBands()[0]->GetName(), QStringLiteral("Orders"));
        QCOMPARE(doc->GetReport().GetBands()[0]->GetHeight(), bandHeight);
        CPropertyGridProperty *title
                = app.GetMainFrame()->GetPropertiesWnd()->GetPropertyGrid()->FindRow(RowId::Title);
        QCOMPARE(title->GetValue(), QStringLiteral("Monthly orders"));

        // Only this session's own copy of the restored work is left.
        QCOMPARE(RecoveryFiles(),
                 QStringList({QFileInfo(app.GetRecovery()->GetRecoveryFile()).fileName()}));
        if (saved) {
            // Save writes where the report came from (a report with errors after asking).
            answer.reset();
            CModalAnswer saveAnyway(QMessageBox::Save);
            QVERIFY(app.GetMainFrame()->DoFileSave());
            const QByteArray bytes = TestUtil::ReadAll(path);
            QVERIFY(QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                       bytes.size() / 2)
                            .contains(QStringLiteral("Monthly orders")));
            QVERIFY(!doc->IsModified());
            QVERIFY(RecoveryFiles().isEmpty());
        }
    }

    void decliningRemovesTheCopy()
    {
        {
            CAppInstance crashed;
            QVERIFY(crashed.Start({}));
            Edit(*crashed.GetDocument(), QStringLiteral("Orders"));
            QVERIFY(crashed.GetRecovery()->Autosave());
            crashed.GetRecovery()->Abandon();
        }
        const QString file = TestUtil::FixturePath(QStringLiteral("full_report.vnt"));
        {
            CModalAnswer answer(QMessageBox::No);
            CAppInstance app;
            QVERIFY(app.Start({file}));
            QCOMPARE(answer.dialogs, 1);
            // The file named on the command line opens instead.
            QCOMPARE(app.GetDocument()->GetPathName(), QFileInfo(file).absoluteFilePath());
            QVERIFY(!app.GetDocument()->IsModified());
            QVERIFY(RecoveryFiles().isEmpty());
        }
        CModalAnswer none(QMessageBox::Yes);
        CAppInstance next;
        QVERIFY(next.Start({}));
        QCOMPARE(none.dialogs, 0);
    }

    void aRunningDesignerIsNoCrash()
    {
        CAppInstance first;
        QVERIFY(first.Start({}));
        Edit(*first.GetDocument(), QStringLiteral("Orders"));
        QVERIFY(first.GetRecovery()->Autosave());

        CModalAnswer answer(QMessageBox::Yes);
        CAppInstance second;
        QVERIFY(second.Start({}));
        QCOMPARE(answer.dialogs, 0);
        QVERIFY(QFile::exists(first.GetRecovery()->GetRecoveryFile()));
        QVERIFY(!second.GetDocument()->IsModified());
    }

    void unreadableCopy()
    {
        {
            CAppInstance crashed;
            QVERIFY(crashed.Start({}));
            Edit(*crashed.GetDocument(), QStringLiteral("Orders"));
            QVERIFY(crashed.GetRecovery()->Autosave());
            QVERIFY(TestUtil::WriteAll(crashed.GetRecovery()->GetRecoveryFile(), "<rep"));
            crashed.GetRecovery()->Abandon();
        }
        CModalAnswer answer(QMessageBox::Yes);
        CAppInstance app;
        QVERIFY(app.Start({}));
        QCOMPARE(answer.texts.size(), 2);
        QVERIFY2(answer.texts.at(1).startsWith(
                         QStringLiteral("The automatically saved report could not be restored: ")),
                 qPrintable(answer.texts.at(1)));
        QVERIFY(!app.GetDocument()->IsModified());
        QCOMPARE(app.GetDocument()->GetReport().GetBands().GetCount(), 0);
        QVERIFY(RecoveryFiles().isEmpty());
    }
};

VANTEL_TEST_CLASS(TestAppInstance)
#include "tst_appinstance.moc"
