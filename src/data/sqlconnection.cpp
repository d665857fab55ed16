#include "sqlconnection.h"

#include "cataloguereaders.h"
#include "drivercancel.h"
#include "reportstatement.h"
#include "sqlcursor.h"
#include "sqlsession.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlResult>

QString HideSecret(const QString &message, const QString &secret)
{
    if (secret.size() < 3)
        return message;
    QString hidden = message;
    return hidden.replace(secret, QStringLiteral("***"));
}

CSqlConnection::CSqlConnection(std::shared_ptr<CSqlSession> session)
    : m_session(std::move(session))
{ }

CSqlConnection::~CSqlConnection() = default;

unsigned CSqlConnection::Readings() const
{
    return m_session->GetReadings();
}

std::unique_ptr<CDataCursor> CSqlConnection::Run(const CReportStatement &statement,
                                                 const QStringList &values, QString &message)
{
    const QString cancelled = QCoreApplication::translate("Vantel", "Cancelled");
    if (m_session->IsCancelled()) {
        message = cancelled;
        return nullptr;
    }
    if (m_session->FenceLost()) {
        message = QCoreApplication::translate("Vantel", "the session could not be made read-only");
        return nullptr;
    }
    std::unique_ptr<QSqlQuery> query = m_session->TakePrepared(statement.text);
    if (!query) {
        query = std::make_unique<QSqlQuery>(m_session->Database());
        query->setForwardOnly(true);
        if (!query->prepare(statement.text)) {
            message = HideSecret(DatabaseErrorText(query->lastError()), m_session->GetSecret());
            query.reset();
            m_session->RestartTransaction();
            return nullptr;
        }
    }
    for (int i = 0; i < int(values.size()); ++i)
        query->bindValue(i, values[i]);

    void *handle = DriverCancel::PointerHandle(query->result()->handle(), "void*");
    m_session->AddStatement(handle);
    if (!query->exec()) {
        message = m_session->IsCancelled()
                ? cancelled
                : HideSecret(DatabaseErrorText(query->lastError()), m_session->GetSecret());
        m_session->RemoveStatement(handle);
        query.reset();
        m_session->RestartTransaction();
        return nullptr;
    }
    // A statement that gives no result set is no query: whatever it did is rolled back, and
    // it never reaches the layout.
    if (!query->isSelect()) {
        message = QCoreApplication::translate(
                "Vantel", "the database does not take the statement for a query that reads");
        m_session->RemoveStatement(handle);
        query.reset();
        m_session->RestartTransaction();
        return nullptr;
    }
    auto cursor = std::make_unique<CSqlCursor>(m_session, std::move(query), handle);
    if (!cursor->Start(message))
        return nullptr;
    return cursor;
}

void CSqlConnection::Cancel()
{
    m_session->Cancel();
}

bool CSqlConnection::ReadCatalogue(CCatalogue &catalogue, int tableLimit, QString &message)
{
    if (m_session->FenceLost()) {
        message = QCoreApplication::translate("Vantel", "the session could not be made read-only");
        return false;
    }
    const bool read = m_session->GetRoute() == CSqlSession::Route::SQLite
            ? CatalogueReaders::Sqlite(*m_session, catalogue, tableLimit, message)
            : CatalogueReaders::Odbc(*m_session, catalogue, tableLimit, message);
    message = HideSecret(message, m_session->GetSecret());
    if (!read)
        m_session->RestartTransaction();
    return read;
}
