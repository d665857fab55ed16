#pragma once

#include "chartlayout.h"

#include <QPointF>
#include <QRectF>

// What the layouts of the chart types share: drawing in coordinates relative to the chart's box,
// as fractions of a hundredth of a millimetre, into the chart's primitives.
class CChartCanvas
{
public:
    CChartCanvas(const CPageRect &box, const CChartStyle &style, std::vector<CPageItem> &items);

    void Polygon(const std::vector<QPointF> &points, QRgb fill, QRgb stroke = 0, int width = 0);
    void Polyline(const std::vector<QPointF> &points, QRgb stroke, int width);
    void Line(QPointF from, QPointF to, QRgb stroke, int width)
    {
        Polyline({from, to}, stroke, width);
    }
    void Rectangle(const QRectF &rect, QRgb fill);
    // horz: 0 left, 1 right, 2 centre; vert: 0 top, 1 centre, 2 bottom.
    // color alpha 0: the chart's text colour.
    void Text(const QRectF &rect, const QString &text, int horz, int vert, QRgb color = 0);

    int TextWidth(const QString &text) const;
    // The text cut short with an ellipsis to fit width; empty when not even that fits.
    QString Elided(const QString &text, double width) const;
    int LineHeight() const { return m_style.lineHeight; }
    QString Format(double value) const;
    const CChartStyle &Style() const { return m_style; }

private:
    CPageRect m_box;
    const CChartStyle &m_style;
    std::vector<CPageItem> &m_items;
};

// The colour of series (or a pie's slice) index.
QRgb SeriesColor(const CChartData &data, int index);

constexpr QRgb ChartAxisColor = 0xFF000000;
constexpr QRgb ChartGridColor = 0xFFD0D0D0;
constexpr int ChartGap = 100; // between the parts of a chart
constexpr int ChartAxisWidth = 20;

// The layouts of the chart types in area, the part of the box that title and legend leave.
void LayoutAxisChart(const CChartData &data, const QRectF &area, CChartCanvas &canvas);
void LayoutPieChart(const CChartData &data, const QRectF &area, CChartCanvas &canvas);
