#include "propertyedit.h"

#include "itemproperties.h"
#include "numbertext.h"
#include "optionlist.h"
#include "propertyid.h"
#include "reportedit.h"
#include "vorndbtext.h"
#include "vorndocument.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

using namespace PropertyEdits;

QString T(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

CEditResult ReportEdit(CVornReport &report, const CRowEdit &edit)
{
    if (Is(edit, RowId::PageHeight))
        report.SetHeight(Stored(edit));
    else if (Is(edit, RowId::PageWidth))
        report.SetWidth(Stored(edit));
    else if (Is(edit, RowId::Title))
        report.SetTitle(edit.value);
    else if (Is(edit, RowId::ConnectString))
        report.SetConnectString(edit.value);
    else if (Is(edit, RowId::Locale))
        report.SetLocale(edit.value.trimmed());
    else if (Is(edit, RowId::DatabaseType))
        report.SetDatabaseType(VornOptions::DatabaseType().Code(edit.value).value_or(-1));
    else if (Is(edit, RowId::Orientation))
        report.SetPortrait(VornOptions::Orientation().Code(edit.value).value_or(0));
    else
        return CEditResult();
    CEditResult result = Changed();
    result.pageSizeChanged = true;
    return result;
}

// The new band name goes into every group header, group footer and DB Text
// data source that names the band; parent data sources and the sources of DB
// Image and DB Barcode items keep the old name.
void RenameBand(CVornReport &report, CVornBand &band, const QString &newName)
{
    const QString oldName = band.GetName();
    if (newName.isEmpty() || newName == oldName)
        return;
    for (CVornBand *b : report.GetBands()) {
        if (SameName(b->GetHeader(), oldName))
            b->SetHeader(newName);
        if (SameName(b->GetFooter(), oldName))
            b->SetFooter(newName);
        for (CVornItem *item : b->GetItems()) {
            auto *dbText = dynamic_cast<CVornDbText *>(item);
            if (dbText && item->GetKind() == VornKind::DbText
                && SameName(dbText->GetDataSource(), oldName))
                dbText->SetDataSource(newName);
        }
    }
    band.SetName(newName);
}

// A band that becomes a group header here keeps with its group's first row, so that it never
// ends a page; one that heads another group already keeps what it has.
void MakeGroupHeader(CVornReport &report, const CVornBand &detail)
{
    CVornBand *header = nullptr;
    for (CVornBand *band : report.GetBands()) {
        if (!header && SameName(band->GetName(), detail.GetHeader()))
            header = band;
    }
    if (!header || header == &detail || detail.GetHeader().isEmpty())
        return;
    for (const CVornBand *other : report.GetBands()) {
        if (other != &detail && SameName(other->GetHeader(), header->GetName()))
            return;
    }
    header->GetPaging().keepWithNext = 1;
}

CEditResult PagingEdit(CVornBand &band, const CRowEdit &edit)
{
    CBandPaging &paging = band.GetPaging();
    const auto yes = [&edit] {
        return VornOptions::YesNo().Code(edit.value).value_or(0);
    };
    if (Is(edit, RowId::StartNewPage))
        return Changed(SetOption(edit.value, VornOptions::NewPage(),
                                 [&paging](int code) { paging.newPage = code; }));
    if (Is(edit, RowId::ColumnOrder))
        return Changed(SetOption(edit.value, VornOptions::ColumnOrder(),
                                 [&paging](int code) { paging.columnOrder = code; }));
    if (Is(edit, RowId::ResetPageNumber))
        paging.resetPageNumber = yes();
    else if (Is(edit, RowId::KeepWithNext))
        paging.keepWithNext = yes();
    else if (Is(edit, RowId::RepeatHeader))
        paging.repeatHeader = yes();
    else if (Is(edit, RowId::KeepTogether))
        paging.keepTogether = yes();
    else if (Is(edit, RowId::Columns))
        paging.columns = std::clamp(ReadInt(edit.value), 1, 100);
    else if (Is(edit, RowId::ColumnGap))
        paging.columnGap = std::max(Stored(edit), 0);
    else if (Is(edit, RowId::ColumnWidth))
        paging.columnWidth = std::max(Stored(edit), 0);
    else if (Is(edit, RowId::FirstColumnLeft))
        paging.columnLeft = std::max(Stored(edit), 0);
    else if (Is(edit, RowId::SkipLabels))
        paging.skipLabels = std::clamp(ReadInt(edit.value), 0, 10000);
    else
        return CEditResult();
    return Changed();
}

CEditResult BandEdit(CVornReport &report, CVornBand &band, const CRowEdit &edit)
{
    if (Is(edit, RowId::BandHeight)) {
        band.SetHeight(Stored(edit));
    } else if (Is(edit, RowId::Name)) {
        if (!report.IsNameUnique(&band, edit.value))
            return Refused(edit.value);
        RenameBand(report, band, edit.value);
    } else if (Is(edit, RowId::Query)) {
        band.SetDatabaseQuery(edit.sqlText);
    } else if (Is(edit, RowId::ParentDataSource)) {
        band.SetParentDataSource(edit.value);
    } else if (Is(edit, RowId::GroupHeader)) {
        const bool other = !SameName(band.GetHeader(), edit.value);
        band.SetHeader(edit.value);
        if (other)
            MakeGroupHeader(report, band);
    } else if (Is(edit, RowId::GroupFooter)) {
        band.SetFooter(edit.value);
    } else if (Is(edit, RowId::PrintOnFirstPage) && band.GetKind() == VornKind::PageHeader) {
        band.SetPrintOnFirstPage(VornOptions::TrueFalse().Code(edit.value).value_or(0));
    } else if (Is(edit, RowId::PrintWhen)) {
        band.SetPrintWhen(edit.value.trimmed());
    } else {
        return PagingEdit(band, edit);
    }
    return Changed();
}

// Runs the handler when the object's class matches its kind code.
template<typename Object, typename Handler>
CEditResult Dispatch(CVornElement *current, Handler handler)
{
    auto *object = dynamic_cast<Object *>(current);
    return object ? handler(*object) : CEditResult();
}

} // namespace

