#pragma once

#include <QFlags>

class CVornElement;

// What one change of the report touched, as the document tells the views once per change: an
// edit taken into the history, an undo or redo of one, or a change made outside the history.
// A view refreshes once for it and may leave out what the parts say did not change.
struct CReportChange
{
    enum Part {
        // The report's own fields: title, database, connection string, stored parameter values.
        Report = 0x01,
        // The page's width, height or orientation (the views' extent).
        PageSize = 0x02,
        // A band's fields, or bands added or taken out.
        Bands = 0x04,
        // Items' fields, or items added, taken out or put in another drawing order.
        Items = 0x08,
        // The selection the change ends with differs from the one it started with.
        Selection = 0x10,
        // An undo or redo: the history brought the report back to another state.
        Replay = 0x20,
    };
    Q_DECLARE_FLAGS(Parts, Part)

    // Every part of the report itself: a view refreshes everything.
    static constexpr Parts Everything {Report, PageSize, Bands, Items};

    Parts parts;
    // After an undo or redo, the primary object of the selection it brought back (null: none).
    CVornElement *selected = nullptr;

    bool Has(Part part) const { return parts.testFlag(part); }
};

Q_DECLARE_OPERATORS_FOR_FLAGS(CReportChange::Parts)
