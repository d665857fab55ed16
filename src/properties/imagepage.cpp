#include "itemproperties.h"

#include "fileutil.h"
#include "kindtable.h"
#include "optionlist.h"
#include "propertyid.h"
#include "rowbuilders.h"
#include "vorndbimage.h"

using namespace Qt::StringLiterals;

namespace {

using namespace PropertyEdits;
using namespace PropertyRows;

// The first five rows of the Image and DB Image pages.
QList<CPropertyRow> ImageRows(const CVornImage &item)
{
    return {
            Row(RowId::Object, "(Object)", Tr("Image"), PropertyRowKind::ReadOnly,
                "You have selected an image"),
            NameRow(item),
            PositionRow(item),
            OptionRow(RowId::HorzAlignment, "Horizontal Alignment",
                      VornOptions::ImageHorzAlignment(), item.GetHorzAlignment(),
                      "Specifies how the text will be aligned horizontally"),
            OptionRow(RowId::VertAlignment, "Vertical Alignment", VornOptions::ImageVertAlignment(),
                      item.GetVertAlignment(), "Specifies how the text will be aligned vertically"),
    };
}

QList<CPropertyRow> ImagePage(const CVornReport &, const CVornImage &item, int)
{
    QList<CPropertyRow> rows = ImageRows(item);
    // The model keeps the picture's bytes, not the name of the file they came from.
    rows.append(Row(RowId::ImageFile, "Image File", QString(), PropertyRowKind::File,
                    "Please choose the image file that will be printed in the report"));
    rows.append(PrintWhenRow(item.GetPrintWhen()));
    return rows;
}

QList<CPropertyRow> DbImagePage(const CVornReport &report, const CVornDbImage &item, int)
{
    QList<CPropertyRow> rows = ImageRows(item);
    rows += {
            OptionRow(
                    RowId::DataSource, "Data Source", item.GetDataSource(), AllBandNames(report),
                    "The name of the band containing the SQL query this DB text label will display "
                    "the data from"),
            Row(RowId::DataField, "Data Field", item.GetDataField(), PropertyRowKind::Text,
                "The name of the database field to display in this position"),
            PrintWhenRow(item.GetPrintWhen()),
    };
    return rows;
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

CEditResult ImageEdit(const CVornReport &report, CVornImage &item, const CRowEdit &edit, int)
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

CEditResult DbImageEdit(const CVornReport &report, CVornDbImage &item, const CRowEdit &edit, int)
{
    if (std::optional<CEditResult> result = CommonImageEdit(report, item, edit))
        return *result;
    return DataFieldEdit(item, edit).value_or(CEditResult());
}

} // namespace

void AddImageProperties(CKindTable<CItemProperties> &table)
{
    table.Add(CVornImage::Kind, PropertiesOf<CVornImage, ImagePage, ImageEdit>());
    table.Add(CVornDbImage::Kind, PropertiesOf<CVornDbImage, DbImagePage, DbImageEdit>());
}
