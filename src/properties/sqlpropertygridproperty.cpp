#include "sqlpropertygridproperty.h"

#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertypage.h"
#include "sqldlg.h"

CSQLPropertyGridProperty::CSQLPropertyGridProperty(const CPropertyRow &row, int dpiY)
    : CPropertyGridProperty(row, dpiY)
    , m_sqlText(row.sqlText)
    , m_builtSqlText(row.sqlText)
{ }

void CSQLPropertyGridProperty::SetPane(CPropertiesWnd *pane)
{
    m_pane = pane;
}

CPropertiesWnd *CSQLPropertyGridProperty::GetPane() const
{
    return m_pane;
}

void CSQLPropertyGridProperty::SetSqlText(const QString &text)
{
    m_sqlText = text;
    ShowValue(SqlOneLine(text));
}

bool CSQLPropertyGridProperty::IsModified() const
{
    return m_sqlText != m_builtSqlText;
}

CRowEdit CSQLPropertyGridProperty::MakeEdit() const
{
    CRowEdit edit = CPropertyGridProperty::MakeEdit();
    edit.sqlText = m_sqlText;
    return edit;
}

bool CSQLPropertyGridProperty::OnEdit(CPropertiesCtrl *grid)
{
    CSqlDlg dialog(grid);
    dialog.SetSqlText(m_sqlText);
    if (CPropertiesWnd *pane = m_pane) {
        dialog.SetQueryRunner(pane->MakeQueryRunner());
        dialog.SetCompletionSchema(pane->CompletionSchema());
    }
    if (dialog.exec() != QDialog::Accepted)
        return true;
    SetSqlText(dialog.SqlText());
    // The pane may rebuild the page while it handles the change, so nothing
    // of this row is used after the call.
    if (CPropertiesWnd *pane = m_pane)
        pane->OnPropertyChanged(this);
    return true;
}
