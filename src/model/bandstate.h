#pragma once

#include "vornband.h"

#include <QString>

// A band's own fields without its items, as the edit history keeps them. The
// kind never changes after a band is made, so it is not part of it.
struct CBandState
{
    QString name;
    int height = 0;
    int printOnFirstPage = 1;
    QString header;
    QString footer;
    QString databaseQuery;
    QString parentDataSource;
    QString printWhen;
    CBandPaging paging;

    static CBandState Of(const CVornBand &band);
    void ApplyTo(CVornBand &band) const;

    friend bool operator==(const CBandState &, const CBandState &) = default;
};
