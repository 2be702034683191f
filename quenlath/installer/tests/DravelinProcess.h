// Dravelin.exe run as a process of its own and driven from outside as a user
// would, with messages that cross processes.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class DravelinProcess {
 public:
  DravelinProcess() = default;
  // Ends the program when it still runs.
  ~DravelinProcess();
  DravelinProcess(const DravelinProcess&) = delete;
  DravelinProcess& operator=(const DravelinProcess&) = delete;

  // Starts the program at `exe`; false (GetLastError tells why) when it did not start.
  bool Start(const std::wstring& exe);
  // A visible dialog box of the program not returned before (null after the time-out).
  HWND WaitForNewDialog();
  // The next new message box, passing over other dialogs (the progress dialog).
  HWND WaitForMessageBox();
  // Clicks button `id` of a dialog and waits until the dialog has gone; false
  // when it has no such button or is still there after the time-out.
  bool Answer(HWND dialog, int id) const;
  // The exit code, or -1 when it did not end in time.
  long WaitForExit();

 private:
  PROCESS_INFORMATION m_pi{};
  std::vector<HWND> m_seen;
};

// The text of a message box of the program.
std::wstring MessageText(HWND box);

// What an install through the program showed.
struct InstallOutcome {
  std::wstring failure;      // what did not happen; empty when all did
  std::wstring typeCaption;  // of the port-type dialog; empty when none came
  std::wstring message;      // of the message box, and its caption
  std::wstring caption;
  int rows = -1;             // of the port list once the box is answered
  long exitCode = -2;        // once the main dialog is closed
};

// Waits for the main dialog, clicks Install, chooses the type (kSerialPort or
// kParallelPort) when the port-type dialog comes, answers the message box with
// Ok and closes the program.
InstallOutcome InstallThroughTheDialogs(DravelinProcess& dravelin, int portType);
