#include "cataloguereaders.h"

#include "drivercancel.h"
#include "loadedlibrary.h"
#include "sqlsession.h"

#include <QCoreApplication>
#include <QSqlDriver>

#include <cstdint>

using namespace Qt::StringLiterals;

namespace {

// ODBC's constants, as its C interface defines them.
constexpr short HandleStatement = 3;
constexpr short NullTerminated = -3;
constexpr short CharWide = -8;
constexpr short NoData = 100;
constexpr int64_t NullData = -1;
constexpr unsigned short IdentifierCase = 28;
constexpr unsigned short IdentifierQuoteChar = 29;
constexpr unsigned short DbmsName = 17;
constexpr unsigned short CaseUpper = 1;
constexpr unsigned short CaseLower = 2;

bool Succeeded(short result)
{
    return result == 0 || result == 1;
}

using Text = const char16_t *;

// The driver manager's calls that the catalogue needs, found in the library that Qt's ODBC
// driver has loaded.
struct COdbc
{
    CLoadedLibrary library {"libodbc.so.2"};
    short (*allocate)(short, void *, void **) = library.Find<decltype(allocate)>("SQLAllocHandle");
    short (*release)(short, void *) = library.Find<decltype(release)>("SQLFreeHandle");
    short (*closeCursor)(void *) = library.Find<decltype(closeCursor)>("SQLCloseCursor");
    short (*fetch)(void *) = library.Find<decltype(fetch)>("SQLFetch");
    short (*getData)(void *, unsigned short, short, void *, int64_t, int64_t *)
            = library.Find<decltype(getData)>("SQLGetData");
    short (*getInfo)(void *, unsigned short, void *, short, short *)
            = library.Find<decltype(getInfo)>("SQLGetInfo");
    short (*diagnostic)(short, void *, short, char16_t *, int32_t *, char16_t *, short, short *)
            = library.Find<decltype(diagnostic)>("SQLGetDiagRecW");
    short (*tables)(void *, Text, short, Text, short, Text, short, Text, short)
            = library.Find<decltype(tables)>("SQLTablesW");
    short (*columns)(void *, Text, short, Text, short, Text, short, Text, short)
            = library.Find<decltype(columns)>("SQLColumnsW");
    short (*primaryKeys)(void *, Text, short, Text, short, Text, short)
            = library.Find<decltype(primaryKeys)>("SQLPrimaryKeysW");
    short (*foreignKeys)(void *, Text, short, Text, short, Text, short, Text, short, Text, short,
                         Text, short)
            = library.Find<decltype(foreignKeys)>("SQLForeignKeysW");

    bool Complete() const
    {
        return allocate && release && closeCursor && fetch && getData && getInfo && diagnostic
                && tables && columns && primaryKeys && foreignKeys;
    }
};

// One statement handle for the catalogue calls, reachable by the session's Cancel().
class CCatalogueStatement
{
public:
    CCatalogueStatement(const COdbc &odbc, CSqlSession &session, void *connection)
        : m_odbc(odbc)
        , m_session(session)
    {
        if (!Succeeded(m_odbc.allocate(HandleStatement, connection, &m_statement)))
            m_statement = nullptr;
        m_session.AddStatement(m_statement);
    }
    ~CCatalogueStatement()
    {
        m_session.RemoveStatement(m_statement);
        if (m_statement)
            m_odbc.release(HandleStatement, m_statement);
    }
    CCatalogueStatement(const CCatalogueStatement &) = delete;
    CCatalogueStatement &operator=(const CCatalogueStatement &) = delete;

    void *Handle() const { return m_statement; }

