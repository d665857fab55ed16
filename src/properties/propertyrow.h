#pragma once

#include "propertyfont.h"
#include "stylerule.h"

#include <QList>
#include <QString>
#include <QStringList>

// How a row of the property grid shows and edits its value.
enum class PropertyRowKind {
    ReadOnly, // text, not editable, drawn disabled
    Text, // text typed in place
    Integer, // millimetres (to the hundredth) typed in place
    Option, // picked from a fixed list, no typing
    Group, // no value of its own: the values of its sub-rows, comma-separated
    Color, // a colour 0x00BBGGRR
    Font, // a logical font with a colour
    File, // a file name chosen in a file-open dialog
    Sql, // the one-line form of an SQL text edited in the SQL editor
    Suggest, // text typed in place, or picked from a drop-down of the values known to fit
    Path, // a file path typed in place, or chosen in a file dialog with the "..." button
    Expression, // an expression shown on one line, edited in the expression editor
    Styles, // an item's style rules, edited in the Styles dialog
};

// One row of a property page as plain data: the grid widget only shows such a
// list. The shown value is always filled (for colour, font and SQL rows it is
// the text form of the payload below).
struct CPropertyRow
{
    // What the row stands for (RowId), whatever text it shows.
    QString id;
    QString name;
    QString value;
    PropertyRowKind kind = PropertyRowKind::ReadOnly;
    // Option rows: the choices in display order, without duplicates. Suggest rows: the
    // values offered.
    QStringList options;
    // Shown in the description area; empty for rows without one.
    QString description;
    // Group rows only.
    QList<CPropertyRow> subRows;

    // Colour rows: the colour. Font rows: the colour offered with the font.
    quint32 color = 0;
    // Font rows: the font the item's font fields give on the screen.
    CPropertyFont font;
    // SQL and expression rows: the full text with its line breaks (empty when there is none).
    QString sqlText;
    // Expression rows: whether the expression is a condition (Print When).
    bool condition = false;
    // Styles rows: the rules.
    CStyleRules styleRules;
    // A row of several objects whose values differ: it shows an empty value (and no colour
    // swatch) until it is given one.
    bool mixed = false;
};
