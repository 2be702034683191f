// Wide string with printf-style formatting and string-table loading.
#pragma once

#include <windows.h>

#include <string>

class CString {
public:
    CString() = default;
    CString(const wchar_t* text) : m_str(text ? text : L"") {}
    CString(const wchar_t* text, int length) : m_str(text, static_cast<size_t>(length)) {}
    CString(const std::wstring& text) : m_str(text) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    bool IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator const wchar_t*() const { return m_str.c_str(); }
    const wchar_t* GetString() const { return m_str.c_str(); }
    wchar_t GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }

    // Formats with the Windows C runtime's conventions (%s is a wide string).
    void Format(const wchar_t* format, ...);
    void FormatV(const wchar_t* format, va_list args);
    void AppendFormat(const wchar_t* format, ...);
    // Loads string `id` from the resource module; false (and empty) when absent.
    bool LoadString(UINT id);
    bool LoadString(HINSTANCE module, UINT id);

    // Writable buffer of at least `minLength` characters; ReleaseBuffer
    // takes the length up to the first zero (or the given length).
    wchar_t* GetBuffer(int minLength);
    void ReleaseBuffer(int newLength = -1);

    int Compare(const wchar_t* other) const { return wcscmp(m_str.c_str(), other); }
    int CompareNoCase(const wchar_t* other) const;
    int Find(const wchar_t* sub, int start = 0) const;
    int Find(wchar_t ch, int start = 0) const;
    CString Left(int count) const;
    CString Mid(int first, int count = -1) const;
    CString Right(int count) const;

    CString& operator=(const wchar_t* text) { m_str = text ? text : L""; return *this; }
    CString& operator+=(const wchar_t* text) { m_str += text; return *this; }
    CString& operator+=(wchar_t ch) { m_str += ch; return *this; }
    CString& operator+=(const CString& other) { m_str += other.m_str; return *this; }

    friend CString operator+(const CString& a, const CString& b) { return CString(a.m_str + b.m_str); }
    friend CString operator+(const CString& a, const wchar_t* b) { return CString(a.m_str + b); }
    friend CString operator+(const wchar_t* a, const CString& b) { return CString(a + b.m_str); }
    friend CString operator+(const CString& a, wchar_t b) { return CString(a.m_str + b); }
    friend bool operator==(const CString& a, const CString& b) { return a.m_str == b.m_str; }
    friend bool operator==(const CString& a, const wchar_t* b) { return a.m_str == b; }
    friend bool operator!=(const CString& a, const CString& b) { return a.m_str != b.m_str; }
    friend bool operator!=(const CString& a, const wchar_t* b) { return a.m_str != b; }
    friend bool operator<(const CString& a, const CString& b) { return a.m_str < b.m_str; }

private:
    std::wstring m_str;
};
