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

#include "DravelinProcess.h"
#include "InfPatch.h"
#include "PortDevices.h"
#include "TestFiles.h"
#include "WaitDialog.h"
#include "resource.h"
#include "testing/ProcessWindows.h"
#include "testing/WindowTexts.h"

namespace {

int PortType(const wchar_t* exe, DWORD holdMs) {
  DravelinProcess dravelin;
  if (!dravelin.Start(exe)) {
    std::printf("cannot start Dravelin.exe (%lu)\n", GetLastError());
    return 2;
  }
  HWND main = dravelin.WaitForNewDialog();
  if (!main) {
    std::printf("no dialog\n");
    return 3;
  }
  uitest::ClickButton(main, IDC_INSTALL);
  HWND portDlg = dravelin.WaitForNewDialog();
  if (portDlg) {
    std::printf("ready %ls\n", uitest::WindowText(portDlg).c_str());
    std::fflush(stdout);
    Sleep(holdMs);
    if (!dravelin.Answer(portDlg, IDCANCEL)) std::printf("the port-type dialog stayed\n");
  } else {
    std::printf("no port-type dialog\n");
  }
  PostMessageW(main, WM_CLOSE, 0, 0);
  const long code = dravelin.WaitForExit();
  return portDlg && code != -1 ? static_cast<int>(code) : 3;
}

int Install(const wchar_t* exe, bool parallel) {
  DravelinProcess dravelin;
  if (!dravelin.Start(exe)) {
    std::printf("cannot start Dravelin.exe (%lu)\n", GetLastError());
    return 2;
  }
  const InstallOutcome outcome = InstallThroughTheDialogs(dravelin, parallel ? kParallelPort : kSerialPort);
  if (!outcome.message.empty()) std::printf("message %ls\n", outcome.message.c_str());
  if (!outcome.failure.empty()) {
    std::printf("%ls\n", outcome.failure.c_str());
    return 3;
  }
  const std::vector<std::wstring> ports = ListPortNames(nullptr);
  for (const std::wstring& port : ports) std::printf("installed %ls\n", port.c_str());
  return outcome.message == L"Port installation is successful!" && ports.size() == 1 ? 0 : 1;
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
