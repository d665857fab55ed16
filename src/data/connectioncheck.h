#pragma once

#include <QString>

// The designer's "Test Connection": opens the report's database with the report's current
// settings (as a run would, bounded in time) and closes it again. True with "Connected", or
// false with the message a run would give.
bool CheckDataConnection(int databaseType, const QString &connectString,
                         const QString &reportFolder, QString &message);
