#include "checkcommand.h"

#include "bandreferences.h"
#include "columndiscovery.h"
#include "fileutil.h"
#include "renderarguments.h"
#include "rendercommand.h"
#include "reportchecks.h"
#include "reportfile.h"
#include "vornreport.h"

#include <QFileInfo>

bool RunCheckCommand(const CRenderArguments &arguments, QStringList &lines, QString &message)
{
    lines.clear();
    CVornReport report;
    if (!VornTemplate::Load(report, arguments.report, message)) {
        // Read in full but invalid: the reader's message is the validation's.
        QString rule;
        if (report.Validate(rule) || rule != message)
            return false;
        // A missing group band is told by the checks below, with the rest.
        if (!rule.startsWith(QStringLiteral("Header or footer band "))
            || FindBandReferenceProblems(report).empty())
            lines.append(rule);
        message.clear();
    }

    CVornParameters values;
    if (!BuildRunParameters(report, arguments.parameters, values, message))
        return false;
    const ParameterOverride parameter = [&values](const QString &band, const QString &name) {
        const CVornParameter *found = values.Find(band, name);
        return found ? found->GetValue() : QString();
    };

    CDiscoveryOptions options;
    options.reportFolder = FolderOfPath(QFileInfo(arguments.report).absoluteFilePath());
    options.parameter = parameter;
    const CReportColumns columns = DiscoverColumns(report, options);
    for (const CReportProblem &problem : CheckReport(report, columns, parameter))
        lines.append(ProblemLine(report, problem));
    return true;
}
