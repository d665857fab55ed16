#pragma once

#include "sqlcompletion.h"
#include "sqlqueryrunner.h"

#include <QDialog>

class CSyntaxRichEditCtrl;
class QLabel;
class QPushButton;
class QTableWidget;

// The modal "SQL Editor": a resizable dialog with a coloured SQL text area and
// OK and Cancel. Typical use:
//
//     CSqlDlg dialog(parent);
//     dialog.SetSqlText(query);
//     if (dialog.exec() == QDialog::Accepted)
//         query = dialog.SqlText();
//
// The text is placed into the text area each time the dialog opens and read
// back only when it is closed with OK. The line beside the buttons lists the
// query entries of the text as it is typed. Given a query runner, the dialog
// also offers "Run Query" (F5): the first rows of the edited query, with the
// column names, the number of rows and the time taken, appear in a grid under
// the text, or the database's message with the caret moved to the place it
// names.
class CSqlDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CSqlDlg(QWidget *parent = nullptr);

    void SetSqlText(const QString &text);
    // The text given to SetSqlText, or the edited text after OK. When the given
    // text had CR LF line ends, the edited text has them too.
    QString SqlText() const { return m_sqlText; }

    void accept() override;

    // Adds "Run Query" and the result grid; the dialog takes the runner over. Call before the
    // dialog is shown.
    void SetQueryRunner(CSqlQueryRunner *runner);
    CSqlQueryRunner *GetQueryRunner() const { return m_runner; }
    // The tables and columns that Ctrl+Space offers in the text area.
    void SetCompletionSchema(const CSqlSchema &schema);
    // Runs the text as it stands (what F5 and the button do); false when nothing was started.
    bool RunQuery();

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect DialogUnitsToPixels(int x, int y, int width, int height) const;
    void CaptureLayout();
    void ShowEntries();
    void ShowResult(const CSqlQueryResult &result);

    QString m_sqlText;
    CSyntaxRichEditCtrl *m_edit;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QLabel *m_entries;
    CSqlQueryRunner *m_runner = nullptr;
    QPushButton *m_run = nullptr;
    QTableWidget *m_grid = nullptr;
    QLabel *m_status = nullptr;
    // Distances kept when the dialog is resized: the text area's right and
    // bottom margins, and each button's offset from the lower-right corner.
    QSize m_editMargins;
    QPoint m_okFromCorner;
    QPoint m_cancelFromCorner;
    // With a runner: the offsets of these from the lower-right corner, and the grid's margin
    // on the right.
    QPoint m_runFromCorner;
    QPoint m_entriesFromCorner;
    QPoint m_gridFromCorner;
    QPoint m_statusFromCorner;
};
