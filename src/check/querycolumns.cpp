#include "querycolumns.h"

#include "vornkind.h"

#include <QCoreApplication>

QString ColumnTypeName(QMetaType type)
{
    const auto tr = [](const char *text) {
        return QCoreApplication::translate("Vantel", text);
    };
    switch (type.id()) {
    case QMetaType::Bool:
        return tr("boolean");
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return tr("integer");
    case QMetaType::Float:
    case QMetaType::Double:
        return tr("real");
    case QMetaType::QString:
    case QMetaType::QChar:
        return tr("text");
    case QMetaType::QByteArray:
        return tr("binary");
    case QMetaType::QDate:
        return tr("date");
    case QMetaType::QTime:
        return tr("time");
    case QMetaType::QDateTime:
        return tr("date and time");
    default:
        return type.isValid() ? QString::fromLatin1(type.name()) : tr("unknown");
    }
}

bool IsBinaryColumn(QMetaType type)
{
    return type.id() == QMetaType::QByteArray;
}

QStringList CQueryOutcome::ColumnNames() const
{
    QStringList names;
    for (const CQueryColumn &column : columns)
        names.append(column.name);
    return names;
}

const CQueryColumn *CQueryOutcome::Find(const QString &name) const
{
    for (const CQueryColumn &column : columns) {
        if (SameName(column.name, name))
            return &column;
    }
    return nullptr;
}

void CReportColumns::Add(const QString &band, const QString &item, const CQueryOutcome &outcome)
{
    m_entries.push_back({band, item, outcome});
}

const CQueryOutcome *CReportColumns::Band(const QString &band) const
{
    return Item(band, QString());
}

const CQueryOutcome *CReportColumns::Item(const QString &band, const QString &item) const
{
    for (const Entry &entry : m_entries) {
        if (SameName(entry.band, band) && entry.item.isEmpty() == item.isEmpty()
            && SameName(entry.item, item))
            return &entry.outcome;
    }
    return nullptr;
}
