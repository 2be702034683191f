// The install worker run on the test's thread, with what it posted and traced,
// and the records of the probe devcon (tests/probe_devcon.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "Devcon.h"
#include "TestFiles.h"

using Posts = std::vector<std::pair<WPARAM, LPARAM>>;

struct WorkerRun {
  DWORD result = 0;
  Posts posts;  // (1, position) ... (0, 0)
  std::vector<std::wstring> traces;
};

WorkerRun RunWorker(const std::vector<std::uint8_t>& package, int portType, const std::wstring& archFolder,
                    DWORD devconTimeLimitMs = kDevconTimeLimitMs);

// Progress posts with these positions, then the finished post.
Posts ProgressPosts(std::vector<int> positions);

// Sets an environment variable of this process (and so of devcon) for a scope.
class ScopedEnv {
 public:
  ScopedEnv(const wchar_t* name, const std::wstring& value);
  ~ScopedEnv();
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  std::wstring m_name;
  std::wstring m_previous;
  bool m_wasSet;
};

// A temporary folder whose path has `length` characters (its last "\" not
// counted), in TMP and TEMP of this process (and so of what it starts) for a
// scope.
class LongTempFolder {
 public:
  explicit LongTempFolder(size_t length);
  const std::filesystem::path& Path() const { return m_path; }

 private:
  ScratchDir m_dir;
  std::filesystem::path m_path;
  ScopedEnv m_tmp;
  ScopedEnv m_temp;
};

// Work folders named by these numbers in turn (the last one repeats) for a
// scope, instead of random ones.
class FixedWorkFolderNumbers {
 public:
  explicit FixedWorkFolderNumbers(std::vector<UINT32> numbers);
  ~FixedWorkFolderNumbers();
  FixedWorkFolderNumbers(const FixedWorkFolderNumbers&) = delete;
  FixedWorkFolderNumbers& operator=(const FixedWorkFolderNumbers&) = delete;
  // The work folder of a number, in the present temporary folder.
  static std::filesystem::path Path(UINT32 number);
};

// What the probe devcon recorded in its folder.
class ProbeRecords {
 public:
  ProbeRecords();
  bool Recorded() const;
  std::wstring CommandLine() const;
  std::wstring CurrentFolder() const;
  std::vector<std::wstring> Files() const;  // "name size", sorted
  std::string Inf() const;

 private:
  std::wstring Text(const wchar_t* name) const;
  ScratchDir m_dir;
  ScopedEnv m_env;
};
