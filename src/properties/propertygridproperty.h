#pragma once

#include "propertyrow.h"
#include "rowedit.h"

#include <QTreeWidgetItem>

class CPropertiesCtrl;

// One row of the property grid: column 0 shows the name, column 1 the value.
// It is made from a row description of a property page (sub-rows included) and
// keeps the value it was built with, so that a changed value can be drawn
// bold. Group rows show their sub-rows' values separated by commas.
class CPropertyGridProperty : public QTreeWidgetItem
{
public:
    // Custom item type, so that the grid can tell its own rows apart.
    static constexpr int RowType = QTreeWidgetItem::UserType + 1;

    // dpiY is the screen resolution the font row's size is shown for.
    explicit CPropertyGridProperty(const CPropertyRow &row, int dpiY = 96);
    ~CPropertyGridProperty() override = default;

    // What the row stands for (RowId) and the text it shows for it.
    const QString &GetId() const { return m_id; }
    const QString &GetName() const { return m_name; }
    PropertyRowKind GetKind() const { return m_kind; }
    const QString &GetDescription() const { return m_description; }
    const QStringList &GetOptions() const { return m_options; }
    // New values to offer in a suggest row's drop-down.
    void SetOptions(const QStringList &options) { m_options = options; }

    // The shown value.
    const QString &GetValue() const { return m_value; }
    // The new value of a text, integer, option or file row. An integer row
    // keeps the number its text begins with ("12 mm" shows 12).
    void SetValue(const QString &value);
    // The value a typed text gives this row.
    QString ValueFromText(const QString &text) const;

    quint32 GetColor() const { return m_color; }
    void SetColor(quint32 color);

    const CPropertyFont &GetFont() const { return m_font; }
    void SetFont(const CPropertyFont &font);

    // Whether the value differs from the one the row was built with.
    virtual bool IsModified() const;
    // Whether the row stands for several objects whose values differ, and has not been
    // given a value since.
    bool IsMixed() const { return m_mixed; }
    // Whether the user may change the value (not read-only rows, not groups).
    bool IsEditable() const;
    // Whether starting an edit opens a dialog instead of an in-place editor.
    bool UsesDialog() const;

    // The group row that holds this row, or null for a top-level row.
    CPropertyGridProperty *GetParentRow() const;
    CPropertyGridProperty *GetSubRow(int index) const;

    // The row's id, name and current value for the edit handlers.
    virtual CRowEdit MakeEdit() const;

    // Called by the grid when an edit of the value would begin. A row that
    // edits its value in a dialog runs it here and returns true; the grid then
    // opens no in-place editor. The row may be deleted by the time this
    // returns, as a change it reports can make the pane rebuild the page.
    virtual bool OnEdit(CPropertiesCtrl *grid);

protected:
    // Shows a new value text and refreshes the group row above.
    void ShowValue(const QString &value);

private:
    void RefreshGroupValue();
    bool EditFont(CPropertiesCtrl *grid);
    bool EditFile(CPropertiesCtrl *grid);

    QString m_id;
    QString m_name;
    PropertyRowKind m_kind;
    QString m_description;
    QStringList m_options;
    int m_dpiY;

    QString m_value;
    quint32 m_color;
    CPropertyFont m_font;

    bool m_mixed;
    QString m_builtValue;
    quint32 m_builtColor;
    CPropertyFont m_builtFont;
};
