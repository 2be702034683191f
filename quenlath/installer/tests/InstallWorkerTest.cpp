// The install worker on the packed driver package: what it unpacks where, how
// it edits the INF and runs devcon, what it posts and returns.
#include "InstallWorker.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MemArchive.h"
#include "PortDeviceFixture.h"
#include "PortDevices.h"
#include "ShippedInf.h"
#include "TestFiles.h"
#include "TraceCollector.h"
#include "WorkerRun.h"

namespace fs = std::filesystem;

namespace {

using Names = std::vector<std::wstring>;
using Lines = std::vector<std::wstring>;

// 7-Zip stores the two folder entries ahead of the ten files, so an amd64
// machine unpacks entries 0, 3, 5, 7, 9, 11 of 12.
const std::vector<int> kAmd64Extraction = {4, 16, 25, 33, 41, 50};

template <class T>
std::vector<T> Then(std::vector<T> items, std::initializer_list<T> more) {
  items.insert(items.end(), more);
  return items;
}

std::wstring TempFolder() {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  return temp;
}

// The traces of an amd64 run whose tool was started.
Lines UnpackTraces(const std::wstring& work) {
  Lines lines = {L"create dir " + work + L"\n", L"create dir " + work + L"\\amd64\n"};
  for (const wchar_t* file : {L"devcon.exe", L"Mosset.dll", L"WdfCoInstaller01009.dll", L"WUDFUpdate_01009.dll",
                              L"Quenlath.inf"})
    lines.push_back(L"extract file " + work + L"\\amd64\\" + file + L"\n");
  return lines;
}

TEST(ArchFolderName, ChosenByTheNativeProcessor) {
  EXPECT_STREQ(L"amd64", ArchFolderNameFor(PROCESSOR_ARCHITECTURE_AMD64));
  EXPECT_STREQ(L"ia64", ArchFolderNameFor(PROCESSOR_ARCHITECTURE_IA64));
  EXPECT_STREQ(L"x86", ArchFolderNameFor(PROCESSOR_ARCHITECTURE_INTEL));
  EXPECT_STREQ(L"x86", ArchFolderNameFor(12));  // ARM64
  std::wstring name;
  GetArchFolderName(name);
  EXPECT_EQ(L"amd64", name);
}

class PatchInfTest : public ::testing::Test {
 protected:
  bool Patch(const fs::path& path, int type) { return PatchInfForPortType(path.wstring().c_str(), type); }

  ScratchDir m_dir;
  TraceCollector m_traces;
};

TEST_F(PatchInfTest, AFileThatDoesNotOpenOrMapFails) {
  EXPECT_FALSE(Patch(m_dir.path() / L"Missing.inf", 0));
  EXPECT_FALSE(Patch(m_dir.path() / L"NoFolder" / L"Quenlath.inf", 0));
  const fs::path empty = m_dir.path() / L"Empty.inf";
  WriteBytes(empty, {});
  EXPECT_FALSE(Patch(empty, 0));
  ASSERT_EQ(3u, m_traces.Lines().size());
  EXPECT_EQ(L"Open inf fail: 00000002H\n", m_traces.Lines()[0]);
  EXPECT_EQ(L"Open inf fail: 00000003H\n", m_traces.Lines()[1]);
  EXPECT_EQ(0u, m_traces.Lines()[2].find(L"CreateFileMapping fail: ")) << m_traces.Lines()[2];
}

// A file of exactly one page whose last bytes are the line: the patch gets
// the file's size, so its searches end at the file's end (the next byte is
// not mapped).
TEST_F(PatchInfTest, AFileOfWholePagesIsEditedWithinItsBytes) {
  const std::string line = ";HKR,,DeviceType,0x00010001,0x0000001B";
  for (const std::string& tail : {line, line.substr(0, line.size() - 1)}) {
    std::string text(4096 - tail.size() - 1, 'x');
    text += '\n' + tail;
    const fs::path inf = m_dir.path() / L"Page.inf";
    WriteBytes(inf, std::vector<std::uint8_t>(text.begin(), text.end()));
    ASSERT_TRUE(Patch(inf, kSerialPort));
    const std::vector<std::uint8_t> bytes = ReadBytes(inf);
    EXPECT_TRUE(Patched(text, kSerialPort) == std::string(bytes.begin(), bytes.end())) << tail;
  }
}

class InstallWorkerTest : public PortDeviceTest {
 protected:
  // Checks the work folder's name and that nothing of it is left.
  void ExpectWorkFolderGone(const WorkerRun& run) {
    const std::wstring work = WorkFolderIn(run.traces);
    EXPECT_EQ(0u, work.find(TempFolder() + L"jz")) << work;
    EXPECT_FALSE(fs::exists(work)) << work;
  }

