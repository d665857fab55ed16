#include "batchlist.h"

#include <QDir>
#include <QRegularExpression>
#include <QSet>

using namespace Qt::StringLiterals;

namespace {

// {COLUMN} in an output name: anything but braces between braces.
const QRegularExpression &ColumnField()
{
    static const QRegularExpression field(u"\\{([^{}]+)\\}"_s);
    return field;
}

} // namespace

int CBatchList::IndexOf(const QString &name) const
{
    for (qsizetype i = 0; i < columns.size(); ++i) {
        if (columns[i].compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    }
    return -1;
}

bool BatchList::ReadCsv(const QByteArray &bytes, CBatchList &list, QString &message)
{
    list = {};
    QString text = QString::fromUtf8(bytes);
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);

    QList<QStringList> lines;
    QStringList fields;
    QString field;
    bool quoted = false; // inside a quoted field
    bool any = false; // the line has something, so that a blank line is no row
    int line = 1;
    int quoteLine = 0;
    const auto endLine = [&] {
        if (any || !field.isEmpty() || !fields.isEmpty()) {
            fields.append(field);
            lines.append(fields);
        }
        fields.clear();
        field.clear();
        any = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == u'"' && i + 1 < text.size() && text[i + 1] == u'"') {
                field += u'"';
                ++i;
            } else if (c == u'"') {
                quoted = false;
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
        } else if (c == u'"') {
            quoted = true;
            any = true;
            quoteLine = line;
        } else if (c == u',') {
            fields.append(field);
            field.clear();
            any = true;
        } else if (c == u'\n' || c == u'\r') {
            if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
                ++i;
            endLine();
            ++line;
        } else {
            field += c;
        }
    }
    if (quoted) {
        message = tr("The list's quote opened on line %1 is not closed").arg(quoteLine);
        return false;
    }
    endLine();
    if (lines.isEmpty()) {
        message = tr("The list has no header line naming its columns");
        return false;
    }
    list.columns = lines.takeFirst();
    for (qsizetype i = 0; i < list.columns.size(); ++i) {
        list.columns[i] = list.columns[i].trimmed();
        for (qsizetype j = 0; j < i; ++j) {
            if (list.columns[i].compare(list.columns[j], Qt::CaseInsensitive) == 0) {
                message = tr("The list names the column %1 twice").arg(list.columns[i]);
                return false;
            }
        }
    }
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].size() != list.columns.size()) {
            message = tr("Row %1 of the list has %2 fields, the header %3")
                              .arg(i + 1)
                              .arg(lines[i].size())
                              .arg(list.columns.size());
            return false;
        }
    }
    list.rows = std::move(lines);
    return true;
}

QString BatchList::SafeName(const QString &value)
{
    QString name;
    for (const char32_t c : value.toUcs4()) {
        const bool kept
                = QChar::isLetter(c) || QChar::isDigit(c) || c == U'-' || c == U'_' || c == U'.';
        if (kept)
            name += QString::fromUcs4(&c, 1);
        else
            name += u'_';
    }
    return name;
}

bool BatchList::CheckPattern(const QString &pattern, const QStringList &columns, QString &message)
{
    bool any = false;
    QRegularExpressionMatchIterator fields = ColumnField().globalMatch(pattern);
    while (fields.hasNext()) {
        const QString name = fields.next().captured(1);
        CBatchList list;
        list.columns = columns;
        if (list.IndexOf(name) < 0) {
            message = tr("The output name holds {%1}, which is no column of the list (%2)")
                              .arg(name, columns.join(u", "_s));
            return false;
        }
        any = true;
    }
    if (!any) {
        message = tr("The output name needs a {COLUMN} of the list, so that each row writes a "
                     "file of its own: %1")
                          .arg(pattern);
        return false;
    }
    return true;
}

std::vector<CBatchRow> BatchList::PlanRows(const CBatchList &list, const QString &pattern)
{
    std::vector<CBatchRow> rows;
    rows.reserve(size_t(list.rows.size()));
    QSet<QString> taken;
    for (qsizetype position = 0; position < list.rows.size(); ++position) {
        const QStringList &values = list.rows[position];
        CBatchRow row;
        row.position = int(position);
        if (pattern.isEmpty()) {
            // Rows that write no file (they print) have no names to check.
            rows.push_back(std::move(row));
            continue;
        }
        qsizetype done = 0;
        QRegularExpressionMatchIterator fields = ColumnField().globalMatch(pattern);
        while (fields.hasNext()) {
            const QRegularExpressionMatch field = fields.next();
            const int column = list.IndexOf(field.captured(1));
            const QString value = column >= 0 ? SafeName(values.value(column)) : QString();
            // A name of dots alone would climb out of the output's folder.
            if (row.problem.isEmpty() && (value.isEmpty() || value.count(u'.') == value.size())) {
                row.problem = tr("{%1} is \"%2\", which makes no file name")
                                      .arg(field.captured(1), values.value(column));
            }
            row.file += pattern.mid(done, field.capturedStart() - done) + value;
            done = field.capturedEnd();
        }
        row.file += pattern.mid(done);
        const QString clean = QDir::cleanPath(row.file);
        if (row.problem.isEmpty() && taken.contains(clean))
            row.problem = tr("An earlier row of the list writes %1 already").arg(row.file);
        else if (row.problem.isEmpty())
            taken.insert(clean);
        rows.push_back(std::move(row));
    }
    return rows;
}
