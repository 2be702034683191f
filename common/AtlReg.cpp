#include "AtlReg.h"

#include <cassert>

CRegData& CRegData::Alloc(int n)
{
    Free();
    m_size = n;
    m_buffer.reset(new wchar_t[static_cast<size_t>(n) + 1]());
    return *this;
}

LONG RegKeyEx::EnumValue(DWORD index, CString& name, CRegData* data)
{
    assert(m_hKey != 0);

    // Name: 20 characters first, then what the registry asks for plus 20.
    DWORD capacity = 20;
    std::unique_ptr<wchar_t[]> nameBuffer(new wchar_t[capacity + 1]());
    DWORD length = capacity;
    LONG result = ::RegEnumValueW(m_hKey, index, nameBuffer.get(), &length, nullptr, nullptr, nullptr, nullptr);
    while (result == ERROR_MORE_DATA) {
        capacity = (length > capacity ? length : capacity) + 20;
        nameBuffer.reset(new wchar_t[capacity + 1]());
        length = capacity;
        result = ::RegEnumValueW(m_hKey, index, nameBuffer.get(), &length, nullptr, nullptr, nullptr, nullptr);
    }
    if (result != ERROR_SUCCESS)
        return result;
    name = nameBuffer.get();

    // Data: 20 bytes first; when that is short the registry tells the size
    // and the next attempt offers it plus 20.  The buffer is zero-filled and
    // twice that large, so string data always ends in a zero character.
    DWORD size = 0;
    do {
        size += 20;
        data->Alloc(static_cast<int>(size));
        length = capacity;
        result = ::RegEnumValueW(m_hKey, index, nameBuffer.get(), &length, nullptr, data->GetTypePtr(), data->GetData(), &size);
    } while (result == ERROR_MORE_DATA);
    return result;
}

bool RegKeyEx::FindValue(const wchar_t* name, CRegData* data)
{
    assert(m_hKey != 0);

    DWORD count = 0;
    if (::RegQueryInfoKeyW(m_hKey, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                           nullptr, nullptr) != ERROR_SUCCESS)
        count = 0;
    for (DWORD index = 0; index < count; ++index) {
        CString candidate;
        if (EnumValue(index, candidate, data) != ERROR_SUCCESS)
            continue;
        if (candidate.CompareNoCase(name) == 0)
            return true;
    }
    return false;
}
