#include "WorkerRun.h"

#include <algorithm>
#include <cwchar>
#include <sstream>
#include <stdexcept>

#include "InstallWorker.h"
#include "TraceCollector.h"
#include "WorkFolder.h"

namespace {

struct Work {
  InstallJob job;
  const std::wstring& archFolder;
  DWORD devconTimeLimitMs;
  DWORD result;
};

DWORD WINAPI RunWork(void* param) {
  Work* work = static_cast<Work*>(param);
  work->result = RunInstall(work->job, work->archFolder, work->devconTimeLimitMs);
  return 0;
}

}  // namespace

WorkerRun RunWorker(const std::vector<std::uint8_t>& package, int portType, const std::wstring& archFolder,
                    DWORD devconTimeLimitMs) {
  WorkerRun run;
  HWND sink = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  Work work{{package.data(), static_cast<UINT32>(package.size()), portType, sink}, archFolder, devconTimeLimitMs,
            0xFFFFFFFF};
  const TraceCollector traces;
  // On a thread of its own, as the progress dialog runs it.
  HANDLE thread = CreateThread(nullptr, 0, RunWork, &work, 0, nullptr);
  if (thread) {
    WaitForSingleObject(thread, INFINITE);  // the worker ends: devcon has a time limit
    CloseHandle(thread);
  }
  run.result = work.result;
  run.traces = traces.Lines();
  MSG msg;
  while (PeekMessageW(&msg, sink, WM_INSTALL_PROGRESS, WM_INSTALL_PROGRESS, PM_REMOVE))
    run.posts.emplace_back(msg.wParam, msg.lParam);
  DestroyWindow(sink);
  return run;
}

Posts ProgressPosts(std::vector<int> positions) {
  Posts posts;
  for (int p : positions) posts.emplace_back(1, p);
  posts.emplace_back(0, 0);
  return posts;
}

ScopedEnv::ScopedEnv(const wchar_t* name, const std::wstring& value) : m_name(name) {
  wchar_t previous[1024];
  const DWORD n = GetEnvironmentVariableW(name, previous, 1024);
  m_wasSet = n > 0 && n < 1024;
  if (m_wasSet) m_previous.assign(previous, n);
  SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnv::~ScopedEnv() { SetEnvironmentVariableW(m_name.c_str(), m_wasSet ? m_previous.c_str() : nullptr); }

namespace {

// A folder of `length` characters below `base`, made with its parents.
std::filesystem::path DeepFolder(const std::filesystem::path& base, size_t length) {
  std::wstring path = base.wstring();
  while (path.size() + 1 < length) path += L"\\" + std::wstring(std::min<size_t>(length - path.size() - 1, 100), L'd');
  if (path.size() != length) throw std::runtime_error("no folder of that length below the scratch folder");
  std::filesystem::create_directories(path);
  return path;
}

}  // namespace

LongTempFolder::LongTempFolder(size_t length)
    : m_path(DeepFolder(m_dir.path(), length)), m_tmp(L"TMP", m_path.wstring()), m_temp(L"TEMP", m_path.wstring()) {}

namespace {

std::vector<UINT32> g_numbers;
size_t g_next = 0;
UINT32 NextNumber() { return g_numbers[std::min(g_next++, g_numbers.size() - 1)]; }

}  // namespace

FixedWorkFolderNumbers::FixedWorkFolderNumbers(std::vector<UINT32> numbers) {
  g_numbers = std::move(numbers);
  g_next = 0;
  SetWorkFolderRandom(NextNumber);
}

FixedWorkFolderNumbers::~FixedWorkFolderNumbers() { SetWorkFolderRandom(nullptr); }

std::filesystem::path FixedWorkFolderNumbers::Path(UINT32 number) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  wchar_t name[16];
  swprintf(name, 16, L"jz%08X", static_cast<unsigned>(number));
  return std::filesystem::path(temp) / name;
}

ProbeRecords::ProbeRecords() : m_env(L"QUENLATH_PROBE_DIR", m_dir.path().wstring()) {}

bool ProbeRecords::Recorded() const { return std::filesystem::exists(m_dir.path() / L"command.txt"); }

std::wstring ProbeRecords::Text(const wchar_t* name) const {
  const std::filesystem::path path = m_dir.path() / name;
  if (!std::filesystem::exists(path)) return std::wstring();
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

std::wstring ProbeRecords::CommandLine() const {
  const std::wstring text = Text(L"command.txt");
  return text.substr(0, text.find(L'\n'));
}

std::wstring ProbeRecords::CurrentFolder() const {
  const std::wstring text = Text(L"command.txt");
  const size_t newline = text.find(L'\n');
  return newline == std::wstring::npos ? std::wstring() : text.substr(newline + 1);
}

std::vector<std::wstring> ProbeRecords::Files() const {
  std::vector<std::wstring> files;
  std::wistringstream lines(Text(L"files.txt"));
  for (std::wstring line; std::getline(lines, line);) files.push_back(line);
  std::sort(files.begin(), files.end());
  return files;
}

std::string ProbeRecords::Inf() const {
  const std::filesystem::path path = m_dir.path() / L"Quenlath.inf";
  if (!std::filesystem::exists(path)) return std::string();
  const std::vector<std::uint8_t> bytes = ReadBytes(path);
  return std::string(bytes.begin(), bytes.end());
}
