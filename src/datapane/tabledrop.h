#pragma once

#include "tablechoice.h"

#include <QObject>
#include <QPointer>

#include <functional>

class CSchemaReader;
class CVornBand;
class CVornDocument;
class QWidget;

// Carries out a table dropped from the schema tree on the design view (TableBands): when
// several foreign keys could join a detail to its master it asks which, and before a look-up
// changes a band's query it shows the new query for the user to confirm. Everything the drop
// changes is one undo step.
class CTableDrop : public QObject
{
    Q_OBJECT

public:
    CTableDrop(CVornDocument *document, CSchemaReader *reader, QWidget *window);

    // band: the band under the pointer, -1 below every band. True when the report changed.
    bool Drop(int band, const CTableChoice &choice);
    // The band that shows the dropped table's fields after the last drop that changed the
    // report.
    CVornBand *GetLastBand() const { return m_lastBand; }

    // Replaceable for tests: the index of the key chosen among their texts (-1: none), whether
    // the user takes the new query, and a message for the user.
    std::function<int(const QStringList &keys)> chooseKey;
    std::function<bool(const QString &query)> confirmQuery;
    std::function<void(const QString &message)> tell;

private:
    QPointer<CVornDocument> m_document;
    QPointer<CSchemaReader> m_reader;
    QPointer<QWidget> m_window;
    CVornBand *m_lastBand = nullptr;
};
