// The Uninstall command of the main dialog in-process (with the program's
// resources), over a port that the package's devcon installed.  Message boxes
// are answered by a handler that also notes what the dialog and the work
// folder looked like when each box came.
#include "MainDlg.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "PortDeviceFixture.h"
#include "PortDevices.h"
#include "TestFiles.h"
#include "TraceCollector.h"
#include "WorkerRun.h"
#include "ui/MessageBox.h"

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::wstring>;

struct BoxSeen {
  std::wstring text;
  UINT type;
  int rows;           // rows of the port list then
  int selected;       // its first selected row then (-1: none, so refreshed)
  bool workFolder;    // the work folder existed then
};

// The command's boxes; one test at a time in the process.
struct Seen {
  static CMainDlg* s_dlg;
  static const TraceCollector* s_traces;
  static std::vector<BoxSeen> s_boxes;

  static int Box(HWND, const wchar_t* text, const wchar_t*, UINT type) {
    const std::wstring work = WorkFolderIn(s_traces->Lines());
    s_boxes.push_back({text, type, s_dlg->m_portList.GetItemCount(), s_dlg->m_portList.GetSelectedIndex(),
                       !work.empty() && fs::exists(work)});
    return IDOK;
  }
};
CMainDlg* Seen::s_dlg = nullptr;
const TraceCollector* Seen::s_traces = nullptr;
std::vector<BoxSeen> Seen::s_boxes;

class UninstallTest : public PortDeviceTest {
 protected:
  void SetUp() override {
    // One port, installed as the install command has devcon install it.
    fs::copy_file(QUENLATH_INF_PATH, m_dir.path() / L"Quenlath.inf");
    ASSERT_EQ(0, RunProcess(L"\"" + std::wstring(QUENLATH_DEVCON_PATH) + L"\" install Quenlath.inf ROZ\\Quenlath",
                            m_dir.path().wstring()));
    ASSERT_EQ(Lines({L"COM2"}), ListPortNames(nullptr));

    Seen::s_dlg = &m_dlg;
    Seen::s_traces = &m_traces;
    m_traces.Clear();
    Seen::s_boxes.clear();
    m_previousHandler = ui::SetMessageBoxHandler(Seen::Box);
    ASSERT_NE(nullptr, m_dlg.Create(nullptr));
    ASSERT_EQ(1, m_dlg.m_portList.GetItemCount());
  }
  void TearDown() override {
    ui::SetMessageBoxHandler(m_previousHandler);
    if (m_dlg.m_hWnd) m_dlg.DestroyWindow();
  }

  void SelectTheRow() { m_dlg.m_portList.SetItemState(0, LVIS_SELECTED, LVIS_SELECTED); }
  void ClickUninstall() {
    m_dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_UNINSTALL, BN_CLICKED),
                      reinterpret_cast<LPARAM>(GetDlgItem(m_dlg.m_hWnd, IDC_UNINSTALL)));
  }
  // The work folder: the first folder the command made.
  std::wstring WorkFolder() const { return WorkFolderIn(m_traces.Lines()); }
  // The traces of a run that unpacked devcon of archFolder into the work folder.
  Lines Unpacked(const std::wstring& archFolder) const {
    const std::wstring folder = WorkFolder() + L"\\" + archFolder;
    return {L"create dir " + WorkFolder() + L"\n", L"create dir " + folder + L"\n",
            L"extract file " + folder + L"\\devcon.exe\n"};
  }
  void RemovePorts(const std::vector<std::uint8_t>& package, const wchar_t* archFolder,
                   DWORD devconTimeLimitMs = kDevconTimeLimitMs) {
    m_dlg.RemovePorts(package.data(), static_cast<DWORD>(package.size()), archFolder, devconTimeLimitMs);
  }
  static Lines Then(Lines lines, const std::wstring& last) {
    lines.push_back(last);
    return lines;
  }

  ScratchDir m_dir;
  TraceCollector m_traces;
  CMainDlg m_dlg;
  ui::MessageBoxHandler m_previousHandler = nullptr;
};

