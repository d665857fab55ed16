#pragma once

#include <QString>

#include <memory>
#include <unordered_set>

class CEditRecord;
class CVornBand;
class CVornDocument;
class CVornElement;
class CVornItem;
class CVornReport;

// Records one edit of the document's report as it is made and hands it to
// the document's history as one undo step. Before changing an object's
// fields, call WillChange for it; insert and remove bands and items through
// the edit itself. Commit (or the destructor) ends the edit: fields that came
// back to what they were are left out, and an edit that changed nothing leaves
// no step and does not mark the document modified.
//
//     CReportEdit edit(document, tr("Move"));
//     edit.WillChange(item);
//     item->SetRect(...);
//     edit.Commit();
class CReportEdit
{
public:
    CReportEdit(CVornDocument &document, const QString &text);
    CReportEdit(const CReportEdit &) = delete;
    CReportEdit &operator=(const CReportEdit &) = delete;
    ~CReportEdit();

    CVornReport &Report() const;

    // Consecutive edits with the same tag, each changing the fields of the
    // same one object, become one step (a drag, repeated arrow keys).
    void SetMergeTag(const QString &tag);

    // Remembers the fields of an object before they change; later calls for
    // the same object are ignored.
    void WillChange(CVornItem *item);
    void WillChange(CVornBand *band);
    void WillChangePage();
    void WillChangeParameters();

    // Puts a new band or item into the report; returns it.
    CVornBand *InsertBand(int index, std::unique_ptr<CVornBand> band);
    CVornItem *InsertItem(CVornBand *band, int index, std::unique_ptr<CVornItem> item);
    // Takes a band or item out of the report into the history.
    void Remove(CVornElement *element);
    // Moves an item of a band to another place of the band's list (the drawing order).
    void MoveItem(CVornBand *band, int from, int to);
    // Deletes a band or an item; deleting a band first empties every group
    // band, parent data source and DB Text data source that names it.
    void Delete(CVornElement *element);

    // Ends the edit; true when it changed the report.
    bool Commit();
    // Ends the edit by taking back every change made through it; it leaves no step.
    void Cancel();

private:
    CVornDocument &m_document;
    std::unique_ptr<CEditRecord> m_record;
    std::unordered_set<const void *> m_watched;
    bool m_pageWatched = false;
    bool m_parametersWatched = false;
};
