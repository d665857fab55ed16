#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A table of the report's database (or some of its columns) dragged from the Data pane's
// schema tree onto the design view, where it becomes a band or a look-up column. Only names
// travel: the receiver looks the table up in the catalogue it holds.
struct CTableChoice
{
    QString schema;
    QString table;
    // The columns dragged, in table order; empty for the whole table.
    QStringList columns;

    friend bool operator==(const CTableChoice &, const CTableChoice &) = default;
};

namespace TableChoice {

inline constexpr char MimeType[] = "application/x-vantel-table";

QByteArray Encode(const CTableChoice &choice);
// A choice with an empty table for bytes that are not one.
CTableChoice Decode(const QByteArray &bytes);

} // namespace TableChoice
