#include "livepanes.h"
#include "mainframe.h"
#include "modalanswer.h"
#include "problemswnd.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertygridproperty.h"
#include "quarndoc.h"
#include "reportfile.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornreport.h"

#include <QFile>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

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

    // The same report's fault is listed in the Problems pane and counted in the status bar; a
    // double-click on it selects the band and puts the focus on the row at fault; once mended,
    // the list is empty before anything is drawn.
    void problemsListedChosenAndMended()
    {
        QSettings().clear();
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        const QString path = TestUtil::FixturePath(QStringLiteral("invalid_report.vnt"));
        {
            CModalAnswer ok(QMessageBox::Ok);
            QVERIFY(frame.OpenDocumentFile(path));
        }
        CLivePanes *panes = frame.GetLivePanes();
        QTreeWidget *list = panes->GetProblems()->GetList();
        QCOMPARE(list->topLevelItemCount(), 1);
        QCOMPARE(list->topLevelItem(0)->text(0), u"Lines"_s);
        QCOMPARE(list->topLevelItem(0)->text(1),
                 u"Band #0 will not fit page height if printed with page header and footer"_s);
        QCOMPARE(panes->GetProblemCount()->text(), u"1 error"_s);

        QTest::mouseClick(panes->GetProblemCount(), Qt::LeftButton);
        QVERIFY(panes->GetProblems()->isVisible());
        emit list->itemActivated(list->topLevelItem(0), 0);
        CVornBand *band = doc.GetReport().GetBands()[0];
        QVERIFY(band->IsSelected());
        CPropertyGridProperty *row = frame.GetPropertiesWnd()->GetPropertyGrid()->GetCurrentRow();
        QVERIFY(row);
        QCOMPARE(row->GetName(), u"Band Height"_s);

        band->SetHeight(2000);
        doc.ReportChanged();
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(panes->GetProblemCount()->text(), u"No problems"_s);
    }
};

VANTEL_TEST_CLASS(TestReportWithErrors)
#include "tst_reportwitherrors.moc"
