#include "labelsheet.h"

#include "vornreport.h"

#include <QCoreApplication>

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

constexpr int Inch = 2540;

// Lengths in inches, in hundredths of a millimetre rounded to the nearest.
constexpr int Inches(double inches)
{
    return int(inches * Inch + 0.5);
}

} // namespace

const std::vector<CLabelSheet> &CLabelSheet::Presets()
{
    constexpr int a4Width = 21000;
    constexpr int a4Height = 29700;
    constexpr int letterWidth = Inches(8.5);
    constexpr int letterHeight = Inches(11);
    // The labels lie in the middle of the sheet, their gaps as sold.
    static const std::vector<CLabelSheet> presets {
            {Tr("A4 3 x 8 (70 x 37 mm)"), a4Width, a4Height, 50, 0, 7000, 3700, 0, 0, 3, 8},
            {Tr("A4 3 x 7 (63.5 x 38.1 mm)"), a4Width, a4Height, 1515, 721, 6350, 3810, 254, 0, 3,
             7},
            {Tr("A4 2 x 7 (99.1 x 38.1 mm)"), a4Width, a4Height, 1515, 465, 9910, 3810, 250, 0, 2,
             7},
            {Tr("Letter 3 x 10 (2.625 x 1 in)"), letterWidth, letterHeight, Inches(0.5),
             Inches(0.1875), Inches(2.625), Inches(1), Inches(0.125), 0, 3, 10},
            {Tr("Letter 2 x 10 (4 x 1 in)"), letterWidth, letterHeight, Inches(0.5),
             Inches(0.15625), Inches(4), Inches(1), Inches(0.1875), 0, 2, 10},
            {Tr("Letter 2 x 5 (4 x 2 in)"), letterWidth, letterHeight, Inches(0.5), Inches(0.15625),
             Inches(4), Inches(2), Inches(0.1875), 0, 2, 5},
    };
    return presets;
}

bool CLabelSheet::Check(QString &message) const
{
    if (pageWidth <= 0 || pageHeight <= 0 || labelWidth <= 0 || labelHeight <= 0) {
        message = Tr("The page and the labels need a width and a height above zero");
        return false;
    }
    if (top < 0 || left < 0 || gapAcross < 0 || gapDown < 0) {
        message = Tr("Margins and gaps cannot be below zero");
        return false;
    }
    if (across < 1 || across > 100 || down < 1 || down > 1000) {
        message = Tr("A sheet holds 1 to 100 labels across and 1 to 1000 down");
        return false;
    }
    const qint64 right = left + qint64(across) * labelWidth + qint64(across - 1) * gapAcross;
    const qint64 bottom = top + qint64(down) * (labelHeight + gapDown);
    if (right > pageWidth || bottom > pageHeight) {
        message = Tr("The labels need %1 x %2 mm with the margins; the page is %3 x %4 mm")
                          .arg(QString::number(right / 100.0), QString::number(bottom / 100.0),
                               QString::number(pageWidth / 100.0),
                               QString::number(pageHeight / 100.0));
        return false;
    }
    return true;
}

int CLabelSheet::LabelLeft(int index) const
{
    return left + (index % across) * (labelWidth + gapAcross);
}

int CLabelSheet::LabelTop(int index) const
{
    return top + (index / across % down) * (labelHeight + gapDown);
}

void CLabelSheet::MakeReport(CVornReport &report) const
{
    report.Reset();
    report.SetWidth(pageWidth);
    report.SetHeight(pageHeight);
    // The margins are bands of their own, so that every sheet holds the same rows.
    if (top > 0) {
        auto *margin = new CVornBand(VornKind::PageHeader, Tr("Top Margin"));
        margin->SetHeight(top);
        report.GetBands().Add(margin);
    }
    auto *labels = new CVornBand(VornKind::ReportContents, Tr("Labels"));
    labels->SetHeight(labelHeight + gapDown);
    CBandPaging &paging = labels->GetPaging();
    paging.columns = across;
    paging.columnGap = gapAcross;
    paging.columnWidth = labelWidth;
    paging.columnLeft = left;
    report.GetBands().Add(labels);
    const int bottom = pageHeight - top - down * (labelHeight + gapDown);
    if (bottom > 0) {
        auto *margin = new CVornBand(VornKind::PageFooter, Tr("Bottom Margin"));
        margin->SetHeight(bottom);
        report.GetBands().Add(margin);
    }
}
