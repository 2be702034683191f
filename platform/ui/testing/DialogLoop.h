// Dialogs run in a test without a message loop of their own: the common
// controls they hold, and what is queued for them dispatched.
#pragma once

#include <windows.h>

namespace uitest {

void InitControls();
// Dispatches what is queued for this thread, passing dialog keys through
// IsDialogMessage of `dialog`.
void Pump(HWND dialog = nullptr);

} // namespace uitest
