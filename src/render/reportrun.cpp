#include "reportrun.h"

#include "fileutil.h"
#include "pagemodel.h"
#include "reportfile.h"
#include "reportlayout.h"
#include "systemerror.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <cerrno>

bool RunReport(const CVornReport &report, const CRunOptions &options, CPageSink &sink,
               QString &message, CPageSource *failedAt)
{
    CReportLayout layout(report, options, sink);
    const bool done = layout.Run(message);
    if (failedAt)
        *failedAt = done ? CPageSource() : layout.GetFailedAt();
    return done;
}

bool RunReport(const CVornReport &report, const CRunOptions &options, CPageModel &model,
               QString &message, CPageSource *failedAt)
{
    return RunReport(report, options, static_cast<CPageSink &>(model), message, failedAt);
}

bool UsesPageCount(const CVornReport &report)
{
    for (const CVornBand *band : report.GetBands()) {
        for (const CVornItem *item : band->GetItems()) {
            const auto *text = dynamic_cast<const CVornDbText *>(item);
            if (text && CReportLayout::PageFieldOf(*text) == CPageText::Field::PageCount)
                return true;
            CExpression expression;
            CExprError error;
            if (text && !text->GetExpression().isEmpty()
                && CExpression::Parse(text->GetExpression(), expression, error)) {
                for (const CExprName &name : expression.GetNames()) {
                    if (name.kind == CExprName::Kind::PageCount)
                        return true;
                }
            }
        }
    }
    return false;
}

bool LoadReportForRun(CVornReport &report, const QString &path, QString &message)
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("RunReport", text);
    };
    QByteArray bytes;
    int error = 0;
    switch (ReadFileBytes(path, bytes, error)) {
    case EFileRead::Done:
        break;
    case EFileRead::Missing:
        // A folder on the way that may not be searched hides the file, but does not make it
        // missing.
        if (error != ENOENT && error != ENOTDIR) {
            message = tr("Cannot read the report \"%1\": %2").arg(path, SystemErrorText(error));
            return false;
        }
        message = tr("File not found: %1").arg(path);
        return false;
    case EFileRead::NotRegular:
        message = tr("Cannot read the report \"%1\": it is a device, a pipe or a socket, not a "
                     "file")
                          .arg(path);
        return false;
    case EFileRead::TooLarge:
        message = tr("Cannot read the report \"%1\": it is larger than %2 MB, the most a "
                     "template may have")
                          .arg(path)
                          .arg(MaxReadFileSize >> 20);
        return false;
    default:
        message = tr("Cannot read the report \"%1\": %2").arg(path, SystemErrorText(error));
        return false;
    }
    QString problem;
    if (!VornTemplate::LoadBytes(report, std::move(bytes), problem)) {
        message = tr("The report \"%1\" cannot be opened: %2").arg(path, problem);
        return false;
    }
    return true;
}
