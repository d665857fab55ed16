#pragma once

#include <QString>

class CVornReport;

// The report's own fields (the page, the title and the database) without its
// bands and parameters, as the edit history keeps them.
struct CPageState
{
    QString title;
    int width = 0;
    int height = 0;
    int databaseType = -1;
    int portrait = 1;
    QString connectString;
    QString locale;

    static CPageState Of(const CVornReport &report);
    void ApplyTo(CVornReport &report) const;

    friend bool operator==(const CPageState &, const CPageState &) = default;
};
