// The registry key object of the COM classes and of the windows.
#pragma once

#include <windows.h>

// The one owner of one open registry key; closes it when it goes.
class CRegKey
{
public:
    CRegKey() = default;
    // Takes over a key opened elsewhere.
    explicit CRegKey(HKEY key) : m_hKey(key) {}
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    ~CRegKey() { Close(); }

    // The open key, or null.
    HKEY Get() const { return m_hKey; }

    // On success the key held before is closed and the new one kept; on failure nothing changes.
    LONG Open(HKEY parent, const wchar_t* subKey, REGSAM access);
    LONG Create(HKEY parent, const wchar_t* subKey, REGSAM access);
    // Closes the key if one is open.
    void Close();

    // Succeeds only for a zero-terminated REG_SZ or REG_EXPAND_SZ that fits.
    // `chars` in: the buffer's size; out: the characters read, terminator included.
    LONG QueryStringValue(const wchar_t* name, wchar_t* value, ULONG* chars) const;
    // Succeeds only for a REG_DWORD; on failure `value` is left as it was.
    LONG QueryDWORDValue(const wchar_t* name, DWORD& value) const;
    // Writes REG_SZ, the terminator included.
    LONG SetStringValue(const wchar_t* name, const wchar_t* value);
    LONG SetDWORDValue(const wchar_t* name, DWORD value);
    LONG DeleteValue(const wchar_t* name);
    // Deletes a subkey that has no subkeys of its own.
    LONG DeleteSubKey(const wchar_t* subKey);
    // `chars` in: the buffer's size; out: the name's length.
    LONG EnumKey(DWORD index, wchar_t* name, DWORD* chars) const;

protected:
    HKEY m_hKey = nullptr;
};
