#pragma once

#include <QString>
#include <QStringList>

class CRenderArguments;

// The work of vantel-render --check: reads the report, looks up the columns of its queries
// against its database and runs every check on it. lines receives one line per problem
// ("BAND/ITEM: message"), none when the report is sound. False with the message for the user
// when the report cannot be read at all or a --param names no entry of the report. A report
// that reads but breaks a rule of the template is checked all the same, that rule's message
// being its first problem.
bool RunCheckCommand(const CRenderArguments &arguments, QStringList &lines, QString &message);
