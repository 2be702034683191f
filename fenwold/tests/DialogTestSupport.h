// Shared by the dialog tests: common controls, message pumping, control texts.
#pragma once

#include "ui/Window.h"

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

namespace dialog_test {

void InitControls();
// Dispatches what is queued for this thread, passing dialog keys through
// IsDialogMessage of `dialog`.
void Pump(HWND dialog = nullptr);
std::wstring ItemText(HWND dialog, int id);

// While alive, runs `script` on every dialog box of this thread right after
// its WM_INITDIALOG, for modal runs.
class ScopedDialogScript {
public:
    explicit ScopedDialogScript(std::function<void(HWND)> script);
    ~ScopedDialogScript();
    ScopedDialogScript(const ScopedDialogScript&) = delete;
    ScopedDialogScript& operator=(const ScopedDialogScript&) = delete;

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    std::function<void(HWND)> m_script;
    HHOOK m_hook;
};

} // namespace dialog_test
