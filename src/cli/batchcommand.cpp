#include "batchcommand.h"

#include "batchlist.h"
#include "dataconnection.h"
#include "exporter.h"
#include "fileutil.h"
#include "pdfbatch.h"
#include "printjob.h"
#include "renderarguments.h"
#include "rendercommand.h"
#include "reportoutput.h"
#include "reportrun.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTextStream>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("BatchCommand", text);
}

// A text as a JSON string, quotes included.
QString JsonText(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray {text}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2));
}

// Reads the list of a batch: the rows of the list query on the report's connection, or of the
// CSV file.
bool ReadList(const CRenderArguments &arguments, CDataConnection *connection,
              const CVornParameters &values, CBatchList &list, QString &message)
{
    if (!arguments.eachFile.isEmpty()) {
        QByteArray bytes;
        if (!ReadWholeFile(arguments.eachFile, bytes, message))
            return false;
        if (!BatchList::ReadCsv(bytes, list, message)) {
            message = Tr("%1: %2").arg(arguments.eachFile, message);
            return false;
        }
        return true;
    }
    if (!connection) {
        message = Tr("--each needs a report with a database; give the rows with --each-file");
        return false;
    }
    // The list's own entries {NAME} take the value of a --param of that name, else of a
    // parameter stored in the report, whichever band it is for.
    const EntryValueFunction entry = [&arguments, &values](const QString &name) {
        for (const CRenderParameter &parameter : arguments.parameters) {
            if (parameter.name.compare(name, Qt::CaseInsensitive) == 0)
                return parameter.value;
        }
        for (int i = 0; i < values.GetCount(); ++i) {
            if (values[i]->GetName().compare(name, Qt::CaseInsensitive) == 0)
                return values[i]->GetValue();
        }
        return QString();
    };
    QString problem;
    std::unique_ptr<CDataCursor> cursor = connection->Execute(arguments.eachQuery, entry, problem);
    if (!cursor) {
        message = Tr("The list query failed: %1").arg(problem);
        return false;
    }
    // Read whole before the first row runs, so that no driver has to keep two results open.
    list.columns = cursor->GetColumns();
    CDataRow row;
    while (cursor->Fetch(row, problem)) {
        QStringList texts;
        texts.reserve(row.GetValues().size());
        for (const QVariant &value : row.GetValues())
            texts.append(value.isNull() ? QString() : value.toString());
        list.rows.append(texts);
    }
    if (!problem.isEmpty()) {
        message = Tr("The list query failed: %1").arg(problem);
        return false;
    }
    return true;
}

// A list column "BAND/NAME" must name a query entry of that band, as --param must.
bool CheckBandColumns(const CVornReport &report, const QStringList &columns, QString &message)
{
    QList<CRenderParameter> named;
    for (const QString &column : columns) {
        CRenderParameter parameter;
        QString ignored;
        if (column.contains(u'/')
            && CRenderArguments::ParseParameter(column + u'=', parameter, ignored))
            named.append(parameter);
    }
    CVornParameters values;
    if (!BuildRunParameters(report, named, values, message)) {
        message = Tr("A column of the list: %1").arg(message);
        return false;
    }
    return true;
}

} // namespace

