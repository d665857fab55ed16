#pragma once

#include <QRect>
#include <QString>

// Dialog units: the layout unit of the program's dialogs, a quarter of the
// dialog font's average character width across and an eighth of its height
// down, so that a dialog keeps its proportions whatever the font.
class CDialogUnits
{
public:
    // The average character width is that of these 52 letters; a dialog
    // measures them in its own font.
    static QString SampleLetters();

    // From the width of SampleLetters() and the line height in the dialog font.
    CDialogUnits(int sampleLettersWidth, int lineHeight);

    int ToPixelsX(int units) const { return (units * m_baseX + 2) / 4; }
    int ToPixelsY(int units) const { return (units * m_baseY + 4) / 8; }

    // Each edge is converted on its own and rounded, so that controls sharing
    // an edge in dialog units share it in pixels too.
    QRect ToPixels(int x, int y, int width, int height) const;
    QRect ToPixels(const QRect &units) const
    {
        return ToPixels(units.x(), units.y(), units.width(), units.height());
    }

private:
    int m_baseX;
    int m_baseY;
};
