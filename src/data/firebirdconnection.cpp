#include "firebirdconnection.h"

#include "boundedopen.h"
#include "cataloguereaders.h"
#include "connectstring.h"
#include "drivercancel.h"
#include "firebirdclient.h"
#include "reportstatement.h"
#include "sqlconnection.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>

#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

using namespace FireBird;

namespace {

QString Tr(const char *text)
{
    return QCoreApplication::translate("Vantel", text);
}

// The attachment and its one transaction, shared by the connection and its cursors: it ends
// (rolled back, detached) when the last of them is gone.
class CFireBirdSession
{
public:
    CFireBirdSession(Handle database, QString secret)
        : m_database(database)
        , m_secret(std::move(secret))
    { }
    ~CFireBirdSession()
    {
        Status status[20] = {};
        if (m_transaction)
            Client()->rollback(status, &m_transaction);
        Client()->detach(status, &m_database);
    }
    CFireBirdSession(const CFireBirdSession &) = delete;
    CFireBirdSession &operator=(const CFireBirdSession &) = delete;

    // A snapshot that may only read, waiting for no lock.
    bool Begin(QString &message)
    {
        static const char readOnlySnapshot[]
                = {3 /* version3 */, 2 /* concurrency */, 8 /* read */, 7 /* nowait */};
        Status status[20] = {};
        Client()->startTransaction(status, &m_transaction, 1, &m_database,
                                   int(sizeof readOnlySnapshot), readOnlySnapshot);
        message = ErrorText(status);
        return !Failed(status);
    }

    Handle *Database() { return &m_database; }
    Handle *Transaction() { return &m_transaction; }

    // The client's message without the password, or "Cancelled" after Cancel().
    QString Message(const Status *status) const
    {
        return m_cancelled ? Tr("Cancelled") : HideSecret(ErrorText(status), m_secret);
    }

    void Cancel()
    {
        m_cancelled = true;
        DriverCancel::CancelFireBird(m_database);
    }
    bool IsCancelled() const { return m_cancelled; }

private:
    Handle m_database;
    Handle m_transaction = 0;
    QString m_secret;
    std::atomic_bool m_cancelled = false;
};

// An SQLDA with room for count variables.
class CDescriptor
{
public:
    explicit CDescriptor(int count) { Resize(count); }

    void Resize(int count)
    {
        const size_t bytes = sizeof(SqlDa) + size_t(std::max(count, 1) - 1) * sizeof(SqlVar);
        m_storage.assign((bytes + sizeof(std::max_align_t) - 1) / sizeof(std::max_align_t), {});
        Get()->version = SqlDaVersion;
        Get()->sqln = short(std::max(count, 1));
    }
    SqlDa *Get() { return reinterpret_cast<SqlDa *>(m_storage.data()); }
    SqlVar &At(int i) { return Get()->sqlvar[i]; }
    int Count() { return Get()->sqld; }

private:
    std::vector<std::max_align_t> m_storage;
};

QDate BaseDate()
{
    return QDate(1858, 11, 17);
}

double Scaled(double value, short scale)
{
    return value * std::pow(10.0, scale);
}

class CFireBirdCursor final : public CDataCursor
{
public:
    explicit CFireBirdCursor(std::shared_ptr<CFireBirdSession> session)
        : m_session(std::move(session))
    { }
    ~CFireBirdCursor() override
    {
        Status status[20] = {};
        if (m_statement)
            Client()->freeStatement(status, &m_statement, 2 /* drop */);
    }

    bool Open(const QString &text, const QStringList &values, QString &message)
    {
        const Api *api = Client();
        Status status[20] = {};
        const QByteArray sql = text.toUtf8();
        if (sql.size() > 65535) {
            message = Tr("the query is longer than 64 KB");
            return false;
        }
        api->allocateStatement(status, m_session->Database(), &m_statement);
        if (!Failed(status))
            api->prepare(status, m_session->Transaction(), &m_statement,
                         (unsigned short)(sql.size()), sql.constData(), Dialect, m_output.Get());
        if (Failed(status)) {
            message = m_session->Message(status);
            return false;
        }
        // The server's own word on what the statement is: only a SELECT runs.
        if (!IsSelect(message))
            return false;
        if (m_output.Count() > m_output.Get()->sqln) {
            m_output.Resize(m_output.Count());
            api->describe(status, &m_statement, Dialect, m_output.Get());
        }
        api->describeBind(status, &m_statement, Dialect, m_input.Get());
        if (!Failed(status) && m_input.Count() > m_input.Get()->sqln) {
            m_input.Resize(m_input.Count());
            api->describeBind(status, &m_statement, Dialect, m_input.Get());
        }
        if (Failed(status)) {
            message = m_session->Message(status);
            return false;
        }
        if (m_input.Count() != values.size()) {
            message = Tr("the query holds %1 parameter marks, of which %2 are query entries")
                              .arg(m_input.Count())
                              .arg(values.size());
            return false;
        }
        BindText(values);
        PrepareColumns();
        api->execute(status, m_session->Transaction(), &m_statement, Dialect,
                     m_input.Count() ? m_input.Get() : nullptr);
        if (Failed(status)) {
            message = m_session->Message(status);
            return false;
        }
        return ReadAhead(message);
    }

