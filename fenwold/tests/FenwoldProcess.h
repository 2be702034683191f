// Fenwold.exe run as a separate process and driven through its windows.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

class FenwoldProcess {
public:
    FenwoldProcess() = default;
    FenwoldProcess(const FenwoldProcess&) = delete;
    FenwoldProcess& operator=(const FenwoldProcess&) = delete;
    // Ends the process if it still runs.
    ~FenwoldProcess();

    // Starts `exe` with `arguments` appended to its command line.
    bool Start(const std::wstring& exe, const std::wstring& arguments = L"");
    DWORD Pid() const { return m_info.dwProcessId; }

    // Waits for a message box of the process and returns its text (empty on time-out).
    std::wstring WaitForBox(DWORD timeoutMs, HWND* box = nullptr);
    // Waits for a dialog box (a message box too) of the process other than `except`.
    HWND WaitForDialog(DWORD timeoutMs, HWND except = nullptr);
    // Waits for the visible main frame, then for its start-up messages to be handled.
    HWND WaitForFrame(DWORD timeoutMs);
    // Waits for the process to end; its exit code, or STILL_ACTIVE on time-out.
    DWORD WaitForExit(DWORD timeoutMs);

    // The item of the process's `tree` with the text `text`, among the roots
    // and their children; null when there is none.
    HTREEITEM FindTreeItem(HWND tree, const std::wstring& text) const;
    // Moves the mouse onto `item` and right-clicks it.
    bool RightClick(HWND tree, HTREEITEM item) const;

private:
    PROCESS_INFORMATION m_info = {};
};

// The path of Fenwold.exe beside the test programs' build folder.
std::wstring FenwoldExePath();
// The device tree of Fenwold's main frame; null when it has none.
HWND FindTree(HWND frame);
