#pragma once

#include "pagegeometry.h"
#include "pagepainter.h"
#include "paintcache.h"
#include "vornitems.h"
#include "vornreport.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

// Terse reports and renders for the page geometry and painter tests. Renders are made at 96
// pixels per inch, where 2540 model units are exactly 96 pixels.
namespace PageTest {

inline CVornBand *AddBand(CVornReport &report, int height, int kind = VornKind::ReportContents)
{
    auto *band = new CVornBand(kind, QStringLiteral("Band %1").arg(report.GetBands().GetCount()));
    band->SetHeight(height);
    report.GetBands().Add(band);
    return band;
}

template<typename Item>
Item *AddItem(CVornBand *band, int left, int top, int right, int bottom)
{
    auto *item = new Item;
    item->SetName(QStringLiteral("Item %1").arg(band->GetItems().GetCount()));
    item->SetRect(left, top, right, bottom);
    band->GetItems().Add(item);
    return item;
}

// The geometry of a view whose scroll size fits the report at the zoom chosen.
inline CPageGeometry Geometry(const CVornReport &report, QSize client, int dpiX = 96, int dpiY = 96,
                              QPoint scroll = QPoint(), double zoom = 1.0)
{
    return CPageGeometry(report, dpiX, dpiY, {0, 0, client.width(), client.height()}, scroll,
                         CPageGeometry::TotalScrollSize(report, dpiX, dpiY, zoom), zoom);
}

// A 96 dpi image of the given size with the report painted over a colour that no drawing uses.
inline QImage Render(const CVornReport &report, QSize client, bool grid = false,
                     CPaintCache *cache = nullptr)
{
    QImage image(client, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(qRgb(1, 2, 3));
    const CPageGeometry geometry = Geometry(report, client);
    QPainter painter(&image);
    CPagePainter(painter, geometry, report, grid, cache).Paint();
    return image;
}

// PNG bytes of a picture at 96 dpi: four quadrants, red top left, blue top right, green bottom
// left, yellow bottom right.
inline QByteArray QuadrantPng(int width, int height, int dotsPerMetre = 3780)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    QPainter painter(&image);
    painter.fillRect(0, 0, width / 2, height / 2, Qt::red);
    painter.fillRect(width / 2, 0, width - width / 2, height / 2, Qt::blue);
    painter.fillRect(0, height / 2, width / 2, height - height / 2, Qt::green);
    painter.fillRect(width / 2, height / 2, width - width / 2, height - height / 2, Qt::yellow);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

inline QRgb Pixel(const QImage &image, int x, int y)
{
    return image.pixel(x, y) & 0xFFFFFF;
}

} // namespace PageTest