    const QStringList &GetColumns() const override { return *m_columns; }
    QList<QMetaType> GetColumnTypes() const override { return m_types; }
    bool HasNext() const override { return m_hasNext; }
    CDataRow Peek() const override { return m_hasNext ? CDataRow(m_columns, m_next) : CDataRow(); }

    bool Fetch(CDataRow &row, QString &message) override
    {
        message.clear();
        if (!m_hasNext)
            return false;
        row = CDataRow(m_columns, std::move(m_next));
        m_next = QVariantList();
        return ReadAhead(message);
    }

private:
    bool IsSelect(QString &message)
    {
        Status status[20] = {};
        char answer[16] = {};
        Client()->statementInfo(status, &m_statement, 1, &InfoStatementType, short(sizeof answer),
                                answer);
        if (Failed(status)) {
            message = m_session->Message(status);
            return false;
        }
        int type = 0;
        if (answer[0] == InfoStatementType) {
            const int length = (unsigned char)(answer[1]) | ((unsigned char)(answer[2]) << 8);
            for (int i = 0; i < length && i < 4; ++i)
                type |= (unsigned char)(answer[3 + i]) << (8 * i);
        }
        if (type != StatementSelect) {
            message = Tr("the database does not take the statement for a query that reads");
            return false;
        }
        return true;
    }

    // Every parameter is sent as text; the server converts it to the parameter's type.
    void BindText(const QStringList &values)
    {
        m_inputData.resize(values.size());
        m_inputNull.assign(values.size(), 0);
        for (int i = 0; i < m_input.Count(); ++i) {
            QByteArray bytes = values.at(i).toUtf8().left(32765);
            std::vector<char> &data = m_inputData[i];
            data.resize(size_t(bytes.size()) + 2);
            const short length = short(bytes.size());
            std::memcpy(data.data(), &length, 2);
            std::memcpy(data.data() + 2, bytes.constData(), size_t(bytes.size()));
            SqlVar &var = m_input.At(i);
            var.sqltype = Varying | 1;
            var.sqlscale = 0;
            var.sqllen = length;
            var.sqldata = data.data();
            var.sqlind = &m_inputNull[i];
        }
    }

    void PrepareColumns()
    {
        const int count = m_output.Count();
        QStringList columns;
        m_outputData.resize(count);
        m_outputNull.assign(count, 0);
        for (int i = 0; i < count; ++i) {
            SqlVar &var = m_output.At(i);
            columns.append(QString::fromUtf8(var.aliasname, var.aliasname_length).trimmed());
            switch (var.sqltype & ~1) {
            case Varying:
            case Text:
            case Double:
            case Float:
            case Long:
            case Short:
            case Timestamp:
            case Blob:
            case DFloat:
            case Time:
            case Date:
            case Int64:
            case Boolean:
                break;
            default:
                // Types this client does not know (arrays, newer servers' types) come as text.
                var.sqltype = short(Varying | 1);
                var.sqllen = 256;
                var.sqlscale = 0;
                break;
            }
            m_outputData[i].assign(size_t(var.sqllen) + 2, 0);
            var.sqldata = m_outputData[i].data();
            var.sqlind = &m_outputNull[i];
            m_types.append(TypeOf(var));
        }
        m_columns = std::make_shared<const QStringList>(std::move(columns));
    }

