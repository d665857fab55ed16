#include "rendercommand.h"

#include "exporter.h"
#include "fileutil.h"
#include "queryentries.h"
#include "renderarguments.h"
#include "reportrun.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("CRenderArguments", text);
}

} // namespace

bool BuildRunParameters(const CVornReport &report, const QList<CRenderParameter> &overrides,
                        CVornParameters &values, QString &message)
{
    values = report.GetParameters();
    for (const CRenderParameter &parameter : overrides) {
        const CVornBand *band = nullptr;
        for (const CVornBand *candidate : report.GetBands()) {
            if (candidate->GetName().compare(parameter.band, Qt::CaseInsensitive) == 0) {
                band = candidate;
                break;
            }
        }
        CQueryEntries entries;
        QString scanMessage;
        if (!band || !band->CollectQueryEntries(entries, scanMessage)
            || !entries.Contains(parameter.name)) {
            message = Tr("The report has no parameter %1/%2").arg(parameter.band, parameter.name);
            return false;
        }
        values.SetParameter(parameter.band, parameter.name, parameter.value);
    }
    return true;
}

CExportOptions ExportOptionsOf(const CRenderArguments &arguments, const CVornReport &report)
{
    CExportOptions output;
    output.format = arguments.format;
    output.title = report.GetTitle();
    if (output.title.isEmpty())
        output.title = QFileInfo(arguments.report).completeBaseName();
    output.report = &report;
    output.pdfa = arguments.pdfa;
    output.dpi = arguments.dpi;
    output.firstPage = arguments.page;
    output.lastPage = arguments.lastPage;
    return output;
}

bool RunRenderCommand(const CRenderArguments &arguments, QString &message)
{
    CVornReport report;
    if (!LoadReportForRun(report, arguments.report, message))
        return false;

    CVornParameters values;
    if (!BuildRunParameters(report, arguments.parameters, values, message))
        return false;

    CRunOptions options;
    options.reportFolder = FolderOfPath(QFileInfo(arguments.report).absoluteFilePath());
    options.skipLabels = arguments.skipLabels;
    options.parameter = [&values](const QString &band, const QString &name) {
        const CVornParameter *parameter = values.Find(band, name);
        return parameter ? parameter->GetValue() : QString();
    };

    CExportOptions output = ExportOptionsOf(arguments, report);
    output.path = arguments.output;
    return RunReportToFile(report, options, output, message);
}