    // Checks a call's result; false with the driver's message (or "Cancelled").
    bool Check(short result, QString &message) const
    {
        if (Succeeded(result))
            return true;
        if (m_session.IsCancelled()) {
            message = QCoreApplication::translate("Vantel", "Cancelled");
            return false;
        }
        char16_t state[6] = {};
        char16_t text[1024] = {};
        int32_t native = 0;
        short length = 0;
        message = m_statement
                        && Succeeded(m_odbc.diagnostic(HandleStatement, m_statement, 1, state,
                                                       &native, text, 1024, &length))
                ? QString::fromUtf16(text, std::min<int>(length, 1023)).trimmed()
                : QCoreApplication::translate("Vantel", "the ODBC driver gave no catalogue");
        return false;
    }

    // Every row of the result just produced, the first columns of each as text (a NULL as a
    // null QString).
    bool Rows(int columnCount, QList<QStringList> &rows, QString &message) const
    {
        for (;;) {
            const short result = m_odbc.fetch(m_statement);
            if (result == NoData)
                break;
            if (!Check(result, message))
                return false;
            QStringList row;
            for (int column = 1; column <= columnCount; ++column)
                row.append(Value(column));
            rows.append(row);
        }
        m_odbc.closeCursor(m_statement);
        return true;
    }

private:
    QString Value(int column) const
    {
        QString value;
        char16_t buffer[512];
        const qsizetype available = qsizetype(sizeof buffer / sizeof buffer[0]) - 1;
        for (;;) {
            int64_t length = 0;
            buffer[0] = 0;
            const short result = m_odbc.getData(m_statement, (unsigned short)(column), CharWide,
                                                buffer, int64_t(sizeof buffer), &length);
            if (!Succeeded(result) || length == NullData)
                return value;
            // Without the length (SQL_NO_TOTAL) or past the buffer, the part read ends at the
            // terminating NUL the driver writes, within the buffer.
            qsizetype chars = length / 2;
            if (length < 0 || chars > available) {
                chars = 0;
                while (chars < available && buffer[chars] != 0)
                    ++chars;
            }
            value.append(QString::fromUtf16(buffer, chars));
            if (result == 0)
                return value;
            if (chars < available)
                return value;
        }
    }

    const COdbc &m_odbc;
    CSqlSession &m_session;
    void *m_statement = nullptr;
};

// A text argument of a catalogue call: a null text leaves the argument out.
struct CArgument
{
    explicit CArgument(const QString &text)
        : value(text)
    { }
    Text Data() const
    {
        return value.isNull() ? nullptr : reinterpret_cast<Text>(value.constData());
    }
    short Length() const { return value.isNull() ? 0 : NullTerminated; }
    QString value;
};

QString OdbcType(const QString &name, const QString &size, const QString &digits)
{
    const QString type = name.toUpper();
    if (size.isEmpty())
        return type;
    if (type.contains(u"CHAR"_s))
        return u"%1(%2)"_s.arg(type, size);
    if (type == u"NUMERIC"_s || type == u"DECIMAL"_s)
        return digits.isEmpty() ? u"%1(%2)"_s.arg(type, size)
                                : u"%1(%2,%3)"_s.arg(type, size, digits);
    return type;
}

bool IsSystemSchema(const QString &schema)
{
    return schema == u"pg_catalog"_s || schema == u"information_schema"_s
            || schema.startsWith(u"pg_toast"_s);
}

} // namespace

