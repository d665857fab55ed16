// A file per row against one file for all: 412 invoices of the example shop (made here from its
// eight) written by one vantel-render --each as 412 PDFs, against the same invoices as one PDF
// in one process, and against a process per invoice; then the list split in two shards that
// GNU parallel runs side by side, against the whole list in one process, and the same with each
// process bound to a core of its own. Every figure is the wall time of the real program, with
// the processor time it took beside it (on a busy machine the wall time says more about the
// other programs); the best of three runs counts.

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int Invoices = 412;
constexpr int Repeats = 3;
constexpr int SingleProcesses = 40; // a process per invoice, timed for this many and scaled

// The targets the figures are held against.
constexpr double filesTarget = 2.0; // 412 files against one PDF of them, in one process each
constexpr double shardsTarget = 0.65; // two shards on two cores against one

const QString list = u"SELECT InvoiceNo AS INVOICE_NO FROM Invoices ORDER BY InvoiceNo"_s;

// The processor time (user and system) of the children waited for so far, in seconds.
double ChildrenCpu()
{
    rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
            + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

double lastCpu = 0; // the processor time of the run Best timed last

// Runs a program and returns its wall time in seconds, -1 when it failed.
double Time(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    process.start(program, arguments);
    if (!process.waitForFinished(-1) || process.exitCode() != 0) {
        std::fprintf(stderr, "%s failed\n", qPrintable(program));
        return -1;
    }
    return double(timer.nsecsElapsed()) / 1e9;
}

// The best of a few runs, each starting from an empty output folder.
double Best(const QString &folder, const QString &program, const QStringList &arguments)
{
    double best = -1;
    for (int i = 0; i < Repeats; ++i) {
        QDir(folder).removeRecursively();
        QDir().mkpath(folder);
        const double cpu = ChildrenCpu();
        const double seconds = Time(program, arguments);
        if (seconds < 0)
            return -1;
        if (best < 0 || seconds < best) {
            best = seconds;
            lastCpu = ChildrenCpu() - cpu;
        }
    }
    return best;
}

// The example shop with its eight invoices copied until there are Invoices of them, each copy
// under numbers of its own.
bool MakeShop(const QString &path)
{
    QFile::remove(path);
    if (!QFile::copy(QStringLiteral(VANTEL_EXAMPLES_DIR "/shop.db"), path))
        return false;
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    bool ok = false;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, u"shop"_s);
        db.setDatabaseName(path);
        QSqlQuery query(db);
        ok = db.open();
        for (int copy = 1; ok && copy * 8 < Invoices; ++copy) {
            ok = query.exec(
                         u"INSERT INTO InvoiceLines SELECT InvoiceNo + %1, LineNo, Code, "
                         "Description, Quantity, Price FROM InvoiceLines WHERE InvoiceNo < 2000"_s
                                 .arg(copy * 10000))
                    && query.exec(u"INSERT INTO Invoices (InvoiceNo, InvoiceDate, CustomerId, "
                                  "Barcode, Paid) SELECT InvoiceNo + %1, InvoiceDate, CustomerId, "
                                  "Barcode, Paid FROM Invoices WHERE InvoiceNo < 2000"_s.arg(
                                          copy * 10000));
        }
        const QString extra = u"(SELECT InvoiceNo FROM Invoices ORDER BY InvoiceNo DESC LIMIT "
                              "(SELECT count(*) - %1 FROM Invoices))"_s.arg(Invoices);
        ok = ok && query.exec(u"DELETE FROM InvoiceLines WHERE InvoiceNo IN "_s + extra)
                && query.exec(u"DELETE FROM Invoices WHERE InvoiceNo IN "_s + extra)
                && query.exec(u"SELECT count(*) FROM Invoices"_s) && query.next()
                && query.value(0).toInt() == Invoices;
        if (!ok)
            std::fprintf(stderr, "%s\n", qPrintable(query.lastError().text()));
    }
    QSqlDatabase::removeDatabase(u"shop"_s);
    return ok;
}

