#pragma once

#include "dataconnection.h"

#include <QSqlQuery>

class CSqlSession;
class QSqlError;

// The rows of an executed Qt SQL query, one row read ahead so that HasNext() needs no row
// count. Holds its session, so the connection stays open while the cursor lives.
class CSqlCursor final : public CDataCursor
{
public:
    CSqlCursor(std::shared_ptr<CSqlSession> session, std::unique_ptr<QSqlQuery> query,
               void *statement);
    ~CSqlCursor() override;

    // Reads the first row; false with the database's message when that fails.
    bool Start(QString &message);

    const QStringList &GetColumns() const override { return *m_columns; }
    QList<QMetaType> GetColumnTypes() const override { return m_types; }
    bool HasNext() const override { return m_hasNext; }
    CDataRow Peek() const override { return m_hasNext ? CDataRow(m_columns, m_next) : CDataRow(); }
    bool Fetch(CDataRow &row, QString &message) override;

private:
    bool ReadAhead(QString &message);

    std::shared_ptr<CSqlSession> m_session;
    std::unique_ptr<QSqlQuery> m_query;
    void *m_statement;
    std::shared_ptr<const QStringList> m_columns;
    QList<QMetaType> m_types;
    bool m_hasNext = false;
    QVariantList m_next;
};

// The text of a database error as the user should read it, on one line: the database's own
// words when it gave some, else Qt's.
QString DatabaseErrorText(const QSqlError &error);
// A driver's message of several lines as one.
QString OneLine(const QString &text);
