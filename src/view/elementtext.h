#pragma once

#include <QString>

class CVornElement;
class CVornReport;

// Short texts about a band or item of the report for the design view's tooltip and the status
// bar. Lengths are shown in millimetres with two decimals (the model counts hundredths).
namespace ElementText {

// "Text 3 (Text) on Report Contents 1" for an item, "Report Contents 1 (Report Contents)" for
// a band; empty for null.
QString Describe(const CVornReport &report, const CVornElement *element);

// Where the object lies and how large it is: an item's left and top in its band with its width
// and height, a band's top on the page with its height; empty for null or an object that is
// not in the report.
QString Geometry(const CVornReport &report, const CVornElement *element);

// A length in hundredths of a millimetre as "12.34 mm".
QString Millimetres(qint64 value);

} // namespace ElementText
