#include "sqlcursor.h"

#include "sqlconnection.h"
#include "sqlsession.h"

#include <QCoreApplication>
#include <QSqlError>
#include <QSqlField>
#include <QSqlRecord>

using namespace Qt::StringLiterals;

QString OneLine(const QString &text)
{
    QString line;
    for (const QString &part : text.split(u'\n')) {
        const QString trimmed = part.simplified();
        if (trimmed.isEmpty())
            continue;
        if (!line.isEmpty())
            line += QStringView(u";.:,-").contains(line.back()) ? u" "_s : u"; "_s;
        line += trimmed;
    }
    return line;
}

QString DatabaseErrorText(const QSqlError &error)
{
    const QString database = error.databaseText().trimmed();
    return OneLine(database.isEmpty() ? error.text() : database);
}

CSqlCursor::CSqlCursor(std::shared_ptr<CSqlSession> session, std::unique_ptr<QSqlQuery> query,
                       void *statement)
    : m_session(std::move(session))
    , m_query(std::move(query))
    , m_statement(statement)
{
    QStringList columns;
    const QSqlRecord record = m_query->record();
    for (int i = 0; i < record.count(); ++i) {
        columns.append(record.fieldName(i));
        m_types.append(record.field(i).metaType());
    }
    m_columns = std::make_shared<const QStringList>(std::move(columns));
}

CSqlCursor::~CSqlCursor()
{
    // The statement leaves the cancel list before the driver frees it.
    m_session->RemoveStatement(m_statement);
    m_session->KeepPrepared(std::move(m_query));
}

bool CSqlCursor::Start(QString &message)
{
    return ReadAhead(message);
}

bool CSqlCursor::Fetch(CDataRow &row, QString &message)
{
    message.clear();
    if (!m_hasNext)
        return false;
    row = CDataRow(m_columns, std::move(m_next));
    m_next = QVariantList();
    return ReadAhead(message);
}

bool CSqlCursor::ReadAhead(QString &message)
{
    m_hasNext = false;
    if (m_session->IsCancelled()) {
        message = QCoreApplication::translate("Vantel", "Cancelled");
        return false;
    }
    if (!m_query->next()) {
        if (m_query->lastError().isValid()) {
            message = m_session->IsCancelled()
                    ? QCoreApplication::translate("Vantel", "Cancelled")
                    : HideSecret(DatabaseErrorText(m_query->lastError()), m_session->GetSecret());
            m_session->RestartTransaction();
            return false;
        }
        // Done: the statement's locks and memory go now, not when the cursor does.
        m_query->finish();
        return true;
    }
    const int count = int(m_columns->size());
    m_next.reserve(count);
    for (int i = 0; i < count; ++i)
        m_next.append(m_query->value(i));
    m_hasNext = true;
    return true;
}
