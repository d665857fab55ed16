#include "pagemodel.h"
#include "previewview.h"
#include "previewwnd.h"
#include "reportfixture.h"
#include "reportprinter.h"
#include "testregistry.h"

#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

QString PdfText(const QString &path)
{
    QProcess process;
    process.start(u"pdftotext"_s, {path, u"-"_s});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

bool WaitForLayout(CPreviewWnd &window)
{
    return QTest::qWaitFor([&window] { return !window.IsLayoutRunning(); }, 60000);
}

QString PageLabel(const CPreviewWnd &window)
{
    return window.findChild<QLabel *>(u"PageLabel"_s)->text();
}

} // namespace

// A user opens the preview of a list report: the pages arrive, they move from page to page
// with the buttons and keys, zoom, export a PDF, and stop a long layout with Cancel.
class TestPreviewWnd : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        m_folder = m_dir.path();
        QCOMPARE(ReportFixture::CreatePeople(m_dir.filePath(u"people.db"_s), 20000), QString());
        ReportFixture::MakeListReport(m_report, u"people.db"_s,
                                      u"SELECT Name FROM People WHERE Id <= {LAST} ORDER BY Id"_s);
    }

    void init()
    {
        QSettings(u"Vantel"_s, u"Vantel"_s).remove(u"Preview"_s);
    }

    void pagesNavigationAndZoom()
    {
        CPreviewWnd window(m_report, Options(u"100"_s), u"People"_s);
        window.show();
        window.StartLayout();
        QVERIFY(WaitForLayout(window));
        QVERIFY(window.IsLayoutComplete());
        // 29 rows of 10 mm on an A4 page.
        QCOMPARE(window.GetPageCount(), 4);
        QCOMPARE(PageLabel(window), u"Page 1 of 4"_s);

        window.NextPage();
        QCOMPARE(window.GetCurrentPage(), 1);
        QCOMPARE(PageLabel(window), u"Page 2 of 4"_s);
        QTest::keyClick(window.GetView(), Qt::Key_End);
        QCOMPARE(window.GetCurrentPage(), 3);
        QTest::keyClick(window.GetView(), Qt::Key_PageUp);
        QCOMPARE(window.GetCurrentPage(), 2);
        QTest::keyClick(window.GetView(), Qt::Key_Home);
        QCOMPARE(window.GetCurrentPage(), 0);
        window.PreviousPage();
        QCOMPARE(window.GetCurrentPage(), 0);

        window.ActualSize();
        QCOMPARE(window.GetZoom(), 1.0);
        window.ZoomIn();
        QCOMPARE(window.GetZoom(), 1.25);
        QWheelEvent wheel(QPointF(50, 50), window.GetView()->mapToGlobal(QPointF(50, 50)),
                          QPoint(), QPoint(0, -120), Qt::NoButton, Qt::ControlModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(window.GetView()->viewport(), &wheel);
        QCOMPARE(window.GetZoom(), 1.0);
        window.FitPage();
        const QSize page = window.GetView()->GetGeometry().PagePixelSize();
        QVERIFY(page.height() <= window.GetView()->viewport()->height());
        QCOMPARE(window.GetZoomMode(), CPreviewWnd::ZoomMode::FitPage);

        // The zoom is remembered for the next window.
        window.SetZoom(0.75);
        window.close();
        CPreviewWnd next(m_report, Options(u"1"_s), u"People"_s);
        QCOMPARE(next.GetZoom(), 0.75);
    }

    void exportWritesTheValues()
    {
        CPreviewWnd window(m_report, Options(u"45"_s), u"People"_s);
        window.StartLayout();
        QVERIFY(WaitForLayout(window));
        const QString path = m_dir.filePath(u"export.pdf"_s);
        QString message;
        QVERIFY2(window.ExportPdf(path, message), qPrintable(message));
        const QString text = PdfText(path);
        QVERIFY(text.contains(u"Person 1\n"_s));
        QVERIFY(text.contains(u"Person 45"_s));
        QVERIFY(!text.contains(u"Person 46"_s));
    }

    void printsThePagesAsked()
    {
        CPreviewWnd window(m_report, Options(u"100"_s), u"People"_s);
        window.StartLayout();
        QVERIFY(WaitForLayout(window));
        // A PDF printer stands in for paper; pages 2 to 3 of 4.
        const QString path = m_dir.filePath(u"printed.pdf"_s);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(path);
        ReportPrinter::PreparePrinter(window.GetModel(), printer);
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        QString message;
        QVERIFY2(ReportPrinter::PrintPages(window.GetModel(), printer, message),
                 qPrintable(message));
        const QString text = PdfText(path);
        QVERIFY(text.contains(u"Person 30\n"_s));
        QVERIFY(text.contains(u"Person 87\n"_s));
        QVERIFY(!text.contains(u"Person 29\n"_s));
        QVERIFY(!text.contains(u"Person 88\n"_s));
        QCOMPARE(text.count(u'\f'), 2);
    }

    void cancelStopsAndExportsNothing()
    {
        // Four hundred million rows: far more than the test waits for.
        CVornReport report;
        ReportFixture::MakeListReport(report, u"people.db"_s,
                                      u"SELECT a.Name FROM People a, People b"_s);
        CPreviewWnd window(report, Options(u"1"_s), u"People"_s);
        window.show();
        QSignalSpy finished(&window, &CPreviewWnd::layoutFinished);
        window.StartLayout();
        QVERIFY(QTest::qWaitFor([&window] { return window.GetPageCount() > 0; }, 60000));
        // Esc stops the layout but leaves the window open.
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(WaitForLayout(window));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(1).toBool(), true);
        QVERIFY(window.isVisible());
        QVERIFY(!window.IsLayoutComplete());
        const QString path = m_dir.filePath(u"cancelled.pdf"_s);
        QString message;
        QVERIFY(!window.ExportPdf(path, message));
        QVERIFY(!QFile::exists(path));
        // The next Esc closes.
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(!window.isVisible());
    }

    void failureClosesWithTheMessage()
    {
        CVornReport report;
        ReportFixture::MakeListReport(report, u"people.db"_s, u"SELECT Nme FROM People"_s);
        CPreviewWnd window(report, Options(u"1"_s), u"People"_s);
        QString message;
        QVERIFY(!window.Run(message));
        QVERIFY2(message.contains(u"Rows"_s), qPrintable(message));
    }

private:
    CRunOptions Options(const QString &last) const
    {
        CRunOptions options;
        options.reportFolder = m_folder;
        options.parameter = [last](const QString &, const QString &name) {
            return name.compare(u"LAST"_s, Qt::CaseInsensitive) == 0 ? last : QString();
        };
        return options;
    }

    QTemporaryDir m_dir;
    QString m_folder;
    CVornReport m_report;
};

VANTEL_TEST_CLASS(TestPreviewWnd)
#include "tst_previewwnd.moc"
