// The live preview beside the design: from an edit of the report to the updated page painted in
// the pane, for the example invoice and for the first page of lists of 10,000 and 100,000 rows
// (a generated SQLite database); the longest the GUI thread went without turning its event loop
// while the pane followed the edits (one 60 Hz frame is 16 ms); and the memory the pane takes
// beyond the designer for the 100,000-row list. The figures include the pane's quiet time
// after an edit (CLiveLayout::DefaultDelay). Memory is measured in a child process per report.
// Last, a list without end that prints "Page N of M": the time until the pane stops it at its
// page budget and the memory it takes.

#include "livelayout.h"
#include "livepreviewview.h"
#include "livepreviewwnd.h"
#include "pagemodel.h"
#include "reportfile.h"
#include "vorndocument.h"
#include "vornitems.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

constexpr int edits = 20;

qint64 MemoryKb(const char *key)
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

bool BuildDatabase(const QString &path)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"build"_s);
    db.setDatabaseName(path);
    if (!db.open())
        return false;
    QSqlQuery query(db);
    db.transaction();
    query.exec(u"CREATE TABLE Items (Id INTEGER PRIMARY KEY, Code TEXT, Name TEXT, Amount REAL)"_s);
    query.prepare(u"INSERT INTO Items VALUES (?, ?, ?, ?)"_s);
    for (int i = 1; i <= 100000; ++i) {
        query.addBindValue(i);
        query.addBindValue(u"C-%1"_s.arg(i, 6, 10, QChar(u'0')));
        query.addBindValue(u"Item number %1 of the list"_s.arg(i));
        query.addBindValue(i * 1.25);
        query.exec();
    }
    db.commit();
    db.close();
    return true;
}

// A page header with a title that the edits change, and one row per item.
void ListReport(CVornReport &report, int rows)
{
    report.SetDatabaseType(0);
    report.SetConnectString(u"bench.db"_s);
    auto *header = new CVornBand(VornKind::PageHeader, u"Header"_s);
    header->SetHeight(1500);
    auto *title = new CVornText;
    title->SetName(u"Title"_s);
    title->SetRect(1000, 300, 15000, 1200);
    title->SetText(u"Items"_s);
    header->GetItems().Add(title);
    report.GetBands().Add(header);
    auto *band = new CVornBand(VornKind::ReportContents, u"Rows"_s);
    band->SetHeight(1000);
    band->SetDatabaseQuery(
            u"SELECT Code, Name, Amount FROM Items WHERE Id <= %1 ORDER BY Id"_s.arg(rows));
    int left = 1000;
    for (const QString &field : {u"CODE"_s, u"NAME"_s, u"AMOUNT"_s}) {
        auto *text = new CVornDbText;
        text->SetName(field);
        text->SetRect(left, 100, left + (field == u"NAME"_s ? 9000 : 4000), 600);
        text->SetDataSource(u"Rows"_s);
        text->SetDataField(field);
        band->GetItems().Add(text);
        left = text->GetRight();
    }
    report.GetBands().Add(band);
}

// The first text item of the report, which the edits change.
CVornText *FirstText(CVornReport &report)
{
    for (CVornBand *band : report.GetBands()) {
        for (CVornItem *item : band->GetItems()) {
            if (item->GetKind() == VornKind::Text)
                return static_cast<CVornText *>(item);
        }
    }
    return nullptr;
}

// Paints of the pane's pages, counted.
class CPaintWatch : public QObject
{
public:
    int paints = 0;

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
};

bool WaitFor(const std::function<bool()> &done, int timeoutMs = 60000)
{
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
    return true;
}

