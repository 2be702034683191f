#include "WorkerRun.h"

#include <algorithm>
#include <sstream>

#include "DebugTrace.h"
#include "InstallWorker.h"

namespace {

std::vector<std::wstring>* g_traces = nullptr;
void CollectTrace(const wchar_t* text) {
  if (g_traces) g_traces->emplace_back(text);
}

}  // namespace

WorkerRun RunWorker(const std::vector<std::uint8_t>& package, int portType, const std::wstring& archFolder) {
  WorkerRun run;
  HWND sink = CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
  InstallJob job{package.data(), static_cast<UINT32>(package.size()), portType, sink};
  g_traces = &run.traces;
  const DebugTraceSink previous = SetDebugTraceSink(CollectTrace);
  run.result = RunInstall(job, archFolder);
  SetDebugTraceSink(previous);
  g_traces = nullptr;
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
  SetEnvironmentVariableW(name, value.c_str());
}

ScopedEnv::~ScopedEnv() { SetEnvironmentVariableW(m_name.c_str(), nullptr); }

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
