#pragma once

#include "propertygridproperty.h"

#include <QPointer>

class CPropertiesWnd;

// The "Styles" row of an item: how many style rules it has. Starting an edit opens the style
// rules dialog; OK stores the rules and tells the pane that the row changed.
class CStylesGridProperty : public CPropertyGridProperty
{
public:
    explicit CStylesGridProperty(const CPropertyRow &row, int dpiY = 96);

    void SetPane(CPropertiesWnd *pane);
    const CStyleRules &GetRules() const { return m_rules; }
    void SetRules(const CStyleRules &rules);

    bool IsModified() const override;
    CRowEdit MakeEdit() const override;
    bool OnEdit(CPropertiesCtrl *grid) override;

private:
    CStyleRules m_rules;
    CStyleRules m_builtRules;
    QPointer<CPropertiesWnd> m_pane;
};
