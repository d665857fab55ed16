// Start-up time of the designer: from starting the process to its first painted window, with
// the example report named on the command line, against a bare main-window program started
// the same way in the same run. Every program prints "first-paint" once its window is painted
// and ends. The runs alternate; every program runs once first without being counted. Settings
// and data go to a temporary folder, so the runs never read or write the user's own.
// Prints the median times and the ratio to the bare window (the target is under 1.5), and for
// reference the ratio to the same bare window showing a menu and a status-bar text: the bare
// window draws no text at all, while loading the fonts is a large share of any window that
// does.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

constexpr int DefaultRuns = 15;
constexpr int TimeoutMs = 30000;

// Milliseconds to the marker; a negative value when the program did not print it.
double TimeToFirstPaint(const QString &program, const QStringList &arguments,
                        const QProcessEnvironment &environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    QByteArray output;
    double elapsed = -1;
    while (process.waitForReadyRead(TimeoutMs)) {
        output += process.readAllStandardOutput();
        if (output.contains("first-paint")) {
            elapsed = double(timer.nsecsElapsed()) / 1e6;
            break;
        }
    }
    if (!process.waitForFinished(TimeoutMs))
        process.kill();
    return elapsed;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : DefaultRuns;

    QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"XDG_CONFIG_HOME"_s, home.filePath(u"config"_s));
    environment.insert(u"XDG_DATA_HOME"_s, home.filePath(u"data"_s));
    environment.insert(u"XDG_CACHE_HOME"_s, home.filePath(u"cache"_s));
    environment.insert(u"VANTEL_FIRST_PAINT_PROBE"_s, u"1"_s);
    if (!environment.contains(u"QT_QPA_PLATFORM"_s) && !environment.contains(u"DISPLAY"_s))
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);

    const QString designer = QStringLiteral(VANTEL_DESIGNER_PATH);
    const QStringList designerArguments {QStringLiteral(VANTEL_EXAMPLE_REPORT)};
    const QString bare = QStringLiteral(VANTEL_BARE_WINDOW_PATH);

    const QStringList textArguments {u"--text"_s};
    if (TimeToFirstPaint(designer, designerArguments, environment) < 0
        || TimeToFirstPaint(bare, {}, environment) < 0
        || TimeToFirstPaint(bare, textArguments, environment) < 0) {
        std::printf("A program did not report its first paint\n");
        return 1;
    }
    std::vector<double> designerTimes;
    std::vector<double> bareTimes;
    std::vector<double> textTimes;
    for (int i = 0; i < runs; ++i) {
        designerTimes.push_back(TimeToFirstPaint(designer, designerArguments, environment));
        bareTimes.push_back(TimeToFirstPaint(bare, {}, environment));
        textTimes.push_back(TimeToFirstPaint(bare, textArguments, environment));
    }
    for (const std::vector<double> *times : {&designerTimes, &bareTimes, &textTimes}) {
        if (std::any_of(times->begin(), times->end(), [](double t) { return t < 0; })) {
            std::printf("A program did not report its first paint\n");
            return 1;
        }
    }
    const double designerMedian = Median(designerTimes);
    const double bareMedian = Median(bareTimes);
    const double textMedian = Median(textTimes);
    const auto minimum = [](const std::vector<double> &times) {
        return *std::min_element(times.begin(), times.end());
    };
    std::printf("platform: %s, %d runs each\n",
                qPrintable(environment.value(u"QT_QPA_PLATFORM"_s, u"(default)"_s)), runs);
    std::printf("designer with the example report: median %6.1f ms (min %.1f)\n", designerMedian,
                minimum(designerTimes));
    std::printf("bare main window:                 median %6.1f ms (min %.1f)\n", bareMedian,
                minimum(bareTimes));
    std::printf("bare main window with text:       median %6.1f ms (min %.1f)\n", textMedian,
                minimum(textTimes));
    std::printf("ratio to the bare window: %.2f (target under 1.5)\n", designerMedian / bareMedian);
    std::printf("ratio to the bare window with text: %.2f\n", designerMedian / textMedian);
    return 0;
}
