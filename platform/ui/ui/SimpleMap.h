// A small insertion-ordered map: keys and values in two parallel arrays that
// grow by one element per insertion; lookups are linear.
#pragma once

#include <cstddef>
#include <new>
#include <utility>
#include <vector>

template <class TKey, class TValue>
class CSimpleMap {
public:
    int GetSize() const { return static_cast<int>(m_keys.size()); }

    // Appends a pair; false (map unchanged) when memory runs out.
    bool Add(const TKey& key, const TValue& value)
    {
        try {
            m_keys.reserve(m_keys.size() + 1);
            m_values.reserve(m_values.size() + 1);
            TKey keyCopy(key);
            TValue valueCopy(value);
            // Room is reserved and moves do not allocate: both appends succeed.
            m_keys.push_back(std::move(keyCopy));
            m_values.push_back(std::move(valueCopy));
        } catch (const std::bad_alloc&) {
            return false;
        }
        return true;
    }

    void RemoveAll()
    {
        m_keys.clear();
        m_values.clear();
    }

    // The caller keeps `index` within 0 .. GetSize() - 1.
    const TKey& GetKeyAt(int index) const { return m_keys[static_cast<size_t>(index)]; }
    const TValue& GetValueAt(int index) const { return m_values[static_cast<size_t>(index)]; }

    // Index of `key`, or -1.
    int FindKey(const TKey& key) const
    {
        for (size_t i = 0; i < m_keys.size(); ++i)
            if (m_keys[i] == key)
                return static_cast<int>(i);
        return -1;
    }

    // The value of `key`, or a default value when absent.
    TValue Lookup(const TKey& key) const
    {
        const int index = FindKey(key);
        return index < 0 ? TValue() : m_values[static_cast<size_t>(index)];
    }

private:
    std::vector<TKey> m_keys;
    std::vector<TValue> m_values;
};
