// A devcon for tests of the install worker, packed in place of the package's
// stand-in: it records how it was started and what it found, then exits.
//   QUENLATH_PROBE_DIR      folder for the records (nothing recorded without it):
//                           command.txt (UTF-16: command line, newline, current
//                           folder), files.txt (UTF-16: "name size" lines of the
//                           current folder), Quenlath.inf (a copy)
//   QUENLATH_PROBE_SLEEP_MS pause before exiting
//   QUENLATH_PROBE_EXIT     exit code (0 without it)
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring Env(const wchar_t* name) {
  wchar_t value[1024];
  const DWORD n = GetEnvironmentVariableW(name, value, 1024);
  return n > 0 && n < 1024 ? std::wstring(value, n) : std::wstring();
}

void WriteText(const std::wstring& path, const std::wstring& text) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size() * sizeof(wchar_t)), &written, nullptr);
  CloseHandle(file);
}

void Record(const std::wstring& dir) {
  wchar_t cwd[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, cwd);
  WriteText(dir + L"\\command.txt", std::wstring(GetCommandLineW()) + L"\n" + cwd);

  std::wstring files;
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW(L"*", &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
      files += std::wstring(found.cFileName) + L" " + std::to_wstring(found.nFileSizeLow) + L"\n";
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  WriteText(dir + L"\\files.txt", files);
  CopyFileW(L"Quenlath.inf", (dir + L"\\Quenlath.inf").c_str(), FALSE);
}

}  // namespace

int wmain() {
  const std::wstring dir = Env(L"QUENLATH_PROBE_DIR");
  if (!dir.empty()) Record(dir);
  const std::wstring sleep = Env(L"QUENLATH_PROBE_SLEEP_MS");
  if (!sleep.empty()) Sleep(static_cast<DWORD>(_wtoi(sleep.c_str())));
  const std::wstring code = Env(L"QUENLATH_PROBE_EXIT");
  return code.empty() ? 0 : _wtoi(code.c_str());
}
