#pragma once

#include <QComboBox>

// The editor of a colour row: a drop-down of colour swatches with "Default"
// (black) first and "Other..." last, which opens the full colour dialog. A
// colour that is none of the swatches is listed on top while it is chosen.
// colorPicked is emitted when the user has chosen a colour (also the same one
// again); cancelling the colour dialog emits nothing.
class CColorPickerCombo : public QComboBox
{
    Q_OBJECT

public:
    explicit CColorPickerCombo(QWidget *parent = nullptr);

    // Colours are 0x00BBGGRR.
    quint32 GetColor() const { return m_color; }
    void SetColor(quint32 color);

    // A small square of the colour with a dark outline, for lists and cells.
    static QIcon Swatch(quint32 color, int size);

signals:
    void colorPicked(quint32 color);

private:
    void OnActivated(int index);
    void ShowCurrent();

    quint32 m_color = 0;
    int m_customIndex = -1;
};
