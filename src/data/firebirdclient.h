#pragma once

#include <QString>

#include <cstdint>

// The part of the FireBird client library's C interface that the data layer uses, bound when
// first needed (the program does not link the library; the FireBird client package provides
// it). The declarations follow the library's published interface for 64-bit Linux.
namespace FireBird {

using Status = intptr_t;
// Attachments, transactions, statements and blobs are 32-bit handles.
using Handle = unsigned int;

struct Quad
{
    int high;
    unsigned int low;
};

struct SqlVar
{
    short sqltype;
    short sqlscale;
    short sqlsubtype;
    short sqllen;
    char *sqldata;
    short *sqlind;
    short sqlname_length;
    char sqlname[32];
    short relname_length;
    char relname[32];
    short ownname_length;
    char ownname[32];
    short aliasname_length;
    char aliasname[32];
};

struct SqlDa
{
    short version;
    char sqldaid[8];
    int sqldabc;
    short sqln;
    short sqld;
    SqlVar sqlvar[1];
};

// Column and parameter types (the low bit marks a nullable one).
enum Type : short {
    Varying = 448,
    Text = 452,
    Double = 480,
    Float = 482,
    Long = 496,
    Short = 500,
    Timestamp = 510,
    Blob = 520,
    DFloat = 530,
    Array = 540,
    Time = 560,
    Date = 570,
    Int64 = 580,
    Boolean = 32764,
};

constexpr short SqlDaVersion = 1;
constexpr unsigned short Dialect = 3;
constexpr Status NoMoreRows = 100;
constexpr Status SegmentPart = 335544366;
constexpr Status SegmentEnd = 335544367;
// isc_info_sql_stmt_type and its answer for a SELECT.
constexpr char InfoStatementType = 21;
constexpr int StatementSelect = 1;

struct Api
{
    Status (*attach)(Status *, short, const char *, Handle *, short, const char *);
    Status (*detach)(Status *, Handle *);
    Status (*startTransaction)(Status *, Handle *, short, ...);
    Status (*rollback)(Status *, Handle *);
    Status (*allocateStatement)(Status *, Handle *, Handle *);
    Status (*prepare)(Status *, Handle *, Handle *, unsigned short, const char *, unsigned short,
                      SqlDa *);
    Status (*describe)(Status *, Handle *, unsigned short, SqlDa *);
    Status (*describeBind)(Status *, Handle *, unsigned short, SqlDa *);
    Status (*statementInfo)(Status *, Handle *, short, const char *, short, char *);
    Status (*execute)(Status *, Handle *, Handle *, unsigned short, const SqlDa *);
    Status (*fetch)(Status *, Handle *, unsigned short, const SqlDa *);
    Status (*freeStatement)(Status *, Handle *, unsigned short);
    Status (*openBlob)(Status *, Handle *, Handle *, Handle *, Quad *, short, const char *);
    Status (*getSegment)(Status *, Handle *, unsigned short *, unsigned short, char *);
    Status (*closeBlob)(Status *, Handle *);
    int (*interpret)(char *, unsigned int, const Status **);
};

// The client library's calls, or null when the library or one of them is missing.
const Api *Client();

// The status vector's messages on one line; empty when it holds no error.
QString ErrorText(const Status *status);
// True when the status vector holds an error.
inline bool Failed(const Status *status)
{
    return status[0] == 1 && status[1] != 0;
}

} // namespace FireBird
