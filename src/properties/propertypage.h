#pragma once

#include "propertyrow.h"

#include <optional>

class CVornElement;
class CVornReport;

// The rows of the property page of one object, top to bottom: the report page
// when current is null, otherwise the page of the band or item's kind. The
// report page's "(File Name)" shows fileName, or documentPath when fileName is
// empty. Font rows convert point sizes to pixels at screenDpiY. Nothing for a
// kind that has no page (and for an object whose class does not match its
// kind), which leaves the grid as it is.
std::optional<QList<CPropertyRow>> BuildPage(const CVornReport &report, const CVornElement *current,
                                             const QString &fileName, const QString &documentPath,
                                             int screenDpiY);

// The id of the row that FocusMainProperty selects: the title for the report,
// the text of a Text item, the data field of a DB Text item and the name of
// every other object.
QString MainPropertyId(const CVornElement *current);

// An SQL text on one line: tabs, CR LF pairs and single CR and LF become
// blanks, then every run of blanks becomes one blank. Blanks at either end stay.
QString SqlOneLine(const QString &sql);
// An expression on one line, as SqlOneLine makes an SQL text.
QString ExpressionOneLine(const QString &text);

// The patterns a Display Format row offers, and what a pattern writes for a sample value in a
// locale ("1,234.50" for "#,##0.00", "14 March 2026" for "d MMMM yyyy"), or why it writes
// nothing.
QStringList DisplayFormatPatterns();
QString DisplayFormatSample(const QString &pattern, const QString &locale);
// The locales the report's Locale row offers; the empty text is the C conventions.
QStringList LocaleChoices();

// A stored length in hundredths of a millimetre as millimetres with the
// decimals it needs, at most two ("1.99" for 199, "-1.5" for -150, "297" for 29700).
QString MillimetreText(int stored);

// The value a group row shows: its sub-rows' values separated by ", ".
QString GroupValue(const QList<CPropertyRow> &subRows);
