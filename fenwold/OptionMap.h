// The serial options a device offers: (stored index, text) pairs in the order
// they were appended, which is also the order of the combo box showing them.
#pragma once

#include <cstddef>
#include <vector>

// One entry of an option table: the index stored in the registry and its text.
struct OptionText {
    int index;
    const wchar_t* text;
};

class OptionMap {
public:
    void Append(int index, const wchar_t* text) { m_entries.push_back({index, text}); }
    int GetSize() const { return static_cast<int>(m_entries.size()); }
    int IndexAt(int entry) const { return m_entries[static_cast<std::size_t>(entry)].index; }
    const wchar_t* TextAt(int entry) const { return m_entries[static_cast<std::size_t>(entry)].text; }
    // The first entry holding `index`, or -1.
    int Find(int index) const
    {
        for (std::size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].index == index)
                return static_cast<int>(i);
        }
        return -1;
    }

private:
    std::vector<OptionText> m_entries;
};