int ReadTypedMillimetres(const QString &text)
{
    // Whole millimetres as ReadInt reads them, then the decimals; the value saturates far
    // beyond the int range, and is clamped to it at the end.
    constexpr qint64 limit = qint64(1) << 40;
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace() && text[i].unicode() < 128)
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';
    const auto digit = [&text](qsizetype at) {
        return at < text.size() && text[at] >= u'0' && text[at] <= u'9' ? text[at].unicode() - u'0'
                                                                        : -1;
    };
    qint64 thousandths = 0;
    for (; digit(i) >= 0; ++i)
        thousandths = std::min(limit, thousandths * 10 + digit(i));
    thousandths = std::min(limit, thousandths * 1000);
    if (i < text.size() && (text[i] == u'.' || text[i] == u',')) {
        ++i;
        for (qint64 place = 100; place > 0 && digit(i) >= 0; place /= 10, ++i)
            thousandths = std::min(limit, thousandths + digit(i) * place);
    }
    const qint64 hundredths = (thousandths + 5) / 10;
    return int(std::clamp<qint64>(negative ? -hundredths : hundredths,
                                  std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max()));
}

CEditResult ApplyEdit(CVornReport &report, CVornElement *current, const CRowEdit &edit,
                      int screenDpiY)
{
    if (!current)
        return ReportEdit(report, edit);

    const int kind = current->GetKind();
    if (IsBand(kind))
        return Dispatch<CVornBand>(current,
                                   [&](CVornBand &band) { return BandEdit(report, band, edit); });
    auto *item = dynamic_cast<CVornItem *>(current);
    const CItemProperties *properties = item ? ItemPropertiesOf(kind) : nullptr;
    return properties ? properties->edit(report, *item, edit, screenDpiY) : CEditResult();
}

CEditResult ApplyEditStep(CVornDocument &document, CVornElement *current, const CRowEdit &edit,
                          int screenDpiY)
{
    CVornReport &report = document.GetReport();
    const bool rename = Is(edit, RowId::Name);
    CReportEdit step(document, rename ? T("Rename") : T("Change %1").arg(edit.name));
    if (!current) {
        step.WillChangePage();
    } else if (auto *item = dynamic_cast<CVornItem *>(current)) {
        step.WillChange(item);
    } else if (auto *band = dynamic_cast<CVornBand *>(current)) {
        step.WillChange(band);
        if (rename || Is(edit, RowId::GroupHeader)) {
            // A band's new name is carried into the group bands and DB Texts that name it;
            // the fields that stay as they were are left out of the step again.
            for (CVornBand *other : report.GetBands()) {
                step.WillChange(other);
                for (CVornItem *item : other->GetItems()) {
                    if (item->GetKind() == VornKind::DbText)
                        step.WillChange(item);
                }
            }
        }
    }
    const CEditResult result = ApplyEdit(report, current, edit, screenDpiY);
    step.Commit();
    return result;
}

CEditResult ApplyEditStepToAll(CVornDocument &document, const std::vector<CVornElement *> &objects,
                               const CRowEdit &edit, int screenDpiY)
{
    if (objects.size() == 1)
        return ApplyEditStep(document, objects.front(), edit, screenDpiY);
    CVornReport &report = document.GetReport();
    CReportEdit step(document, T("Change %1").arg(edit.name));
    for (CVornElement *object : objects) {
        if (auto *item = dynamic_cast<CVornItem *>(object))
            step.WillChange(item);
        else if (auto *band = dynamic_cast<CVornBand *>(object))
            step.WillChange(band);
    }
    CEditResult total;
    for (CVornElement *object : objects) {
        const CEditResult result = ApplyEdit(report, object, edit, screenDpiY);
        if (result.nameRefused) {
            // Refused for one, refused for all: nothing of the edit stays.
            step.Cancel();
            CEditResult refused = result;
            refused.changed = false;
            refused.message = T("%1: %2").arg(object->GetName(), result.message);
            return refused;
        }
        total.changed = total.changed || result.changed;
        total.pageSizeChanged = total.pageSizeChanged || result.pageSizeChanged;
        // An unreadable picture file is told once.
        if (total.message.isEmpty())
            total.message = result.message;
    }
    step.Commit();
    return total;
}
