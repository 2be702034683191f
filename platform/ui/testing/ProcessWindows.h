// Windows of another process, found and driven with messages that carry no
// pointers (only those cross processes).
#pragma once

#include <windows.h>

#include <vector>

namespace uitest {

// The first visible top-level window of process `pid` with class `className`
// (any class when null) other than `except`, waiting up to `timeoutMs`; null
// when none came.
HWND WaitForProcessWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs, HWND except = nullptr);
// The same, passing over every window in `except`.
HWND WaitForProcessWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs, const std::vector<HWND>& except);
// Clicks button `id` of a dialog box; false when it has no such button.
bool ClickButton(HWND box, int id);
// Presses and releases `key` in `window` and returns once the window has
// handled both; false when it did not answer within five seconds.
bool PressKey(HWND window, UINT key);

} // namespace uitest
