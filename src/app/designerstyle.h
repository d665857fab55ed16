#pragma once

#include <QProxyStyle>

// The designer's widget style: the Qt style a look names, with its own arrow for a menu bar or
// toolbar too short for its buttons. Every menu bar and toolbar asks for that arrow as it is
// made; the Qt styles read it from an image file, and the first image file read loads every
// image-format plug-in, which the designer's start-up does not otherwise need.
class CDesignerStyle : public QProxyStyle
{
    Q_OBJECT

public:
    // Takes `base` over, as QProxyStyle does.
    explicit CDesignerStyle(QStyle *base);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};

// The name of the style the application uses ("fusion", "windows"...): the base style's when it
// is a CDesignerStyle, which has no name of its own.
QString ApplicationStyleName();
