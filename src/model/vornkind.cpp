#include "vornkind.h"

#include <QCoreApplication>

#include <iterator>

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
    return (kind >= VornKind::Text && kind <= VornKind::Image)
            || (kind >= VornKind::DbImage && kind <= VornKind::DbBarcode);
}

QString KindName(int kind)
{
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
    case VornKind::Text:
        return QCoreApplication::translate("Vantel", "Text");
    case VornKind::Shape:
        return QCoreApplication::translate("Vantel", "Shape");
    case VornKind::DbText:
        return QCoreApplication::translate("Vantel", "DB Text");
    case VornKind::Image:
        return QCoreApplication::translate("Vantel", "Image");
    case VornKind::DbImage:
        return QCoreApplication::translate("Vantel", "DB Image");
    case VornKind::Barcode:
        return QCoreApplication::translate("Vantel", "Barcode");
    case VornKind::DbBarcode:
        return QCoreApplication::translate("Vantel", "DB Barcode");
    default:
        return QString();
    }
}

QString HorzAlignmentName(int code, bool allowStretch)
{
    switch (code) {
    case 0:
        return QCoreApplication::translate("Vantel", "Left");
    case 1:
        return QCoreApplication::translate("Vantel", "Right");
    case 2:
        return QCoreApplication::translate("Vantel", "Center");
    case 3:
        if (allowStretch)
            return QCoreApplication::translate("Vantel", "Stretch");
        break;
    default:
        break;
    }
    return QCoreApplication::translate("Vantel", "(Unknown)");
}

QString VertAlignmentName(int code, bool allowStretch)
{
    switch (code) {
    case 0:
        return QCoreApplication::translate("Vantel", "Top");
    case 1:
        return QCoreApplication::translate("Vantel", "Center");
    case 2:
        return QCoreApplication::translate("Vantel", "Bottom");
    case 3:
        if (allowStretch)
            return QCoreApplication::translate("Vantel", "Stretch");
        break;
    default:
        break;
    }
    return QCoreApplication::translate("Vantel", "(Unknown)");
}

QString ShapeTypeName(int type)
{
    switch (type) {
    case 1:
        return QCoreApplication::translate("Vantel", "Rectangle");
    case 2:
        return QCoreApplication::translate("Vantel", "Rounded Rectangle");
    case 3:
        return QCoreApplication::translate("Vantel", "Vertical Line");
    case 4:
        return QCoreApplication::translate("Vantel", "Horizontal Line");
    case 5:
        return QCoreApplication::translate("Vantel", "Ellipse");
    default:
        return QString();
    }
}

QString LineStyleName(int style)
{
    switch (style) {
    case 1:
        return QCoreApplication::translate("Vantel", "Solid");
    case 2:
        return QCoreApplication::translate("Vantel", "Dotted");
    default:
        return QString();
    }
}

QString AggregateName(int aggregate)
{
    static const char *const names[] = {"None", "Sum", "Count", "Average", "Minimum", "Maximum"};
    if (aggregate < 0 || aggregate >= int(std::size(names)))
        return QString();
    return QCoreApplication::translate("Vantel", names[aggregate]);
}

QString AggregateOverName(int over)
{
    static const char *const names[] = {"Band", "Page", "Report"};
    if (over < 0 || over >= int(std::size(names)))
        return QString();
    return QCoreApplication::translate("Vantel", names[over]);
}

QString NewPageName(int code)
{
    static const char *const names[] = {"No", "Before", "After"};
    if (code < 0 || code >= int(std::size(names)))
        return QString();
    return QCoreApplication::translate("Vantel", names[code]);
}

QString ColumnOrderName(int code)
{
    static const char *const names[] = {"Across Then Down", "Down Then Across"};
    if (code < 0 || code >= int(std::size(names)))
        return QString();
    return QCoreApplication::translate("Vantel", names[code]);
}

bool SameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}
