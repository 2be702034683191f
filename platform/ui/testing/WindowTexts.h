// The texts windows show, read with WM_GETTEXT so that windows of another
// process answer too.
#pragma once

#include <windows.h>

#include <string>

namespace uitest {

std::wstring WindowText(HWND window);
// The text of control `id` of `dialog`; empty when there is no such control.
std::wstring ItemText(HWND dialog, int id);
// The texts of a window's descendants, in Z order, each followed by "|".
std::wstring ChildTexts(HWND window);

} // namespace uitest