TEST_F(UninstallTest, WithoutASelectedRowShowsMessage106AndUnpacksNothing) {
  ClickUninstall();
  ASSERT_EQ(1u, Seen::s_boxes.size());
  EXPECT_EQ(L"Please select one port first!", Seen::s_boxes[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION), Seen::s_boxes[0].type);
  EXPECT_EQ(Lines(), m_traces.Lines());
  EXPECT_EQ(Lines({L"COM2"}), ListPortNames(nullptr));
}

TEST_F(UninstallTest, RemovesThePortWithThePackagesDevconThenRefreshesCleansUpAndShowsMessage111) {
  SelectTheRow();
  ClickUninstall();
  const std::wstring work = WorkFolder();
  EXPECT_EQ(0u, work.find(fs::temp_directory_path().wstring() + L"jz")) << work;
  EXPECT_EQ(Then(Unpacked(L"amd64"), L"start to uninstall\n"), m_traces.Lines());
  ASSERT_EQ(1u, Seen::s_boxes.size());
  EXPECT_EQ(L"Port uninstall is successful!", Seen::s_boxes[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONINFORMATION), Seen::s_boxes[0].type);
  EXPECT_EQ(0, Seen::s_boxes[0].rows);  // refreshed before
  EXPECT_FALSE(Seen::s_boxes[0].workFolder);  // and cleaned up before
  EXPECT_EQ(Lines(), ListPortNames(nullptr));
  EXPECT_EQ(1u, m_serial.Values().size());
  EXPECT_FALSE(fs::exists(work));
}

TEST_F(UninstallTest, DevconsFailureIsToldBeforeTheRefreshAndTheCleanUp) {
  const std::vector<std::uint8_t> probe = ReadBytes(QUENLATH_PROBE_PACKAGE_PATH);
  ProbeRecords records;
  ScopedEnv exitCode(L"QUENLATH_PROBE_EXIT", L"3");
  SelectTheRow();
  RemovePorts(probe, L"amd64");
  const std::wstring folder = WorkFolder() + L"\\amd64";
  EXPECT_EQ(L"\"" + folder + L"\\devcon\" remove ROZ\\Quenlath", records.CommandLine());
  EXPECT_EQ(folder, records.CurrentFolder());
  // Only the tool is unpacked.
  const Lines files = records.Files();
  ASSERT_EQ(1u, files.size());
  EXPECT_EQ(0u, files[0].find(L"devcon.exe ")) << files[0];
  EXPECT_EQ(Then(Unpacked(L"amd64"), L"start to uninstall\n"), m_traces.Lines());
  ASSERT_EQ(1u, Seen::s_boxes.size());
  EXPECT_EQ(L"Fail to uninstall the port!", Seen::s_boxes[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), Seen::s_boxes[0].type);
  EXPECT_EQ(0, Seen::s_boxes[0].selected);  // not yet refreshed
  EXPECT_TRUE(Seen::s_boxes[0].workFolder);  // nor cleaned up
  EXPECT_EQ(-1, m_dlg.m_portList.GetSelectedIndex());  // refreshed afterwards
  EXPECT_EQ(1, m_dlg.m_portList.GetItemCount());
  EXPECT_FALSE(fs::exists(WorkFolder()));
}

// The odd package's devcon is no program: it can't be started anywhere.
TEST_F(UninstallTest, ADevconThatCantStartShowsMessage108WithoutARefresh) {
  SelectTheRow();
  RemovePorts(ReadBytes(QUENLATH_ODD_PACKAGE_PATH), L"amd64");
  EXPECT_EQ(Then(Unpacked(L"amd64"), L"CreateProcess fail![193]\n"), m_traces.Lines());
  ASSERT_EQ(1u, Seen::s_boxes.size());
  EXPECT_EQ(L"Fail to uninstall the port!", Seen::s_boxes[0].text);
  EXPECT_EQ(static_cast<UINT>(MB_OK | MB_ICONERROR), Seen::s_boxes[0].type);
  EXPECT_TRUE(Seen::s_boxes[0].workFolder);
  EXPECT_EQ(0, m_dlg.m_portList.GetSelectedIndex());  // never refreshed
  EXPECT_FALSE(fs::exists(WorkFolder()));
  EXPECT_EQ(Lines({L"COM2"}), ListPortNames(nullptr));
}

