#include "textmeasurecache.h"

namespace {

template<typename Map, typename Make>
auto Lookup(Map &map, const CTextMeasureCache::Key &key, quint64 paint, const Make &make)
{
    auto it = map.find(key);
    if (it == map.end())
        it = map.insert(key, {make(), paint});
    it->paint = paint;
    return it->value;
}

template<typename Map>
void DropUnused(Map &map, quint64 paint)
{
    for (auto it = map.begin(); it != map.end();) {
        if (it->paint != paint)
            it = map.erase(it);
        else
            ++it;
    }
}

} // namespace

int CTextMeasureCache::Height(const Key &key, const std::function<int()> &measure)
{
    return Lookup(m_heights, key, m_paint, measure);
}

QString CTextMeasureCache::Trimmed(const Key &key, const std::function<QString()> &trim)
{
    return Lookup(m_trimmed, key, m_paint, trim);
}

void CTextMeasureCache::EndPaint()
{
    DropUnused(m_heights, m_paint);
    DropUnused(m_trimmed, m_paint);
}
