#include "testing/WindowTexts.h"

namespace uitest {
namespace {
BOOL CALLBACK AddText(HWND child, LPARAM param)
{
    *reinterpret_cast<std::wstring*>(param) += WindowText(child) + L"|";
    return TRUE;
}
} // namespace

std::wstring WindowText(HWND window)
{
    wchar_t text[1024] = {};
    if (window)
        (void)::SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000,
                                    nullptr);
    return text;
}

std::wstring ItemText(HWND dialog, int id)
{
    return WindowText(::GetDlgItem(dialog, id));
}

std::wstring ChildTexts(HWND window)
{
    std::wstring texts;
    (void)::EnumChildWindows(window, AddText, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

} // namespace uitest
