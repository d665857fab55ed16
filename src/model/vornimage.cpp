#include "vornimage.h"

void CVornImage::SetImageData(const char *bytes, qsizetype size)
{
    if (bytes == nullptr || size <= 0)
        m_imageData.clear();
    else
        m_imageData = QByteArray(bytes, size);
}

void CVornImage::SetImageData(const QByteArray &bytes)
{
    SetImageData(bytes.constData(), bytes.size());
}

void CVornImage::SetImageData(QByteArray &&bytes)
{
    // An array over memory it does not own (fromRawData) is never detached: it is copied.
    if (bytes.isEmpty() || !bytes.isDetached())
        SetImageData(bytes.constData(), bytes.size());
    else
        m_imageData = std::move(bytes);
}

void CVornImage::VisitKindFields(CFieldVisitor &fields)
{
    VisitImageFields(fields, CFieldVisitor::Saved::Yes);
}

void CVornImage::VisitImageFields(CFieldVisitor &fields, CFieldVisitor::Saved pictureSaved)
{
    fields.Field("image", m_imageData, pictureSaved);
    fields.Field("horz_alignment", m_horzAlignment);
    fields.Field("vert_alignment", m_vertAlignment);
}
