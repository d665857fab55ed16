#include "stylesgridproperty.h"

#include "propertiesctrl.h"
#include "propertieswnd.h"
#include "stylerulesdlg.h"
#include "stylerulestext.h"

CStylesGridProperty::CStylesGridProperty(const CPropertyRow &row, int dpiY)
    : CPropertyGridProperty(row, dpiY)
    , m_rules(row.styleRules)
    , m_builtRules(row.styleRules)
{ }

void CStylesGridProperty::SetRules(const CStyleRules &rules)
{
    m_rules = rules;
    ShowValue(StyleRulesSummary(rules));
}

void CStylesGridProperty::SetPane(CPropertiesWnd *pane)
{
    m_pane = pane;
}

bool CStylesGridProperty::IsModified() const
{
    return m_rules != m_builtRules;
}

CRowEdit CStylesGridProperty::MakeEdit() const
{
    CRowEdit edit = CPropertyGridProperty::MakeEdit();
    edit.styleRules = m_rules;
    return edit;
}

bool CStylesGridProperty::OnEdit(CPropertiesCtrl *grid)
{
    CStyleRulesDlg dialog(grid);
    dialog.SetRules(m_rules);
    if (CPropertiesWnd *pane = m_pane)
        dialog.SetPrepareExpression(
                [pane](CExpressionDlg &editor) { pane->PrepareExpressionDialog(editor); });
    if (dialog.exec() != QDialog::Accepted)
        return true;
    SetRules(dialog.Rules());
    if (CPropertiesWnd *pane = m_pane)
        pane->OnPropertyChanged(this);
    return true;
}
