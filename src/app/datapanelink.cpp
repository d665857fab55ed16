#include "datapanelink.h"

#include "afterfirstpaint.h"
#include "columnlookup.h"
#include "datapane.h"
#include "fileutil.h"
#include "propertieswnd.h"
#include "quarndoc.h"
#include "quarnview.h"
#include "queryrunner.h"

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
    pane->SetLookup(lookup);
    // The look-up (a database connection on a worker, the checks, the pane's rows) starts
    // once the window shows, so that it does not hold up the first paint.
    RunAfterFirstPaint(view->viewport(),
                       [lookup = QPointer<CColumnLookup>(lookup),
                        document = QPointer<CQuarnDoc>(document)] {
                           if (lookup && document)
                               lookup->SetDocument(document);
                       });
    return pane;
}

CColumnLookup *LookupOf(const CDataPane *pane)
{
    return pane ? pane->findChild<CColumnLookup *>(QStringLiteral("columnLookup")) : nullptr;
}
