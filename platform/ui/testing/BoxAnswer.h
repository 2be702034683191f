// Test helpers that answer message boxes so no test waits on one.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace uitest {

struct BoxRecord {
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

// While alive, every ui::ShowMessageBox call is recorded and answered with
// `answer` instead of showing a box.
class ScopedBoxAnswer {
public:
    explicit ScopedBoxAnswer(int answer = IDOK);
    ~ScopedBoxAnswer();
    ScopedBoxAnswer(const ScopedBoxAnswer&) = delete;
    ScopedBoxAnswer& operator=(const ScopedBoxAnswer&) = delete;

    const std::vector<BoxRecord>& Boxes() const { return m_boxes; }
    void Clear() { m_boxes.clear(); }

private:
    static int Handler(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);
    int m_answer;
    std::vector<BoxRecord> m_boxes;
    void* m_previous;
};

// While alive, every real dialog box (class #32770) created on this thread
// is answered, once its WM_INITDIALOG is done, by posting a click of `answer` (IDOK when it has no such
// button); the text of its static 0xFFFF is recorded.  For code that calls
// MessageBoxW itself.
class ScopedCbtBoxAnswer {
public:
    explicit ScopedCbtBoxAnswer(int answer = IDOK);
    ~ScopedCbtBoxAnswer();
    ScopedCbtBoxAnswer(const ScopedCbtBoxAnswer&) = delete;
    ScopedCbtBoxAnswer& operator=(const ScopedCbtBoxAnswer&) = delete;

    const std::vector<std::wstring>& Texts() const { return m_texts; }
    const std::vector<std::wstring>& Captions() const { return m_captions; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam);
    int m_answer;
    HHOOK m_hook;
    std::vector<std::wstring> m_texts;
    std::vector<std::wstring> m_captions;
};

// Other processes' windows (only messages without pointers cross).
// The first visible top-level window of process `pid` with class `className`
// (any class when null) other than `except`, waiting up to `timeoutMs`; null
// when none came.
HWND WaitForProcessWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs, HWND except = nullptr);
std::wstring WindowText(HWND window);
// Clicks button `id` of a dialog box of another process.
bool ClickButton(HWND box, int id);

} // namespace uitest
