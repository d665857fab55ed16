#include "pagemodel.h"
#include "pagepainting.h"
#include "reportfile.h"
#include "reportrun.h"
#include "testregistry.h"
#include "vornreport.h"

#include <QFileInfo>
#include <QPaintEngine>
#include <QPainter>
#include <QTest>

#include <algorithm>
#include <climits>

using namespace Qt::StringLiterals;

namespace {

// A paint device that keeps every run of text drawn on it with its baseline start, so that the
// lines one resolution prints can be set beside another's.
class TextRecorder final : public QPaintDevice
{
public:
    struct Run
    {
        QPointF at; // hundredths of a millimetre
        QString text;
    };

    explicit TextRecorder(int dpi)
        : m_dpi(dpi)
        , m_engine(*this)
    { }

    QPaintEngine *paintEngine() const override { return &m_engine; }

    std::vector<Run> runs;

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return m_dpi;
        case PdmWidth:
        case PdmHeight:
            return 1 << 20;
        case PdmWidthMM:
        case PdmHeightMM:
            return int((1 << 20) * 25.4 / m_dpi);
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    class Engine final : public QPaintEngine
    {
    public:
        explicit Engine(TextRecorder &device)
            : QPaintEngine(AllFeatures)
            , m_device(device)
        { }
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override { }
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override { }
        void drawPath(const QPainterPath &) override { }
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override { }
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            const double toUnits = 2540.0 / m_device.m_dpi;
            m_device.runs.push_back({p * toUnits, item.text()});
        }
        Type type() const override { return User; }

    private:
        TextRecorder &m_device;
    };

    int m_dpi;
    mutable Engine m_engine;
};

} // namespace

// Both example reports printed at the resolutions of a screen, an image and paper: every
// resolution must break every text at the same words and put each line at the same place.
class TestResolutions : public QObject
{
    Q_OBJECT

private slots:
    void sameLinesAtEveryResolution_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QString>("firstLine"); // of a text that wraps, printed alone
        QTest::newRow("invoice") << u"invoice.vnt"_s
                                 << u"Ink cartridges, colour, high-capacity XL for the"_s;
        QTest::newRow("customers") << u"customers.vnt"_s << QString();
    }

    void sameLinesAtEveryResolution()
    {
        QFETCH(QString, report);
        QFETCH(QString, firstLine);
        const QString path = QStringLiteral(VANTEL_EXAMPLES_DIR "/") + report;
        CVornReport vorn;
        QString message;
        QVERIFY2(VornTemplate::Load(vorn, path, message), qPrintable(message));
        CRunOptions options;
        options.reportFolder = QFileInfo(path).absolutePath();
        CPageModel model;
        QVERIFY2(RunReport(vorn, options, model, message), qPrintable(message));

        for (int index = 0; index < model.GetPageCount(); ++index) {
            std::vector<TextRecorder::Run> reference;
            for (const int dpi : {72, 96, 150, 300, 1200}) {
                TextRecorder device(dpi);
                QPainter painter(&device);
                CPagePainting(painter, dpi, dpi)
                        .Paint(*model.GetPage(index), index + 1, model.GetPageCount());
                painter.end();
                QVERIFY(!device.runs.empty());
                if (reference.empty()) {
                    reference = device.runs;
                    if (index == 0 && !firstLine.isEmpty()) {
                        QVERIFY(std::any_of(reference.begin(), reference.end(), [&](auto &run) {
                            return run.text.trimmed() == firstLine;
                        }));
                    }
                    continue;
                }
                QCOMPARE(device.runs.size(), reference.size());
                for (size_t i = 0; i < reference.size(); ++i) {
                    const TextRecorder::Run &run = device.runs[i];
                    QCOMPARE(run.text, reference[i].text);
                    // A twentieth of a millimetre: far below a pixel at any of them.
                    QVERIFY2(std::abs(run.at.x() - reference[i].at.x()) < 5
                                     && std::abs(run.at.y() - reference[i].at.y()) < 5,
                             qPrintable(u"page %1 at %2 dpi: \"%3\" moved"_s.arg(index + 1)
                                                .arg(dpi)
                                                .arg(run.text)));
                }
            }
        }
    }
};

VANTEL_TEST_CLASS(TestResolutions)
#include "tst_resolutions.moc"
