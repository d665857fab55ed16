#include "pagecontent.h"
#include "pagemodel.h"
#include "reportprinter.h"
#include "testregistry.h"

#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

constexpr double PointsPerUnit = 72 / 2540.0;

// Where pdftotext finds a word on the first page, in points from the top left, and the page.
struct Found
{
    QSizeF page;
    QPointF top;
    QPointF bottom;
};

Found Find(const QString &pdf)
{
    QProcess tool;
    tool.start(u"pdftotext"_s, {u"-bbox"_s, u"-f"_s, u"1"_s, u"-l"_s, u"1"_s, pdf, u"-"_s});
    tool.waitForFinished(60000);
    const QString html = QString::fromUtf8(tool.readAllStandardOutput());
    Found found;
    const auto page
            = QRegularExpression(u"<page width=\"([\\d.]+)\" height=\"([\\d.]+)\""_s).match(html);
    found.page = QSizeF(page.captured(1).toDouble(), page.captured(2).toDouble());
    for (auto it
         = QRegularExpression(u"<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" [^>]*>(\\w+)<"_s)
                   .globalMatch(html);
         it.hasNext();) {
        const auto word = it.next();
        const QPointF at(word.captured(1).toDouble(), word.captured(2).toDouble());
        (word.captured(3) == u"TOPLEFT"_s ? found.top : found.bottom) = at;
    }
    return found;
}

} // namespace

// Reports printed through QPrinter's PDF output, which stands in for paper: each page on a
// sheet of the report's size, or placed whole on the paper a printer was left with.
class TestReportPrinter : public QObject
{
    Q_OBJECT

private slots:
    void paperChoice_data()
    {
        QTest::addColumn<QSize>("report"); // hundredths of a millimetre, as the page lies
        QTest::addColumn<int>("paper"); // QPageSize::PageSizeId the printer keeps; -1: none
        QTest::addColumn<QSizeF>("sheet"); // points
        QTest::addColumn<double>("scale");
        QTest::addColumn<QPointF>("offset"); // where the page's corner lands, in points
        QTest::newRow("A5 on its own sheet")
                << QSize(14800, 21000) << -1 << QSizeF(419.5, 595.3) << 1.0 << QPointF(0, 0);
        QTest::newRow("A4 landscape on its own sheet")
                << QSize(29700, 21000) << -1 << QSizeF(841.9, 595.3) << 1.0 << QPointF(0, 0);
        QTest::newRow("A5 left on A4 paper: real size, in the middle")
                << QSize(14800, 21000) << int(QPageSize::A4) << QSizeF(595.3, 841.9) << 1.0
                << QPointF((595.3 - 419.5) / 2, (841.9 - 595.3) / 2);
        // A4 is 17.6 mm higher than Letter: scaled down to fit whole, nothing cut.
        QTest::newRow("A4 on a Letter printer")
                << QSize(21000, 29700) << int(QPageSize::Letter) << QSizeF(612, 792) << 792 / 841.89
                << QPointF((612 - 595.28 * 792 / 841.89) / 2, 0);
    }

    void paperChoice()
    {
        QFETCH(QSize, report);
        QFETCH(int, paper);
        QFETCH(QSizeF, sheet);
        QFETCH(double, scale);
        QFETCH(QPointF, offset);

        CPageModel model;
        model.SetPageSize(report);
        auto page = std::make_shared<CPage>(
                std::make_shared<const CPageFontTable>(CPageFontTable {{u"Arial"_s, 10}}));
        for (const auto &[word, top] :
             {std::pair(u"TOPLEFT"_s, 1000), std::pair(u"BOTTOM"_s, report.height() - 1000)}) {
            CPageText text;
            text.box = {1000, top, 6000, top + 1000};
            text.text = word;
            text.wordWrap = false;
            page->Add(text);
        }
        model.AddPage(page);
        model.SetComplete();

        QTemporaryDir dir;
        const QString pdf = dir.filePath(u"printed.pdf"_s);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        ReportPrinter::PreparePrinter(model, printer);
        // A printer that kept its own paper, as a dialog may leave it.
        if (paper >= 0)
            printer.setPageSize(QPageSize(QPageSize::PageSizeId(paper)));
        QString message;
        QVERIFY2(ReportPrinter::PrintPages(model, printer, message), qPrintable(message));

        const Found found = Find(pdf);
        QVERIFY(std::abs(found.page.width() - sheet.width()) < 1);
        QVERIFY(std::abs(found.page.height() - sheet.height()) < 1);
        // Both words at their places scaled and moved as a whole page; the bottom one on paper.
        const QPointF top = offset + QPointF(1000, 1000) * PointsPerUnit * scale;
        const QPointF bottom
                = offset + QPointF(1000, report.height() - 1000) * PointsPerUnit * scale;
        QVERIFY2((found.top - top).manhattanLength() < 6,
                 qPrintable(u"TOPLEFT at %1,%2, expected %3,%4"_s.arg(found.top.x())
                                    .arg(found.top.y())
                                    .arg(top.x())
                                    .arg(top.y())));
        QVERIFY2((found.bottom - bottom).manhattanLength() < 6,
                 qPrintable(u"BOTTOM at %1,%2, expected %3,%4"_s.arg(found.bottom.x())
                                    .arg(found.bottom.y())
                                    .arg(bottom.x())
                                    .arg(bottom.y())));
    }

    void placeOnPaper_data()
    {
        QTest::addColumn<QSizeF>("page");
        QTest::addColumn<QSizeF>("paper");
        QTest::addColumn<QRectF>("placed");
        QTest::newRow("same size")
                << QSizeF(210, 297) << QSizeF(210, 297) << QRectF(0, 0, 210, 297);
        QTest::newRow("a rounding apart")
                << QSizeF(210, 297) << QSizeF(209.9, 296.9) << QRectF(-0.05, -0.05, 210, 297);
        QTest::newRow("wider than the paper")
                << QSizeF(420, 100) << QSizeF(210, 297) << QRectF(0, 123.5, 210, 50);
        QTest::newRow("no paper") << QSizeF(210, 297) << QSizeF() << QRectF();
    }
    void placeOnPaper()
    {
        QFETCH(QSizeF, page);
        QFETCH(QSizeF, paper);
        QFETCH(QRectF, placed);
        const QRectF result = ReportPrinter::PlaceOnPaper(page, paper);
        QVERIFY2(std::abs(result.x() - placed.x()) < 1e-6
                         && std::abs(result.y() - placed.y()) < 1e-6
                         && std::abs(result.width() - placed.width()) < 1e-6
                         && std::abs(result.height() - placed.height()) < 1e-6,
                 qPrintable(u"%1,%2 %3x%4"_s.arg(result.x())
                                    .arg(result.y())
                                    .arg(result.width())
                                    .arg(result.height())));
    }
};

VANTEL_TEST_CLASS(TestReportPrinter)
#include "tst_reportprinter.moc"
