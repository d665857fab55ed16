#include "connectioncheck.h"

#include "dataconnection.h"

#include <QCoreApplication>

bool CheckDataConnection(int databaseType, const QString &connectString,
                         const QString &reportFolder, QString &message)
{
    if (!OpenDataConnection(databaseType, connectString, reportFolder, message))
        return false;
    message = QCoreApplication::translate("Vantel", "Connected");
    return true;
}
