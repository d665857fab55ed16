#include "designchecks.h"

#include "builtinimage.h"

#include "barcodedrawing.h"
#include "barcodesymbology.h"
#include "ean13.h"
#include "propertyid.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageReader>

#include <algorithm>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

QString RowOf(CValidationFault::Property property)
{
    switch (property) {
    case CValidationFault::Property::Name:
        return RowId::Name;
    case CValidationFault::Property::Height:
        return RowId::BandHeight;
    case CValidationFault::Property::Query:
        return RowId::Query;
    case CValidationFault::Property::GroupHeader:
        return RowId::GroupHeader;
    case CValidationFault::Property::GroupFooter:
        return RowId::GroupFooter;
    case CValidationFault::Property::None:
        break;
    }
    return QString();
}

QString Millimetres(int hundredths)
{
    return QString::number(hundredths / 100.0, 'f', hundredths % 100 == 0 ? 0 : 2);
}

void CheckRectangle(CReportProblems &problems, const CVornReport &report, int b, int i)
{
    const CVornBand &band = *report.GetBands()[b];
    const CVornItem &item = *band.GetItems()[i];
    const auto warn = [&](QLatin1StringView row, const QString &message) {
        problems.append({CReportProblem::Severity::Warning, b, i, row, message});
    };
    if (item.GetRight() < item.GetLeft() || item.GetBottom() < item.GetTop()) {
        warn(item.GetRight() < item.GetLeft() ? RowId::Right : RowId::Bottom,
             Tr("The rectangle is inverted: its right or bottom edge lies before its left or top "
                "edge"));
        return;
    }
    if (item.GetRight() == item.GetLeft() || item.GetBottom() == item.GetTop()) {
        warn(item.GetRight() == item.GetLeft() ? RowId::Right : RowId::Bottom,
             Tr("The rectangle is empty: the item has no width or no height"));
        return;
    }
    const int height = band.GetEffectiveHeight();
    const int width = report.GetPageWidth();
    if (item.GetLeft() >= width || item.GetTop() >= height || item.GetRight() <= 0
        || item.GetBottom() <= 0) {
        warn(item.GetTop() >= height || item.GetBottom() <= 0 ? RowId::Top : RowId::Left,
             Tr("The item lies outside its band (%1 mm high, %2 mm wide)")
                     .arg(Millimetres(height), Millimetres(width)));
        return;
    }
    if (item.GetBottom() > height)
        warn(RowId::Bottom,
             Tr("The item reaches %1 mm below its band, which is %2 mm high")
                     .arg(Millimetres(item.GetBottom() - height), Millimetres(height)));
    else if (item.GetTop() < 0)
        warn(RowId::Top,
             Tr("The item reaches %1 mm above its band").arg(Millimetres(-item.GetTop())));
    if (item.GetRight() > width)
        warn(RowId::Right,
             Tr("The item reaches %1 mm past the right edge of the page")
                     .arg(Millimetres(item.GetRight() - width)));
    else if (item.GetLeft() < 0)
        warn(RowId::Left,
             Tr("The item reaches %1 mm past the left edge of the page")
                     .arg(Millimetres(-item.GetLeft())));
}

// A fixed EAN-13 value that is no code prints the crossed box.
void CheckEan13(CReportProblems &problems, int b, int i, const QString &value)
{
    if (IsValidEan13(value))
        return;
    QString message = Tr("The barcode \"%1\" is not an EAN-13 code of 13 digits with a valid "
                         "check digit; a crossed box prints instead")
                              .arg(value);
    bool digits = value.size() == 13;
    for (const QChar c : value)
        digits = digits && c >= u'0' && c <= u'9';
    if (digits)
        message += Tr(" (the check digit should be %1)").arg(Ean13CheckDigit(value.first(12)));
    problems.append({CReportProblem::Severity::Warning, b, i, RowId::Barcode, message});
}

void CheckContent(CReportProblems &problems, int b, int i, const CVornItem &item)
{
    if (item.GetKind() == VornKind::Barcode || item.GetKind() == VornKind::DbBarcode) {
        const auto &barcode = static_cast<const CVornBarcode &>(item);
        const int symbology = barcode.GetSymbology();
        if (!BarcodeSymbology::IsKnown(symbology)) {
            problems.append(
                    {CReportProblem::Severity::Error, b, i, RowId::Symbology,
                     Tr("The symbology %1 is unknown; a newer Vantel wrote it").arg(symbology)});
            return;
        }
        if (item.GetKind() == VornKind::DbBarcode)
            return;
        if (symbology == BarcodeSymbology::Ean13) {
            CheckEan13(problems, b, i, barcode.GetBarcode());
            return;
        }
        if (barcode.GetBarcode().isEmpty())
            return;
        // A fixed value is encoded as the run will: what the run would refuse is said here.
        CBarcodeDrawing drawing;
        QString problem;
        if (!MakeBarcodeDrawing({symbology, barcode.GetEccLevel(), barcode.GetShowText() != 0},
                                barcode.GetBarcode(), std::max(item.GetRight() - item.GetLeft(), 1),
                                std::max(item.GetBottom() - item.GetTop(), 1), drawing, problem))
            problems.append({CReportProblem::Severity::Error, b, i, RowId::Barcode,
                             Tr("The barcode \"%1\" cannot be printed as %2: %3")
                                     .arg(barcode.GetBarcode(), BarcodeSymbology::Name(symbology),
                                          problem)});
    } else if (item.GetKind() == VornKind::Image) {
        // An image without a picture prints nothing, as drawn; one whose bytes do not decode
        // looks chosen but prints nothing either. The header tells without decoding it all.
        QByteArray bytes = static_cast<const CVornImage &>(item).GetImageData();
        if (bytes.isEmpty())
            return;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer);
        PreferBuiltInDecoder(reader, bytes);
        if (!reader.canRead() || !reader.size().isValid())
            problems.append({CReportProblem::Severity::Warning, b, i, RowId::ImageFile,
                             Tr("The picture cannot be read: %1").arg(reader.errorString())});
    }
}

} // namespace

CReportProblems CheckReportDesign(const CVornReport &report)
{
    CReportProblems problems;
    report.VisitValidationFaults([&problems](const CValidationFault &fault) {
        problems.append({CReportProblem::Severity::Error, fault.band, fault.item,
                         RowOf(fault.property), fault.message});
        return true;
    });
    const auto &bands = report.GetBands();
    for (int b = 0; b < bands.GetCount(); ++b) {
        const auto &items = bands[b]->GetItems();
        for (int i = 0; i < items.GetCount(); ++i) {
            CheckRectangle(problems, report, b, i);
            CheckContent(problems, b, i, *items[i]);
        }
    }
    SortProblems(problems);
    return problems;
}

CReportProblems CombineProblems(const CReportProblems &design, const CReportProblems &found)
{
    CReportProblems problems = design;
    for (const CReportProblem &problem : found) {
        const bool told = std::any_of(design.begin(), design.end(), [&](const CReportProblem &d) {
            return d.band == problem.band && d.item == problem.item
                    && (d.message == problem.message || (!d.row.isEmpty() && d.row == problem.row));
        });
        if (!told)
            problems.append(problem);
    }
    SortProblems(problems);
    return problems;
}
