#include "colorpickercombo.h"

#include "colorref.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace {

struct Swatch
{
    const char *name;
    quint32 color;
};

// 0x00BBGGRR values. Black is offered as "Default".
constexpr Swatch swatches[] = {
        {"White", 0xFFFFFF},  {"Gray", 0x808080},    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},
        {"Maroon", 0x000080}, {"Yellow", 0x00FFFF},  {"Olive", 0x008080},  {"Lime", 0x00FF00},
        {"Green", 0x008000},  {"Aqua", 0xFFFF00},    {"Teal", 0x808000},   {"Blue", 0xFF0000},
        {"Navy", 0x800000},   {"Fuchsia", 0xFF00FF}, {"Purple", 0x800080},
};

} // namespace

CColorPickerCombo::CColorPickerCombo(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    const int iconSize = fontMetrics().height() - 2;
    setIconSize(QSize(iconSize, iconSize));
    addItem(Swatch(0, iconSize), tr("Default"), QVariant::fromValue<quint32>(0));
    for (const auto &swatch : swatches)
        addItem(Swatch(swatch.color, iconSize), tr(swatch.name),
                QVariant::fromValue<quint32>(swatch.color));
    addItem(tr("Other..."));
    setMaxVisibleItems(count() + 1);
    connect(this, &QComboBox::activated, this, &CColorPickerCombo::OnActivated);
}

QIcon CColorPickerCombo::Swatch(quint32 color, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(ColorRefToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(QColor(Qt::darkGray));
    painter.drawRect(0, 0, size - 1, size - 1);
    return QIcon(pixmap);
}

void CColorPickerCombo::SetColor(quint32 color)
{
    m_color = color & 0xFFFFFF;
    ShowCurrent();
}

// Selects the swatch of the current colour, adding it on top when no swatch has it.
void CColorPickerCombo::ShowCurrent()
{
    if (m_customIndex >= 0) {
        removeItem(m_customIndex);
        m_customIndex = -1;
    }
    for (int i = 0; i < count(); ++i) {
        const QVariant data = itemData(i);
        if (data.isValid() && data.value<quint32>() == m_color) {
            setCurrentIndex(i);
            return;
        }
    }
    insertItem(0, Swatch(m_color, iconSize().height()), ColorText(m_color),
               QVariant::fromValue<quint32>(m_color));
    m_customIndex = 0;
    setCurrentIndex(0);
}

// Every swatch carries its colour as item data; "Other..." carries none.
void CColorPickerCombo::OnActivated(int index)
{
    const QVariant data = itemData(index);
    if (data.isValid()) {
        m_color = data.value<quint32>();
        emit colorPicked(m_color);
        return;
    }
    // The dialog is the combo's child, so that an item view does not take the
    // focus change for the end of the edit.
    QColorDialog dialog(ColorRefToQColor(m_color), this);
    dialog.setObjectName(QStringLiteral("otherColorDialog"));
    if (dialog.exec() != QDialog::Accepted) {
        ShowCurrent();
        return;
    }
    SetColor(QColorToColorRef(dialog.selectedColor()));
    emit colorPicked(m_color);
}
