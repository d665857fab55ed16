#pragma once

#include "propertyfont.h"
#include "stylerule.h"

#include <QString>

// One committed change of a grid row, as the edit handlers read it: the row's
// id (RowId), the name it shows (for the undo step) and its new value. Which of
// the value fields counts depends on the row: text for text, integer, option
// and file rows (integer rows are read from the typed text); color for colour
// rows; font for font rows; sqlText (the full text, line breaks kept) for SQL
// rows, the full expression for expression rows; styleRules for Styles rows.
struct CRowEdit
{
    QString id;
    QString name;
    QString value;
    quint32 color = 0;
    CPropertyFont font;
    QString sqlText;
    CStyleRules styleRules;
};
