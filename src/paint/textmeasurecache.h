#pragma once

#include <QFont>
#include <QHash>
#include <QString>

#include <functional>

// Measurements of item texts kept from one paint to the next: the height of a wrapped text and
// the part of a DB Text placeholder that fits its box. Each answer is a function of the font,
// the device resolution, the text, the box size and the layout flags, all of which make up the
// key, so a changed item simply asks a new question. Answers that a paint did not use are
// dropped at its end.
class CTextMeasureCache
{
public:
    struct Key
    {
        QString font; // QFont::key() of the resolved font
        int dpi = 0;
        QString text;
        int width = 0;
        int height = 0;
        int flags = 0;

        friend bool operator==(const Key &, const Key &) = default;
        friend size_t qHash(const Key &key, size_t seed = 0)
        {
            return qHashMulti(seed, key.font, key.dpi, key.text, key.width, key.height, key.flags);
        }
    };

    // The wrapped height for key, from measure() when not known yet.
    int Height(const Key &key, const std::function<int()> &measure);
    // The trimmed text for key, from trim() when not known yet.
    QString Trimmed(const Key &key, const std::function<QString()> &trim);

    void BeginPaint() { ++m_paint; }
    void EndPaint();

    int GetCount() const { return int(m_heights.size() + m_trimmed.size()); }

private:
    template<typename T>
    struct Entry
    {
        T value;
        quint64 paint = 0;
    };

    QHash<Key, Entry<int>> m_heights;
    QHash<Key, Entry<QString>> m_trimmed;
    quint64 m_paint = 0;
};