// One report: the edits with their latencies and the longest GUI stall; with memory, the
// growth beyond the designer with the same report and no pane.
int Measure(const QString &name, const QString &folder, bool memory)
{
    CVornDocument document;
    QString message;
    if (name == u"invoice"_s) {
        const QString path = QDir(QStringLiteral(VANTEL_EXAMPLES_DIR)).filePath(u"invoice.vnt"_s);
        if (!VornTemplate::Load(document.GetReport(), path, message)) {
            std::fprintf(stderr, "%s\n", qPrintable(message));
            return 1;
        }
        document.SetPathName(path);
    } else {
        ListReport(document.GetReport(), name.toInt());
        document.SetPathName(QDir(folder).filePath(u"list.vnt"_s));
    }
    CVornText *title = FirstText(document.GetReport());
    QCoreApplication::processEvents();
    const qint64 before = MemoryKb("VmRSS:");

    CLivePreviewWnd pane;
    pane.resize(420, 800);
    pane.show();
    CPaintWatch watch;
    pane.GetView()->viewport()->installEventFilter(&watch);
    pane.SetDocument(&document);
    CLiveLayout *layout = pane.GetLayout();
    // A long list waits at the pages in sight: the first layout has shown its pages, not ended.
    if (!WaitFor([&] { return layout->GetModel() != nullptr; })) {
        std::fprintf(stderr, "%s: no first layout\n", qPrintable(name));
        return 1;
    }

    // The event loop's heartbeat: the longest time between two turns while the edits run.
    QElapsedTimer beat;
    qint64 longestStall = 0;
    QTimer heart;
    heart.setInterval(1);
    QObject::connect(&heart, &QTimer::timeout,
                     [&] { longestStall = std::max(longestStall, beat.restart()); });
    QList<double> latencies;
    for (int edit = 0; edit < edits; ++edit) {
        const std::shared_ptr<const CPageModel> old = layout->GetModel();
        QCoreApplication::processEvents();
        beat.start();
        heart.start();
        QElapsedTimer clock;
        clock.start();
        title->SetText(u"Edit %1"_s.arg(edit));
        document.NotifyChanged(CReportChange::Items);
        // The paints counted when the new pages take over, before their repaint is due: the
        // swap and the paint may come in one turn of the event loop.
        int paintsAtSwap = -1;
        const QMetaObject::Connection swap
                = QObject::connect(layout, &CLiveLayout::pagesChanged, [&] {
                      if (paintsAtSwap < 0 && layout->GetModel() != old)
                          paintsAtSwap = watch.paints;
                  });
        const bool shown
                = WaitFor([&] { return paintsAtSwap >= 0 && watch.paints > paintsAtSwap; });
        QObject::disconnect(swap);
        latencies << clock.nsecsElapsed() / 1e6;
        heart.stop();
        if (!shown || !layout->GetFailure().isEmpty()) {
            std::fprintf(stderr, "%s: edit %d not shown: %s\n", qPrintable(name), edit,
                         qPrintable(layout->GetFailure()));
            return 1;
        }
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("%-8s edit to updated page: median %6.1f ms, worst %6.1f ms over %d edits; "
                "longest GUI stall %lld ms; %d pages laid out\n",
                qPrintable(name), latencies.at(latencies.size() / 2), latencies.last(), edits,
                longestStall, layout->GetModel()->GetPageCount());
    if (memory)
        std::printf("%-8s memory beyond the designer: %lld MB (peak %lld MB)\n", qPrintable(name),
                    (MemoryKb("VmRSS:") - before) / 1024, (MemoryKb("VmHWM:") - before) / 1024);
    std::fflush(stdout);
    return 0;
}

// The list without end, with the page count in a page footer: laid out whole, until the
// pane's page budget stops it.
int MeasureEndless(const QString &folder)
{
    CVornDocument document;
    CVornReport &report = document.GetReport();
    ListReport(report, 1);
    report.GetBands()[1]->SetDatabaseQuery(
            u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) "
            u"SELECT 'C-' || i AS Code, 'Item number ' || i || ' of the list' AS Name, "
            u"i * 1.25 AS Amount FROM n"_s);
    auto *footer = new CVornBand(VornKind::PageFooter, u"Footer"_s);
    footer->SetHeight(1000);
    auto *count = new CVornDbText;
    count->SetName(u"Count"_s);
    count->SetDataField(u"#PAGES"_s);
    count->SetFormat(u"of %d"_s);
    count->SetRect(1000, 100, 6000, 600);
    footer->GetItems().Add(count);
    report.GetBands().Add(footer);
    document.SetPathName(QDir(folder).filePath(u"endless.vnt"_s));
    QCoreApplication::processEvents();
    const qint64 before = MemoryKb("VmRSS:");
    CLivePreviewWnd pane;
    pane.resize(420, 800);
    pane.show();
    QElapsedTimer clock;
    clock.start();
    pane.SetDocument(&document);
    CLiveLayout *layout = pane.GetLayout();
    WaitFor([&] { return !layout->IsPending() && !layout->GetFailure().isEmpty(); }, 120000);
    std::printf("endless  a list without end with \"Page N of M\": stopped after %.1f s with "
                "%d pages (\"%s\"); memory beyond the designer %lld MB (peak %lld MB)\n",
                clock.elapsed() / 1000.0,
                layout->GetModel() ? layout->GetModel()->GetPageCount() : 0,
                qPrintable(layout->GetFailure()), (MemoryKb("VmRSS:") - before) / 1024,
                (MemoryKb("VmHWM:") - before) / 1024);
    std::fflush(stdout);
    return layout->GetFailure().isEmpty() ? 1 : 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() == 4 && arguments.at(1) == u"--child"_s)
        return arguments.at(2) == u"endless"_s ? MeasureEndless(arguments.at(3))
                                               : Measure(arguments.at(2), arguments.at(3), true);

    QTemporaryDir folder;
    if (!folder.isValid() || !BuildDatabase(folder.filePath(u"bench.db"_s))) {
        std::fprintf(stderr, "cannot build the database\n");
        return 1;
    }
    std::printf("live preview (quiet time after an edit: %d ms)\n", CLiveLayout::DefaultDelay);
    std::fflush(stdout);
    int failures = 0;
    for (const QString &name : {u"invoice"_s, u"10000"_s, u"100000"_s, u"endless"_s}) {
        // Each report in a process of its own, so that one's memory does not hide another's.
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {u"--child"_s, name, folder.path()});
        if (!child.waitForFinished(600000) || child.exitCode() != 0)
            ++failures;
    }
    return failures == 0 ? 0 : 1;
}
