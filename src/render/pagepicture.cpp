#include "pagepicture.h"

#include "builtinimage.h"
#include "picturecache.h"

#include <QHashFunctions>

#include <atomic>

namespace {

std::atomic<std::uint64_t> nextPictureId {1};

// The formats the painters draw fastest; the pixels are the same.
QImage Drawable(QImage image)
{
    return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32_Premultiplied
                                                         : QImage::Format_RGB32);
}

} // namespace

CPagePicture::CPagePicture(QByteArray bytes)
    : m_bytes(std::move(bytes))
    , m_id(nextPictureId++)
{ }

CPagePicture::~CPagePicture()
{
    if (m_stored)
        CPictureStore::Instance().Forget(m_id);
}

size_t CPictureStore::KeyHash::operator()(const Key &key) const noexcept
{
    return qHashMulti(0, key.id, key.source.x(), key.source.y(), key.source.width(),
                      key.source.height(), key.size.width(), key.size.height());
}

CPictureStore &CPictureStore::Instance()
{
    // Never destroyed, so that a picture that outlives the program's static objects still
    // finds it.
    static CPictureStore *const store = new CPictureStore;
    return *store;
}

void CPictureStore::Forget(std::uint64_t id)
{
    std::lock_guard lock(m_mutex);
    if (m_lastId == id) {
        m_last = QImage();
        m_lastId = 0;
    }
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->key.id != id) {
            ++it;
            continue;
        }
        m_held -= it->bytes;
        m_index.erase(it->key);
        it = m_entries.erase(it);
    }
}

void CPictureStore::SetBudget(qint64 bytes)
{
    std::lock_guard lock(m_mutex);
    m_budget = bytes;
    Trim();
}

qint64 CPictureStore::GetBudget() const
{
    std::lock_guard lock(m_mutex);
    return m_budget;
}

qint64 CPictureStore::GetHeldBytes() const
{
    std::lock_guard lock(m_mutex);
    return m_held;
}

QImage CPictureStore::Decode(const CPagePicture &picture)
{
    // Decoded as it comes (no second full-size copy in another format): only the part that is
    // drawn is converted.
    AllowLargePictures();
    QImage image;
    if (!image.loadFromData(picture.m_bytes) || image.isNull())
        image = QImage();
    if (!picture.m_info) {
        CPagePicture::Info info;
        info.valid = !image.isNull();
        if (info.valid) {
            info.pixels = image.size();
            info.units = CPictureCache::NaturalUnits(image);
        }
        picture.m_info = info;
    }
    return image;
}

CPagePicture::Info CPictureStore::InfoOf(const CPagePicture &picture)
{
    std::lock_guard lock(m_mutex);
    if (!picture.m_info) {
        // Kept for the image the drawing asks for next, so that one drawing decodes once.
        m_last = QImage();
        m_last = Decode(picture);
        m_lastId = picture.GetId();
        picture.m_stored = true;
    }
    return *picture.m_info;
}

QImage CPictureStore::ImageOf(const CPagePicture &picture, const QRect &source, QSize size)
{
    std::lock_guard lock(m_mutex);
    size = size.boundedTo(source.size()).expandedTo(QSize(1, 1));
    const Key key {picture.GetId(), source, size};
    if (const auto found = m_index.find(key); found != m_index.end()) {
        m_entries.splice(m_entries.begin(), m_entries, found->second);
        return found->second->image;
    }
    QImage whole = m_lastId == picture.GetId() ? m_last : Decode(picture);
    m_last = QImage();
    m_lastId = 0;
    if (whole.isNull())
        return {};
    const QRect part = source.intersected(whole.rect());
    if (part.isEmpty())
        return {};
    QImage image = part == whole.rect() ? whole : whole.copy(part);
    whole = QImage();
    if (image.size() != size)
        image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = Drawable(std::move(image));
    const qint64 bytes = image.sizeInBytes();
    picture.m_stored = true;
    m_entries.push_front({key, image, bytes});
    m_index.emplace(key, m_entries.begin());
    m_held += bytes;
    Trim();
    return image;
}

void CPictureStore::Trim()
{
    // The image just made stays, however large, until another comes.
    while (m_held > m_budget && m_entries.size() > 1) {
        m_held -= m_entries.back().bytes;
        m_index.erase(m_entries.back().key);
        m_entries.pop_back();
    }
}
