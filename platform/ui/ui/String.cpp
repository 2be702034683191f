#include "ui/String.h"

#include "ui/Module.h"

#include <cstdarg>
#include <cwchar>

void CString::FormatV(const wchar_t* format, va_list args)
{
    va_list count;
    va_copy(count, args);
    const int length = _vscwprintf(format, count);
    va_end(count);
    if (length < 0) {
        m_str.clear();
        return;
    }
    std::wstring out(static_cast<size_t>(length) + 1, L'\0');
    _vsnwprintf(&out[0], out.size(), format, args);
    out.resize(static_cast<size_t>(length));
    m_str.swap(out);
}

void CString::Format(const wchar_t* format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CString::AppendFormat(const wchar_t* format, ...)
{
    CString tail;
    va_list args;
    va_start(args, format);
    tail.FormatV(format, args);
    va_end(args);
    m_str += tail.m_str;
}

bool CString::LoadString(UINT id)
{
    return LoadString(ui::ResourceInstance(), id);
}

bool CString::LoadString(HINSTANCE module, UINT id)
{
    // With a zero buffer size LoadStringW hands out a read-only pointer to the
    // resource text, which is not zero-terminated.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(module, id, reinterpret_cast<wchar_t*>(&text), 0);
    if (length <= 0 || !text) {
        m_str.clear();
        return false;
    }
    m_str.assign(text, static_cast<size_t>(length));
    return true;
}

wchar_t* CString::GetBuffer(int minLength)
{
    if (minLength > GetLength())
        m_str.resize(static_cast<size_t>(minLength));
    return &m_str[0];
}

void CString::ReleaseBuffer(int newLength)
{
    if (newLength < 0)
        newLength = static_cast<int>(wcsnlen(m_str.c_str(), m_str.size()));
    m_str.resize(static_cast<size_t>(newLength));
}

int CString::CompareNoCase(const wchar_t* other) const
{
    // The registry's and the shell's way of ignoring case: whole Unicode case mapping.
    return CompareStringOrdinal(m_str.c_str(), -1, other, -1, TRUE) - CSTR_EQUAL;
}

int CString::Find(const wchar_t* sub, int start) const
{
    const size_t pos = m_str.find(sub, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

int CString::Find(wchar_t ch, int start) const
{
    const size_t pos = m_str.find(ch, static_cast<size_t>(start));
    return pos == std::wstring::npos ? -1 : static_cast<int>(pos);
}

CString CString::Left(int count) const
{
    return CString(m_str.substr(0, static_cast<size_t>(count < 0 ? 0 : count)));
}

CString CString::Mid(int first, int count) const
{
    if (first < 0)
        first = 0;
    if (static_cast<size_t>(first) >= m_str.size())
        return CString();
    return CString(m_str.substr(static_cast<size_t>(first), count < 0 ? std::wstring::npos : static_cast<size_t>(count)));
}

CString CString::Right(int count) const
{
    if (count <= 0)
        return CString();
    if (static_cast<size_t>(count) >= m_str.size())
        return *this;
    return CString(m_str.substr(m_str.size() - static_cast<size_t>(count)));
}
