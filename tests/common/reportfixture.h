#pragma once

// Real SQLite databases and small list reports for the tests of the engine's users (the
// command line, the preview, the engine library). Header only: include it from test programs
// that link Qt Sql and the model.
#include "vornband.h"
#include "vorndbtext.h"
#include "vornkind.h"
#include "vornreport.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QUuid>

namespace ReportFixture {

// Creates the database file and runs the statements in one transaction; the error text, or
// empty on success.
inline QString CreateDatabase(const QString &path, const QStringList &statements)
{
    const QString name = QUuid::createUuid().toString();
    QString error;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(path);
        if (!db.open()) {
            error = db.lastError().text();
        } else {
            db.transaction();
            QSqlQuery query(db);
            for (const QString &statement : statements) {
                if (!query.exec(statement)) {
                    error = statement + QStringLiteral(": ") + query.lastError().text();
                    break;
                }
            }
            db.commit();
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(name);
    return error;
}

// A table People(Id, Name, City) with `rows` rows named "Person <n>".
inline QString CreatePeople(const QString &path, int rows)
{
    QStringList statements {QStringLiteral("CREATE TABLE People (Id INTEGER PRIMARY KEY, "
                                           "Name TEXT, City TEXT)")};
    for (int i = 1; i <= rows; ++i) {
        statements << QStringLiteral("INSERT INTO People VALUES (%1, 'Person %1', 'City %2')")
                              .arg(i)
                              .arg(i % 3);
    }
    return CreateDatabase(path, statements);
}

inline CVornDbText *AddDbText(CVornBand &band, const QString &name, const QString &field, int left,
                              int right, const QString &format = QString())
{
    auto *text = new CVornDbText;
    text->SetName(name);
    text->SetFontName(QStringLiteral("Arial"));
    text->SetRect(left, 0, right, band.GetHeight());
    text->SetDataSource(band.GetName());
    text->SetDataField(field);
    text->SetFormat(format);
    band.GetItems().Add(text);
    return text;
}

// An A4 report on the SQLite database `connect` with one Report Contents band "Rows" that
// prints NAME of `query` per row, 10 mm high (about 29 rows a page).
inline void MakeListReport(CVornReport &report, const QString &connect, const QString &query)
{
    report.SetTitle(QStringLiteral("People"));
    report.SetDatabaseType(0);
    report.SetConnectString(connect);
    auto *band = new CVornBand(VornKind::ReportContents, QStringLiteral("Rows"));
    band->SetHeight(1000);
    band->SetDatabaseQuery(query);
    report.GetBands().Add(band);
    AddDbText(*band, QStringLiteral("Name"), QStringLiteral("NAME"), 1000, 10000);
}

} // namespace ReportFixture
