#pragma once

#include "vantelengine.h"

#include <QHash>
#include <QString>

class CVornParameters;
class CVornReport;

// The work of the engine library's entry, apart from its C boundary.
namespace EngineCall {

// Asks the callback for the value of every parameter the report's queries hold, in band
// order. Each buffer starts with the value stored in the report, which the callback leaves in
// place when it has none. `values` receives the stored parameters with the answers over them.
// False with the scanner's message when a query's braces are misplaced.
bool AskParameterValues(const CVornReport &report, VntValueCallback callback, void *context,
                        CVornParameters &values, QString &message);

// For a report without a database: asks the callback for the value of every DB item's field,
// keyed by "data source\nfield" in lower case (see ItemValueKey).
QHash<QString, QString> AskItemValues(const CVornReport &report, VntValueCallback callback,
                                      void *context);
QString ItemValueKey(const QString &band, const QString &field);

// Reads the report file, asks for the values, lays the report out and shows the preview until
// the user closes it. Needs a QApplication on the calling thread. False with the one message.
bool PreviewReportFile(const QString &path, VntValueCallback callback, void *context,
                       QString &message);

// Copies a message into the caller's error buffer of VNT_ERROR_CHARS units: cut to fit
// (never between the halves of a surrogate pair) and NUL-terminated.
void WriteErrorText(const QString &message, char16_t *errorText);

} // namespace EngineCall