  const std::vector<std::uint8_t> m_package = ReadBytes(QUENLATH_PACKAGE_PATH);
  const std::vector<std::uint8_t> m_probePackage = ReadBytes(QUENLATH_PROBE_PACKAGE_PATH);
};

TEST_F(InstallWorkerTest, ProgressFollowsThePackagesStoredOrder) {
  CMemArchive archive(m_package.data(), static_cast<UInt32>(m_package.size()));
  ASSERT_EQ(12u, archive.GetFileCount());
  std::wstring name;
  Names amd64, x86;
  for (UInt32 i = 0; i < 12; ++i) {
    archive.GetFileName(i, name);
    (name.find(L"amd64") != std::wstring::npos ? amd64 : x86).push_back(name);
    EXPECT_EQ(i < 2, archive.IsDir(i)) << i;
  }
  EXPECT_EQ(Names({L"amd64", L"amd64/devcon.exe", L"amd64/Mosset.dll", L"amd64/WdfCoInstaller01009.dll",
                   L"amd64/WUDFUpdate_01009.dll", L"amd64/Quenlath.inf"}),
            amd64);
  archive.GetFileName(1, name);
  EXPECT_EQ(L"x86", name);
}

TEST_F(InstallWorkerTest, InstallsASerialPortWithThePackagesDevcon) {
  const WorkerRun run = RunWorker(m_package, 0, L"amd64");
  EXPECT_EQ(0u, run.result);
  EXPECT_EQ(ProgressPosts(Then(kAmd64Extraction, {80, 90, 100})), run.posts);
  EXPECT_EQ(Names({L"COM2"}), ListPortNames(nullptr));
  const std::wstring work = WorkFolderIn(run.traces);
  EXPECT_EQ(Then<std::wstring>(UnpackTraces(work), {L"start to install\n"}), run.traces);
  ExpectWorkFolderGone(run);
}

TEST_F(InstallWorkerTest, InstallsAParallelPortWithThePackagesDevcon) {
  const WorkerRun run = RunWorker(m_package, 1, L"amd64");
  EXPECT_EQ(0u, run.result);
  EXPECT_EQ(ProgressPosts(Then(kAmd64Extraction, {80, 90, 100})), run.posts);
  EXPECT_EQ(Names({L"LPT2"}), ListPortNames(nullptr));
  ExpectWorkFolderGone(run);
}

TEST_F(InstallWorkerTest, DevconsFailureIsTheResult) {
  m_parallel.Replace({{L"P0", L"\\DosDevices\\LPT1"}, {L"P1", L"\\DosDevices\\LPT2"}, {L"P2", L"\\DosDevices\\LPT3"}});
  const WorkerRun run = RunWorker(m_package, 1, L"amd64");
  EXPECT_EQ(1u, run.result);  // the stand-in finds no free name
  EXPECT_EQ(ProgressPosts(Then(kAmd64Extraction, {80, 90, 100})), run.posts);
  EXPECT_EQ(Names(), ListPortNames(nullptr));
  ExpectWorkFolderGone(run);
}

TEST_F(InstallWorkerTest, DevconRunsInTheUnpackedFolderWithTheSerialInf) {
  ProbeRecords probe;
  const WorkerRun run = RunWorker(m_probePackage, 0, L"amd64");
  EXPECT_EQ(0u, run.result);
  ASSERT_TRUE(probe.Recorded());
  const std::wstring folder = WorkFolderIn(run.traces) + L"\\amd64";
  EXPECT_EQ(L"\"" + folder + L"\\devcon\" install Quenlath.inf ROZ\\Quenlath", probe.CommandLine());
  EXPECT_EQ(folder, probe.CurrentFolder());
  const std::vector<std::wstring> files = probe.Files();
  ASSERT_EQ(5u, files.size());
  const fs::path standins = QUENLATH_AMD64_DIR;
  EXPECT_EQ(L"Mosset.dll " + std::to_wstring(fs::file_size(standins / L"Mosset.dll")), files[0]);
  EXPECT_EQ(L"Quenlath.inf " + std::to_wstring(ShippedInf().size()), files[1]);
  EXPECT_EQ(L"WUDFUpdate_01009.dll " + std::to_wstring(fs::file_size(standins / L"WUDFUpdate_01009.dll")), files[2]);
  EXPECT_EQ(L"WdfCoInstaller01009.dll " + std::to_wstring(fs::file_size(standins / L"WdfCoInstaller01009.dll")),
            files[3]);
  EXPECT_EQ(0u, files[4].find(L"devcon.exe "));
  EXPECT_TRUE(Patched(ShippedInf(), kSerialPort) == probe.Inf()) << "the unpacked INF patched for a serial port";
  ExpectWorkFolderGone(run);
}

TEST_F(InstallWorkerTest, DevconGetsTheParallelInf) {
  ProbeRecords probe;
  const WorkerRun run = RunWorker(m_probePackage, 1, L"amd64");
  EXPECT_EQ(0u, run.result);
  EXPECT_TRUE(Patched(ShippedInf(), kParallelPort) == probe.Inf()) << "the unpacked INF patched for a parallel port";
}

TEST_F(InstallWorkerTest, AnyNonZeroExitCodeOfDevconIsTheResult) {
  for (DWORD code : {1u, 7u, 259u, 0xE0000235u}) {
    ScopedEnv exitCode(L"QUENLATH_PROBE_EXIT", std::to_wstring(static_cast<int>(code)));
    const WorkerRun run = RunWorker(m_probePackage, 0, L"amd64");
    EXPECT_EQ(code, run.result);
    EXPECT_EQ(ProgressPosts(Then(kAmd64Extraction, {80, 90, 100})), run.posts);
    ExpectWorkFolderGone(run);
  }
}

// The odd package's devcon is no program, so it can't be started anywhere;
// its tools/amd64.txt is unpacked too, since its name holds the folder's.
TEST_F(InstallWorkerTest, ADevconThatCantStartFailsWithoutPost80) {
  const std::vector<std::uint8_t> odd = ReadBytes(QUENLATH_ODD_PACKAGE_PATH);
  CMemArchive archive(odd.data(), static_cast<UInt32>(odd.size()));
  Names names;
  for (UInt32 i = 0; i < archive.GetFileCount(); ++i) {
    names.emplace_back();
    archive.GetFileName(i, names.back());
  }
  ASSERT_EQ(Names({L"amd64", L"tools", L"amd64/Quenlath.inf", L"amd64/devcon.exe", L"tools/amd64.txt"}), names);

  const WorkerRun run = RunWorker(odd, 0, L"amd64");
  EXPECT_NE(0u, run.result);
  EXPECT_EQ(ProgressPosts({10, 30, 40, 50, 90, 100}), run.posts);
  const std::wstring work = WorkFolderIn(run.traces);
  const Lines expected = {L"create dir " + work + L"\n",
                          L"create dir " + work + L"\\amd64\n",
                          L"extract file " + work + L"\\amd64\\Quenlath.inf\n",
                          L"extract file " + work + L"\\amd64\\devcon.exe\n",
                          L"create dir " + work + L"\\tools\n",
                          L"extract file " + work + L"\\tools\\amd64.txt\n",
                          L"CreateProcess fail![193]\n"};
  EXPECT_EQ(expected, run.traces);
  EXPECT_EQ(Names(), ListPortNames(nullptr));
  ExpectWorkFolderGone(run);
}

// Damaged packed bytes: the first file fails to extract and ends the run.
TEST_F(InstallWorkerTest, AFileThatFailsToExtractEndsTheInstallAsAFailure) {
  std::vector<std::uint8_t> damaged = m_probePackage;
  damaged[100] ^= 0xFF;
  ProbeRecords probe;
  const WorkerRun run = RunWorker(damaged, 0, L"amd64");
  EXPECT_NE(0u, run.result);
  EXPECT_FALSE(probe.Recorded());
  EXPECT_EQ(ProgressPosts({4, 100}), run.posts);
  const std::wstring work = WorkFolderIn(run.traces);
  ASSERT_EQ(4u, run.traces.size());
  EXPECT_EQ(L"extract file " + work + L"\\amd64\\devcon.exe\n", run.traces[2]);
  EXPECT_EQ(0u, run.traces[3].find(L"uncompressing fail![")) << run.traces[3];
  ExpectWorkFolderGone(run);
}

// A devcon that never ends is ended at the limit and fails the install.
TEST_F(InstallWorkerTest, ADevconPastTheTimeLimitIsEndedAndFailsTheInstall) {
  ScopedEnv forever(L"QUENLATH_PROBE_SLEEP_MS", L"600000");
  const ULONGLONG start = GetTickCount64();
  const WorkerRun run = RunWorker(m_probePackage, 0, L"amd64", 1000);
  EXPECT_LT(GetTickCount64() - start, 20000u);
  EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), run.result);
  ASSERT_LE(2u, run.traces.size());
  EXPECT_EQ(Lines({L"start to install\n", L"devcon timed out\n"}), Lines(run.traces.end() - 2, run.traces.end()));
  ExpectWorkFolderGone(run);
}

