#pragma once

#include <QString>

class CRenderArguments;
class QTextStream;

// The work of vantel-render --each / --each-file: reads the report once, opens its connection
// once and runs the report for each row of the list (of the shard asked for), writing a file
// per row through the output-file rules. Each row gives one JSON line on manifest:
//
//     {"row": 17, "file": "out/invoice-1055.pdf", "pages": 2, "ms": 3.1, "status": "ok"}
//
// with "status" "ok", "skipped" (--skip-existing found the file) or "error" with a "message".
// With --print each row is a print job instead, named by "job" in place of "file".
// A row that fails does not stop the others. With progress, a line on it that counts the rows
// is rewritten after each row. Returns 0 when every row ran or was skipped, 1 when a row
// failed; 1 with message when the batch could not start (the report, its connection, the list
// or the output name), before any file is written.
int RunBatchCommand(const CRenderArguments &arguments, QTextStream &manifest, QTextStream *progress,
                    QString &message);
