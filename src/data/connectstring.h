#pragma once

#include <QString>

// The parts of a FireBird connection string "login:password@database". The login ends at the
// first colon and the database starts after the last "@", so a password may hold both ":" and
// "@" as it is; a login cannot hold ":" and a database cannot hold "@". Without "@" the whole
// text is the database; without ":" before the "@" the password is empty.
struct CFireBirdConnect
{
    QString login;
    QString password;
    QString database;

    static CFireBirdConnect Parse(const QString &text);
};

// An ODBC connection string with the value of every PWD or PASSWORD attribute replaced by
// "***", for messages. Values in braces ({...}, "}}" for a brace) are understood.
QString HideOdbcPassword(const QString &connectString);
// The value of the first PWD or PASSWORD attribute, braces removed; empty when there is none.
QString OdbcPassword(const QString &connectString);
