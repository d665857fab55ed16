#include "datapanelink.h"

#include "afterfirstpaint.h"
#include "columnlookup.h"
#include "datapane.h"
#include "expressiondlg.h"
#include "expressionpreview.h"
#include "fileutil.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "querycolumns.h"
#include "queryrunner.h"
#include "reportcopy.h"
#include "schemareader.h"
#include "schemarows.h"
#include "tabledrop.h"

#include <QDir>
#include <QFileInfo>
#include <QPointer>

CDataPane *CreateDataPane(CQuarnDoc *document, CQuarnView *view, CPropertiesWnd *properties,
                          QWidget *parent)
{
    auto *pane = new CDataPane(parent);
    auto *lookup = new CColumnLookup(pane);
    lookup->setObjectName(QStringLiteral("columnLookup"));
    QObject::connect(lookup, &CColumnLookup::problemsChanged, view,
                     [view, lookup] { view->SetItemMarks(lookup->ItemMarks()); });
    QObject::connect(lookup, &CColumnLookup::columnsChanged, properties,
                     &CPropertiesWnd::RefreshColumnChoices);
    properties->SetColumnSource(
            [lookup](const CVornElement *item) { return lookup->ColumnsFor(item); });
    properties->SetQueryRunnerFactory([document](const CVornElement *object) -> CSqlQueryRunner * {
        const CVornReport &report = document->GetReport();
        const int band = object ? report.IndexOfBand(object) : -1;
        const QString path = document->GetPathName();
        const QString folder = path.isEmpty() ? QDir::currentPath()
                                              : FolderOfPath(QFileInfo(path).absoluteFilePath());
        return new CQueryRunner(report, folder,
                                band >= 0 ? report.GetBands()[band]->GetName() : QString());
    });
    properties->SetExpressionHelp([document, lookup](CExpressionDlg &dialog,
                                                     const CVornElement *object) {
        const CVornReport &report = document->GetReport();
        const CReportColumns &columns = lookup->GetColumns();
        QStringList fields;
        for (const CVornBand *band : report.GetBands()) {
            const CQueryOutcome *outcome = columns.Band(band->GetName());
            if (!outcome || outcome->state != CQueryOutcome::State::Ok)
                continue;
            for (const QString &column : outcome->ColumnNames())
                fields.append(QStringLiteral("[%1].[%2]").arg(band->GetName(), column));
        }
        dialog.SetFields(fields);
        if (!columns.HasDatabase())
            return;
        // The value is computed on a copy of the report and of the columns looked up so far, on
        // the dialog's worker: the first rows are in the columns already.
        const int band = object ? report.IndexOfBand(object) : -1;
        const int item = band >= 0 && object && !object->IsBandElement()
                ? report.GetBands()[band]->GetItems().IndexOf(
                        static_cast<const CVornItem *>(object))
                : -1;
        std::shared_ptr<const CVornReport> copy = CopyReport(report);
        auto known = std::make_shared<const CReportColumns>(columns);
        dialog.SetPreview([copy, known, band, item](const QString &text, const std::atomic_bool &) {
            return PreviewExpression(*copy, *known, band, item, text);
        });
    });
    auto *reader = new CSchemaReader(pane);
    reader->setObjectName(QStringLiteral("schemaReader"));
    // The workers that connect to the database start once the window is painted, so that they
    // do not take the processor from the first paint.
    lookup->SetHeld(true);
    reader->SetHeld(true);
    RunAfterFirstPaint(
            view->viewport(),
            [lookup = QPointer<CColumnLookup>(lookup), reader = QPointer<CSchemaReader>(reader)] {
                if (lookup)
                    lookup->SetHeld(false);
                if (reader)
                    reader->SetHeld(false);
            });
    lookup->SetDocument(document);
    reader->SetDocument(document);
    pane->SetLookup(lookup);
    pane->SetSchemaReader(reader);
    properties->SetSchemaSource([reader = QPointer<CSchemaReader>(reader)] {
        return reader ? CompletionSchema(reader->GetCatalogue()) : CSqlSchema();
    });
    auto *drop = new CTableDrop(document, reader, parent);
    drop->setObjectName(QStringLiteral("tableDrop"));
    view->SetTableDropHandler(
            [drop = QPointer<CTableDrop>(drop)](int band, const CTableChoice &choice) {
                return drop && drop->Drop(band, choice);
            });
    return pane;
}

CColumnLookup *LookupOf(const CDataPane *pane)
{
    return pane ? pane->findChild<CColumnLookup *>(QStringLiteral("columnLookup")) : nullptr;
}

CSchemaReader *SchemaReaderOf(const CDataPane *pane)
{
    return pane ? pane->findChild<CSchemaReader *>(QStringLiteral("schemaReader")) : nullptr;
}