    // The type of the values Value() gives for a column; a text BLOB (sub-type 1) counts as text.
    static QMetaType TypeOf(const SqlVar &var)
    {
        switch (var.sqltype & ~1) {
        case Varying:
        case Text:
            return QMetaType::fromType<QString>();
        case Short:
        case Long:
            if (var.sqlscale < 0)
                return QMetaType::fromType<double>();
            return (var.sqltype & ~1) == Long && var.sqllen != 4 ? QMetaType::fromType<qint64>()
                                                                 : QMetaType::fromType<int>();
        case Int64:
            return var.sqlscale < 0 ? QMetaType::fromType<double>() : QMetaType::fromType<qint64>();
        case Float:
        case Double:
        case DFloat:
            return QMetaType::fromType<double>();
        case Date:
            return QMetaType::fromType<QDate>();
        case Time:
            return QMetaType::fromType<QTime>();
        case Timestamp:
            return QMetaType::fromType<QDateTime>();
        case Boolean:
            return QMetaType::fromType<bool>();
        case Blob:
            return var.sqlsubtype == 1 ? QMetaType::fromType<QString>()
                                       : QMetaType::fromType<QByteArray>();
        default:
            return QMetaType();
        }
    }

    bool ReadAhead(QString &message)
    {
        m_hasNext = false;
        if (m_session->IsCancelled()) {
            message = Tr("Cancelled");
            return false;
        }
        Status status[20] = {};
        const Status result = Client()->fetch(status, &m_statement, Dialect, m_output.Get());
        if (result == NoMoreRows) {
            // Done: the statement's cursor goes now, not when this object does.
            Client()->freeStatement(status, &m_statement, 1 /* close */);
            return true;
        }
        if (Failed(status)) {
            message = m_session->Message(status);
            return false;
        }
        m_next.clear();
        m_next.reserve(m_output.Count());
        for (int i = 0; i < m_output.Count(); ++i) {
            m_next.append(Value(m_output.At(i), message));
            if (!message.isEmpty())
                return false;
        }
        m_hasNext = true;
        return true;
    }

    QVariant Value(const SqlVar &var, QString &message)
    {
        if ((var.sqltype & 1) && *var.sqlind < 0)
            return QVariant();
        const char *data = var.sqldata;
        const auto read = [data](auto number) {
            std::memcpy(&number, data, sizeof number);
            return number;
        };
        switch (var.sqltype & ~1) {
        case Varying:
            return QString::fromUtf8(data + 2, read(short()));
        case Text:
            return QString::fromUtf8(data, var.sqllen);
        case Short:
            return var.sqlscale < 0 ? QVariant(Scaled(read(short()), var.sqlscale))
                                    : QVariant(int(read(short())));
        case Long:
            if (var.sqllen != 4)
                return QVariant(qint64(read(qint64())));
            return var.sqlscale < 0 ? QVariant(Scaled(read(qint32()), var.sqlscale))
                                    : QVariant(int(read(qint32())));
        case Int64:
            return var.sqlscale < 0 ? QVariant(Scaled(double(read(qint64())), var.sqlscale))
                                    : QVariant(read(qint64()));
        case Float:
            return double(read(float()));
        case Double:
        case DFloat:
            return read(double());
        case Date:
            return BaseDate().addDays(read(qint32()));
        case Time:
            return QTime(0, 0).addMSecs(int(read(quint32()) / 10));
        case Timestamp: {
            const qint32 days = read(qint32());
            quint32 time = 0;
            std::memcpy(&time, data + 4, 4);
            return QDateTime(BaseDate().addDays(days), QTime(0, 0).addMSecs(int(time / 10)));
        }
        case Boolean:
            return data[0] != 0;
        case Blob:
            return ReadBlob(read(Quad()), message);
        default:
            return QVariant();
        }
    }

    QVariant ReadBlob(Quad id, QString &message)
    {
        const Api *api = Client();
        Status status[20] = {};
        Handle blob = 0;
        api->openBlob(status, m_session->Database(), m_session->Transaction(), &blob, &id, 0,
                      nullptr);
        if (Failed(status)) {
            message = m_session->Message(status);
            return QVariant();
        }
        QByteArray bytes;
        char chunk[32768];
        for (;;) {
            unsigned short length = 0;
            api->getSegment(status, &blob, &length, sizeof chunk, chunk);
            if (Failed(status) && status[1] != SegmentPart)
                break;
            bytes.append(chunk, length);
        }
        const bool failed = status[1] != SegmentEnd;
        if (failed)
            message = m_session->Message(status);
        Status closing[20] = {};
        api->closeBlob(closing, &blob);
        return failed ? QVariant() : QVariant(bytes);
    }

