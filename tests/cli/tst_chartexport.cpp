#include "chartlayout.h"
#include "exporter.h"
#include "pagemodel.h"
#include "testregistry.h"

#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

namespace {

// The extents of every path of a drawing filled with fill (on the path or inherited from a
// group), in the drawing's own units: an SVG file as the SVG export writes it, or the SVG
// drawings of an HTML page.
std::vector<QRectF> PathExtents(const QByteArray &document, const QString &fill)
{
    std::vector<QRectF> extents;
    QXmlStreamReader xml(document);
    static const QRegularExpression point(uR"((-?[\d.]+)[ ,](-?[\d.]+))"_s);
    QStringList fills {QString()};
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::EndElement)
            fills.removeLast();
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QString own = xml.attributes().value(u"fill"_s).toString();
        fills.push_back(own.isEmpty() ? fills.back() : own);
        if (xml.name() != u"path"_s || fills.back().compare(fill, Qt::CaseInsensitive))
            continue;
        const QString d = xml.attributes().value(u"d"_s).toString();
        double left = 1e300, top = 1e300, right = -1e300, bottom = -1e300;
        const auto add = [&](double x, double y) {
            left = std::min(left, x), right = std::max(right, x);
            top = std::min(top, y), bottom = std::max(bottom, y);
        };
        // Coordinates come in pairs, "x,y" or "x y", after M and L alike.
        for (auto it = point.globalMatch(d); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            add(m.captured(1).toDouble(), m.captured(2).toDouble());
        }
        if (left <= right)
            extents.push_back(QRectF(QPointF(left, top), QPointF(right, bottom)));
    }
    return extents;
}

} // namespace

// A chart's page written as SVG and HTML and read back: its bars as long as the data says.
class TestChartExport : public QObject
{
    Q_OBJECT

private slots:
    void barsReadBack_data();
    void barsReadBack();
};

void TestChartExport::barsReadBack_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<double>("unit"); // of the drawing, in hundredths of a millimetre
    QTest::newRow("SVG") << u"chart.svg"_s << 2540.0 / 96;
    QTest::newRow("HTML") << u"chart.html"_s << 1.0;
}

void TestChartExport::barsReadBack()
{
    QFETCH(QString, file);
    QFETCH(double, unit);
    const std::vector<double> values {12, 30, -6, 18};
    CChartData data;
    data.series.push_back({u"Sales"_s, 0xFF336699, {}});
    for (size_t i = 0; i < values.size(); ++i) {
        data.categories.push_back(u"Q%1"_s.arg(i + 1));
        data.series[0].values.push_back(values[i]);
    }
    CChartStyle style;
    style.title = u"Sales by quarter"_s;
    style.valueLabels = true;
    CPageModel model;
    model.SetPageSize({21000, 29700});
    auto page = std::make_shared<CPage>(
            std::make_shared<const CPageFontTable>(CPageFontTable {{u"DejaVu Sans"_s, 8}}));
    for (CPageItem &item : LayoutChart(data, {2000, 3000, 17000, 13000}, style))
        page->Add(std::move(item));
    model.AddPage(page);

    QTemporaryDir dir;
    CExportOptions options;
    QVERIFY(ExportFiles::FormatOf(file, options.format));
    options.path = dir.filePath(file);
    QString message;
    QVERIFY2(ExportModel(model, options, message), qPrintable(message));
    QFile written(options.path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const std::vector<QRectF> bars = PathExtents(written.readAll(), u"#336699"_s);
    QCOMPARE(bars.size(), values.size());
    // Heights at one scale to 0.01 mm, the negative bar hanging from the others' base.
    const double scale = bars[0].height() * unit / values[0];
    for (size_t i = 0; i < bars.size(); ++i) {
        QVERIFY2(std::abs(bars[i].height() * unit - std::abs(values[i]) * scale) < 1.0,
                 qPrintable(u"bar %1: %2"_s.arg(i).arg(bars[i].height() * unit)));
        const double base = values[i] < 0 ? bars[i].top() : bars[i].bottom();
        QVERIFY(std::abs((base - bars[0].bottom()) * unit) < 1.0);
        if (i > 0)
            QVERIFY(bars[i].left() > bars[i - 1].right());
    }
}

VANTEL_TEST_CLASS(TestChartExport)
#include "tst_chartexport.moc"
