#pragma once

#include "propertygridproperty.h"

#include <QPointer>

class CPropertiesWnd;

// An expression row: "Expression", "Print When". It shows the expression on one line and has no
// in-place editor: starting an edit opens the expression editor on the full text, with the
// fields and the first-row value the pane can give. OK stores the text and tells the pane that
// the row changed; Cancel changes nothing.
class CExpressionGridProperty : public CPropertyGridProperty
{
public:
    explicit CExpressionGridProperty(const CPropertyRow &row, int dpiY = 96);

    void SetPane(CPropertiesWnd *pane);
    const QString &GetText() const { return m_text; }
    void SetText(const QString &text);

    bool IsModified() const override;
    CRowEdit MakeEdit() const override;
    bool OnEdit(CPropertiesCtrl *grid) override;

private:
    QString m_text;
    QString m_builtText;
    bool m_condition;
    QPointer<CPropertiesWnd> m_pane;
};
