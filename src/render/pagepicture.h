#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

// The picture of an Image or DB Image on a laid-out page: its encoded bytes only. It is decoded
// when a page that shows it is drawn, at the size it is drawn, so that a page costs what it
// shows however large its pictures are. The layout makes one per distinct bytes of a run, which
// every page showing those bytes shares.
class CPagePicture
{
public:
    // What the first decoding learnt.
    struct Info
    {
        bool valid = false; // false when the bytes are no picture the loader knows
        QSize pixels; // size of the decoded picture
        QSize units; // natural size in hundredths of a millimetre
    };

    explicit CPagePicture(QByteArray bytes);
    // The images decoded from it go with it.
    ~CPagePicture();
    CPagePicture(const CPagePicture &) = delete;
    CPagePicture &operator=(const CPagePicture &) = delete;

    const QByteArray &GetBytes() const { return m_bytes; }
    // Unique among every picture of the process, so that a cached image of a picture that is
    // gone is never taken for a new one's.
    std::uint64_t GetId() const { return m_id; }

private:
    friend class CPictureStore;

    QByteArray m_bytes;
    std::uint64_t m_id;
    mutable std::optional<Info> m_info; // guarded by the store's lock
    mutable bool m_stored = false; // the store has held an image of it; guarded by its lock
};

// The decoded images of the pictures drawn in this process, each at the size it was drawn,
// held within a memory budget: when the images exceed it, those drawn longest ago are dropped
// (and decoded again should they be drawn again). The same picture drawn at the same size gets
// the same image, so a PDF embeds it once. Safe from any thread.
class CPictureStore
{
public:
    static CPictureStore &Instance();

    // The budget in bytes of decoded pixels; 256 MB unless set.
    void SetBudget(qint64 bytes);
    qint64 GetBudget() const;
    // Bytes of the images held now.
    qint64 GetHeldBytes() const;

    // What decoding the picture tells: decodes it on the first call for the picture.
    CPagePicture::Info InfoOf(const CPagePicture &picture);

    // The part source (in the picture's pixels) scaled to size pixels (at most the part's own
    // size on each axis): null for bytes that are no picture.
    QImage ImageOf(const CPagePicture &picture, const QRect &source, QSize size);

private:
    struct Key
    {
        std::uint64_t id;
        QRect source;
        QSize size;
        friend bool operator==(const Key &, const Key &) = default;
    };
    struct KeyHash
    {
        size_t operator()(const Key &key) const noexcept;
    };
    struct Entry
    {
        Key key;
        QImage image;
        qint64 bytes;
    };

    friend class CPagePicture;

    QImage Decode(const CPagePicture &picture);
    void Trim();
    void Forget(std::uint64_t id);

    mutable std::mutex m_mutex;
    qint64 m_budget = qint64(256) << 20;
    qint64 m_held = 0;
    std::list<Entry> m_entries; // most recently used first
    std::unordered_map<Key, std::list<Entry>::iterator, KeyHash> m_index;
    // The whole picture decoded last, while the image of its first drawing is cut from it.
    std::uint64_t m_lastId = 0;
    QImage m_last;
};
