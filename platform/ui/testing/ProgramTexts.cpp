#include "testing/ProgramTexts.h"

#include "testing/WindowTexts.h"

namespace uitest {

namespace {
const int kMessageTextId = 0xFFFF;  // the static text of a message box
}

std::wstring ProgramString(const std::wstring& exe, UINT id)
{
    const WORD language = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE
                              ? MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED)
                              : MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
    std::wstring text = L"<no string " + std::to_wstring(id) + L" in language " + std::to_wstring(language) + L">";
    HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module)
        return text;
    // A block holds 16 strings, each its length and then its characters.
    if (HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language)) {
        const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(module, block)));
        for (UINT i = 0; i < id % 16; ++i)
            p += 1 + *p;
        if (*p)
            text.assign(p + 1, *p);
    }
    FreeLibrary(module);
    return text;
}

std::wstring Formatted(const std::wstring& format, const std::wstring& argument)
{
    std::wstring text = format;
    const size_t at = text.find(L'%');
    const size_t end = text.find_first_of(L"ds", at);
    if (end != std::wstring::npos)
        text.replace(at, end - at + 1, argument);
    return text;
}

std::wstring OtherThanBox(HWND box, const std::wstring& want)
{
    if (!box)
        return L"nothing";
    if (!GetDlgItem(box, kMessageTextId))
        return L"the dialog \"" + WindowText(box) + L"\"";
    std::wstring shown = ItemText(box, kMessageTextId);
    for (const DWORD start = GetTickCount(); shown != want && GetTickCount() - start < 5000;
         shown = ItemText(box, kMessageTextId))
        Sleep(20);
    return shown == want ? std::wstring() : L"the message box \"" + shown + L"\"";
}

std::string LogText(const std::wstring& text)
{
    std::wstring line;
    for (wchar_t c : text)
        line += c == L'\n' ? std::wstring(L"\\n") : std::wstring(1, c);
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string utf8(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), -1, &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr);
    utf8.resize(utf8.size() - 1);
    return utf8;
}

} // namespace uitest
