#include "RegKey.h"

#include <cwchar>

LONG CRegKey::Open(HKEY parent, const wchar_t* subKey, REGSAM access)
{
    HKEY key = nullptr;
    const LONG result = ::RegOpenKeyExW(parent, subKey, 0, access, &key);
    if (result == ERROR_SUCCESS) {
        Close();
        m_hKey = key;
    }
    return result;
}

LONG CRegKey::Create(HKEY parent, const wchar_t* subKey, REGSAM access)
{
    HKEY key = nullptr;
    const LONG result = ::RegCreateKeyExW(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    if (result == ERROR_SUCCESS) {
        Close();
        m_hKey = key;
    }
    return result;
}

void CRegKey::Close()
{
    if (m_hKey) (void)::RegCloseKey(m_hKey);  // nothing to undo on failure
    m_hKey = nullptr;
}

LONG CRegKey::QueryStringValue(const wchar_t* name, wchar_t* value, ULONG* chars) const
{
    DWORD type = 0;
    DWORD bytes = *chars * sizeof(wchar_t);
    const LONG result = ::RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(value), &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_SZ && type != REG_EXPAND_SZ)
        return ERROR_INVALID_DATA;
    const ULONG read = bytes / sizeof(wchar_t);
    if (bytes % sizeof(wchar_t) != 0 || read == 0 || value[read - 1] != L'\0')
        return ERROR_INVALID_DATA;
    *chars = read;
    return ERROR_SUCCESS;
}

LONG CRegKey::QueryDWORDValue(const wchar_t* name, DWORD& value) const
{
    DWORD type = 0;
    DWORD data = 0;
    DWORD bytes = sizeof(data);
    const LONG result = ::RegQueryValueExW(m_hKey, name, nullptr, &type, reinterpret_cast<BYTE*>(&data), &bytes);
    if (result != ERROR_SUCCESS)
        return result;
    if (type != REG_DWORD || bytes != sizeof(data))
        return ERROR_INVALID_DATA;
    value = data;
    return ERROR_SUCCESS;
}

LONG CRegKey::SetStringValue(const wchar_t* name, const wchar_t* value)
{
    const DWORD bytes = static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t));
    return ::RegSetValueExW(m_hKey, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), bytes);
}

LONG CRegKey::SetDWORDValue(const wchar_t* name, DWORD value)
{
    return ::RegSetValueExW(m_hKey, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

LONG CRegKey::DeleteValue(const wchar_t* name)
{
    return ::RegDeleteValueW(m_hKey, name);
}

LONG CRegKey::DeleteSubKey(const wchar_t* subKey)
{
    return ::RegDeleteKeyW(m_hKey, subKey);
}

LONG CRegKey::EnumKey(DWORD index, wchar_t* name, DWORD* chars) const
{
    return ::RegEnumKeyExW(m_hKey, index, name, chars, nullptr, nullptr, nullptr, nullptr);
}
