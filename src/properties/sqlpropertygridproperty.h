#pragma once

#include "propertygridproperty.h"

#include <QPointer>

class CPropertiesWnd;

// The "SQL Query" row. It keeps the full SQL text with its line breaks (the
// empty text stands for no query) and shows its one-line form. It has no
// in-place editor: starting an edit opens the modal SQL editor on the full
// text. OK stores the editor's text, shows its one-line form and tells the
// pane synchronously that the row changed, even when the text is the same;
// Cancel changes nothing.
class CSQLPropertyGridProperty : public CPropertyGridProperty
{
public:
    explicit CSQLPropertyGridProperty(const CPropertyRow &row, int dpiY = 96);

    // The pane that is told about a change; none in a freshly made row.
    void SetPane(CPropertiesWnd *pane);
    CPropertiesWnd *GetPane() const;

    const QString &GetSqlText() const { return m_sqlText; }
    // Stores the full text and shows its one-line form.
    void SetSqlText(const QString &text);

    bool IsModified() const override;
    CRowEdit MakeEdit() const override;
    bool OnEdit(CPropertiesCtrl *grid) override;

private:
    QString m_sqlText;
    QString m_builtSqlText;
    QPointer<CPropertiesWnd> m_pane;
};
