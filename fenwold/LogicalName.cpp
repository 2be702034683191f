#include "LogicalName.h"

#include <cwchar>

namespace {
constexpr DWORD kNameChars = 260;
constexpr DWORD kDataBytes = 260;
} // namespace

std::vector<CString> LogicalNamesOf(const CRegKey& classKey, const CString& device)
{
    std::vector<CString> names;
    for (DWORD index = 0;; ++index) {
        wchar_t name[kNameChars];
        DWORD nameChars = kNameChars;
        wchar_t data[kDataBytes / sizeof(wchar_t)];
        DWORD dataBytes = kDataBytes;
        const LONG result =
            RegEnumValueW(classKey.Get(), index, name, &nameChars, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &dataBytes);
        if (result == ERROR_MORE_DATA)
            continue;
        if (result != ERROR_SUCCESS)
            break;
        const size_t length = wcsnlen(data, dataBytes / sizeof(wchar_t));
        if (CString(data, static_cast<int>(length)) == device)
            names.emplace_back(name);
    }
    return names;
}
