#pragma once

#include "dataconnection.h"

struct CFireBirdConnect;

// A report's FireBird database, reached through the client library's own interface rather than
// Qt SQL, so that the session can be what a report needs: one transaction that is read-only
// (the server refuses every write, a procedure's autonomous transactions included) and is
// rolled back at the end, a connection timeout of the client's own, and statements that the
// server itself reports to be a SELECT before they run.
//
// Opens the database named by parts (a path or alias for the embedded engine, host:alias or
// host/port:alias for a server). A server that does not answer within timeoutMs fails the open
// with timedOut set; otherwise a failure gives the client's message in error.
std::unique_ptr<CDataConnection> OpenFireBirdConnection(const CFireBirdConnect &parts,
                                                        int timeoutMs, QString &error,
                                                        bool &timedOut);
