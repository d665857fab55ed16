#include "reportrun.h"

#include "reportlayout.h"

bool RunReport(const CVornReport &report, const CRunOptions &options, CPageModel &model,
               QString &message)
{
    return CReportLayout(report, options, model).Run(message);
}
