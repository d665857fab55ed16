#pragma once

#include "datapanerows.h"

#include <QDockWidget>
#include <QPointer>
#include <QTreeWidget>

class CColumnLookup;
class CSchemaReader;
class CSchemaTree;
class QLineEdit;
class QToolButton;

// The tree of the Data pane. Columns of a band's query can be dragged onto the design view
// (several at once, as a list of fields); a double-click on one puts "Band.FIELD" on the
// clipboard.
class CDataTree : public QTreeWidget
{
    Q_OBJECT

public:
    static constexpr int RowRole = Qt::UserRole;

    explicit CDataTree(QWidget *parent = nullptr);

    void SetRows(const QList<CDataPaneRow> &rows);
    // The row a tree item shows.
    static CDataPaneRow RowOf(const QTreeWidgetItem *item);

    // What a drag of these rows carries: the fields of the columns among them; null for none.
    QMimeData *mimeData(const QList<QTreeWidgetItem *> &items) const override;
    QStringList mimeTypes() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void CopyReference(QTreeWidgetItem *item);
    void FitNameColumn();
};

// The "Data" pane: above, the tables and columns of the report's database with a filter box;
// below, the report's connection and the columns of every band's query, kept up to date by a
// column look-up as the user edits. Refresh reads both again. What goes wrong with a query
// shows under its band, what goes wrong reading the tables in their tree.
class CDataPane : public QDockWidget
{
    Q_OBJECT

public:
    explicit CDataPane(QWidget *parent = nullptr);

    // The look-up whose columns the pane shows; null leaves it empty.
    void SetLookup(CColumnLookup *lookup);
    // The reader whose tables the schema tree shows; null leaves it empty.
    void SetSchemaReader(CSchemaReader *reader);
    CDataTree *GetTree() const { return m_tree; }
    CSchemaTree *GetSchemaTree() const { return m_schemaTree; }
    QLineEdit *GetFilter() const { return m_filter; }
    QToolButton *GetRefreshButton() const { return m_refresh; }

private:
    void Rebuild();
    void RebuildSchema();

    QPointer<CColumnLookup> m_lookup;
    QPointer<CSchemaReader> m_reader;
    CSchemaTree *m_schemaTree;
    QLineEdit *m_filter;
    CDataTree *m_tree;
    QToolButton *m_refresh;
    bool m_inFront = true;
    bool m_stale = false;
};
