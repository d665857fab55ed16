#include "vornimage.h"

void CVornImage::Reset()
{
    CVornItem::Reset();
    m_imageData.clear();
    m_horzAlignment = 3;
    m_vertAlignment = 3;
}

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

std::unique_ptr<CVornItem> CVornImage::Clone() const
{
    auto copy = std::make_unique<CVornImage>();
    copy->CopyFrom(*this);
    return copy;
}

void CVornImage::CopyFrom(const CVornImage &other)
{
    CVornItem::CopyFrom(other);
    // A deep copy, so that the two items never share one buffer.
    SetImageData(other.m_imageData);
    m_horzAlignment = other.m_horzAlignment;
    m_vertAlignment = other.m_vertAlignment;
}
