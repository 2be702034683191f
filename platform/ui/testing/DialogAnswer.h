// Dialogs and message boxes opened on the test's thread, recorded and
// answered as they open, so that no test waits on one.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace uitest {

// While alive, every top-level dialog box (a message box too) created on this
// thread is recorded once its WM_INITDIALOG is done and answered by a posted
// click: of `button`, or of the button `handler` returns after reading or
// filling the dialog (0 clicks nothing: the handler ends the dialog itself).
// A dialog without that button gets IDOK.  An answered dialog still open
// after twenty seconds is ended with kGaveUp, so that a test fails instead of
// hanging.  One at a time on a thread.
class ScopedDialogAnswer {
public:
    using Handler = std::function<int(HWND dialog)>;
    static constexpr int kGaveUp = 99;

    explicit ScopedDialogAnswer(int button);
    explicit ScopedDialogAnswer(Handler handler);
    ~ScopedDialogAnswer();
    ScopedDialogAnswer(const ScopedDialogAnswer&) = delete;
    ScopedDialogAnswer& operator=(const ScopedDialogAnswer&) = delete;

    // The captions of the dialogs seen, in order, and their texts (a message
    // box's message; empty for other dialogs).
    const std::vector<std::wstring>& Captions() const { return m_captions; }
    const std::vector<std::wstring>& Texts() const { return m_texts; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    static void CALLBACK Watchdog(HWND dialog, UINT, UINT_PTR id, DWORD);
    void Answer(HWND dialog);

    Handler m_handler;
    HHOOK m_hook;
    std::vector<HWND> m_answered;
    std::vector<std::wstring> m_captions;
    std::vector<std::wstring> m_texts;
};

} // namespace uitest
