#include "reportrun.h"

#include "reportlayout.h"

bool RunReport(const CVornReport &report, const CRunOptions &options, CPageModel &model,
               QString &message, CPageSource *failedAt)
{
    CReportLayout layout(report, options, model);
    const bool done = layout.Run(message);
    if (failedAt)
        *failedAt = done ? CPageSource() : layout.GetFailedAt();
    return done;
}
