#include "DravelinProcess.h"

#include <commctrl.h>

#include "InfPatch.h"
#include "resource.h"
#include "testing/ProcessWindows.h"
#include "testing/WindowTexts.h"

namespace {

const DWORD kTimeoutMs = 30000;
// The id of a message box's text.
const int kMessageTextId = 0xFFFF;

}  // namespace

DravelinProcess::~DravelinProcess() {
  if (!m_pi.hProcess) return;
  if (WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_pi.hProcess, 99);
    WaitForSingleObject(m_pi.hProcess, 5000);
  }
  CloseHandle(m_pi.hThread);
  CloseHandle(m_pi.hProcess);
}

bool DravelinProcess::Start(const std::wstring& exe) {
  std::wstring line = L"\"" + exe + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  return CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != FALSE;
}

HWND DravelinProcess::WaitForNewDialog() {
  HWND dialog = uitest::WaitForProcessWindow(m_pi.dwProcessId, L"#32770", kTimeoutMs, m_seen);
  if (dialog) m_seen.push_back(dialog);
  return dialog;
}

HWND DravelinProcess::WaitForMessageBox() {
  for (HWND box = WaitForNewDialog(); box; box = WaitForNewDialog())
    if (GetDlgItem(box, kMessageTextId)) return box;
  return nullptr;
}

bool DravelinProcess::Answer(HWND dialog, int id) const {
  if (!uitest::ClickButton(dialog, id)) return false;
  for (const DWORD start = GetTickCount(); IsWindow(dialog); Sleep(20))
    if (GetTickCount() - start >= kTimeoutMs) return false;
  return true;
}

long DravelinProcess::WaitForExit() {
  if (WaitForSingleObject(m_pi.hProcess, kTimeoutMs) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  GetExitCodeProcess(m_pi.hProcess, &code);
  return static_cast<long>(code);
}

std::wstring MessageText(HWND box) { return uitest::ItemText(box, kMessageTextId); }

InstallOutcome InstallThroughTheDialogs(DravelinProcess& dravelin, int portType) {
  InstallOutcome outcome;
  HWND main = dravelin.WaitForNewDialog();
  if (!main) {
    outcome.failure = L"no main dialog";
    return outcome;
  }
  uitest::ClickButton(main, IDC_INSTALL);
  HWND box = dravelin.WaitForNewDialog();
  if (!box) {
    outcome.failure = L"no dialog after Install";
    return outcome;
  }
  if (!GetDlgItem(box, kMessageTextId)) {
    outcome.typeCaption = uitest::WindowText(box);
    const int chosen = portType == kSerialPort ? IDC_SERIAL_PORT : IDC_PARALLEL_PORT;
    const int other = portType == kSerialPort ? IDC_PARALLEL_PORT : IDC_SERIAL_PORT;
    SendMessageW(GetDlgItem(box, other), BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageW(GetDlgItem(box, chosen), BM_SETCHECK, BST_CHECKED, 0);
    uitest::ClickButton(box, IDOK);
    box = dravelin.WaitForMessageBox();
    if (!box) {
      outcome.failure = L"no message box";
      return outcome;
    }
  }
  outcome.message = MessageText(box);
  outcome.caption = uitest::WindowText(box);
  // The box has gone once the command has returned to the main dialog.
  if (!dravelin.Answer(box, IDOK)) {
    outcome.failure = L"the message box stayed";
    return outcome;
  }
  outcome.rows = static_cast<int>(SendMessageW(GetDlgItem(main, IDC_PORT_LIST), LVM_GETITEMCOUNT, 0, 0));
  PostMessageW(main, WM_CLOSE, 0, 0);
  outcome.exitCode = dravelin.WaitForExit();
  return outcome;
}
