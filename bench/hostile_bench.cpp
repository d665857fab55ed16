// Templates built to strain the loader: very many parameters, items, bands or
// nested elements. Each is loaded and saved again in a child process of its
// own, which reports the time and its peak memory against the budget of four
// times the file's size plus 60 MB.

#include "renderreportpage.h"
#include "reportfile.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <QTemporaryDir>

#include <cstdio>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QString head = QStringLiteral(
        "<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<report version=\"1\" width=\"21000\" "
        "height=\"29700\" title=\"\" database-type=\"-1\" portrait=\"1\" "
        "database-connect-string=\"\">\r\n");

QString Band(int index, const QString &items)
{
    return QStringLiteral("<element name=\"B%1\" type=\"1\">\r\n  <height>100</height>\r\n")
                   .arg(index)
            + items + QStringLiteral("</element>\r\n");
}

QString Item(int index)
{
    return QStringLiteral(
                   "<element name=\"T%1\" type=\"9\">\r\n  <left>0</left>\r\n  "
                   "<right>100</right>\r\n  <bottom>50</bottom>\r\n  <text>Item %1</text>\r\n"
                   "  <font name=\"Arial\" size=\"8\" charset=\"1\" bold=\"0\" italic=\"0\" "
                   "underline=\"0\" strikeout=\"0\"/>\r\n</element>\r\n")
            .arg(index);
}

QString Parameters(int count)
{
    QString text = QStringLiteral("<parameters>\r\n");
    for (int i = 0; i < count; ++i) {
        text += QStringLiteral("\t<parameter band=\"Band %1\" name=\"P%2\" value=\"%3\"/>\r\n")
                        .arg(i % 100)
                        .arg(i)
                        .arg(i);
    }
    return text + QStringLiteral("</parameters>\r\n");
}

QString Items(int count)
{
    QString items;
    for (int i = 0; i < count; ++i)
        items += Item(i);
    return Band(0, items);
}

QString Bands(int count)
{
    QString bands;
    for (int i = 0; i < count; ++i)
        bands += Band(i, QString());
    return bands;
}

QString Nested(int depth)
{
    return QStringLiteral("<x>").repeated(depth) + QStringLiteral("</x>").repeated(depth);
}

bool WriteFile(const QString &path, const QString &text)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly)
            && file.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2)
            == text.size() * 2;
}

// The resident memory of this process now, in kilobytes.
long ResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

void Run(const char *name, const std::function<QString()> &body, const QTemporaryDir &dir)
{
    const QString in = dir.filePath(QStringLiteral("in.vnt"));
    const QString out = dir.filePath(QStringLiteral("out.vnt"));
    // The text is gone before the child starts, so that none of it counts in the child.
    if (!WriteFile(in, head + body() + QStringLiteral("</report>"))) {
        std::printf("%-28s cannot write the file\n", name);
        return;
    }
    const qint64 size = QFile(in).size();
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return;
    const pid_t pid = fork();
    if (pid == 0) {
        close(pipeFds[0]);
        const long baseKb = ResidentKb();
        QElapsedTimer timer;
        timer.start();
        CVornReport report;
        QString message;
        const bool loaded = VornTemplate::Load(report, in, message);
        const double loadMs = double(timer.nsecsElapsed()) / 1e6;
        const bool saved = VornTemplate::Save(report, out, message);
        const double totalMs = double(timer.nsecsElapsed()) / 1e6;
        char line[256];
        const int n = std::snprintf(line, sizeof line, "%d %d %.0f %.0f %ld", loaded, saved, loadMs,
                                    totalMs, baseKb);
        if (write(pipeFds[1], line, size_t(n)) != n)
            _exit(1);
        _exit(0);
    }
    close(pipeFds[1]);
    char line[256] = {};
    const ssize_t got = read(pipeFds[0], line, sizeof line - 1);
    close(pipeFds[0]);
    int status = 0;
    rusage usage {};
    wait4(pid, &status, 0, &usage);
    int loaded = 0;
    int saved = 0;
    double loadMs = 0;
    double totalMs = 0;
    long baseKb = 0;
    if (got <= 0
        || std::sscanf(line, "%d %d %lf %lf %ld", &loaded, &saved, &loadMs, &totalMs, &baseKb)
                != 5) {
        std::printf("%-28s the child failed (status %d)\n", name, status);
        return;
    }
    const double peakMb = double(usage.ru_maxrss) / 1024.0;
    const double budgetMb = 4.0 * double(size) / (1024.0 * 1024.0) + 60.0;
    std::printf("%-26s file %5.1f MB  load %5.0f ms  load+save %5.0f ms  peak %6.1f MB (%4.1f MB "
                "before)  budget %6.1f MB  %s%s\n",
                name, double(size) / (1024.0 * 1024.0), loadMs, totalMs, peakMb,
                double(baseKb) / 1024.0, budgetMb, peakMb <= budgetMb ? "within" : "OVER",
                loaded ? "" : " (load refused)");
}

} // namespace

// A page drawn as the design view draws its window, timed.
void Paint(const char *name, int width, int height, const QString &text)
{
    CVornReport report;
    report.SetWidth(width);
    report.SetHeight(height);
    auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("Band"));
    band->SetHeight(height);
    report.GetBands().Add(band);
    auto *item = new CVornText;
    item->SetName(QStringLiteral("Text"));
    item->SetRect(1000, 1000, 6000, 2000);
    item->SetText(text);
    band->GetItems().Add(item);
    QElapsedTimer timer;
    timer.start();
    const QImage image = RenderReportPage(report, QSize(1200, 900), true);
    std::printf("%-28s window of 1200 x 900 drawn in %6.0f ms\n", name,
                double(timer.nsecsElapsed()) / 1e6);
}

int main(int argc, char **argv)
{
    {
        // Loading first, from a process that holds nothing else yet.
        QTemporaryDir dir;
        if (!dir.isValid())
            return 1;
        std::printf("Peak is the child's whole resident memory, the program's own libraries "
                    "included.\n");
        Run(
                "100,000 parameters", [] { return Parameters(100000); }, dir);
        Run(
                "100,000 items on a band", [] { return Items(100000); }, dir);
        Run(
                "100,000 bands", [] { return Bands(100000); }, dir);
        Run(
                "1,000,000 nested elements", [] { return Nested(1000000); }, dir);
    }

    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QString big;
    big.reserve(30 * 1024 * 1024);
    while (big.size() < 30 * 1024 * 1024)
        big += QStringLiteral("Lorem ipsum dolor sit amet, consectetur adipiscing elit. ");
    Paint("text item of 60 MB", 21000, 29700, big);
    Paint("page of 10 x 10 m", 1000000, 1000000, QStringLiteral("Some text here"));
    return 0;
}
