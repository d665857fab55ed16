#pragma once

#include <QWidget>

class CQuarnView;

// One of the design view's two rulers, beside its viewport: millimetres from the page's edge
// (RulerScale), the extent of the selection as a lighter stretch, and the pointer's place as a
// line. It asks the view for the geometry of the moment whenever it paints.
class CRulerBar : public QWidget
{
    Q_OBJECT

public:
    // The ruler's thickness in pixels.
    static constexpr int Thickness = 20;

    CRulerBar(CQuarnView *view, bool across, QWidget *parent = nullptr);

    bool IsAcross() const { return m_across; }
    // The pointer's place along the ruler in viewport pixels; -1 shows none.
    void SetPointer(int position);
    int GetPointer() const { return m_pointer; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    CQuarnView *m_view;
    bool m_across;
    int m_pointer = -1;
};
