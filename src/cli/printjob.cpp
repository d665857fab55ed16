#include "printjob.h"

#include "fileutil.h"
#include "pdfwriter.h"
#include "renderarguments.h"
#include "rendercommand.h"
#include "reportoutput.h"
#include "reportrun.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QPageSize>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("PrintReport", text);
}

// How long lp may take to hand a job to the spooler.
constexpr int SubmitMs = 120000;

} // namespace

QString PrintMedia(int width, int height)
{
    const QSizeF portrait(std::min(width, height) / 100.0, std::max(width, height) / 100.0);
    const QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyMatch);
    if (size.id() != QPageSize::Custom)
        return size.key();
    return u"Custom.%1x%2mm"_s.arg(width / 100.0).arg(height / 100.0);
}

bool PrintReport(const CVornReport &report, const CRunOptions &options,
                 const CPrintRequest &request, QString &jobId, int &pages, QString &message,
                 bool layOutHere)
{
    const QString lp = QStandardPaths::findExecutable(u"lp"_s);
    if (lp.isEmpty()) {
        message = Tr("Printing needs CUPS's lp command (the cups-client package)");
        return false;
    }
    QTemporaryDir folder;
    if (!folder.isValid()) {
        message = Tr("Cannot make a temporary folder for the print job: %1")
                          .arg(folder.errorString());
        return false;
    }
    const QString path = folder.filePath(u"job.pdf"_s);
    CPdfFileWriter writer(path, request.title);
    if (!RunReportToWriter(report, options, writer, request.firstPage, request.lastPage, message,
                           layOutHere, &pages))
        return false;

    QStringList arguments;
    if (!request.queue.isEmpty())
        arguments << u"-d"_s << request.queue;
    arguments << u"-n"_s << QString::number(request.copies) << u"-t"_s << request.title << u"-o"_s
              << u"media="_s + PrintMedia(report.GetPageWidth(), report.GetPageHeight()) << u"--"_s
              << path;
    QProcess process;
    process.start(lp, arguments);
    if (!process.waitForFinished(SubmitMs)) {
        process.kill();
        process.waitForFinished();
        message = Tr("CUPS did not take the print job within %1 seconds").arg(SubmitMs / 1000);
        return false;
    }
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput()).trimmed();
    const QString err = QString::fromLocal8Bit(process.readAllStandardError()).trimmed();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        message = Tr("CUPS refused the print job: %1")
                          .arg(err.isEmpty() ? Tr("lp ended with %1").arg(process.exitCode())
                                             : err);
        return false;
    }
    // "request id is office-17 (1 file(s))"
    static const QRegularExpression request_id(u"request id is (\\S+)"_s);
    const QRegularExpressionMatch match = request_id.match(out);
    jobId = match.hasMatch() ? match.captured(1) : out;
    return true;
}

CPrintRequest PrintRequestOf(const CRenderArguments &arguments, const CVornReport &report)
{
    CPrintRequest request;
    request.queue = arguments.printQueue;
    request.copies = arguments.copies;
    request.firstPage = arguments.page;
    request.lastPage = arguments.lastPage;
    request.title = report.GetTitle();
    if (request.title.isEmpty())
        request.title = QFileInfo(arguments.report).completeBaseName();
    return request;
}

bool RunPrintCommand(const CRenderArguments &arguments, QString &jobId, QString &message)
{
    CVornReport report;
    if (!LoadReportForRun(report, arguments.report, message))
        return false;
    CVornParameters values;
    if (!BuildRunParameters(report, arguments.parameters, values, message))
        return false;
    CRunOptions options;
    options.reportFolder = FolderOfPath(QFileInfo(arguments.report).absoluteFilePath());
    options.parameter = [&values](const QString &band, const QString &name) {
        const CVornParameter *parameter = values.Find(band, name);
        return parameter ? parameter->GetValue() : QString();
    };
    int pages = 0;
    return PrintReport(report, options, PrintRequestOf(arguments, report), jobId, pages, message);
}
