#include "pagemodel.h"
#include "previewview.h"
#include "previewwnd.h"
#include "reportfixture.h"
#include "reportprinter.h"
#include "testregistry.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

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

    void init() { QSettings(u"Vantel"_s, u"Vantel"_s).remove(u"Preview"_s); }

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
        QWheelEvent wheel(QPointF(50, 50), window.GetView()->mapToGlobal(QPointF(50, 50)), QPoint(),
                          QPoint(0, -120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase,
                          false);
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

    void navigationKeepsToWhatIsShown()
    {
        CPreviewWnd window(m_report, Options(u"100"_s), u"People"_s);
        // Before the first page there is no zoom to speak of; the labels keep their width.
        QCOMPARE(window.findChild<QLabel *>(u"ZoomLabel"_s)->text(), QString());
        const int labelWidth = window.findChild<QLabel *>(u"PageLabel"_s)->width();
        window.show();
        window.StartLayout();
        QVERIFY(WaitForLayout(window));
        QCOMPARE(window.findChild<QLabel *>(u"PageLabel"_s)->width(), labelWidth);
        window.ActualSize();
        QScrollBar *scroll = window.GetView()->verticalScrollBar();
        const CPreviewGeometry &geometry = window.GetView()->GetGeometry();

        // Scrolled down within page 1, Home goes back to its top.
        scroll->setValue(200);
        QCOMPARE(window.GetCurrentPage(), 0);
        QTest::keyClick(window.GetView(), Qt::Key_Home);
        QCOMPARE(scroll->value(), 0);

        // The label names the page that fills the view, not the one whose edge is at its top.
        scroll->setValue(geometry.ScrollPositionOf(1) - 40);
        QCOMPARE(PageLabel(window), u"Page 2 of 4"_s);

        // Fit Page shows the whole current page.
        scroll->setValue(geometry.ScrollPositionOf(1) + geometry.PagePixelSize().height() / 2);
        window.FitPage();
        const QRect page = geometry.PageRect(window.GetCurrentPage());
        QCOMPARE(window.GetCurrentPage(), 1);
        QVERIFY(page.top() >= scroll->value());
        QVERIFY(page.bottom() < scroll->value() + window.GetView()->viewport()->height());

        // Ctrl+= zooms in like Ctrl+plus.
        window.ActualSize();
        QTest::keyClick(&window, Qt::Key_Equal, Qt::ControlModifier);
        QCOMPARE(window.GetZoom(), 1.25);
    }

    void exportStartsInTheReportsFolder()
    {
        CPreviewWnd window(m_report, Options(u"100"_s), u"People"_s);
        window.StartLayout();
        QVERIFY(WaitForLayout(window));
        QString offered;
        QTimer::singleShot(0, &window, [&offered] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            offered = dialog->selectedFiles().value(0);
            dialog->reject();
        });
        window.ExportAs(ExportFormat::Png);
        // A report of several pages is offered a file per page.
        QCOMPARE(offered, QDir(m_folder).filePath(u"People-%d.png"_s));
    }

    void exportRunsBesideTheWindow_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("files");
        QTest::newRow("SVG per page")
                << u"people-%d.svg"_s << QStringList {u"people-1.svg"_s, u"people-4.svg"_s};
        QTest::newRow("HTML") << u"people.html"_s << QStringList {u"people.html"_s};
        QTest::newRow("CSV") << u"people.csv"_s << QStringList {u"people.csv"_s};
        QTest::newRow("XLSX") << u"people.xlsx"_s << QStringList {u"people.xlsx"_s};
    }
    void exportRunsBesideTheWindow()
    {
        QFETCH(QString, name);
        QFETCH(QStringList, files);
        CPreviewWnd window(m_report, Options(u"100"_s), u"People"_s);
        window.StartLayout();
        QVERIFY(WaitForLayout(window));
        QSignalSpy done(&window, &CPreviewWnd::jobFinished);
        QTemporaryDir folder;
        CExportOptions options;
        QVERIFY(ExportFiles::FormatOf(name, options.format));
        options.path = folder.filePath(name);
        QVERIFY(window.StartExport(options));
        QVERIFY(window.IsJobRunning());
        QVERIFY(!window.findChild<QAction *>(u"ExportPdf"_s)->isEnabled());
        QVERIFY(done.wait(60000));
        QCOMPARE(done.at(0).at(0).toBool(), true);
        for (const QString &file : files)
            QVERIFY2(QFileInfo(folder.filePath(file)).size() > 0, qPrintable(file));
        QVERIFY(window.findChild<QAction *>(u"ExportPdf"_s)->isEnabled());
    }

    void cancelledExportLeavesNoFile_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("PDF") << u"all.pdf"_s;
        QTest::newRow("a PNG per page") << u"all-%d.png"_s;
        QTest::newRow("HTML") << u"all.html"_s;
    }
    void cancelledExportLeavesNoFile()
    {
        QFETCH(QString, name);
        // 20,000 rows: about 700 pages, far more than are written before Cancel.
        CPreviewWnd window(m_report, Options(u"20000"_s), u"People"_s);
        window.StartLayout();
        QVERIFY(WaitForLayout(window));
        QTemporaryDir folder;
        QSignalSpy done(&window, &CPreviewWnd::jobFinished);
        CExportOptions options;
        QVERIFY(ExportFiles::FormatOf(name, options.format));
        options.path = folder.filePath(name);
        QVERIFY(window.StartExport(options));
        QTest::keyClick(&window, Qt::Key_Escape);
        QVERIFY(done.wait(60000));
        QCOMPARE(done.at(0).at(1).toBool(), true);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
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