namespace CatalogueReaders {

bool Odbc(CSqlSession &session, CCatalogue &catalogue, int tableLimit, QString &message)
{
    const COdbc odbc;
    QSqlDatabase &db = session.Database();
    void *connection = DriverCancel::PointerHandle(db.driver() ? db.driver()->handle() : QVariant(),
                                                   "void*");
    if (!odbc.Complete() || !connection) {
        message = QCoreApplication::translate("Vantel", "the ODBC driver gave no catalogue");
        return false;
    }

    char text[64] = {};
    short length = 0;
    if (Succeeded(odbc.getInfo(connection, IdentifierQuoteChar, text, short(sizeof text), &length))
        && text[0] != ' ' && text[0] != 0)
        catalogue.quote = QLatin1Char(text[0]);
    unsigned short identifierCase = 0;
    if (Succeeded(odbc.getInfo(connection, IdentifierCase, &identifierCase,
                               short(sizeof identifierCase), &length)))
        catalogue.folding = identifierCase == CaseUpper ? IdentifierFolding::Upper
                : identifierCase == CaseLower           ? IdentifierFolding::Lower
                                                        : IdentifierFolding::None;
    if (Succeeded(odbc.getInfo(connection, DbmsName, text, short(sizeof text), &length))
        && QString::fromUtf8(text).contains(u"PostgreSQL"_s, Qt::CaseInsensitive)) {
        catalogue.defaultSchema = u"public"_s;
        catalogue.folding = IdentifierFolding::Lower;
    }

    const CCatalogueStatement statement(odbc, session, connection);
    void *handle = statement.Handle();
    if (!handle)
        return statement.Check(-1, message);
    const CArgument none {QString()};
    const CArgument types {u"TABLE,VIEW"_s};
    QList<QStringList> rows;
    if (!statement.Check(odbc.tables(handle, none.Data(), 0, none.Data(), 0, none.Data(), 0,
                                     types.Data(), types.Length()),
                         message)
        || !statement.Rows(4, rows, message))
        return false;
    for (const QStringList &row : std::as_const(rows)) {
        if (IsSystemSchema(row[1]))
            continue;
        if (catalogue.tables.size() == tableLimit) {
            catalogue.truncated = true;
            break;
        }
        CCatalogueTable table;
        table.schema = row[1];
        table.name = row[2];
        table.view = row[3].contains(u"VIEW"_s, Qt::CaseInsensitive);
        catalogue.tables.append(table);
    }

    for (CCatalogueTable &table : catalogue.tables) {
        const CArgument schema {table.schema.isEmpty() ? QString() : table.schema};
        const CArgument name {table.name};
        // The name is a pattern to SQLColumns: rows of other tables that match it are skipped.
        rows.clear();
        if (!statement.Check(odbc.columns(handle, none.Data(), 0, schema.Data(), schema.Length(),
                                          name.Data(), name.Length(), none.Data(), 0),
                             message)
            || !statement.Rows(17, rows, message))
            return false;
        for (const QStringList &row : std::as_const(rows)) {
            if (row[2] != table.name || row[1] != schema.value)
                continue;
            CCatalogueColumn column;
            column.name = row[3];
            column.type = OdbcType(row[5], row[6], row[8]);
            column.nullable = row[10] != u"0"_s;
            table.columns.append(column);
        }

        rows.clear();
        if (!statement.Check(odbc.primaryKeys(handle, none.Data(), 0, schema.Data(),
                                              schema.Length(), name.Data(), name.Length()),
                             message)
            || !statement.Rows(5, rows, message))
            return false;
        for (const QStringList &row : std::as_const(rows)) {
            for (CCatalogueColumn &column : table.columns) {
                if (column.name == row[3])
                    column.keyPosition = row[4].toInt();
            }
        }

        rows.clear();
        if (!statement.Check(odbc.foreignKeys(handle, none.Data(), 0, none.Data(), 0, none.Data(),
                                              0, none.Data(), 0, schema.Data(), schema.Length(),
                                              name.Data(), name.Length()),
                             message)
            || !statement.Rows(12, rows, message))
            return false;
        for (const QStringList &row : std::as_const(rows)) {
            // A new key starts at its first column (KEY_SEQ 1).
            if (row[8].toInt() <= 1 || table.foreignKeys.isEmpty()) {
                CCatalogueForeignKey key;
                key.name = row[11];
                key.refSchema = row[1];
                key.refTable = row[2];
                table.foreignKeys.append(key);
            }
            table.foreignKeys.last().columns.append(row[7]);
            table.foreignKeys.last().refColumns.append(row[3]);
        }
    }
    return true;
}

} // namespace CatalogueReaders
