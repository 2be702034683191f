// Registry values of a key enumerated with buffers that grow as needed, and
// looked up by name the way the registry compares names.
#pragma once

#include "com/RegKey.h"
#include "ui/String.h"

#include <memory>

// One registry value's type and data, in a buffer this object owns.
class CRegData {
public:
    CRegData() = default;
    CRegData(const CRegData&) = delete;
    CRegData& operator=(const CRegData&) = delete;
    virtual ~CRegData() { Free(); }

    // Drops the buffer; the size stays as it was.
    void Free() { m_buffer.reset(); }
    // A new zero-filled buffer of n + 1 wide characters.
    CRegData& Alloc(int n);

    wchar_t* GetBuffer() { return m_buffer.get(); }
    BYTE* GetData() { return reinterpret_cast<BYTE*>(m_buffer.get()); }
    DWORD* GetTypePtr() { return &m_type; }
    DWORD GetType() const { return m_type; }
    int GetSize() const { return m_size; }

private:
    DWORD m_type = 0;
    int m_size = 0;
    std::unique_ptr<wchar_t[]> m_buffer;
};

class RegKeyEx : public CRegKey {
public:
    // The value at `index`: its name, type and data.  Returns the Win32
    // result; on failure name and data are left as they were.
    LONG EnumValue(DWORD index, CString& name, CRegData* data);
    // True when the key holds a value named `name` without regard to case
    // (the registry's own comparison); `data` then holds its type and data.
    bool FindValue(const wchar_t* name, CRegData* data);
};
