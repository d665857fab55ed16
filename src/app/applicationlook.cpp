#include "applicationlook.h"

#include "designerstyle.h"

#include <QApplication>
#include <QSettings>
#include <QStyle>
#include <QStyleFactory>

namespace ApplicationLook {

namespace {

int current = DefaultLook;

// The colours a tone chooses; the 3-D shades and the rest follow from them.
struct ToneColours
{
    QRgb window;
    QRgb windowText;
    QRgb base;
    QRgb alternateBase;
    QRgb text;
    QRgb button;
    QRgb buttonText;
    QRgb highlight;
    QRgb highlightedText;
    QRgb link;
    QRgb linkVisited;
    QRgb toolTipBase;
    QRgb toolTipText;
    QRgb disabledText;
    bool dark;
};

ToneColours ColoursOf(Tone tone)
{
    switch (tone) {
    case Tone::Blue:
        return {0xd6e3f2, 0x15325c, 0xffffff, 0xeef4fb, 0x000000, 0xe3ecf8, 0x15325c, 0x2f64b0,
                0xffffff, 0x0645ad, 0x6b3fa0, 0xf2f7fd, 0x15325c, 0x7c8ca3, false};
    case Tone::Black:
        // Texts stay light on every dark surface, the selection too; links are light blue.
        return {0x2d2d30, 0xe8e8e8, 0x1e1e20, 0x28282b, 0xe8e8e8, 0x3a3a3e, 0xe8e8e8, 0x3a6ea5,
                0xffffff, 0x8ab4f8, 0xc58af9, 0x3a3a3e, 0xf0f0f0, 0x808080, true};
    case Tone::Silver:
        return {0xe6e8eb, 0x1f1f1f, 0xffffff, 0xf3f4f6, 0x000000, 0xeef0f3, 0x1f1f1f, 0x4a6a90,
                0xffffff, 0x0645ad, 0x6b3fa0, 0xffffff, 0x1f1f1f, 0x8a8d92, false};
    case Tone::Aqua:
        return {0xd5ecf1, 0x0d3a45, 0xffffff, 0xeef8fa, 0x000000, 0xe2f3f6, 0x0d3a45, 0x1b6f85,
                0xffffff, 0x0645ad, 0x6b3fa0, 0xf3fbfd, 0x0d3a45, 0x7a959c, false};
    case Tone::Light:
        break;
    }
    return {0xf0f0f0, 0x000000, 0xffffff, 0xf4f4f4, 0x000000, 0xeaeaea, 0x000000, 0x1c62b9,
            0xffffff, 0x0645ad, 0x6b3fa0, 0xffffdc, 0x000000, 0x8a8a8a, false};
}

} // namespace

Look LookFor(int id)
{
    const QString fusion = QStringLiteral("Fusion");
    const QString windows = QStringLiteral("Windows");
    switch (id) {
    case 205: // Windows 2000: the plain look
        return {windows, Tone::Silver};
    case 206: // Office XP
        return {windows, Tone::Light};
    case 207: // Windows XP
    case 210: // Visual Studio 2008
    case 219: // Windows 7
        return {fusion, Tone::Light};
    case 208: // Office 2003
    case 215: // Office 2007, blue
        return {fusion, Tone::Blue};
    case 209: // Visual Studio 2005
    case 217: // Office 2007, silver
        return {fusion, Tone::Silver};
    case 216: // Office 2007, black
        return {fusion, Tone::Black};
    case 218: // Office 2007, aqua
        return {fusion, Tone::Aqua};
    default: // Office 2007 in its current style
        return {fusion, Tone::Blue};
    }
}

bool IsKnownLook(int id)
{
    return (id >= 205 && id <= 210) || (id >= 215 && id <= 219);
}

QPalette MakePalette(Tone tone)
{
    const ToneColours c = ColoursOf(tone);
    const QColor button = QColor::fromRgb(c.button);
    QPalette palette;
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Window, QColor::fromRgb(c.window));
        palette.setColor(group, QPalette::WindowText, QColor::fromRgb(c.windowText));
        palette.setColor(group, QPalette::Base, QColor::fromRgb(c.base));
        palette.setColor(group, QPalette::AlternateBase, QColor::fromRgb(c.alternateBase));
        palette.setColor(group, QPalette::Text, QColor::fromRgb(c.text));
        palette.setColor(group, QPalette::Button, button);
        palette.setColor(group, QPalette::ButtonText, QColor::fromRgb(c.buttonText));
        palette.setColor(group, QPalette::BrightText,
                         QColor::fromRgb(c.dark ? 0xff7070 : 0xffffff));
        palette.setColor(group, QPalette::Highlight, QColor::fromRgb(c.highlight));
        palette.setColor(group, QPalette::HighlightedText, QColor::fromRgb(c.highlightedText));
        palette.setColor(group, QPalette::Link, QColor::fromRgb(c.link));
        palette.setColor(group, QPalette::LinkVisited, QColor::fromRgb(c.linkVisited));
        palette.setColor(group, QPalette::ToolTipBase, QColor::fromRgb(c.toolTipBase));
        palette.setColor(group, QPalette::ToolTipText, QColor::fromRgb(c.toolTipText));
        palette.setColor(group, QPalette::PlaceholderText, QColor::fromRgb(c.disabledText));
        // The 3-D shades around the button face; on a dark face the light edge must still
        // stand out and the dark one must not vanish into the window.
        palette.setColor(group, QPalette::Light, button.lighter(c.dark ? 160 : 150));
        palette.setColor(group, QPalette::Midlight, button.lighter(c.dark ? 125 : 115));
        palette.setColor(group, QPalette::Mid, button.darker(c.dark ? 140 : 130));
        palette.setColor(group, QPalette::Dark, button.darker(c.dark ? 200 : 160));
        palette.setColor(group, QPalette::Shadow, QColor(Qt::black));
    }
    const QColor disabled = QColor::fromRgb(c.disabledText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Text, disabled);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, disabled);
    palette.setColor(QPalette::Disabled, QPalette::Highlight, button.darker(c.dark ? 120 : 115));
    palette.setColor(QPalette::Disabled, QPalette::HighlightedText, disabled);
    return palette;
}

int Current()
{
    return current;
}

QString SettingKey()
{
    return QStringLiteral("Workspace/ApplicationLook");
}

int ReadSetting()
{
    bool ok = false;
    const int id = QSettings().value(SettingKey(), DefaultLook).toInt(&ok);
    return ok ? id : DefaultLook;
}

void Apply(int id, bool store)
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    current = id;
    const Look look = LookFor(id);
    // Creating a style again would repolish every widget for nothing.
    if (!qobject_cast<CDesignerStyle *>(QApplication::style())
        || ApplicationStyleName().compare(look.styleName, Qt::CaseInsensitive) != 0) {
        if (QStyle *style = QStyleFactory::create(look.styleName))
            QApplication::setStyle(new CDesignerStyle(style));
    }
    QApplication::setPalette(MakePalette(look.tone));
    // Widgets hear of the new palette through posted events; they take it now, so that the
    // whole window changes at once, under the wait cursor.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::ApplicationPaletteChange);
    if (store)
        QSettings().setValue(SettingKey(), id);
    QGuiApplication::restoreOverrideCursor();
}

} // namespace ApplicationLook
