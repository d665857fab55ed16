#include "propertyedit.h"

#include "barcoderows.h"
#include "fileutil.h"
#include "numbertext.h"
#include "optionlist.h"
#include "propertyid.h"
#include "reportedit.h"
#include "vorndocument.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QCoreApplication>

#include <algorithm>
#include <limits>
#include <optional>

namespace {

QString T(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

bool Is(const CRowEdit &edit, QLatin1StringView id)
{
    return edit.id == id;
}

int Stored(const CRowEdit &edit)
{
    return ReadTypedMillimetres(edit.value);
}

// Stores the code of the option picked through the setter; a text that is none of the
// options changes nothing.
template<typename Setter>
bool SetOption(const QString &value, const COptionList &list, Setter set)
{
    const std::optional<int> code = list.Code(value);
    if (!code)
        return false;
    set(*code);
    return true;
}

CEditResult Changed(bool changed = true)
{
    CEditResult result;
    result.changed = changed;
    return result;
}

CEditResult Refused(const QString &name)
{
    CEditResult result;
    result.nameRefused = true;
    result.message = T("Duplicate object name: ") + name;
    return result;
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

// Rows every item page has: the four edges, the name, the condition and the style rules.
// Nothing when the row is none of them.
std::optional<CEditResult> CommonItemEdit(const CVornReport &report, CVornItem &item,
                                          const CRowEdit &edit)
{
    if (Is(edit, RowId::Left))
        item.SetLeft(Stored(edit));
    else if (Is(edit, RowId::Top))
        item.SetTop(Stored(edit));
    else if (Is(edit, RowId::Right))
        item.SetRight(Stored(edit));
    else if (Is(edit, RowId::Bottom))
        item.SetBottom(Stored(edit));
    else if (Is(edit, RowId::Name)) {
        if (!report.IsNameUnique(&item, edit.value))
            return Refused(edit.value);
        item.SetName(edit.value);
    } else if (Is(edit, RowId::PrintWhen))
        item.SetPrintWhen(edit.value.trimmed());
    else if (Is(edit, RowId::Styles))
        item.SetStyleRules(edit.styleRules);
    else
        return std::nullopt;
    return Changed();
}

std::optional<CEditResult> CommonTextEdit(const CVornReport &report, CVornText &item,
                                          const CRowEdit &edit, int dpiY)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return result;
    if (Is(edit, RowId::TextColor)) {
        item.SetColor(edit.color);
        return Changed();
    }
    if (Is(edit, RowId::Font)) {
        // The colour chosen in the font dialog is the text's colour.
        StoreItemFont(item, edit.font, dpiY);
        item.SetColor(edit.font.color);
        return Changed();
    }
    if (Is(edit, RowId::HorzAlignment))
        return Changed(SetOption(edit.value, VornOptions::TextHorzAlignment(),
                                 [&item](int code) { item.SetHorzAlignment(code); }));
    if (Is(edit, RowId::VertAlignment))
        return Changed(SetOption(edit.value, VornOptions::TextVertAlignment(),
                                 [&item](int code) { item.SetVertAlignment(code); }));
    if (Is(edit, RowId::WordWrap))
        return Changed(SetOption(edit.value, VornOptions::TrueFalse(),
                                 [&item](int code) { item.SetWordWrap(code); }));
    if (Is(edit, RowId::CanGrow))
        return Changed(SetOption(edit.value, VornOptions::YesNo(),
                                 [&item](int code) { item.SetCanGrow(code); }));
    return std::nullopt;
}

CEditResult TextEdit(const CVornReport &report, CVornText &item, const CRowEdit &edit, int dpiY)
{
    if (std::optional<CEditResult> result = CommonTextEdit(report, item, edit, dpiY))
        return *result;
    if (!Is(edit, RowId::Text))
        return CEditResult();
    item.SetText(edit.value);
    return Changed();
}

CEditResult DbTextEdit(const CVornReport &report, CVornDbText &item, const CRowEdit &edit, int dpiY)
{
    if (std::optional<CEditResult> result = CommonTextEdit(report, item, edit, dpiY))
        return *result;
    if (Is(edit, RowId::DataSource))
        item.SetDataSource(edit.value);
    else if (Is(edit, RowId::DataField))
        item.SetDataField(edit.value);
    else if (Is(edit, RowId::DataFormat))
        item.SetFormat(edit.value);
    else if (Is(edit, RowId::Expression))
        item.SetExpression(edit.value.trimmed());
    else if (Is(edit, RowId::DisplayFormat))
        item.SetDisplayFormat(edit.value);
    else if (Is(edit, RowId::Aggregate))
        return Changed(SetOption(edit.value, VornOptions::Aggregate(),
                                 [&item](int code) { item.SetAggregate(code); }));
    else if (Is(edit, RowId::AggregateOver))
        return Changed(SetOption(edit.value, VornOptions::AggregateOver(),
                                 [&item](int code) { item.SetAggregateOver(code); }));
    else if (Is(edit, RowId::Query))
        // The full text, as for a band: the one-line form would join a "--"
        // comment with the rest of the query and squeeze blanks inside strings.
        item.SetQuery(edit.sqlText);
    else
        return CEditResult();
    return Changed();
}

CEditResult ShapeEdit(const CVornReport &report, CVornShape &item, const CRowEdit &edit)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return *result;
    if (Is(edit, RowId::Color)) {
        item.SetColor(edit.color);
        return Changed();
    }
    if (Is(edit, RowId::BkColor)) {
        item.SetBkColor(edit.color);
        return Changed();
    }
    if (Is(edit, RowId::ShapeType))
        return Changed(SetOption(edit.value, VornOptions::ShapeType(),
                                 [&item](int code) { item.SetShapeType(code); }));
    if (Is(edit, RowId::LineStyle))
        return Changed(SetOption(edit.value, VornOptions::LineStyle(),
                                 [&item](int code) { item.SetLineStyle(code); }));
    return CEditResult();
}

std::optional<CEditResult> CommonImageEdit(const CVornReport &report, CVornImage &item,
                                           const CRowEdit &edit)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return result;
    if (Is(edit, RowId::HorzAlignment))
        return Changed(SetOption(edit.value, VornOptions::ImageHorzAlignment(),
                                 [&item](int code) { item.SetHorzAlignment(code); }));
    if (Is(edit, RowId::VertAlignment))
        return Changed(SetOption(edit.value, VornOptions::ImageVertAlignment(),
                                 [&item](int code) { item.SetVertAlignment(code); }));
    return std::nullopt;
}

