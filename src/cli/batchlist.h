#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

// The rows a batch run writes a file for: column names and each row's values as text, from the
// list query or a CSV file.
struct CBatchList
{
    QStringList columns;
    QList<QStringList> rows;

    // The index of the column, letter case ignored; -1 when there is none.
    int IndexOf(const QString &name) const;
};

// One row of the list as the batch will treat it.
struct CBatchRow
{
    int position = 0; // in the whole list, from 0
    QString file; // the output name with the row's values in place
    QString problem; // why the row fails before it runs; empty when it runs
};

// The plain rules of a batch run: reading its list, naming its files, choosing a shard.
class BatchList
{
    Q_DECLARE_TR_FUNCTIONS(BatchList)

public:
    // Reads CSV text (comma-separated, fields in double quotes may hold commas, line breaks and
    // doubled quotes; a UTF-8 byte order mark is skipped) whose first line names the columns.
    // False with a message that names the line when a line has a field count other than the
    // header's, a quote is left open, or the header is missing or names a column twice.
    static bool ReadCsv(const QByteArray &bytes, CBatchList &list, QString &message);

    // The value as it may stand in a file name: every character other than a letter, a digit,
    // '-', '_' and '.' becomes '_'.
    static QString SafeName(const QString &value);

    // Checks that each {COLUMN} of the output name is a column of the list (letter case
    // ignored) and that there is at least one.
    static bool CheckPattern(const QString &pattern, const QStringList &columns, QString &message);

    // The output name of every row of the list, and the problem of each row that cannot run:
    // a {COLUMN} whose value gives an empty or dot-only name, or a file that an earlier row
    // of the list names already. Worked out over the whole list, so that every shard agrees.
    // An empty pattern gives rows without files or problems.
    static std::vector<CBatchRow> PlanRows(const CBatchList &list, const QString &pattern);

    // Whether the row at position belongs to shard K of N: position modulo N is K.
    static bool InShard(int position, int shard, int shards)
    {
        return shards <= 1 || position % shards == shard;
    }
};
