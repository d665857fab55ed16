// Checks any text as a report's SQL under every reading. A refusal always says why; an accepted
// statement, checked again as it would reach the driver, is accepted unchanged with nothing
// left to bind: the check finds nothing new in its own output.

#include "reportstatement.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString sql
            = QStringView(reinterpret_cast<const char16_t *>(data), qsizetype(size / 2)).toString();
    // The readings a connection asks for; MySQL's is never used alone, and alone it would
    // read "SELECT--;" as a statement that ends in a comment once its ";" is cut off.
    for (const unsigned readings : {SqlReading::Standard, SqlReading::PostgreSQL,
                                    SqlReading::Standard | SqlReading::MySql, SqlReading::Any}) {
        CReportStatement statement;
        QString message;
        if (!CheckReportStatement(sql, readings, statement, message)) {
            if (message.isEmpty())
                std::abort();
            continue;
        }
        if (statement.text.isEmpty() || !message.isEmpty())
            std::abort();
        CReportStatement again;
        if (!CheckReportStatement(statement.text, readings, again, message)
            || again.text != statement.text || !again.entries.isEmpty()) {
            std::fprintf(stderr, "not stable: %s\n", qPrintable(message));
            std::abort();
        }
    }
    return 0;
}