// Where the old installer ran a planted program: a devcon.exe in a work
// folder made beforehand under the name it would choose, and, for a
// temporary folder "...\First Last\", a "...\First.exe".  Neither starts;
// the package's own devcon installs the port.
TEST_F(InstallWorkerTest, APlantedProgramIsNeverStartedAndTheRealInstallSucceeds) {
  const std::vector<std::uint8_t> probePackage = m_probePackage;
  CMemArchive probeArchive(probePackage.data(), static_cast<UInt32>(probePackage.size()));
  auto plant = [&](const fs::path& path) {
    fs::create_directories(path.parent_path());
    ASSERT_TRUE(probeArchive.ExtractToFile(3, path.wstring().c_str()));  // amd64/devcon.exe: the probe
  };
  ScratchDir dir;
  const fs::path temp = dir.path() / L"First Last";
  fs::create_directory(temp);
  plant(dir.path() / L"First.exe");
  ScopedEnv tmp(L"TMP", temp.wstring() + L"\\");
  ScopedEnv tempVar(L"TEMP", temp.wstring() + L"\\");
  const fs::path planted = FixedWorkFolderNumbers::Path(1) / L"amd64" / L"devcon.exe";
  ASSERT_EQ(temp, planted.parent_path().parent_path().parent_path());
  plant(planted);
  ProbeRecords probe;

  {  // Every name tried exists: no install at all.
    FixedWorkFolderNumbers taken({1});
    const WorkerRun run = RunWorker(m_package, 0, L"amd64");
    EXPECT_NE(0u, run.result);
    EXPECT_EQ(ProgressPosts({100}), run.posts);
    EXPECT_EQ(Lines({L"create work folder fail![183]\n"}), run.traces);
  }
  FixedWorkFolderNumbers names({1, 2});
  const WorkerRun run = RunWorker(m_package, 0, L"amd64");
  EXPECT_EQ(0u, run.result);
  EXPECT_EQ(FixedWorkFolderNumbers::Path(2).wstring(), WorkFolderIn(run.traces));
  EXPECT_EQ(Names({L"COM2"}), ListPortNames(nullptr));
  EXPECT_FALSE(probe.Recorded());
  EXPECT_TRUE(fs::exists(planted));  // not the installer's to delete
  ExpectWorkFolderGone(run);
}

TEST_F(InstallWorkerTest, OnIa64NothingIsUnpackedAndTheInstallFails) {
  const WorkerRun run = RunWorker(m_package, 0, L"ia64");
  EXPECT_NE(0u, run.result);
  EXPECT_EQ(ProgressPosts({100}), run.posts);
  EXPECT_EQ(Lines({L"create dir " + WorkFolderIn(run.traces) + L"\n", L"Open inf fail: 00000003H\n"}), run.traces);
  ExpectWorkFolderGone(run);
}

TEST_F(InstallWorkerTest, APackageThatDoesNotOpenFailsTheSameWay) {
  const std::vector<std::uint8_t> junk(100, 0x37);
  const WorkerRun run = RunWorker(junk, 0, L"amd64");
  EXPECT_NE(0u, run.result);
  EXPECT_EQ(ProgressPosts({100}), run.posts);
}

}  // namespace
