#include "mainframe.h"
#include "modalanswer.h"
#include "quarndoc.h"
#include "reportfile.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornreport.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

// The user opens a report that fails validation: after its message it opens, to be mended.
// Saving it asks first; "Go Back" writes nothing, "Save Anyway" writes what File Open will
// refuse with the same message.
class TestReportWithErrors : public QObject
{
    Q_OBJECT

private slots:
    void openThenSave_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("saved");
        QTest::newRow("go back") << int(QMessageBox::Cancel) << false;
        QTest::newRow("save anyway") << int(QMessageBox::Save) << true;
    }
    void openThenSave()
    {
        QFETCH(int, answer);
        QFETCH(bool, saved);
        QSettings().clear();
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        const QString path = TestUtil::FixturePath(QStringLiteral("invalid_report.vnt"));
        QString problem;
        CVornReport expected;
        QVERIFY(!VornTemplate::Load(expected, path, problem));
        {
            CModalAnswer ok(QMessageBox::Ok);
            QVERIFY(frame.OpenDocumentFile(path));
            QCOMPARE(ok.texts, QStringList({problem}));
        }
        QCOMPARE(doc.GetPathName(), path);
        QCOMPARE(doc.GetReport().GetBands().GetCount(), expected.GetBands().GetCount());

        QTemporaryDir dir;
        const QString copy = dir.filePath(QStringLiteral("copy.vnt"));
        CModalAnswer modal {QMessageBox::StandardButton(answer)};
        QCOMPARE(frame.SaveDocumentTo(copy), saved);
        QCOMPARE(modal.texts.size(), 1);
        QVERIFY2(modal.texts.constFirst().contains(problem), qPrintable(modal.texts.constFirst()));
        QCOMPARE(QFile::exists(copy), saved);
        if (saved) {
            CVornReport reread;
            QString again;
            QVERIFY(!VornTemplate::Load(reread, copy, again));
            QCOMPARE(again, problem);
        }
    }
};

VANTEL_TEST_CLASS(TestReportWithErrors)
#include "tst_reportwitherrors.moc"
