// Texts of the string table and the boxes that show them to the user.
#pragma once

#include "ui/String.h"

#include <windows.h>

// String `id` of the string table; empty when there is none.
CString LoadText(UINT id);

// String `formatId` with its % fields filled by `args`.
template <typename... Args>
CString FormatText(UINT formatId, Args... args)
{
    CString text;
    text.Format(LoadText(formatId), args...);
    return text;
}

// A failure: the text under "Error", with OK and a stop sign.
void ShowError(HWND owner, UINT textId);
// The same with `code`, the failure's result, in the text's %d field.
void ShowError(HWND owner, UINT formatId, LONG code);
void ShowError(HWND owner, const wchar_t* text);
// A refusal of what the user asked or typed: the text under "Warning", with
// OK and an exclamation mark.
void ShowWarning(HWND owner, UINT textId);
void ShowWarning(HWND owner, const wchar_t* text);
