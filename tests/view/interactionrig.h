#pragma once

#include "pagetestutil.h"
#include "viewinteraction.h"
#include "vorndocument.h"

#include <optional>

// The interaction rules as the view drives them, without a window: a document, the view's
// interaction state, and a geometry and interaction made afresh for every call, as the view
// makes them for every event. 96 pixels per inch, where 24 pixels are exactly 635 units; a
// 900-pixel-wide client shows the A4 page unzoomed, 20 pixels down.
class CInteractionRig
{
public:
    explicit CInteractionRig(QSize client = QSize(900, 700), QPoint scroll = QPoint(),
                             double zoom = 1.0)
        : m_client(client)
        , m_scroll(scroll)
        , m_zoom(zoom)
    {
        m_document.SetGridOn(false);
    }

    CVornDocument &Doc() { return m_document; }
    CVornReport &Report() { return m_document.GetReport(); }
    CViewInteraction::State &State() { return m_state; }

    CViewInteraction &Do()
    {
        m_interaction.reset();
        m_geometry.emplace(PageTest::Geometry(Report(), m_client, 96, 96, m_scroll, m_zoom));
        m_interaction.emplace(m_document, *m_geometry, m_state);
        return *m_interaction;
    }
    const CPageGeometry &Geometry()
    {
        Do();
        return *m_geometry;
    }
    PixRect Page() { return Geometry().GetPageRect(); }

    // A view point given relative to the page's top-left corner.
    QPoint At(QPoint pageRelative)
    {
        const PixRect page = Page();
        return pageRelative + QPoint(page.left, page.top);
    }

    // Model units of a whole number of pixels at 96 dpi (truncated, as the view converts).
    static int M(int pixels) { return int(qint64(pixels) * 2540 / 96); }

    // Press and moves, all relative to the page. The moves hold Alt, which keeps the guides of
    // the other items out of the plain drag arithmetic.
    void Drag(QPoint from, const QList<QPoint> &moves)
    {
        Do().OnLeftButtonDown(At(from));
        for (const QPoint &to : moves)
            Do().OnMouseMove(At(to), Qt::AltModifier);
    }

    template<typename Item>
    Item *AddItem(CVornBand *band, const QString &name, int l, int t, int r, int b)
    {
        Item *item = PageTest::AddItem<Item>(band, l, t, r, b);
        item->SetName(name);
        return item;
    }

private:
    CVornDocument m_document;
    CViewInteraction::State m_state;
    QSize m_client;
    QPoint m_scroll;
    double m_zoom;
    std::optional<CPageGeometry> m_geometry;
    std::optional<CViewInteraction> m_interaction;
};

// Rectangles of the model in test tables: left, top, right, bottom.
using ModelBox = QList<int>;

inline ModelBox BoxOf(const CVornItem *item)
{
    return {item->GetLeft(), item->GetTop(), item->GetRight(), item->GetBottom()};
}