CEditResult ImageEdit(const CVornReport &report, CVornImage &item, const CRowEdit &edit)
{
    if (std::optional<CEditResult> result = CommonImageEdit(report, item, edit))
        return *result;
    if (!Is(edit, RowId::ImageFile))
        return CEditResult();
    // A file that cannot be read leaves the picture as it was, but the edit
    // still counts as a change.
    CEditResult result = Changed();
    QByteArray bytes;
    if (ReadWholeFile(edit.value, bytes, result.message))
        item.SetImageData(bytes);
    return result;
}

CEditResult DbImageEdit(const CVornReport &report, CVornDbImage &item, const CRowEdit &edit)
{
    if (std::optional<CEditResult> result = CommonImageEdit(report, item, edit))
        return *result;
    if (Is(edit, RowId::DataSource))
        item.SetDataSource(edit.value);
    else if (Is(edit, RowId::DataField))
        item.SetDataField(edit.value);
    else
        return CEditResult();
    return Changed();
}

CEditResult BarcodeEdit(const CVornReport &report, CVornBarcode &item, const CRowEdit &edit)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return *result;
    if (std::optional<CEditResult> result = BarcodeOptionEdit(item, edit))
        return *result;
    if (!Is(edit, RowId::Barcode))
        return CEditResult();
    item.SetBarcode(edit.value);
    return Changed();
}

CEditResult DbBarcodeEdit(const CVornReport &report, CVornDbBarcode &item, const CRowEdit &edit)
{
    if (std::optional<CEditResult> result = CommonItemEdit(report, item, edit))
        return *result;
    if (std::optional<CEditResult> result = BarcodeOptionEdit(item, edit))
        return *result;
    if (Is(edit, RowId::DataSource))
        item.SetDataSource(edit.value);
    else if (Is(edit, RowId::DataField))
        item.SetDataField(edit.value);
    else
        return CEditResult();
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
    switch (kind) {
    case VornKind::Text:
        return Dispatch<CVornText>(
                current, [&](CVornText &item) { return TextEdit(report, item, edit, screenDpiY); });
    case VornKind::DbText:
        return Dispatch<CVornDbText>(current, [&](CVornDbText &item) {
            return DbTextEdit(report, item, edit, screenDpiY);
        });
    case VornKind::Shape:
        return Dispatch<CVornShape>(
                current, [&](CVornShape &item) { return ShapeEdit(report, item, edit); });
    case VornKind::Image:
        return Dispatch<CVornImage>(
                current, [&](CVornImage &item) { return ImageEdit(report, item, edit); });
    case VornKind::DbImage:
        return Dispatch<CVornDbImage>(
                current, [&](CVornDbImage &item) { return DbImageEdit(report, item, edit); });
    case VornKind::Barcode:
        return Dispatch<CVornBarcode>(
                current, [&](CVornBarcode &item) { return BarcodeEdit(report, item, edit); });
    case VornKind::DbBarcode:
        return Dispatch<CVornDbBarcode>(
                current, [&](CVornDbBarcode &item) { return DbBarcodeEdit(report, item, edit); });
    default:
        return CEditResult();
    }
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
