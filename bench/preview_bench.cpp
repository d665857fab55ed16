// The print preview: from opening it on a 10,000-row report to the first page painted, and the
// memory the designer takes while it previews 1,000 pages (in a process of its own, against
// the same process with only the designer's window).

#include "mainframe.h"
#include "pagemodel.h"
#include "previewview.h"
#include "previewwnd.h"
#include "quarndoc.h"
#include "reportrun.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

bool BuildDatabase(const QString &path, int rows)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"build"_s);
    db.setDatabaseName(path);
    if (!db.open())
        return false;
    QSqlQuery query(db);
    db.transaction();
    query.exec(u"CREATE TABLE Items (Id INTEGER PRIMARY KEY, Code TEXT, Name TEXT, Amount REAL)"_s);
    query.prepare(u"INSERT INTO Items VALUES (?, ?, ?, ?)"_s);
    for (int i = 1; i <= rows; ++i) {
        query.addBindValue(i);
        query.addBindValue(u"C-%1"_s.arg(i));
        query.addBindValue(u"Item number %1 of the list"_s.arg(i));
        query.addBindValue(i * 1.25);
        query.exec();
    }
    db.commit();
    db.close();
    return true;
}

void ListReport(CVornReport &report, int rows)
{
    report.SetDatabaseType(0);
    report.SetConnectString(u"bench.db"_s);
    auto *band = new CVornBand(VornKind::ReportContents, u"Rows"_s);
    band->SetHeight(1000);
    band->SetDatabaseQuery(
            u"SELECT Code, Name, Amount FROM Items WHERE Id <= %1 ORDER BY Id"_s.arg(rows));
    report.GetBands().Add(band);
    int left = 1000;
    for (const QString &field : {u"CODE"_s, u"NAME"_s, u"AMOUNT"_s}) {
        auto *text = new CVornDbText;
        text->SetName(field);
        text->SetFontName(u"Arial"_s);
        text->SetRect(left, 100, left + 5500, 600);
        text->SetDataSource(u"Rows"_s);
        text->SetDataField(field);
        band->GetItems().Add(text);
        left += 6000;
    }
    auto *rule = new CVornShape;
    rule->SetName(u"Rule"_s);
    rule->SetShapeType(4);
    rule->SetRect(1000, 800, 19000, 850);
    band->GetItems().Add(rule);
}

CRunOptions Options(const QString &folder)
{
    CRunOptions options;
    options.reportFolder = folder;
    return options;
}

double RssMb()
{
    QFile status(u"/proc/self/status"_s);
    status.open(QIODevice::ReadOnly);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    }
    return 0;
}

// Child: the designer's window, then a preview of 1,000 pages scrolled from end to end.
int Memory(const QString &folder)
{
    CQuarnDoc document;
    CMainFrame frame(&document);
    frame.show();
    QApplication::processEvents();
    const double designer = RssMb();

    CVornReport report;
    ListReport(report, 29000);
    double peak = 0;
    {
        CPreviewWnd window(report, Options(folder), u"Bench"_s, &frame);
        window.show();
        window.StartLayout();
        while (window.IsLayoutRunning()) {
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            peak = std::max(peak, RssMb());
        }
        for (int page = 0; page < window.GetPageCount(); page += 20) {
            window.ShowPage(page);
            window.GetView()->viewport()->repaint();
            peak = std::max(peak, RssMb());
        }
        std::printf("previewing %d pages: designer alone %.1f MB, with the preview %.1f MB at most "
                    "(+%.1f MB)\n",
                    window.GetPageCount(), designer, peak, peak - designer);
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform's notes about window hints are no figures.
    qputenv("QT_LOGGING_RULES", "default.warning=false");
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    if (argc == 3 && qstrcmp(argv[1], "--memory") == 0)
        return Memory(QString::fromLocal8Bit(argv[2]));

    QTemporaryDir dir;
    if (!BuildDatabase(dir.filePath(u"bench.db"_s), 29000)) {
        std::fprintf(stderr, "could not build the database\n");
        return 1;
    }
    CVornReport report;
    ListReport(report, 10000);
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer timer;
        timer.start();
        CPreviewWnd window(report, Options(dir.path()), u"Bench"_s);
        window.show();
        window.StartLayout();
        while (window.GetPageCount() == 0 && window.IsLayoutRunning())
            QApplication::processEvents(QEventLoop::AllEvents, 5);
        QApplication::processEvents();
        window.GetView()->viewport()->repaint();
        const double first = timer.nsecsElapsed() / 1e6;
        while (window.IsLayoutRunning())
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        std::printf("10,000-row report: first page shown after %.0f ms, all %d pages laid out "
                    "after %.0f ms\n",
                    first, window.GetPageCount(), timer.nsecsElapsed() / 1e6);
    }

    std::fflush(stdout);
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {u"--memory"_s, dir.path()});
    child.waitForFinished(-1);
    return 0;
}
