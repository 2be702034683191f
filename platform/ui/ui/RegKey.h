// A registry key owner: the key is closed when the object goes out of scope.
#pragma once

#include <windows.h>

class CRegKey {
public:
    CRegKey() = default;
    explicit CRegKey(HKEY key) : m_hKey(key) {}
    CRegKey(const CRegKey&) = delete;
    CRegKey& operator=(const CRegKey&) = delete;
    ~CRegKey() { Close(); }

    operator HKEY() const { return m_hKey; }

    // On success a key held before is closed and the new one kept.
    LONG Open(HKEY parent, const wchar_t* subKey, REGSAM access = KEY_READ | KEY_WRITE);
    LONG Create(HKEY parent, const wchar_t* subKey, REGSAM access = KEY_READ | KEY_WRITE);
    LONG Close();
    void Attach(HKEY key);
    HKEY Detach();

    // `chars` in: the buffer's size; out: the characters read, terminator
    // included.  Succeeds only for a zero-terminated REG_SZ or REG_EXPAND_SZ that fits.
    LONG QueryStringValue(const wchar_t* name, wchar_t* value, ULONG* chars) const;
    LONG QueryDWORDValue(const wchar_t* name, DWORD& value) const;
    LONG SetStringValue(const wchar_t* name, const wchar_t* value);
    LONG SetDWORDValue(const wchar_t* name, DWORD value);
    LONG DeleteValue(const wchar_t* name);
    // Deletes a subkey that has no subkeys of its own.
    LONG DeleteSubKey(const wchar_t* subKey);
    // `chars` in: the buffer's size; out: the name's length.
    LONG EnumKey(DWORD index, wchar_t* name, DWORD* chars) const;

    HKEY m_hKey = nullptr;
};
