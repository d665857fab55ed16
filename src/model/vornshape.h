#pragma once

#include "vornitem.h"

// A rectangle, rounded rectangle, line or ellipse. The item colour is the line
// colour; the line width is in device pixels and is not scaled by the zoom.
class CVornShape : public CVornItem
{
public:
    static constexpr int Kind = VornKind::Shape;
    int GetKind() const override { return Kind; }

    int GetShapeType() const { return m_shapeType; }
    void SetShapeType(int type) { m_shapeType = type; }
    quint32 GetBkColor() const { return m_bkColor; }
    void SetBkColor(quint32 color) { m_bkColor = color; }
    int GetLineWidth() const { return m_lineWidth; }
    void SetLineWidth(int width) { m_lineWidth = width; }
    int GetLineStyle() const { return m_lineStyle; }
    void SetLineStyle(int style) { m_lineStyle = style; }

protected:
    void VisitKindFields(CFieldVisitor &fields) override;

private:
    int m_shapeType = 1;
    quint32 m_bkColor = 0xFFFFFF;
    int m_lineWidth = 1;
    int m_lineStyle = 1;
};
