#pragma once

#include <QString>

// The parts of a FireBird connection string "login:password@database". The login ends at the
// first colon and the database starts after the last "@", so a password may hold both ":" and
// "@" as it is; a login cannot hold ":" and a database cannot hold "@". Without ":" before the
// "@" the password is empty. A text without "@" is malformed: every part stays empty.
struct CFireBirdConnect
{
    QString login;
    QString password;
    QString database;

    static CFireBirdConnect Parse(const QString &text);
    // What a message may show of a connection string: the text before its first ":", where a
    // password cannot stand.
    static QString Shown(const QString &text);
};

// An ODBC connection string with the value of every PWD or PASSWORD attribute replaced by
// "***", for messages. Values in braces ({...}, "}}" for a brace) are understood.
QString HideOdbcPassword(const QString &connectString);
// The value of the first PWD or PASSWORD attribute, braces removed; empty when there is none.
QString OdbcPassword(const QString &connectString);

// The first setting of an ODBC connection string that a report may not use, as written there,
// empty when there is none: a driver given as the path of a library (any library would be
// loaded), a file DSN read or written (FILEDSN, SAVEFILE), and driver settings that run SQL at
// connection, load code or write files where they say (psqlODBC ConnSettings, pqopt, Logdir;
// SQLite ODBC LoadExt, Tracefile, JournalMode; abbreviations included).
QString RefusedOdbcSetting(const QString &connectString);
// The value of the first attribute named key (letter case ignored, braces removed).
QString OdbcAttribute(const QString &connectString, const QString &key);
