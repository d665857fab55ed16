#pragma once

#include <QDialog>

#include <atomic>
#include <functional>

class CBackgroundTask;
class CSyntaxRichEditCtrl;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QTimer;

// The "Expression Editor" of every expression row: the coloured text, the fields of the report's
// data and the functions of the language (each with one line of help; a double-click inserts it
// at the caret), a check of the text as it is typed that names the error and puts the caret on
// it with one click, and the value the expression gives on the first rows of the data, computed
// off the GUI thread by a function the program hands in.
//
//     CExpressionDlg dialog(parent);
//     dialog.SetExpression(item.GetPrintWhen(), true);
//     dialog.SetFields(fields);
//     dialog.SetPreview(preview);
//     if (dialog.exec() == QDialog::Accepted)
//         text = dialog.Expression();
class CExpressionDlg : public QDialog
{
    Q_OBJECT

public:
    // Computes the value of an expression on the first rows ("= 13.86" or what went wrong); called
    // on a worker thread, it should stop soon once cancel is set.
    using Preview
            = std::function<QString(const QString &expression, const std::atomic_bool &cancel)>;

    explicit CExpressionDlg(QWidget *parent = nullptr);
    ~CExpressionDlg() override;

    // The text to edit; a condition (Print When, a style rule) must give true or false.
    void SetExpression(const QString &text, bool condition = false);
    QString Expression() const { return m_text; }
    // The fields offered, as the expression names them: "[Band].[FIELD]".
    void SetFields(const QStringList &fields);
    void SetPreview(Preview preview);

    // What the check line says about the text as it stands (empty when it is sound), and the
    // character the error lies at (-1 for none).
    QString Problem() const { return m_problem; }
    int ProblemPosition() const { return m_problemPosition; }
    // The preview line's text.
    QString PreviewText() const;

    void accept() override;

private:
    void Check();
    void Insert(const QString &text);
    void GoToProblem();
    void StartPreview();

    QString m_text;
    bool m_condition = false;
    CSyntaxRichEditCtrl *m_edit;
    QListWidget *m_fields;
    QListWidget *m_functions;
    QLabel *m_help;
    QLabel *m_check;
    QLabel *m_preview;
    QTimer *m_previewTimer;
    CBackgroundTask *m_task;
    Preview m_previewFunction;
    QString m_problem;
    int m_problemPosition = -1;
};