int RunBatchCommand(const CRenderArguments &arguments, QTextStream &manifest, QTextStream *progress,
                    QString &message)
{
    CVornReport report;
    if (!LoadReportForRun(report, arguments.report, message))
        return 1;
    CVornParameters values;
    if (!BuildRunParameters(report, arguments.parameters, values, message))
        return 1;
    const QString reportFolder = FolderOfPath(QFileInfo(arguments.report).absoluteFilePath());

    // One connection for the whole list. Every row is laid out and written on this thread,
    // the connection's: a thread started for each small run would cost more than it saves.
    std::unique_ptr<CDataConnection> connection;
    const int type = report.GetDatabaseType();
    if (type >= 0 && type <= 2) {
        connection = OpenDataConnection(type, report.GetConnectString(), reportFolder, message);
        if (!connection)
            return 1;
    }

    CBatchList list;
    if (!ReadList(arguments, connection.get(), values, list, message)
        || !CheckBandColumns(report, list.columns, message)
        || (!arguments.print && !BatchList::CheckPattern(arguments.output, list.columns, message)))
        return 1;
    const std::vector<CBatchRow> rows = BatchList::PlanRows(list, arguments.output);

    // A column "BAND/NAME" binds that band's entry, a column "NAME" the entry of every band;
    // both before the parameters of the command line and of the report.
    const QStringList *current = nullptr;
    CRunOptions options;
    options.reportFolder = reportFolder;
    options.connection = connection.get();
    options.skipLabels = arguments.skipLabels;
    options.parameter = [&](const QString &band, const QString &name) {
        int column = list.IndexOf(band + u'/' + name);
        if (column < 0)
            column = list.IndexOf(name);
        if (column >= 0 && current)
            return current->value(column);
        const CVornParameter *parameter = values.Find(band, name);
        return parameter ? parameter->GetValue() : QString();
    };

    CExportOptions output = ExportOptionsOf(arguments, report);
    const CPrintRequest printRequest = PrintRequestOf(arguments, report);
    const bool perPage = !arguments.print && ExportFiles::IsPerPage(arguments.format)
            && ExportFiles::HasPagePattern(arguments.output);

    // A PDF per row is drawn into one document with the rows around it and cut from it (see
    // CPdfBatch), up to BatchRows rows at a time; a row's manifest line waits for its file.
    const bool batched = !arguments.print && output.format == ExportFormat::Pdf;
    CPdfBatch pdfs(output.title, output.pdfa);
    constexpr int BatchRows = 64;
    constexpr qint64 BatchBytes = 32 << 20;

    struct CLine
    {
        QString head; // {"row": N, "file" or "job": ...
        QString problem;
        int pages = 0;
        qint64 nanoseconds = 0;
        bool skipped = false;
        bool waiting = false; // for its file to be cut from the batch's document
    };
    std::vector<CLine> lines; // the lines not yet printed, from line number `printed` on
    int printed = 0;
    int total = 0;
    for (const CBatchRow &row : rows)
        total += BatchList::InShard(row.position, arguments.shard, arguments.shards) ? 1 : 0;
    int failed = 0;
    const auto printReady = [&]() {
        size_t ready = 0;
        for (; ready < lines.size() && !lines[ready].waiting; ++ready) {
            const CLine &entry = lines[ready];
            QString line = entry.head;
            if (!entry.problem.isEmpty()) {
                ++failed;
                line += u", \"status\": \"error\", \"message\": %1}"_s.arg(JsonText(entry.problem));
            } else if (entry.skipped) {
                line += u", \"status\": \"skipped\"}"_s;
            } else {
                line += u", \"pages\": %1, \"ms\": %2, \"status\": \"ok\"}"_s.arg(entry.pages)
                                .arg(double(entry.nanoseconds) / 1e6, 0, 'f', 1);
            }
            manifest << line << Qt::endl;
            ++printed;
            if (progress) {
                *progress << u"\r%1 of %2 rows, %3 failed"_s.arg(printed).arg(total).arg(failed)
                          << Qt::flush;
            }
        }
        lines.erase(lines.begin(), lines.begin() + qsizetype(ready));
    };
    // The files of a document are drawn, cut and committed together while the next rows are
    // laid out; each row's time takes an equal share of the wait for them.
    const auto flush = [&](bool last) {
        QElapsedTimer timer;
        timer.start();
        std::vector<int> flushed;
        const auto done = [&](int id, const QString &message) {
            CLine &entry = lines[size_t(id - printed)];
            entry.waiting = false;
            entry.problem = message;
            flushed.push_back(id);
        };
        pdfs.Flush(done);
        if (last)
            pdfs.Wait(done);
        for (const int id : flushed)
            lines[size_t(id - printed)].nanoseconds
                    += timer.nsecsElapsed() / qint64(flushed.size());
    };

    for (const CBatchRow &row : rows) {
        if (!BatchList::InShard(row.position, arguments.shard, arguments.shards))
            continue;
        QElapsedTimer timer;
        timer.start();
        CLine entry;
        entry.problem = row.problem;
        const QString first = perPage ? ExportFiles::PagePath(row.file, arguments.page) : row.file;
        entry.skipped
                = entry.problem.isEmpty() && arguments.skipExisting && QFileInfo::exists(first);
        QString job;
        if (entry.problem.isEmpty() && !entry.skipped) {
            current = &list.rows[row.position];
            output.path = row.file;
            // The folders of the name may come from the row's values; a folder that cannot be
            // made fails the row when its file is opened.
            if (!arguments.print)
                QDir().mkpath(QFileInfo(row.file).absolutePath());
            bool done = false;
            if (arguments.print) {
                done = PrintReport(report, options, printRequest, job, entry.pages, entry.problem,
                                   true);
            } else if (batched) {
                const std::unique_ptr<CPageWriter> writer
                        = pdfs.CreateWriter(row.file, printed + int(lines.size()));
                done = RunReportToWriter(report, options, *writer, 1, 0, entry.problem, true,
                                         &entry.pages);
                entry.waiting = done;
            } else {
                done = RunReportToFile(report, options, output, entry.problem, true, &entry.pages);
            }
            if (!done && entry.problem.isEmpty())
                entry.problem = Tr("The report could not be run");
            current = nullptr;
        }
        entry.head = arguments.print
                ? u"{\"row\": %1, \"job\": %2"_s.arg(row.position).arg(JsonText(job))
                : u"{\"row\": %1, \"file\": %2"_s.arg(row.position).arg(JsonText(row.file));
        entry.nanoseconds = timer.nsecsElapsed();
        lines.push_back(entry);
        if (pdfs.GetQueuedCount() >= BatchRows || pdfs.GetDrawnBytes() >= BatchBytes)
            flush(false);
        printReady();
    }
    flush(true);
    printReady();
    if (progress && printed > 0)
        *progress << Qt::endl;
    return failed > 0 ? 1 : 0;
}
