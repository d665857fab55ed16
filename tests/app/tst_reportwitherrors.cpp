#include "columnlookup.h"
#include "datapanelink.h"
#include "livepanes.h"
#include "mainframe.h"
#include "modalanswer.h"
#include "problemswnd.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertygridproperty.h"
#include "propertyid.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "reportfile.h"
#include "testregistry.h"
#include "testutil.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QFile>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QUndoStack>

using namespace Qt::StringLiterals;

// The user opens a report that fails validation: after its message it opens, to be mended.
// Saving it asks first; "Go Back" writes nothing, "Save Anyway" writes it, and File Open shows
// the same message again before it opens.
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
        QCOMPARE(modal.texts,
                 QStringList {u"This report has errors. File Open will show this message and "
                              u"open it to be mended, but Run and Preview will refuse it until "
                              u"it is:\n\n%1\n\nSave it anyway?"_s.arg(problem)});
        QCOMPARE(QFile::exists(copy), saved);
        if (saved) {
            CVornReport reread;
            QString again;
            QVERIFY(!VornTemplate::Load(reread, copy, again));
            QCOMPARE(again, problem);
        }
    }

    // The same report's fault is listed in the Problems pane and counted in the status bar; a
    // double-click on it selects the band and puts the focus on the row at fault; once mended
    // in that row, the list is empty before anything is drawn.
    void problemsListedChosenAndMended_data()
    {
        QTest::addColumn<bool>("groupOnPageHeader"); // else the band taller than the page
        QTest::addColumn<QString>("row");
        QTest::addColumn<QString>("mended");
        QTest::newRow("band height") << false << u"Band Height"_s << u"20"_s;
        // Only Report Contents bands take group bands: the name is cleared in its row.
        QTest::newRow("group header of a page header") << true << u"Group Header"_s << QString();
    }
    void problemsListedChosenAndMended()
    {
        QFETCH(bool, groupOnPageHeader);
        QFETCH(QString, row);
        QFETCH(QString, mended);
        QSettings().clear();
        QTemporaryDir dir;
        QString path = TestUtil::FixturePath(QStringLiteral("invalid_report.vnt"));
        if (groupOnPageHeader) {
            CVornReport report;
            auto *top = new CVornBand(VornKind::PageHeader, u"Top"_s);
            top->SetHeight(1000);
            top->SetHeader(u"Lines"_s);
            report.GetBands().Add(top);
            auto *lines = new CVornBand(VornKind::ReportContents, u"Lines"_s);
            lines->SetHeight(1000);
            report.GetBands().Add(lines);
            path = dir.filePath(u"group.vnt"_s);
            QString message;
            QVERIFY(VornTemplate::Save(report, path, message));
        }
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        {
            CModalAnswer ok(QMessageBox::Ok);
            QVERIFY(frame.OpenDocumentFile(path));
        }
        CLivePanes *panes = frame.GetLivePanes();
        QTreeWidget *list = panes->GetProblems()->GetList();
        QCOMPARE(list->topLevelItemCount(), 1);
        CVornBand *band = doc.GetReport().GetBands()[0];
        QCOMPARE(list->topLevelItem(0)->text(0), band->GetName());
        if (!groupOnPageHeader)
            QCOMPARE(list->topLevelItem(0)->text(1),
                     u"Band #0 will not fit page height if printed with page header and footer"_s);
        QCOMPARE(panes->GetProblemCount()->text(), u"1 error"_s);

        QTest::mouseClick(panes->GetProblemCount(), Qt::LeftButton);
        QVERIFY(panes->GetProblems()->isVisible());
        emit list->itemActivated(list->topLevelItem(0), 0);
        QVERIFY(band->IsSelected());
        CPropertyGridProperty *current
                = frame.GetPropertiesWnd()->GetPropertyGrid()->GetCurrentRow();
        QVERIFY(current);
        QCOMPARE(current->GetName(), row);

        current->SetValue(mended);
        frame.GetPropertiesWnd()->OnPropertyChanged(current);
        QCOMPARE(list->topLevelItemCount(), 0);
        QCOMPARE(panes->GetProblemCount()->text(), u"No problems"_s);
    }

    // The user mends that band's height in the Properties pane, undoes it and redoes it: the
    // report is checked once for each of the three, against the columns and for the design,
    // and the list follows.
    void oneCheckPerStep()
    {
        QSettings().clear();
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        {
            CModalAnswer ok(QMessageBox::Ok);
            QVERIFY(frame.OpenDocumentFile(TestUtil::FixturePath(u"invalid_report.vnt"_s)));
        }
        QTreeWidget *list = frame.GetLivePanes()->GetProblems()->GetList();
        QCOMPARE(list->topLevelItemCount(), 1);
        QSignalSpy designChecks(frame.GetLivePanes(), &CLivePanes::problemsChecked);
        QSignalSpy columnChecks(LookupOf(frame.GetDataPane()), &CColumnLookup::updated);
        frame.GetView()->SelectElement(doc.GetReport().GetBands()[0]);
        CPropertiesWnd *properties = frame.GetPropertiesWnd();
        CPropertyGridProperty *height = properties->GetPropertyGrid()->FindRow(RowId::BandHeight);
        QVERIFY(height);
        height->SetValue(u"20"_s);
        properties->OnPropertyChanged(height);
        QCOMPARE(designChecks.count(), 1);
        QCOMPARE(columnChecks.count(), 1);
        QCOMPARE(list->topLevelItemCount(), 0);

        doc.GetUndoStack()->undo();
        QCOMPARE(designChecks.count(), 2);
        QCOMPARE(columnChecks.count(), 2);
        QCOMPARE(list->topLevelItemCount(), 1);
        doc.GetUndoStack()->redo();
        QCOMPARE(designChecks.count(), 3);
        QCOMPARE(columnChecks.count(), 3);
        QCOMPARE(list->topLevelItemCount(), 0);
    }
};

VANTEL_TEST_CLASS(TestReportWithErrors)
#include "tst_reportwitherrors.moc"
