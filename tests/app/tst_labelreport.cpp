#include "labelsheetdlg.h"
#include "mainframe.h"
#include "modalanswer.h"
#include "quarndoc.h"
#include "testregistry.h"
#include "vornreport.h"

#include <QComboBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>

using namespace Qt::StringLiterals;

// The user chooses File > New Label Report..., picks the A4 3 x 7 sheet and gets a report of
// one label in three columns between the sheet's margins, not yet saved; Insert > Page Break
// then adds a page break after the selected label band.
class TestLabelReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void newLabelReportThenInsertMenu()
    {
        QSettings().clear();
        CQuarnDoc doc;
        CMainFrame frame(&doc);
        frame.DoFileNew();
        CModalAnswer answer(QMessageBox::Ok, [](QDialog *dialog) {
            auto *sheet = qobject_cast<CLabelSheetDlg *>(dialog);
            QVERIFY(sheet);
            sheet->GetPresets()->setCurrentIndex(1);
            dialog->accept();
        });
        QVERIFY(frame.DoFileNewLabels());
        QCOMPARE(answer.dialogs, 1);

        CVornReport &report = doc.GetReport();
        QVERIFY(doc.IsModified());
        QCOMPARE(report.GetBands().GetCount(), 3);
        const CVornBand *labels = report.GetBands()[1];
        QCOMPARE(labels->GetName(), u"Labels"_s);
        QCOMPARE(labels->GetHeight(), 3810);
        const CBandPaging &paging = labels->GetPaging();
        QCOMPARE(paging.columns, 3);
        QCOMPARE(paging.columnWidth, 6350);
        QCOMPARE(paging.columnLeft, 721);
        QCOMPARE(paging.columnGap, 254);
        QCOMPARE(report.GetBands()[0]->GetHeight(), 1515);

        report.GetBands()[1]->SetSelected(true);
        QAction *pageBreak = frame.FindCommand(32855);
        QVERIFY(pageBreak);
        pageBreak->trigger();
        QCOMPARE(report.GetBands().GetCount(), 4);
        QCOMPARE(report.GetBands()[2]->GetKind(), int(VornKind::PageBreak));
        doc.SetModifiedFlag(false);
    }
};

VANTEL_TEST_CLASS(TestLabelReport)
#include "tst_labelreport.moc"
