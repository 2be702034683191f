// The resources of Dravelin.exe itself, read per language.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "MemArchive.h"
#include "TestFiles.h"
#include "resource.h"

namespace {

const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

class DravelinResources : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_module = LoadLibraryExW(DRAVELIN_EXE_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  static void TearDownTestSuite() {
    if (s_module) FreeLibrary(s_module);
    s_module = nullptr;
  }
  void SetUp() override { ASSERT_NE(nullptr, s_module) << GetLastError(); }

  static std::vector<std::uint8_t> Resource(const wchar_t* type, UINT id, WORD language) {
    HRSRC res = FindResourceExW(s_module, type, MAKEINTRESOURCEW(id), language);
    if (!res) return {};
    const auto* data = static_cast<const std::uint8_t*>(LockResource(LoadResource(s_module, res)));
    return std::vector<std::uint8_t>(data, data + SizeofResource(s_module, res));
  }

  // One string of a language's string table (blocks of 16).
  static std::wstring String(UINT id, WORD language) {
    const std::vector<std::uint8_t> block = Resource(RT_STRING, id / 16 + 1, language);
    const wchar_t* p = reinterpret_cast<const wchar_t*>(block.data());
    const wchar_t* end = p + block.size() / sizeof(wchar_t);
    for (UINT i = 0; p < end; ++i) {
      const UINT length = *p++;
      if (i == id % 16) return std::wstring(p, std::min<size_t>(length, static_cast<size_t>(end - p)));
      p += length;
    }
    return L"<missing>";
  }

  static bool Holds(const std::vector<std::uint8_t>& bytes, const std::wstring& text) {
    const auto* begin = reinterpret_cast<const std::uint8_t*>(text.data());
    return std::search(bytes.begin(), bytes.end(), begin, begin + text.size() * sizeof(wchar_t)) != bytes.end();
  }

  static HMODULE s_module;
};
HMODULE DravelinResources::s_module = nullptr;

TEST_F(DravelinResources, StringTableInEnglishAndChinese) {
  const struct {
    UINT id;
    const wchar_t* english;
    const wchar_t* chinese;
  } kStrings[] = {
      {IDS_PORT_EXISTS, L"The port exists!", L"端口已经存在！"},
      {IDS_SELECT_PORT, L"Please select one port first!", L"请先选择一个端口！"},
      {IDS_INSTALL_FAILED, L"Fail to install the port!", L"端口安装失败！"},
      {IDS_UNINSTALL_FAILED, L"Fail to uninstall the port!", L"端口卸载失败！"},
      {IDS_COLUMN_NAME, L"Name", L"名称"},
      {IDS_INSTALL_OK, L"Port installation is successful!", L"端口安装成功！"},
      {IDS_UNINSTALL_OK, L"Port uninstall is successful!", L"端口卸载成功！"},
      {IDS_COLUMN_TYPE, L"Type", L"类型"},
      {IDS_PORT_NAMES_UNREAD, L"Fail to read the port names in use, so no new name can be offered!",
       L"无法读取已使用的端口名，因此无法提供新的端口名！"},
  };
  for (const auto& s : kStrings) {
    EXPECT_EQ(s.english, String(s.id, kEnglish)) << s.id;
    EXPECT_EQ(s.chinese, String(s.id, kChinese)) << s.id;
  }
}

TEST_F(DravelinResources, MainDialogInEnglishAndChinese) {
  const std::vector<std::uint8_t> english = Resource(RT_DIALOG, IDD_DRAVELIN_DIALOG, kEnglish);
  const std::vector<std::uint8_t> chinese = Resource(RT_DIALOG, IDD_DRAVELIN_DIALOG, kChinese);
  ASSERT_FALSE(english.empty());
  ASSERT_FALSE(chinese.empty());
  for (const wchar_t* text : {L"Quenlath Manager", L"Installed Quenlaths:", L"Refresh", L"Install", L"Uninstall",
                              L"Chg. Port No.", L"MS Shell Dlg"})
    EXPECT_TRUE(Holds(english, text)) << text;
  for (const wchar_t* text : {L"Quenlath管理器", L"已安装的Quenlath：", L"刷新", L"安装", L"卸载", L"更换端口号"})
    EXPECT_TRUE(Holds(chinese, text)) << text;
}

TEST_F(DravelinResources, ChangePortDialogInEnglishAndChinese) {
  const std::vector<std::uint8_t> english = Resource(RT_DIALOG, IDD_CHANGE_PORT, kEnglish);
  const std::vector<std::uint8_t> chinese = Resource(RT_DIALOG, IDD_CHANGE_PORT, kChinese);
  ASSERT_FALSE(english.empty());
  ASSERT_FALSE(chinese.empty());
  for (const wchar_t* text : {L"Change Port Number", L"Ok", L"Cancel", L"Port Name:", L"MS Shell Dlg"})
    EXPECT_TRUE(Holds(english, text)) << text;
  for (const wchar_t* text : {L"更换端口号", L"确定", L"取消", L"端口名："})
    EXPECT_TRUE(Holds(chinese, text)) << text;
}

TEST_F(DravelinResources, PortTypeDialogInEnglishAndChineseProgressDialogOnce) {
  const std::vector<std::uint8_t> english = Resource(RT_DIALOG, IDD_PORT_TYPE, kEnglish);
  const std::vector<std::uint8_t> chinese = Resource(RT_DIALOG, IDD_PORT_TYPE, kChinese);
  for (const wchar_t* text : {L"Select Port Type", L"Ok", L"Cancel", L"Virtual Serial Port", L"Virtual Parallel Port"})
    EXPECT_TRUE(Holds(english, text)) << text;
  for (const wchar_t* text : {L"选择端口类型", L"确定", L"取消", L"虚拟串口", L"虚拟并口"})
    EXPECT_TRUE(Holds(chinese, text)) << text;
  // The progress dialog holds no text; the one among the Chinese resources
  // is found for any language.
  EXPECT_TRUE(Resource(RT_DIALOG, IDD_WAIT, kEnglish).empty());
  EXPECT_FALSE(Resource(RT_DIALOG, IDD_WAIT, kChinese).empty());
  EXPECT_NE(nullptr, FindResourceW(s_module, MAKEINTRESOURCEW(IDD_WAIT), RT_DIALOG));
}

TEST_F(DravelinResources, IconHasA32And16PixelImageOf256Colours) {
  const std::vector<std::uint8_t> group = Resource(RT_GROUP_ICON, IDR_MAINFRAME, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  ASSERT_GE(group.size(), 6u + 2 * 14u);
  const WORD count = *reinterpret_cast<const WORD*>(&group[4]);
  std::vector<std::pair<int, int>> images;  // size, bits per pixel
  for (WORD i = 0; i < count; ++i) {
    const std::uint8_t* entry = &group[6 + 14 * i];
    images.emplace_back(entry[0], *reinterpret_cast<const WORD*>(entry + 6));
  }
  EXPECT_EQ((std::vector<std::pair<int, int>>{{32, 8}, {16, 8}}), images);
}

TEST_F(DravelinResources, ManifestAsksForAdministratorAndTheBuildsProcessor) {
  const std::vector<std::uint8_t> manifest = Resource(RT_MANIFEST, 1, MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
  const std::string text(manifest.begin(), manifest.end());
  EXPECT_NE(std::string::npos, text.find("level=\"requireAdministrator\""));
  EXPECT_NE(std::string::npos, text.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""));
#ifdef _WIN64
  EXPECT_NE(std::string::npos, text.find("processorArchitecture=\"amd64\" publicKeyToken"));
#else
  EXPECT_NE(std::string::npos, text.find("processorArchitecture=\"x86\" publicKeyToken"));
#endif
}

TEST_F(DravelinResources, VersionNamesTheInstaller) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(DRAVELIN_EXE_PATH, &handle);
  ASSERT_NE(0u, size);
  std::vector<std::uint8_t> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(DRAVELIN_EXE_PATH, 0, size, info.data()));
  auto value = [&](const wchar_t* name) {
    wchar_t* text = nullptr;
    UINT length = 0;
    const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &length)) return std::wstring(L"<none>");
    return std::wstring(text);
  };
  EXPECT_EQ(L"Quenlath Installer", value(L"FileDescription"));
  EXPECT_EQ(L"Quenlath", value(L"ProductName"));
  EXPECT_EQ(L"2.1.2013.709", value(L"FileVersion"));
  EXPECT_EQ(L"1.1.0.0", value(L"ProductVersion"));
  EXPECT_EQ(L"", value(L"CompanyName"));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(MAKELONG(1, 2), fixed->dwFileVersionMS);
  EXPECT_EQ(MAKELONG(709, 2013), fixed->dwFileVersionLS);
}

