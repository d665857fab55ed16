#pragma once

#include "reportoutline.h"

#include <QDockWidget>
#include <QPixmap>
#include <QPointer>
#include <QSet>

#include <vector>

class COutlineCtrl;
class CVornDocument;
class CVornElement;
class QTreeWidgetItem;

// The "Outline" pane: the report's bands in report order, each with its items, every row with
// its kind's picture and its name; an item that cannot be seen on the page carries a mark.
// The rows are the report's outline (ReportOutline) and follow the document through every
// edit and every new or opened report. The selected row is the object selected in the model;
// the user's choice of a row is handed on (elementChosen) for the design view to select it.
class COutlineWnd : public QDockWidget
{
    Q_OBJECT

public:
    explicit COutlineWnd(QWidget *parent = nullptr);

    // The document whose report the pane shows; null leaves it empty.
    void SetDocument(CVornDocument *document);
    COutlineCtrl *GetCtrl() const { return m_ctrl; }

    // Reads the report again: rows, names, marks and the selection.
    void Refresh();
    // Selects the row of the model's selected object (no row when nothing is selected).
    void SyncSelection();

    // The object a row stands for.
    static CVornElement *ElementOf(const QTreeWidgetItem *row);

signals:
    // The user chose the row of this object.
    void elementChosen(CVornElement *element);
    // Delete or Enter in the tree, for the design view's selection.
    void viewKeyPressed(int key, Qt::KeyboardModifiers modifiers);

protected:
    void changeEvent(QEvent *event) override;

private:
    void Rebuild();
    void UpdateTexts();
    void SetRow(QTreeWidgetItem *row, const COutlineRow &data) const;
    void OnCurrentRowChanged();
    void OnReportReset();

    QPointer<CVornDocument> m_document;
    COutlineCtrl *m_ctrl;
    QPixmap m_icons;
    std::vector<COutlineRow> m_rows;
    // Bands the user folded, kept through rebuilds of the same report.
    QSet<const CVornElement *> m_collapsed;
    bool m_updating = false;
};
