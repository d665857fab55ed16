#pragma once

#include <QDialog>

class CSyntaxRichEditCtrl;
class QPushButton;

// The modal "SQL Editor": a resizable dialog with a coloured SQL text area and
// OK and Cancel. Typical use:
//
//     CSqlDlg dialog(parent);
//     dialog.SetSqlText(query);
//     if (dialog.exec() == QDialog::Accepted)
//         query = dialog.SqlText();
//
// The text is placed into the text area each time the dialog opens and read
// back only when it is closed with OK.
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

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QRect DialogUnitsToPixels(int x, int y, int width, int height) const;
    void CaptureLayout();

    QString m_sqlText;
    CSyntaxRichEditCtrl *m_edit;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    // Distances kept when the dialog is resized: the text area's right and
    // bottom margins, and each button's offset from the lower-right corner.
    QSize m_editMargins;
    QPoint m_okFromCorner;
    QPoint m_cancelFromCorner;
};
