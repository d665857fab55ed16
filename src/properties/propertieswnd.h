#pragma once

#include "sqlcompletion.h"

#include <QDockWidget>
#include <QPointer>

#include <functional>
#include <vector>

class CPropertiesCtrl;
class CPropertyGridProperty;
struct CPropertyRow;
class CExpressionDlg;
class CSqlQueryRunner;
class CVornDocument;
class CVornElement;
class CVornReport;
class QLabel;

// The "Properties" pane: the property grid of the object selected in the
// design view (the whole report when nothing is selected) with a description
// area under it that explains the selected row. An edit committed in the grid
// is written into the object at once as one undo step of the document; every
// view then repaints (and recomputes its extent after a report-level edit).
// After an undo or redo the pane shows the object it selected.
// The page is not rebuilt after an edit: the next ShowProperties does that.
//
// Pointers: the pane keeps a plain pointer to the object it shows. It forgets
// it when the document resets the report (reportReset), and the design view
// must call ShowProperties (with the new selection, or null) right after it
// deletes the object the pane shows, before control returns to the event
// loop. As a last guard an edit is applied only while the object is still one
// of the report's bands or items.
class CPropertiesWnd : public QDockWidget
{
    Q_OBJECT

public:
    explicit CPropertiesWnd(QWidget *parent = nullptr);

    // The document whose report the pane shows and edits; null for none, which
    // leaves the pane empty.
    void SetDocument(CVornDocument *document);
    CVornDocument *GetDocument() const;

    // The band or item shown, or null for the whole report. With several items
    // selected it is the primary one, and GetCurrentObjects holds them all.
    CVornElement *GetCurrentObject() const { return m_current; }
    const std::vector<CVornElement *> &GetCurrentObjects() const { return m_objects; }
    CPropertiesCtrl *GetPropertyGrid() const { return m_grid; }

    // Shows the page of a band or item; null shows the report page. An object
    // of a kind without a page leaves the pane as it is. An item selected with
    // others shows the rows they share, and an edit sets every one of them.
    void ShowProperties(CVornElement *object);
    // Shows the report page; "(File Name)" shows fileName when it is given,
    // else the document's path.
    void ShowReportProperties(const QString &fileName = QString());
    // Removes every row.
    void ClearProperties();
    // Selects the main row of the shown object (its title, text, data field or
    // name), scrolls to it and gives the grid the focus.
    void FocusMainProperty();
    // The same for the row of that id (RowId; a row of a group, such as the left edge,
    // included); the main row when the shown object has no such row.
    void FocusProperty(const QString &id);

    // Applies the committed change of one row to the shown object. Called by
    // the grid and, synchronously from their editor, by SQL rows.
    void OnPropertyChanged(CPropertyGridProperty *row);

    // The vertical resolution font sizes are converted with.
    int ScreenDpiY() const;

    // Connects to the report's database with its current settings: true with "Connected",
    // false with the driver's message. Set by the program; without one the report page offers
    // no "Test Connection".
    using ConnectionTester = std::function<bool(const CVornReport &report, QString &message)>;
    void SetConnectionTester(ConnectionTester tester) { m_connectionTester = std::move(tester); }
    // The report page's "Test Connection" (its context menu): runs the tester and shows what
    // it says. False when there is nothing to test (no document, not the report page).
    bool TestConnection();

    // The columns known of the data source of a DB item (its own query's for a DB Text that
    // has one), offered in the drop-down of its "Data Field" row; empty while unknown. Set by
    // the program; RefreshColumnChoices() tells the pane that they changed.
    using ColumnSource = std::function<QStringList(const CVornElement *item)>;
    void SetColumnSource(ColumnSource source) { m_columnSource = std::move(source); }
    void RefreshColumnChoices();

    // Makes the runner of the SQL editor's "Run Query" for the query of a band or DB Text (the
    // report's database, the entries' stored values); null offers no Run Query.
    using QueryRunnerFactory = std::function<CSqlQueryRunner *(const CVornElement *object)>;
    void SetQueryRunnerFactory(QueryRunnerFactory factory) { m_runnerFactory = std::move(factory); }
    CSqlQueryRunner *MakeQueryRunner() const;

    // The database's tables and columns that the SQL editor's completion offers; set by the
    // program, empty without it.
    using SchemaSource = std::function<CSqlSchema()>;
    void SetSchemaSource(SchemaSource source) { m_schemaSource = std::move(source); }
    CSqlSchema CompletionSchema() const { return m_schemaSource ? m_schemaSource() : CSqlSchema(); }

    // Gives the expression editor of a row of the shown object what the program knows: the
    // fields of the report's data and the value on their first rows.
    using ExpressionHelp = std::function<void(CExpressionDlg &dialog, const CVornElement *object)>;
    void SetExpressionHelp(ExpressionHelp help) { m_expressionHelp = std::move(help); }
    void PrepareExpressionDialog(CExpressionDlg &dialog) const;

private:
    void ShowPage(CVornElement *object, const QString &fileName);
    void ShowDescription(CPropertyGridProperty *row);
    void OnReportReset();
    bool IsInReport(const CVornElement *object) const;
    void ShowContextMenu(const QPoint &position);
    // Row kinds that depend on what the program knows: the columns a field may name, and a
    // file button for an SQLite database.
    void AdaptRows(QList<CPropertyRow> &rows) const;

    QPointer<CVornDocument> m_document;
    CVornElement *m_current = nullptr;
    std::vector<CVornElement *> m_objects;
    CPropertiesCtrl *m_grid;
    QLabel *m_descriptionName;
    QLabel *m_descriptionText;
    ConnectionTester m_connectionTester;
    ColumnSource m_columnSource;
    QueryRunnerFactory m_runnerFactory;
    SchemaSource m_schemaSource;
    ExpressionHelp m_expressionHelp;
};
