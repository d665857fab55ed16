#pragma once

#include <utility>
#include <vector>

// What one layer keeps per item kind (how the design view draws it, how the engine prints it,
// its property page), keyed by kind code. Each kind's file of the layer adds its entries, and
// the layer's table calls each kind's adder once, so a kind's code of the layer stays in the
// kind's own file.
template<typename Entry>
class CKindTable
{
public:
    void Add(int code, Entry entry) { m_entries.emplace_back(code, std::move(entry)); }

    // The entry of the kind, or null for a kind the layer has none for.
    const Entry *Find(int code) const
    {
        for (const auto &[entryCode, entry] : m_entries) {
            if (entryCode == code)
                return &entry;
        }
        return nullptr;
    }

private:
    std::vector<std::pair<int, Entry>> m_entries;
};