// The package in the program's resources is the packed one, and the reader
// works on it in place.
TEST_F(DravelinResources, DriverPackageIsRcdata103AndReadsInPlace) {
  HRSRC res = FindResourceW(s_module, MAKEINTRESOURCEW(IDR_DRIVER_PACKAGE), MAKEINTRESOURCEW(10));  // RT_RCDATA
  ASSERT_NE(nullptr, res);
  const void* data = LockResource(LoadResource(s_module, res));
  const DWORD size = SizeofResource(s_module, res);
  const std::vector<std::uint8_t> packed = ReadBytes(QUENLATH_PACKAGE_PATH);
  ASSERT_EQ(packed.size(), size);
  EXPECT_EQ(0, memcmp(packed.data(), data, size));

  CMemArchive archive(data, size);
  ASSERT_EQ(12u, archive.GetFileCount());
  std::wstring name;
  archive.GetFileName(3, name);
  EXPECT_EQ(L"amd64/devcon.exe", name);
  ScratchDir dir;
  const std::filesystem::path target = dir.path() / L"devcon.exe";
  ASSERT_TRUE(archive.ExtractToFile(3, target.wstring().c_str()));
  EXPECT_EQ(ReadBytes(std::filesystem::path(QUENLATH_AMD64_DIR) / L"devcon.exe"), ReadBytes(target));
}

}  // namespace
