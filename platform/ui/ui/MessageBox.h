// Every message box of the programs goes through ShowMessageBox, so tests can
// answer it without a box ever waiting on the screen.
#pragma once

#include <windows.h>

namespace ui {

using MessageBoxHandler = int (*)(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

// MessageBoxW unless a handler is installed; returns the button id chosen.
int ShowMessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
// Text and caption from the string table.
int ShowMessageBox(HWND owner, UINT textId, UINT captionId, UINT type);

// Installs `handler` (nullptr restores MessageBoxW) and returns the previous one.
MessageBoxHandler SetMessageBoxHandler(MessageBoxHandler handler);

} // namespace ui
