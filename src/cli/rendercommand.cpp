#include "rendercommand.h"

#include "fileutil.h"
#include "pagemodel.h"
#include "pagerender.h"
#include "queryentries.h"
#include "renderarguments.h"
#include "reportfile.h"
#include "reportrun.h"
#include "vornreport.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QSaveFile>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("CRenderArguments", text);
}

bool WritePng(const CPageModel &model, const CRenderArguments &arguments, QString &message)
{
    const int count = model.GetPageCount();
    if (arguments.page > count) {
        message = QCoreApplication::translate("CRenderArguments",
                                              "The report has %n page(s); there is no page %1",
                                              nullptr, count)
                          .arg(arguments.page);
        return false;
    }
    const QImage image = RenderPageImage(model, arguments.page - 1, arguments.dpi);
    if (image.isNull()) {
        message = Tr("The page is too large at %1 dpi").arg(arguments.dpi);
        return false;
    }
    QSaveFile file(arguments.output);
    if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG") || !file.commit()) {
        message = Tr("Failed to write %1: %2").arg(arguments.output, file.errorString());
        return false;
    }
    return true;
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

bool RunRenderCommand(const CRenderArguments &arguments, QString &message)
{
    CVornReport report;
    if (!VornTemplate::Load(report, arguments.report, message))
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

    CPageModel model;
    if (!RunReport(report, options, model, message))
        return false;

    if (arguments.format == CRenderArguments::Format::Png)
        return WritePng(model, arguments, message);
    QString title = report.GetTitle();
    if (title.isEmpty())
        title = QFileInfo(arguments.report).completeBaseName();
    return WritePdf(model, arguments.output, title, message);
}
