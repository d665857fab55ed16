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
    // The worker that connects to the database starts once the window is painted, so that it
    // does not take the processor from the first paint.
    lookup->SetHeld(true);
    RunAfterFirstPaint(view->viewport(), [lookup = QPointer<CColumnLookup>(lookup)] {
        if (lookup)
            lookup->SetHeld(false);
    });
    lookup->SetDocument(document);
    pane->SetLookup(lookup);
    return pane;
}

CColumnLookup *LookupOf(const CDataPane *pane)
{
    return pane ? pane->findChild<CColumnLookup *>(QStringLiteral("columnLookup")) : nullptr;
}
