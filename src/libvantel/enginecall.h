#pragma once

#include "vantelengine.h"
#include "vornreport.h"

#include <QHash>
#include <QString>

#include <memory>

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

// One call's report with the caller's answers, ready to lay out.
struct CPreparedRun
{
    QString path;
    std::unique_ptr<CVornReport> report;
    std::shared_ptr<const CVornParameters> values;
    QHash<QString, QString> itemValues;
    bool hasDatabase = true;
};

// Reads the report file and asks the caller for every value it needs, before any other work.
// False with the one message.
bool Prepare(const QString &path, VntValueCallback callback, void *context, CPreparedRun &run,
             QString &message);

// Lays the prepared report out and shows the preview until the user closes it. Needs a
// QApplication on the calling thread. False with the one message.
bool Show(const CPreparedRun &run, QString &message);

// Copies a message into the caller's error buffer of VNT_ERROR_CHARS units, NUL-terminated; a
// longer message is shortened to fit (ShortenToFit) and ends with "...".
void WriteErrorText(const QString &message, char16_t *errorText);

} // namespace EngineCall
