#include "Messages.h"

#include "resource.h"
#include "ui/MessageBox.h"

namespace {
constexpr UINT kErrorBox = MB_OK | MB_ICONSTOP;
constexpr UINT kWarningBox = MB_OK | MB_ICONEXCLAMATION;
} // namespace

CString LoadText(UINT id)
{
    CString text;
    text.LoadString(id);
    return text;
}

void ShowError(HWND owner, UINT textId)
{
    ShowError(owner, LoadText(textId));
}

void ShowError(HWND owner, UINT formatId, LONG code)
{
    ShowError(owner, FormatText(formatId, static_cast<int>(code)));
}

void ShowError(HWND owner, const wchar_t* text)
{
    ui::ShowMessageBox(owner, text, LoadText(IDS_ERROR), kErrorBox);
}

void ShowWarning(HWND owner, UINT textId)
{
    ShowWarning(owner, LoadText(textId));
}

void ShowWarning(HWND owner, const wchar_t* text)
{
    ui::ShowMessageBox(owner, text, LoadText(IDS_WARNING), kWarningBox);
}
