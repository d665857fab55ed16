#include "designerstyle.h"

#include "commandicons.h"

#include <QApplication>
#include <QStyleOption>

CDesignerStyle::CDesignerStyle(QStyle *base)
    : QProxyStyle(base)
{ }

QIcon CDesignerStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption *option,
                                   const QWidget *widget) const
{
    if (standardIcon == SP_ToolBarHorizontalExtensionButton
        || standardIcon == SP_ToolBarVerticalExtensionButton) {
        const Qt::LayoutDirection direction = option ? option->direction
                : widget                             ? widget->layoutDirection()
                                                     : QGuiApplication::layoutDirection();
        return CommandIcons::ExtensionArrow(standardIcon == SP_ToolBarVerticalExtensionButton,
                                            direction == Qt::RightToLeft);
    }
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

QString ApplicationStyleName()
{
    const QStyle *style = QApplication::style();
    if (const auto *designer = qobject_cast<const CDesignerStyle *>(style))
        style = designer->baseStyle();
    return style ? style->name() : QString();
}
