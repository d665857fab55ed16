#include "makebold.h"

#include <QFont>
#include <QWidget>

#include <optional>

void MakeBold(QWidget *widget)
{
    if (widget == nullptr)
        return;
    static std::optional<QFont> bold;
    if (!bold) {
        bold = widget->font();
        bold->setWeight(QFont::Bold);
    }
    widget->setFont(*bold);
    widget->update();
}
