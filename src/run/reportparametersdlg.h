#pragma once

#include "vornparameter.h"

#include <QDialog>

class QLineEdit;
class QTreeWidget;

// The modal "Report Parameters" dialog of the Run command: one row per
// parameter (band, name, value) and a value box that shows and edits the value
// of the current row, every keystroke going straight into the row. Band and
// entry names cannot be changed. Typical use:
//
//     CReportParametersDlg dialog(parent);
//     dialog.SetParameters(gathered);
//     if (dialog.exec() == QDialog::Accepted)
//         gathered = dialog.GetParameters();
//
// The dialog works on its own copy of the list; the rows are filled when it is
// first shown and written back into that copy on OK.
class CReportParametersDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CReportParametersDlg(QWidget *parent = nullptr);

    // Assign before the dialog is shown; replaces the list with copies.
    void SetParameters(const CVornParameters &parameters) { m_parameters = parameters; }
    // The assigned list, with the values of the rows after OK.
    const CVornParameters &GetParameters() const { return m_parameters; }

    // The row that the value box follows: the first selected row in list
    // order, otherwise the row that has the focus; -1 when there is neither.
    int GetCurrentRow() const;

    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QRect DialogUnitsToPixels(int x, int y, int width, int height) const;
    void FillList();
    void ShowCurrentValue();
    void StoreValue(const QString &text);

    CVornParameters m_parameters;
    QTreeWidget *m_list;
    QLineEdit *m_value;
    bool m_filled = false;
};
