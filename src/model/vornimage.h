#pragma once

#include "vornitem.h"

#include <QByteArray>

// A picture kept as the complete bytes of its image file, placed in the
// rectangle by its two alignments (0 Left/Top, 1 Right/Center, 2 Center/Bottom,
// 3 Stretch).
class CVornImage : public CVornItem
{
public:
    static constexpr int Kind = VornKind::Image;
    int GetKind() const override { return Kind; }

    const QByteArray &GetImageData() const { return m_imageData; }
    // Replaces the picture with a copy of the bytes; no bytes leave it empty.
    void SetImageData(const char *bytes, qsizetype size);
    void SetImageData(const QByteArray &bytes);
    // Takes over bytes that own their memory (a decoded picture) without copying them.
    void SetImageData(QByteArray &&bytes);

    int GetHorzAlignment() const { return m_horzAlignment; }
    void SetHorzAlignment(int alignment) { m_horzAlignment = alignment; }
    int GetVertAlignment() const { return m_vertAlignment; }
    void SetVertAlignment(int alignment) { m_vertAlignment = alignment; }

protected:
    void VisitKindFields(CFieldVisitor &fields) override;
    // The picture (saved in the file or not) and the alignments.
    void VisitImageFields(CFieldVisitor &fields, CFieldVisitor::Saved pictureSaved);

private:
    QByteArray m_imageData;
    int m_horzAlignment = 3;
    int m_vertAlignment = 3;
};
