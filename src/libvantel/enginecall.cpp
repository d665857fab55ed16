#include "enginecall.h"

#include "fileutil.h"
#include "previewreport.h"
#include "queryentries.h"
#include "reportfile.h"
#include "reportrun.h"
#include "shortentext.h"
#include "vorndbbarcode.h"
#include "vorndbimage.h"
#include "vorndbtext.h"
#include "vornreport.h"

#include <QFileInfo>

#include <algorithm>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// Fills the value buffer with a default, asks the callback and reads its answer. The answer
// ends at the first NUL; a callback that wrote no NUL is read up to the buffer's end and no
// further.
QString Ask(VntValueCallback callback, void *context, const QString &band, const QString &name,
            const QString &fallback)
{
    std::vector<char16_t> buffer(VNT_VALUE_CHARS, u'\0');
    const qsizetype length = std::min<qsizetype>(fallback.size(), VNT_VALUE_CHARS - 1);
    std::copy_n(fallback.utf16(), length, buffer.begin());
    const std::u16string bandText = band.toStdU16String();
    const std::u16string nameText = name.toStdU16String();
    callback(bandText.c_str(), nameText.c_str(), buffer.data(), context);
    const auto end = std::find(buffer.cbegin(), buffer.cend(), u'\0');
    return QString::fromUtf16(buffer.data(), end - buffer.cbegin());
}

bool IsPageField(const QString &field)
{
    return field.compare(u"#PAGE"_s, Qt::CaseInsensitive) == 0
            || field.compare(u"#PAGES"_s, Qt::CaseInsensitive) == 0;
}

} // namespace

namespace EngineCall {

bool AskParameterValues(const CVornReport &report, VntValueCallback callback, void *context,
                        CVornParameters &values, QString &message)
{
    values = report.GetParameters();
    for (const CVornBand *band : report.GetBands()) {
        CQueryEntries entries;
        if (!band->CollectQueryEntries(entries, message))
            return false;
        for (const QString &name : entries.GetNames()) {
            const CVornParameter *stored = report.GetParameters().Find(band->GetName(), name);
            const QString fallback = stored ? stored->GetValue() : QString();
            const QString value
                    = callback ? Ask(callback, context, band->GetName(), name, fallback) : fallback;
            values.SetParameter(band->GetName(), name, value);
        }
    }
    return true;
}

QString ItemValueKey(const QString &band, const QString &field)
{
    return band.toLower() + u'\n' + field.toLower();
}

QHash<QString, QString> AskItemValues(const CVornReport &report, VntValueCallback callback,
                                      void *context)
{
    QHash<QString, QString> values;
    if (!callback)
        return values;
    for (const CVornBand *band : report.GetBands()) {
        for (const CVornItem *item : band->GetItems()) {
            QString source;
            QString field;
            if (const auto *text = dynamic_cast<const CVornDbText *>(item)) {
                source = text->GetDataSource();
                field = text->GetDataField();
            } else if (const auto *image = dynamic_cast<const CVornDbImage *>(item)) {
                source = image->GetDataSource();
                field = image->GetDataField();
            } else if (const auto *barcode = dynamic_cast<const CVornDbBarcode *>(item)) {
                source = barcode->GetDataSource();
                field = barcode->GetDataField();
            }
            if (field.isEmpty() || (source.isEmpty() && IsPageField(field)))
                continue;
            const QString key = ItemValueKey(source, field);
            if (!values.contains(key))
                values.insert(key, Ask(callback, context, source, field, QString()));
        }
    }
    return values;
}

bool Prepare(const QString &path, VntValueCallback callback, void *context, CPreparedRun &run,
             QString &message)
{
    run.path = path;
    run.report = std::make_unique<CVornReport>();
    if (!LoadReportForRun(*run.report, path, message))
        return false;
    auto values = std::make_shared<CVornParameters>();
    if (!AskParameterValues(*run.report, callback, context, *values, message))
        return false;
    run.values = std::move(values);
    run.hasDatabase = run.report->GetDatabaseType() >= 0 && run.report->GetDatabaseType() <= 2;
    if (!run.hasDatabase)
        run.itemValues = AskItemValues(*run.report, callback, context);
    return true;
}

bool Show(const CPreparedRun &run, QString &message)
{
    CRunOptions options;
    options.reportFolder = FolderOfPath(QFileInfo(run.path).absoluteFilePath());
    options.parameter = [values = run.values](const QString &band, const QString &name) {
        const CVornParameter *parameter = values->Find(band, name);
        return parameter ? parameter->GetValue() : QString();
    };
    if (!run.hasDatabase) {
        options.value = [itemValues = run.itemValues](const QString &band, const QString &field) {
            return itemValues.value(ItemValueKey(band, field));
        };
    }
    return PreviewReport::Show(*run.report, options, PreviewReport::TitleOf(*run.report, run.path),
                               nullptr, message);
}

void WriteErrorText(const QString &message, char16_t *errorText)
{
    if (!errorText)
        return;
    // A message too long for the buffer ends with "..." after its last whole word.
    const QString fitted = ShortenToFit(message, VNT_ERROR_CHARS - 1);
    std::copy_n(fitted.utf16(), fitted.size(), errorText);
    errorText[fitted.size()] = u'\0';
}

} // namespace EngineCall
