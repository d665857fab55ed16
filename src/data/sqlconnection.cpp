#include "sqlconnection.h"

#include "drivercancel.h"
#include "queryentries.h"
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
{
}

CSqlConnection::~CSqlConnection() = default;

std::unique_ptr<CDataCursor> CSqlConnection::Execute(const QString &sql,
                                                     const EntryValueFunction &entry,
                                                     QString &message)
{
    message.clear();
    const QString cancelled = QCoreApplication::translate("Vantel", "Cancelled");
    if (m_session->IsCancelled()) {
        message = cancelled;
        return nullptr;
    }

    // Each entry becomes a positional parameter where it stands; its value never enters the
    // SQL text. The scan works on the trimmed text, as validation does.
    QList<CQueryEntrySpan> spans;
    if (!ScanQueryEntrySpans(sql, spans, message))
        return nullptr;
    QString text = sql.trimmed();
    for (qsizetype i = spans.size() - 1; i >= 0; --i)
        text.replace(spans.at(i).start, spans.at(i).length, QStringLiteral("?"));

    auto query = std::make_unique<QSqlQuery>(m_session->Database());
    query->setForwardOnly(true);
    if (!query->prepare(text)) {
        message = HideSecret(DatabaseErrorText(query->lastError()), m_session->GetSecret());
        query.reset();
        m_session->RestartTransaction();
        return nullptr;
    }
    for (const CQueryEntrySpan &span : std::as_const(spans)) {
        QString value = entry ? entry(span.name) : QString();
        // A null text would be bound as SQL NULL; an entry without a value is the empty text.
        if (value.isNull())
            value = QStringLiteral("");
        query->addBindValue(value);
    }

    void *statement = DriverCancel::PointerHandle(query->result()->handle(), "void*");
    m_session->AddStatement(statement);
    if (!query->exec()) {
        message = m_session->IsCancelled()
                ? cancelled
                : HideSecret(DatabaseErrorText(query->lastError()), m_session->GetSecret());
        m_session->RemoveStatement(statement);
        query.reset();
        m_session->RestartTransaction();
        return nullptr;
    }
    auto cursor = std::make_unique<CSqlCursor>(m_session, std::move(query), statement);
    if (!cursor->Start(message))
        return nullptr;
    return cursor;
}

void CSqlConnection::Cancel()
{
    m_session->Cancel();
}
