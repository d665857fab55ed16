#pragma once

#include "propertyrow.h"

#include <QPersistentModelIndex>
#include <QTreeWidget>

class CPropertiesWnd;
class CPropertyGridProperty;

// The property grid: a two-column tree without a header, names on the left
// and values on the right, group rows ("Position", "Page Size") shaded and
// expanded with their sub-rows. A click on a value, Return or F2 starts an
// edit: text and integer rows are typed in place, option and colour rows drop
// down a list, font, file and SQL rows open their dialog. Changed values are
// drawn bold, read-only rows disabled.
//
// Every committed change is reported with propertyChanged once the in-place
// editor has closed (so that a message shown about it cannot commit the same
// editor again); the SQL row reports to its pane itself.
class CPropertiesCtrl : public QTreeWidget
{
    Q_OBJECT

public:
    explicit CPropertiesCtrl(QWidget *parent = nullptr);

    using QTreeWidget::edit;

    // Wide enough for the longer row names next to their values.
    QSize sizeHint() const override;

    // Replaces nothing: appends the rows of a page, sub-rows expanded. SQL rows
    // are told the pane (may be null) that handles their change.
    void AddRows(const QList<CPropertyRow> &rows, int dpiY, CPropertiesWnd *pane);
    // Clears the selection, then deletes every top-level row, the last first.
    void RemoveAll();

    int GetRowCount() const { return topLevelItemCount(); }
    CPropertyGridProperty *GetRow(int index) const;
    // The first top-level row of that id (RowId), or null.
    CPropertyGridProperty *FindRow(const QString &id) const;
    CPropertyGridProperty *GetCurrentRow() const;
    CPropertyGridProperty *RowFromIndex(const QModelIndex &index) const;

    // Starts an edit of the row's value, as a click on the value does.
    void BeginEdit(CPropertyGridProperty *row);

    // Called by the in-place editors when the user has committed a value; a
    // value equal to the row's is no change and is not reported.
    void CommitValue(CPropertyGridProperty *row, const QString &value);
    void CommitColor(CPropertyGridProperty *row, quint32 color);
    // Reports a row's change at once (dialog rows call it after their dialog).
    void NotifyPropertyChanged(CPropertyGridProperty *row);

signals:
    void propertyChanged(CPropertyGridProperty *row);
    void currentRowChanged(CPropertyGridProperty *row);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void drawBranches(QPainter *painter, const QRect &rect,
                      const QModelIndex &index) const override;

private:
    void AddRow(QTreeWidgetItem *parent, CPropertyGridProperty *row, CPropertiesWnd *pane);

    // The row whose in-place editor committed a change, reported when the
    // editor closes.
    CPropertyGridProperty *m_pendingRow = nullptr;
    QPersistentModelIndex m_pressedIndex;
};
