// Holds one of the install command's dialogs open for a screenshot:
//   install_drive port-type <Dravelin.exe> <hold ms>
//     runs Dravelin.exe, clicks Install, waits for the port-type dialog,
//     prints "ready <caption>", holds, cancels, closes Dravelin and exits
//     with its exit code.
//   install_drive progress <package.7z with the probe devcon> <hold ms>
//     runs the progress dialog in-process over the package while the probe
//     devcon pauses; prints "ready" once the unpacking is done (50), exits 0
//     when the dialog ended with IDOK.
//   install_drive install <Dravelin.exe> serial|parallel
//     installs a port through Dravelin.exe as a user would (Install, the
//     type, Ok, Ok on the message), prints "message <text>" and
//     "installed <port name>"; exits 0 after message 110 and one port.
//   install_drive write <port name> <text>
//     opens \\.\<port name> and writes the text; exits 0 when all went out.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "PortDevices.h"
#include "TestFiles.h"
#include "WaitDialog.h"
#include "resource.h"
#include "testing/ProcessWindows.h"
#include "testing/WindowTexts.h"

namespace {

// A visible dialog box of the process other than `other` (null after 20 s).
HWND WaitForDialogOtherThan(DWORD pid, HWND other) {
  return uitest::WaitForProcessWindow(pid, L"#32770", 20000, other);
}

int PortType(const wchar_t* exe, DWORD holdMs) {
  std::wstring line = L"\"" + std::wstring(exe) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    std::printf("cannot start Dravelin.exe (%lu)\n", GetLastError());
    return 2;
  }
  int result = 3;
  HWND main = WaitForDialogOtherThan(pi.dwProcessId, nullptr);
  if (main) {
    PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_INSTALL)));
    HWND portDlg = WaitForDialogOtherThan(pi.dwProcessId, main);
    if (portDlg) {
      std::printf("ready %ls\n", uitest::WindowText(portDlg).c_str());
      std::fflush(stdout);
      Sleep(holdMs);
      uitest::ClickButton(portDlg, IDCANCEL);
    } else {
      std::printf("no port-type dialog\n");
    }
    Sleep(500);
    PostMessageW(main, WM_CLOSE, 0, 0);
    DWORD code = 3;
    if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0 && GetExitCodeProcess(pi.hProcess, &code))
      result = portDlg ? static_cast<int>(code) : 3;
  } else {
    std::printf("no dialog\n");
  }
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 3);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

int Install(const wchar_t* exe, bool parallel) {
  std::wstring line = L"\"" + std::wstring(exe) + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return 2;
  int result = 3;
  HWND main = WaitForDialogOtherThan(pi.dwProcessId, nullptr);
  HWND portDlg = main ? (PostMessageW(main, WM_COMMAND, MAKEWPARAM(IDC_INSTALL, BN_CLICKED),
                                      reinterpret_cast<LPARAM>(GetDlgItem(main, IDC_INSTALL))),
                         WaitForDialogOtherThan(pi.dwProcessId, main))
                      : nullptr;
  if (portDlg) {
    SendMessageW(GetDlgItem(portDlg, parallel ? IDC_SERIAL_PORT : IDC_PARALLEL_PORT), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(GetDlgItem(portDlg, parallel ? IDC_PARALLEL_PORT : IDC_SERIAL_PORT), BM_SETCHECK, BST_CHECKED, 0);
    uitest::ClickButton(portDlg, IDOK);
    // The progress dialog comes and goes; the message box has the text static.
    HWND box = nullptr;
    for (int i = 0; i < 1500 && !box; ++i) {
      HWND found = WaitForDialogOtherThan(pi.dwProcessId, main);
      if (found && found != portDlg && GetDlgItem(found, 0xFFFF)) box = found;
      else Sleep(20);
    }
    if (box) {
      const std::wstring message = uitest::WindowText(GetDlgItem(box, 0xFFFF));
      std::printf("message %ls\n", message.c_str());
      uitest::ClickButton(box, IDOK);
      Sleep(500);
      const std::vector<std::wstring> ports = ListPortNames(nullptr);
      for (const std::wstring& port : ports) std::printf("installed %ls\n", port.c_str());
      result = message == L"Port installation is successful!" && ports.size() == 1 ? 0 : 1;
    }
    PostMessageW(main, WM_CLOSE, 0, 0);
    WaitForSingleObject(pi.hProcess, 20000);
  }
  if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(pi.hProcess, 3);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

int Write(const wchar_t* port, const wchar_t* text) {
  const std::wstring path = std::wstring(L"\\\\.\\") + port;
  HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (h == INVALID_HANDLE_VALUE) {
    std::printf("cannot open %ls (%lu)\n", path.c_str(), GetLastError());
    return 1;
  }
  std::string bytes;
  for (const wchar_t* p = text; *p; ++p) bytes += static_cast<char>(*p);
  DWORD written = 0;
  const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(h);
  std::printf("wrote %lu bytes to %ls\n", written, path.c_str());
  return ok && written == bytes.size() ? 0 : 1;
}

InstallJob* g_job = nullptr;

void CALLBACK ReportReady(HWND, UINT, UINT_PTR id, DWORD) {
  if (!g_job->hNotifyWnd) return;
  HWND bar = GetDlgItem(g_job->hNotifyWnd, IDC_PROGRESS);
  if (SendMessageW(bar, PBM_GETPOS, 0, 0) < 50) return;
  KillTimer(nullptr, id);
  std::printf("ready progress %d\n", static_cast<int>(SendMessageW(bar, PBM_GETPOS, 0, 0)));
  std::fflush(stdout);
}

int Progress(const wchar_t* package, DWORD holdMs) {
  const std::vector<std::uint8_t> bytes = ReadBytes(package);
  SetEnvironmentVariableW(L"QUENLATH_PROBE_SLEEP_MS", std::to_wstring(holdMs).c_str());
  InitCommonControls();
  InstallJob job{bytes.data(), static_cast<UINT32>(bytes.size()), 0, nullptr};
  g_job = &job;
  const UINT_PTR timer = SetTimer(nullptr, 0, 100, ReportReady);
  CWaitDialog dlg(nullptr, &job);
  const INT_PTR result = dlg.DoModal();
  KillTimer(nullptr, timer);
  std::printf("dialog result %d\n", static_cast<int>(result));
  return result == IDOK ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 4) {
    std::printf("usage: install_drive port-type|progress|install|write ...\n");
    return 2;
  }
  int result = 2;
  if (wcscmp(argv[1], L"port-type") == 0) result = PortType(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
  else if (wcscmp(argv[1], L"progress") == 0) result = Progress(argv[2], static_cast<DWORD>(_wtoi(argv[3])));
  else if (wcscmp(argv[1], L"install") == 0) result = Install(argv[2], wcscmp(argv[3], L"parallel") == 0);
  else if (wcscmp(argv[1], L"write") == 0) result = Write(argv[2], argv[3]);
  std::printf("exit %d\n", result);
  return result;
}