    std::shared_ptr<CFireBirdSession> m_session;
    Handle m_statement = 0;
    CDescriptor m_output {1};
    CDescriptor m_input {1};
    std::vector<std::vector<char>> m_inputData;
    std::vector<short> m_inputNull;
    std::vector<std::vector<char>> m_outputData;
    std::vector<short> m_outputNull;
    std::shared_ptr<const QStringList> m_columns = std::make_shared<const QStringList>();
    QList<QMetaType> m_types;
    bool m_hasNext = false;
    QVariantList m_next;
};

class CFireBirdConnection final : public CDataConnection
{
public:
    explicit CFireBirdConnection(std::shared_ptr<CFireBirdSession> session)
        : m_session(std::move(session))
    { }

    void Cancel() override { m_session->Cancel(); }
    bool ReadCatalogue(CCatalogue &catalogue, int tableLimit, QString &message) override
    {
        return CatalogueReaders::FireBird(*this, catalogue, tableLimit, message);
    }

protected:
    unsigned Readings() const override { return SqlReading::Standard; }

    std::unique_ptr<CDataCursor> Run(const CReportStatement &statement, const QStringList &values,
                                     QString &message) override
    {
        if (m_session->IsCancelled()) {
            message = Tr("Cancelled");
            return nullptr;
        }
        auto cursor = std::make_unique<CFireBirdCursor>(m_session);
        if (!cursor->Open(statement.text, values, message))
            return nullptr;
        return cursor;
    }

private:
    std::shared_ptr<CFireBirdSession> m_session;
};

QByteArray AttachParameters(const CFireBirdConnect &parts, int seconds)
{
    QByteArray parameters(1, char(1) /* version1 */);
    const auto add = [&parameters](char item, const QByteArray &value) {
        parameters.append(item);
        parameters.append(char(value.size()));
        parameters.append(value);
    };
    add(28 /* user_name */, parts.login.toUtf8().left(255));
    add(29 /* password */, parts.password.toUtf8().left(255));
    add(48 /* lc_ctype */, QByteArrayLiteral("UTF8"));
    const qint32 timeout = seconds;
    add(57 /* connect_timeout */, QByteArray(reinterpret_cast<const char *>(&timeout), 4));
    return parameters;
}

struct CAttach
{
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    bool abandoned = false;
    Handle database = 0;
    QString error;
    qint64 elapsedMs = 0;
};

} // namespace

std::unique_ptr<CDataConnection>
OpenFireBirdConnection(const CFireBirdConnect &parts, int timeoutMs, QString &error, bool &timedOut)
{
    timedOut = false;
    // The client gives up on a silent server after its own timeout; the wait here is a little
    // longer, and bounds what the client cannot (a name lookup that hangs). An attach still
    // running then is left to end on its own, and detaches what it got.
    const int seconds = std::max(1, (timeoutMs + 999) / 1000);
    auto state = std::make_shared<CAttach>();
    const QByteArray database = parts.database.toUtf8();
    const QByteArray parameters = AttachParameters(parts, seconds);
    auto inFlight = std::make_shared<COpenInFlight>();
    std::thread([state, database, parameters, inFlight] {
        QElapsedTimer timer;
        timer.start();
        Status status[20] = {};
        Handle handle = 0;
        Client()->attach(status, 0, database.constData(), &handle, short(parameters.size()),
                         parameters.constData());
        const QString message = ErrorText(status);
        std::unique_lock lock(state->mutex);
        if (state->abandoned) {
            lock.unlock();
            if (handle)
                Client()->detach(status, &handle);
            return;
        }
        state->database = handle;
        state->error = Failed(status) ? message : QString();
        state->elapsedMs = timer.elapsed();
        state->done = true;
        state->finished.notify_all();
    }).detach();

    std::unique_lock lock(state->mutex);
    if (!state->finished.wait_for(lock, std::chrono::milliseconds(timeoutMs + 2000),
                                  [&state] { return state->done; })) {
        state->abandoned = true;
        timedOut = true;
        return nullptr;
    }
    if (!state->error.isEmpty() || !state->database) {
        timedOut = state->elapsedMs >= qint64(seconds) * 1000 - 250;
        error = HideSecret(state->error, parts.password);
        return nullptr;
    }
    auto session = std::make_shared<CFireBirdSession>(state->database, parts.password);
    if (!session->Begin(error)) {
        error = HideSecret(error, parts.password);
        return nullptr;
    }
    return std::make_unique<CFireBirdConnection>(std::move(session));
}
