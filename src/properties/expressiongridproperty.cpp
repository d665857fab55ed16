#include "expressiongridproperty.h"

#include "expressiondlg.h"
#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "propertypage.h"

CExpressionGridProperty::CExpressionGridProperty(const CPropertyRow &row, int dpiY)
    : CPropertyGridProperty(row, dpiY)
    , m_text(row.sqlText)
    , m_builtText(row.sqlText)
    , m_condition(row.condition)
{ }

void CExpressionGridProperty::SetText(const QString &text)
{
    m_text = text;
    ShowValue(ExpressionOneLine(text));
}

void CExpressionGridProperty::SetPane(CPropertiesWnd *pane)
{
    m_pane = pane;
}

bool CExpressionGridProperty::IsModified() const
{
    return m_text != m_builtText;
}

CRowEdit CExpressionGridProperty::MakeEdit() const
{
    CRowEdit edit = CPropertyGridProperty::MakeEdit();
    edit.value = m_text;
    return edit;
}

bool CExpressionGridProperty::OnEdit(CPropertiesCtrl *grid)
{
    CExpressionDlg dialog(grid);
    dialog.SetExpression(m_text, m_condition);
    if (CPropertiesWnd *pane = m_pane)
        pane->PrepareExpressionDialog(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return true;
    SetText(dialog.Expression());
    // The pane may rebuild the page while it handles the change: nothing of this row is used
    // after the call.
    if (CPropertiesWnd *pane = m_pane)
        pane->OnPropertyChanged(this);
    return true;
}
