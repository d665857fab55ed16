#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

class CDataFormat;
class CPage;
class CVornReport;

// The data of a report as it printed, as a table: one row per printed row of the body bands
// that have a query, in print order; one column per DB Text of such a band, from left to right,
// headed by its data field; a first column naming the band when several bands print rows.
// Bands that share a data field share its column; each row fills its own band's columns.
// A row also carries what its group header and its master band (the parent data source, and
// theirs in turn) printed last, in columns of their own, before its own (headed by the band's
// name and the field when the field's name heads another column already).
class CDataTable
{
public:
    // One cell: the text as printed and what it is.
    struct Cell
    {
        enum class Kind { Empty, Text, Number, Date, DateTime };
        Kind kind = Kind::Empty;
        QString text; // as printed
        double number = 0; // for Number
        QVariant date; // QDate or QDateTime for Date and DateTime
        QString numberFormat; // a spreadsheet number format for Number ("0.00"), empty: general
        int band = -1; // the band and the DB Text (indexes in the report) that printed it
        int item = -1;
    };

    // Works out the columns from the report, which must outlive the table.
    explicit CDataTable(const CVornReport &report);
    ~CDataTable();

    // The column headings: "Band" first when there is a band column, then the data fields.
    const QStringList &GetHeadings() const { return m_headings; }

    // The printed rows of a page, each as one cell per column. Pages are taken in order: what
    // a group header or master printed on one page goes on in the rows of the next.
    std::vector<std::vector<Cell>> RowsOf(const CPage &page);

    // The names of the band and the DB Text that printed a cell, for messages.
    QString BandName(const Cell &cell) const;
    QString ItemName(const Cell &cell) const;

private:
    struct Column
    {
        int item = -1; // index of the DB Text in its band
        int column = 0; // its column in the table
        QString name; // the DB Text's name
        std::shared_ptr<const CDataFormat> format;
        QString formatText;
        bool display = false; // written by a Display Format: the value tells its type
        QString numberPattern; // a number Display Format, which spreadsheets read alike
    };
    struct Band
    {
        bool exported = false;
        bool outerOfOthers = false; // a group header or master of an exported band
        bool columnsMade = false;
        QString name;
        std::vector<Column> columns;
        std::vector<int> outer; // the bands whose values its rows carry, outermost first
        std::vector<std::pair<int, Cell>> printed; // its last printing's cells, by column
    };

    void AddColumns(int band);
    Cell CellOf(const Column &column, const QString &text, const QVariant &value) const;

    const CVornReport &m_report;
    QHash<QString, int> m_columnOf;
    QStringList m_headings;
    std::vector<Band> m_bands; // by band index in the report
    bool m_bandColumn = false;
};
