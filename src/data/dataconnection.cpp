#include "dataconnection.h"

#include "reportstatement.h"

#include <QCoreApplication>

std::unique_ptr<CDataCursor>
CDataConnection::Execute(const QString &sql, const EntryValueFunction &entry, QString &message)
{
    message.clear();
    CReportStatement statement;
    if (!CheckReportStatement(sql, Readings(), statement, message))
        return nullptr;
    QStringList values;
    for (const QString &name : std::as_const(statement.entries)) {
        QString value = entry ? entry(name) : QString();
        // A null text would be bound as SQL NULL; an entry without a value is the empty text.
        if (value.isNull())
            value = QStringLiteral("");
        values.append(value);
    }
    return Run(statement, values, message);
}

bool CDataConnection::ReadCatalogue(CCatalogue &, int, QString &message)
{
    message = QCoreApplication::translate("Vantel", "the database gives no catalogue");
    return false;
}
