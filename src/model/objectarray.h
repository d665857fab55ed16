#pragma once

#include <memory>
#include <stdexcept>
#include <type_traits>
#include <vector>

// The ordered owning array of the report model: the report owns its bands and
// parameters through it, a band its items. Access outside 0..count-1 is a
// programming error and throws std::invalid_argument.
template<typename P>
class CObjectArray
{
    static_assert(std::is_pointer_v<P>, "CObjectArray holds pointers: CObjectArray<CVornBand *>");
    using T = std::remove_pointer_t<P>;

public:
    CObjectArray() = default;
    CObjectArray(const CObjectArray &) = delete;
    CObjectArray &operator=(const CObjectArray &) = delete;
    CObjectArray(CObjectArray &&) noexcept = default;
    CObjectArray &operator=(CObjectArray &&) noexcept = default;
    ~CObjectArray() = default;

    int GetCount() const { return int(m_items.size()); }
    bool IsEmpty() const { return m_items.empty(); }

    P GetAt(int index) const
    {
        CheckIndex(index, GetCount());
        return m_items[size_t(index)].get();
    }
    P operator[](int index) const { return GetAt(index); }

    // Takes ownership; returns the new element's index.
    int Add(P element)
    {
        m_items.emplace_back(element);
        return GetCount() - 1;
    }

    // Takes ownership; index may be GetCount() to append.
    void InsertAt(int index, P element)
    {
        CheckIndex(index, GetCount() + 1);
        m_items.emplace(m_items.begin() + index, element);
    }

    // Gives ownership of the element back to the caller.
    P RemoveAt(int index)
    {
        CheckIndex(index, GetCount());
        P element = m_items[size_t(index)].release();
        m_items.erase(m_items.begin() + index);
        return element;
    }

    // Index of this very object (identity), or -1.
    int IndexOf(const T *element) const
    {
        for (size_t i = 0; i < m_items.size(); ++i) {
            if (m_items[i].get() == element)
                return int(i);
        }
        return -1;
    }

    // Deletes the elements first to last and empties the array.
    void RemoveAllAndDelete()
    {
        for (auto &element : m_items)
            element.reset();
        m_items.clear();
    }

    class const_iterator
    {
    public:
        using It = typename std::vector<std::unique_ptr<T>>::const_iterator;
        explicit const_iterator(It it)
            : m_it(it)
        { }
        P operator*() const { return m_it->get(); }
        const_iterator &operator++()
        {
            ++m_it;
            return *this;
        }
        bool operator==(const const_iterator &other) const { return m_it == other.m_it; }
        bool operator!=(const const_iterator &other) const { return m_it != other.m_it; }

    private:
        It m_it;
    };
    const_iterator begin() const { return const_iterator(m_items.cbegin()); }
    const_iterator end() const { return const_iterator(m_items.cend()); }

private:
    static void CheckIndex(int index, int limit)
    {
        if (index < 0 || index >= limit)
            throw std::invalid_argument("CObjectArray index out of range");
    }

    std::vector<std::unique_ptr<T>> m_items;
};