// The example invoice rewritten to print every invoice in one run: its header band a list over
// all invoices, the lines and totals after each, each invoice on a page of its own.
bool MakeAllInOne(const QString &path)
{
    QFile in(QStringLiteral(VANTEL_EXAMPLES_DIR "/invoice.vnt"));
    if (!in.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = in.readAll();
    QString text = QString::fromUtf16(reinterpret_cast<const char16_t *>(bytes.constData()),
                                      bytes.size() / 2);
    bool all = true;
    const auto replace = [&text, &all](const QString &from, const QString &to) {
        all = all && text.contains(from);
        text.replace(from, to);
    };
    // The totals first: their query ends as the header's does.
    replace(u"INVOICE_EAN FROM Invoices WHERE InvoiceNo = {INVOICE_NO}</database-query>\r\n  "
            "<parent-data-source></parent-data-source>"_s,
            u"INVOICE_EAN FROM Invoices WHERE InvoiceNo = {INVOICE_NO}</database-query>\r\n  "
            "<parent-data-source>Invoice Header</parent-data-source>"_s);
    replace(u"<element name=\"Invoice Header\" type=\"2\">"_s,
            u"<element name=\"Invoice Header\" type=\"1\">"_s);
    replace(u" WHERE InvoiceNo = {INVOICE_NO}</database-query>\r\n  <parent-data-source>"
            "</parent-data-source>"_s,
            u" ORDER BY InvoiceNo</database-query>\r\n  <parent-data-source>"
            "</parent-data-source>"_s);
    replace(u"<element name=\"Totals\" type=\"3\">"_s, u"<element name=\"Totals\" type=\"1\">"_s);
    replace(u"<element name=\"Page Footer\" type=\"5\">"_s,
            u"<element name=\"Next Invoice\" type=\"8\">\r\n  <header></header>\r\n  "
            "<footer></footer>\r\n  <height>100</height>\r\n  <database-query>"
            "</database-query>\r\n  <parent-data-source>Invoice Header"
            "</parent-data-source>\r\n  <print-on-first-page>1</print-on-first-page>\r\n"
            "</element>\r\n<element name=\"Page Footer\" type=\"5\">"_s);
    if (!all)
        return false;
    QFile out(path);
    return out.open(QIODevice::WriteOnly)
            && out.write(reinterpret_cast<const char *>(text.utf16()), text.size() * 2)
            == text.size() * 2;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QString render = QStringLiteral(VANTEL_RENDER_PATH);
    QTemporaryDir dir;
    const QString report = dir.filePath(u"invoice.vnt"_s);
    const QString allInOne = dir.filePath(u"all.vnt"_s);
    if (!MakeShop(dir.filePath(u"shop.db"_s))
        || !QFile::copy(QStringLiteral(VANTEL_EXAMPLES_DIR "/invoice.vnt"), report)
        || !MakeAllInOne(allInOne)) {
        std::fprintf(stderr, "the benchmark's data could not be made\n");
        return 1;
    }
    const QString out = dir.filePath(u"out"_s);
    const QStringList each {report, u"--each"_s, list, u"-o"_s,
                            out + u"/invoice-{INVOICE_NO}.pdf"_s};

    const double files = Best(out, render, each);
    const double filesCpu = lastCpu;
    const double one = Best(out, render, {allInOne, u"-o"_s, out + u"/all.pdf"_s});
    std::printf("%d invoices as %d PDF files, one process:  %7.2f s (processor %.2f s)\n", Invoices,
                Invoices, files, filesCpu);
    std::printf("%d invoices as one PDF, one process:       %7.2f s (processor %.2f s)\n", Invoices,
                one, lastCpu);
    std::printf("files / one PDF:                           %7.2f (target <= %.2f)\n", files / one,
                filesTarget);

    // A process per invoice, as before --each: timed for a few, scaled to all.
    QDir().mkpath(out);
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < SingleProcesses; ++i) {
        const QString number = QString::number(1038 + i % 8 + (i / 8) * 10000);
        Time(render,
             {report, u"-o"_s, out + u"/single-"_s + number + u".pdf"_s, u"--param"_s,
              u"Invoice Header/INVOICE_NO="_s + number, u"--param"_s,
              u"Totals/INVOICE_NO="_s + number});
    }
    const double singles = double(timer.nsecsElapsed()) / 1e9 * Invoices / SingleProcesses;
    std::printf("a process per invoice (scaled from %d):    %7.2f s (%.1f x --each)\n",
                SingleProcesses, singles, singles / files);

    const QString parallel = QStandardPaths::findExecutable(u"parallel"_s);
    if (parallel.isEmpty()) {
        std::printf("GNU parallel is not installed: no shard figures\n");
        return 0;
    }
    const double shards
            = Best(out, parallel,
                   QStringList {u"-q"_s, u"-j"_s, u"2"_s, render} + each
                           + QStringList {u"--shard"_s, u"{}/2"_s, u":::"_s, u"0"_s, u"1"_s});
    std::printf("2 shards under GNU parallel, 2 jobs:       %7.2f s (processor %.2f s)\n", shards,
                lastCpu);
    std::printf("2 shards / one shard:                      %7.2f (target <= %.2f, on %d "
                "cores)\n",
                shards / files, shardsTarget, QThread::idealThreadCount());

    // One process already keeps two cores busy. Bound to a core each, as on machines of their
    // own, the shards show how the split itself scales; GNU parallel's own start is timed apart.
    const QString taskset = QStandardPaths::findExecutable(u"taskset"_s);
    if (taskset.isEmpty() || QThread::idealThreadCount() < 2)
        return 0;
    const double bound = Best(out, taskset, QStringList {u"-c"_s, u"0"_s, render} + each);
    const double boundShards
            = Best(out, parallel,
                   QStringList {u"-q"_s, u"-j"_s, u"2"_s, taskset, u"-c"_s, u"{}"_s, render} + each
                           + QStringList {u"--shard"_s, u"{}/2"_s, u":::"_s, u"0"_s, u"1"_s});
    const double start
            = Best(out, parallel, {u"-j"_s, u"2"_s, u"true"_s, u":::"_s, u"0"_s, u"1"_s});
    std::printf("one shard bound to one core:               %7.2f s\n", bound);
    std::printf("2 shards bound to a core each, parallel:   %7.2f s (GNU parallel's own start "
                "%.2f s)\n",
                boundShards, start);
    std::printf("bound: 2 shards / one shard:               %7.2f (%.2f without parallel's "
                "start)\n",
                boundShards / bound, (boundShards - start) / bound);
    return 0;
}
