#include "datapanelink.h"

#include "afterfirstpaint.h"
#include "columnlookup.h"
#include "datapane.h"
#include "fileutil.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "queryrunner.h"
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
