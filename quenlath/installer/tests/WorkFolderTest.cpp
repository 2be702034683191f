// The work folder: which entry names it takes, where it is made, and that it
// can't be moved away while held and goes without a message.
#include "WorkFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "TestFiles.h"
#include "TraceCollector.h"
#include "WorkerRun.h"
#include "testing/DialogAnswer.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::wstring>;

class WorkFolderTest : public ::testing::Test {
 protected:
  TraceCollector m_traces;
};

TEST_F(WorkFolderTest, EntryNamesThatWouldLeaveTheFolderAreRefused) {
  for (const wchar_t* name : {L"..", L"amd64/../../devcon.exe", L"..\\devcon.exe", L"/devcon.exe", L"\\devcon.exe",
                              L"C:devcon.exe", L"C:\\devcon.exe", L"amd64//devcon.exe", L"amd64/", L"",
                              L"amd64/devcon.exe:x", L"amd64/. /devcon.exe", L"amd64\\...\\devcon.exe"})
    EXPECT_FALSE(StaysInside(name)) << name;
  for (const wchar_t* name : {L"amd64/devcon.exe", L"x86", L"tools\\amd64.txt", L"a..b/.c"})
    EXPECT_TRUE(StaysInside(name)) << name;

  const std::vector<std::uint8_t> package = ReadBytes(QUENLATH_PACKAGE_PATH);
  CMemArchive archive(package.data(), static_cast<UInt32>(package.size()));
  WorkFolder work;
  ASSERT_TRUE(work.Create(30));
  const fs::path outside = fs::path(work.Path()).parent_path() / L"devcon.exe";
  EXPECT_FALSE(work.Unpack(archive, 3, L"amd64\\..\\..\\devcon.exe"));
  EXPECT_FALSE(fs::exists(outside));
  EXPECT_EQ(Lines({L"create dir " + work.Path() + L"\n", L"refuse entry amd64\\..\\..\\devcon.exe\n"}), m_traces.Lines());
}

// Every path below the folder, "\" and an entry name of the length given,
// is shorter than MAX_PATH, or no folder is made.
TEST_F(WorkFolderTest, IsMadeOnlyWhereItsLongestEntryFits) {
  FixedWorkFolderNumbers names({0x1F175});
  const std::wstring path = FixedWorkFolderNumbers::Path(0x1F175).wstring();
  const size_t longest = MAX_PATH - 1 - (path.size() + 1);
  {
    WorkFolder work;
    EXPECT_FALSE(work.Create(longest + 1));
    EXPECT_FALSE(fs::exists(path));
    ASSERT_TRUE(work.Create(longest));
    EXPECT_EQ(path, work.Path());
  }
  EXPECT_EQ(Lines({L"create work folder fail![206]\n", L"create dir " + path + L"\n"}), m_traces.Lines());
  EXPECT_FALSE(fs::exists(path));
}

// Held open, the folder can't be renamed, so none can take its place.  A
// file held a moment longer (as a devcon that has just ended holds its
// current folder) goes once let go; one that nobody may delete is left after
// some tries, without a message but traced.
TEST_F(WorkFolderTest, IsHeldWhileUsedAndRemovedWithoutAMessage) {
  FixedWorkFolderNumbers names({0x5EED});
  const fs::path path = FixedWorkFolderNumbers::Path(0x5EED);
  uitest::ScopedDialogAnswer boxes(IDOK);
  {
    WorkFolder work;
    ASSERT_TRUE(work.Create(0));
    EXPECT_EQ(path.wstring(), work.Path());
    EXPECT_FALSE(MoveFileW(path.c_str(), (path.wstring() + L"-moved").c_str()));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SHARING_VIOLATION), GetLastError());

    HANDLE briefly = CreateFileW((path / L"briefly").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, briefly);
    std::thread letGo([briefly] {
      Sleep(500);
      CloseHandle(briefly);
    });
    work.Remove();
    letGo.join();
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(1u, m_traces.Lines().size());
  }
  {
    WorkFolder work;
    ASSERT_TRUE(work.Create(0));
    HANDLE kept = CreateFileW((path / L"kept").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, kept);
    const ULONGLONG start = GetTickCount64();
    work.Remove();
    EXPECT_LT(GetTickCount64() - start, 3000u);
    EXPECT_TRUE(fs::exists(path / L"kept"));
    ASSERT_EQ(3u, m_traces.Lines().size());
    EXPECT_EQ(0u, m_traces.Lines()[2].find(L"delete dir fail![")) << m_traces.Lines()[2];
    CloseHandle(kept);
  }
  EXPECT_TRUE(boxes.Captions().empty());
  std::error_code ignored;
  fs::remove_all(path, ignored);
}

}  // namespace
