#include "propertygridproperty.h"

#include "colorref.h"
#include "fontcolordlg.h"
#include "propertiesctrl.h"
#include "propertyedit.h"
#include "propertypage.h"

#include <QCoreApplication>
#include <QFileDialog>

CPropertyGridProperty::CPropertyGridProperty(const CPropertyRow &row, int dpiY)
    : QTreeWidgetItem(RowType)
    , m_id(row.id)
    , m_name(row.name)
    , m_kind(row.kind)
    , m_description(row.description)
    , m_options(row.options)
    , m_dpiY(dpiY)
    , m_value(row.value)
    , m_color(row.color)
    , m_font(row.font)
    , m_mixed(row.mixed)
    , m_builtValue(row.value)
    , m_builtColor(row.color)
    , m_builtFont(row.font)
{
    setText(0, m_name);
    setText(1, m_value);
    setToolTip(0, m_name);
    setToolTip(1, m_value);
    Qt::ItemFlags itemFlags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (IsEditable())
        itemFlags |= Qt::ItemIsEditable;
    setFlags(itemFlags);
    for (const CPropertyRow &subRow : row.subRows)
        addChild(new CPropertyGridProperty(subRow, dpiY));
}

void CPropertyGridProperty::SetValue(const QString &value)
{
    ShowValue(ValueFromText(value));
}

QString CPropertyGridProperty::ValueFromText(const QString &text) const
{
    if (m_kind == PropertyRowKind::Integer)
        return MillimetreText(ReadTypedMillimetres(text));
    return text;
}

void CPropertyGridProperty::SetColor(quint32 color)
{
    m_color = color;
    ShowValue(ColorText(color));
}

void CPropertyGridProperty::SetFont(const CPropertyFont &font)
{
    m_font = font;
    ShowValue(FontDisplayText(font, m_dpiY));
}

void CPropertyGridProperty::ShowValue(const QString &value)
{
    m_mixed = false;
    m_value = value;
    setText(1, value);
    setToolTip(1, value);
    RefreshGroupValue();
}

void CPropertyGridProperty::RefreshGroupValue()
{
    CPropertyGridProperty *group = GetParentRow();
    if (!group)
        return;
    QStringList values;
    for (int i = 0; i < group->childCount(); ++i) {
        if (const CPropertyGridProperty *row = group->GetSubRow(i))
            values.append(row->GetValue());
    }
    group->ShowValue(values.join(QStringLiteral(", ")));
}

bool CPropertyGridProperty::IsModified() const
{
    switch (m_kind) {
    case PropertyRowKind::Color:
        return m_color != m_builtColor;
    case PropertyRowKind::Font:
        return !(m_font == m_builtFont);
    default:
        return m_value != m_builtValue;
    }
}

bool CPropertyGridProperty::IsEditable() const
{
    return m_kind != PropertyRowKind::ReadOnly && m_kind != PropertyRowKind::Group;
}

bool CPropertyGridProperty::UsesDialog() const
{
    return m_kind == PropertyRowKind::Font || m_kind == PropertyRowKind::File
            || m_kind == PropertyRowKind::Sql || m_kind == PropertyRowKind::Expression
            || m_kind == PropertyRowKind::Styles;
}

CPropertyGridProperty *CPropertyGridProperty::GetParentRow() const
{
    QTreeWidgetItem *item = parent();
    return item && item->type() == RowType ? static_cast<CPropertyGridProperty *>(item) : nullptr;
}

CPropertyGridProperty *CPropertyGridProperty::GetSubRow(int index) const
{
    QTreeWidgetItem *item = child(index);
    return item && item->type() == RowType ? static_cast<CPropertyGridProperty *>(item) : nullptr;
}

CRowEdit CPropertyGridProperty::MakeEdit() const
{
    CRowEdit edit;
    edit.id = m_id;
    edit.name = m_name;
    edit.value = m_value;
    edit.color = m_color;
    edit.font = m_font;
    return edit;
}

bool CPropertyGridProperty::OnEdit(CPropertiesCtrl *grid)
{
    switch (m_kind) {
    case PropertyRowKind::Font:
        return EditFont(grid);
    case PropertyRowKind::File:
        return EditFile(grid);
    default:
        return false;
    }
}

bool CPropertyGridProperty::EditFont(CPropertiesCtrl *grid)
{
    CFontColorDlg dialog(m_font, m_dpiY, grid);
    if (dialog.exec() != QDialog::Accepted)
        return true;
    SetFont(dialog.GetPropertyFont());
    grid->NotifyPropertyChanged(this);
    return true;
}

// An open dialog with no filter and no default extension.
bool CPropertyGridProperty::EditFile(CPropertiesCtrl *grid)
{
    QFileDialog dialog(grid, QCoreApplication::translate("Vantel", "Open"));
    dialog.setObjectName(QStringLiteral("imageFileDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!m_value.isEmpty())
        dialog.selectFile(m_value);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return true;
    SetValue(dialog.selectedFiles().constFirst());
    grid->NotifyPropertyChanged(this);
    return true;
}