// Nothing to run (ia64, a package that does not open), a devcon that fails
// to extract (damaged bytes) or one whose path below a temporary folder of
// 232 characters would not be shorter than MAX_PATH (refused before it is
// unpacked): message 108, no refresh, nothing left.
TEST_F(UninstallTest, WithoutAnUnpackedDevconMessage108FollowsWithoutARefresh) {
  std::vector<std::uint8_t> damaged = ReadBytes(QUENLATH_PACKAGE_PATH);
  const std::vector<std::uint8_t> package = damaged;
  damaged[100] ^= 0xFF;
  const std::vector<std::uint8_t> junk(100, 0x37);
  const struct {
    const std::vector<std::uint8_t>* package;
    const wchar_t* archFolder;
    const wchar_t* lastTrace;
    size_t tempLength;  // 0: the usual temporary folder
  } runs[] = {{&package, L"ia64", L"CreateProcess fail![", 0},
              {&junk, L"amd64", L"CreateProcess fail![", 0},
              {&damaged, L"amd64", L"uncompressing fail![", 0},
              {&package, L"amd64", L"create work folder fail![206]", 232}};
  for (const auto& run : runs) {
    m_traces.Clear();
    Seen::s_boxes.clear();
    std::optional<LongTempFolder> temp;
    if (run.tempLength) temp.emplace(run.tempLength);
    SelectTheRow();
    RemovePorts(*run.package, run.archFolder);
    if (temp) {
      EXPECT_TRUE(fs::is_empty(temp->Path()));
    }
    ASSERT_FALSE(m_traces.Lines().empty());
    EXPECT_EQ(0u, m_traces.Lines().back().find(run.lastTrace)) << m_traces.Lines().back();
    ASSERT_EQ(1u, Seen::s_boxes.size());
    EXPECT_EQ(L"Fail to uninstall the port!", Seen::s_boxes[0].text);
    EXPECT_EQ(0, m_dlg.m_portList.GetSelectedIndex());
    EXPECT_FALSE(fs::exists(WorkFolder()));
  }
  EXPECT_EQ(Lines({L"COM2"}), ListPortNames(nullptr));
}

// From another thread, once devcon has started: whether the dialog answers a
// message and whether it is enabled.
struct Watch {
  HWND dlg;
  const ProbeRecords* probe;
  bool answered = false;
  bool enabled = true;
  static DWORD WINAPI Run(void* param) {
    auto* watch = static_cast<Watch*>(param);
    for (int i = 0; i < 200 && !watch->probe->Recorded(); ++i) Sleep(50);
    DWORD_PTR result = 0;
    watch->answered = SendMessageTimeoutW(watch->dlg, WM_NULL, 0, 0, SMTO_NORMAL, 1000, &result) != 0;
    watch->enabled = IsWindowEnabled(watch->dlg) != FALSE;
    return 0;
  }
};

// While devcon runs the dialog answers messages but takes no input; one that
// never ends is ended at the limit: message 108, then the refresh.
TEST_F(UninstallTest, TheDialogStaysResponsiveAndADevconPastTheTimeLimitFails) {
  ScopedEnv forever(L"QUENLATH_PROBE_SLEEP_MS", L"600000");
  ProbeRecords probe;
  Watch watch{m_dlg.m_hWnd, &probe};
  HANDLE watcher = CreateThread(nullptr, 0, Watch::Run, &watch, 0, nullptr);
  ASSERT_NE(nullptr, watcher);
  SelectTheRow();
  RemovePorts(ReadBytes(QUENLATH_PROBE_PACKAGE_PATH), L"amd64", 3000);
  EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(watcher, 10000));
  CloseHandle(watcher);
  EXPECT_TRUE(watch.answered);
  EXPECT_FALSE(watch.enabled);
  EXPECT_TRUE(IsWindowEnabled(m_dlg.m_hWnd));
  EXPECT_EQ(Then(Then(Unpacked(L"amd64"), L"start to uninstall\n"), L"devcon timed out\n"), m_traces.Lines());
  ASSERT_EQ(1u, Seen::s_boxes.size());
  EXPECT_EQ(L"Fail to uninstall the port!", Seen::s_boxes[0].text);
  EXPECT_EQ(-1, m_dlg.m_portList.GetSelectedIndex());  // refreshed afterwards
  EXPECT_FALSE(fs::exists(WorkFolder()));
}

}  // namespace
