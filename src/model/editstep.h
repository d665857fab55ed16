#pragma once

#include "reportchange.h"

#include <QtGlobal>

#include <memory>

class CVornBand;
class CVornItem;
class CVornReport;

// One change inside an edit of the report that can be taken back and made
// again: a band's, an item's or the page's fields, the stored parameter
// values, or a band or item put into or taken out of the report. A step is
// recorded after the report already holds the change; Undo and Redo then
// alternate, always on the report exactly as the step left it, so positions
// and objects it remembers stay right. Objects are known by identity: the
// history never destroys an object the report holds, and a step that has
// taken one out owns it until it puts it back.
class CEditStep
{
public:
    CEditStep() = default;
    CEditStep(const CEditStep &) = delete;
    CEditStep &operator=(const CEditStep &) = delete;
    virtual ~CEditStep() = default;

    virtual void Undo(CVornReport &report) = 0;
    virtual void Redo(CVornReport &report) = 0;
    // What of the report the step changes, as the document tells the views.
    virtual CReportChange::Parts Changes() const = 0;

    // A field step takes the state its object has now as the state after the
    // change; structural steps know theirs from the start.
    virtual void CaptureAfter() { }
    // Whether the step changes nothing (the fields before and after are equal).
    virtual bool IsNoOp() const { return false; }
    // The picture bytes the step keeps alive, which bound the history.
    virtual qsizetype Bytes() const { return 0; }
    // The object a field step is about; null for the others.
    virtual const void *Target() const { return nullptr; }
    // Makes this step end where `next`, a later step on the same object of the
    // same class, ends. False when it cannot.
    virtual bool TakeAfter(const CEditStep &next)
    {
        Q_UNUSED(next);
        return false;
    }

    // Field steps; the state before is the object's state now.
    static std::unique_ptr<CEditStep> ItemChange(CVornItem &item);
    static std::unique_ptr<CEditStep> BandChange(CVornBand &band);
    static std::unique_ptr<CEditStep> PageChange(CVornReport &report);
    static std::unique_ptr<CEditStep> ParametersChange(CVornReport &report);

    // Structural steps, recorded once the report holds the change.
    static std::unique_ptr<CEditStep> BandInserted(CVornBand *band, int index);
    static std::unique_ptr<CEditStep> BandRemoved(std::unique_ptr<CVornBand> band, int index);
    static std::unique_ptr<CEditStep> ItemInserted(CVornBand *band, CVornItem *item, int index);
    static std::unique_ptr<CEditStep> ItemRemoved(CVornBand *band, std::unique_ptr<CVornItem> item,
                                                  int index);
    // An item of a band that went from one place of its band's list to another.
    static std::unique_ptr<CEditStep> ItemMoved(CVornBand *band, CVornItem *item, int from, int to);
};
