#include "vornkind.h"

#include "itemkinds.h"

#include <QCoreApplication>

bool IsBand(int kind)
{
    switch (kind) {
    case VornKind::ReportContents:
    case VornKind::ReportHeader:
    case VornKind::ReportFooter:
    case VornKind::PageHeader:
    case VornKind::PageFooter:
    case VornKind::PageBreak:
        return true;
    default:
        return false;
    }
}

bool IsItemKind(int kind)
{
    return FindItemKind(kind) != nullptr;
}

QString KindName(int kind)
{
    if (const CItemKind *item = FindItemKind(kind))
        return QCoreApplication::translate("Vantel", item->look.name);
    switch (kind) {
    case VornKind::ReportContents:
        return QCoreApplication::translate("Vantel", "Report Contents");
    case VornKind::ReportHeader:
        return QCoreApplication::translate("Vantel", "Report Header");
    case VornKind::ReportFooter:
        return QCoreApplication::translate("Vantel", "Report Footer");
    case VornKind::PageHeader:
        return QCoreApplication::translate("Vantel", "Page Header");
    case VornKind::PageFooter:
        return QCoreApplication::translate("Vantel", "Page Footer");
    case VornKind::PageBreak:
        return QCoreApplication::translate("Vantel", "Page Break");
    default:
        return QString();
    }
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
