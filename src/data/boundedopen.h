#pragma once

#include <QSqlDatabase>
#include <QString>

#include <functional>

// Opens a Qt SQL connection on a helper thread and waits at most timeoutMs for it, so that a
// server that does not answer cannot hold the caller longer than that: the client libraries
// offer no dependable bound of their own. An open that succeeds in time hands its connection to
// the calling thread (Qt SQL's one-thread rule holds from then on); one that is still running
// when the time is up is left to finish on its own and then removes its connection itself.
//
// database receives the connection (valid even when the open failed, so that the caller
// removes it); error the driver's message, or empty with timedOut set.
struct CBoundedOpen
{
    QString driver;
    QString connectionName;
    std::function<void(QSqlDatabase &)> configure;
    int timeoutMs = 10000;

    bool Run(QSqlDatabase &database, QString &error, bool &timedOut) const;
};

// Counts an open for as long as it runs, on whichever thread it ends (see DataOpensInFlight).
class COpenInFlight
{
public:
    COpenInFlight();
    ~COpenInFlight();
    COpenInFlight(const COpenInFlight &) = delete;
    COpenInFlight &operator=(const COpenInFlight &) = delete;
};
