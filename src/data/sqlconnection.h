#pragma once

#include "dataconnection.h"

class CSqlSession;

// A report's database reached through Qt SQL (SQLite, FireBird, ODBC alike once open).
class CSqlConnection final : public CDataConnection
{
public:
    explicit CSqlConnection(std::shared_ptr<CSqlSession> session);
    ~CSqlConnection() override;

    void Cancel() override;
    bool ReadCatalogue(CCatalogue &catalogue, int tableLimit, QString &message) override;

protected:
    unsigned Readings() const override;
    std::unique_ptr<CDataCursor> Run(const CReportStatement &statement, const QStringList &values,
                                     QString &message) override;

private:
    std::shared_ptr<CSqlSession> m_session;
};

// The message with every occurrence of the secret replaced by asterisks. Secrets shorter than
// three characters are left alone: masking them would garble the text more than it hides.
QString HideSecret(const QString &message, const QString &secret);
