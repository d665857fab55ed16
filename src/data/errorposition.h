#pragma once

#include <QString>

// The place in a query's text that a database's message about it points at, as a position in
// the text the user wrote (its entries {NAME} and the blanks around it included), or -1 when
// the message names none. Read are a line and column ("line 2, column 7"), a character
// position ("at character 15", "Position: 15"), both of the text the driver was given (trimmed,
// each entry a "?"), or else a quoted or named word ("near \"FORM\"", "no such column: Nme")
// looked up in the text.
int ErrorPosition(const QString &sql, const QString &message);
