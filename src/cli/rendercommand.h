#pragma once

#include <QList>
#include <QString>

class CRenderArguments;
struct CExportOptions;
class CVornParameters;
class CVornReport;
struct CRenderParameter;

// The work of vantel-render: reads the report, runs it against its database and writes the
// PDF or the PNG. False with the one message for the user; the output file is then neither
// created nor changed (it is written beside and renamed into place when complete).
bool RunRenderCommand(const CRenderArguments &arguments, QString &message);

// The run's parameter values: those stored in the report, each replaced by a command-line
// value for the same band and name (letter case ignored). A command-line value for a name
// that no query of that band holds is refused, so that a typing error cannot go unnoticed.
bool BuildRunParameters(const CVornReport &report, const QList<CRenderParameter> &overrides,
                        CVornParameters &values, QString &message);

// How the command line's format, title, PDF/A, resolution and page range are written, for one
// run or for every file of a list (the output path is set by the caller).
CExportOptions ExportOptionsOf(const CRenderArguments &arguments, const CVornReport &report);
