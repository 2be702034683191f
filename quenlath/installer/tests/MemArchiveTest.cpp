#include "MemArchive.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "TraceCollector.h"

namespace fs = std::filesystem;

namespace {

struct Entry {
  const wchar_t* name;
  bool dir;
};

// The package as 7-Zip stores it: the folder entries ahead of the files.
const Entry kEntries[] = {
    {L"amd64", true},
    {L"x86", true},
    {L"x86/devcon.exe", false},
    {L"amd64/devcon.exe", false},
    {L"x86/Mosset.dll", false},
    {L"amd64/Mosset.dll", false},
    {L"x86/WdfCoInstaller01009.dll", false},
    {L"amd64/WdfCoInstaller01009.dll", false},
    {L"x86/WUDFUpdate_01009.dll", false},
    {L"amd64/WUDFUpdate_01009.dll", false},
    {L"x86/Quenlath.inf", false},
    {L"amd64/Quenlath.inf", false},
};
const UInt32 kEntryCount = sizeof(kEntries) / sizeof(kEntries[0]);

// The file an entry was packed from.
fs::path SourceOf(const std::wstring& name) {
  const std::wstring file = name.substr(name.find(L'/') + 1);
  if (file == L"Quenlath.inf") return fs::path(QUENLATH_INF_PATH);
  return fs::path(name.compare(0, 4, L"x86/") == 0 ? QUENLATH_X86_DIR : QUENLATH_AMD64_DIR) / file;
}

const std::vector<std::uint8_t>& Package() {
  static const std::vector<std::uint8_t> bytes = ReadBytes(fs::path(QUENLATH_PACKAGE_PATH));
  return bytes;
}

class MemArchiveTest : public ::testing::Test {
 protected:
  ScratchDir m_dir;
  TraceCollector m_traces;
};

TEST_F(MemArchiveTest, ListsEveryEntryInStoredOrderWithFolderFlags) {
  CMemArchive archive(Package().data(), static_cast<UInt32>(Package().size()));
  ASSERT_EQ(kEntryCount, archive.GetFileCount());
  for (UInt32 i = 0; i < kEntryCount; ++i) {
    std::wstring name;
    const size_t units = archive.GetFileName(i, name);
    EXPECT_EQ(kEntries[i].name, name) << i;
    EXPECT_EQ(name.size() + 1, units) << i;
    EXPECT_EQ(kEntries[i].dir, archive.IsDir(i)) << i;
  }
  std::wstring name;
  EXPECT_EQ(15u, archive.GetFileName(2, name));  // "x86/devcon.exe" and the terminator
}

// Into files named beyond ASCII, above U+FFFF too: the name as the reader
// is given it, and in UTF-8 as it must then stand in the folder.
TEST_F(MemArchiveTest, ExtractsEveryFileByteExact) {
  CMemArchive archive(Package().data(), static_cast<UInt32>(Package().size()));
  ASSERT_EQ(kEntryCount, archive.GetFileCount());
  for (UInt32 i = 0; i < kEntryCount; ++i) {
    if (kEntries[i].dir) continue;
    const std::wstring target = m_dir.path().wstring() + L"/\u00E9\u20AC\U0001F5A8" + std::to_wstring(i);
    ASSERT_TRUE(archive.ExtractToFile(i, target.c_str())) << i;
    const fs::path written = m_dir.path() / fs::u8path(u8"\u00E9\u20AC\U0001F5A8" + std::to_string(i));
    EXPECT_EQ(ReadBytes(SourceOf(kEntries[i].name)), ReadBytes(written)) << i;
  }
  EXPECT_TRUE(m_traces.Lines().empty());
}

// After the first extraction the solid block is served from the cache: with
// the packed bytes destroyed, the remaining files still come out whole.
TEST_F(MemArchiveTest, DecodesTheSolidBlockOnlyOnce) {
  std::vector<std::uint8_t> bytes = Package();
  CMemArchive archive(bytes.data(), static_cast<UInt32>(bytes.size()));
  ASSERT_EQ(kEntryCount, archive.GetFileCount());
  ASSERT_TRUE(archive.ExtractToFile(2, (m_dir.path() / L"first").wstring().c_str()));

  const size_t packedStart = 32;  // after the signature header
  const size_t packedEnd = bytes.size() / 2;
  for (size_t i = packedStart; i < packedEnd; ++i) bytes[i] ^= 0x5A;

  for (UInt32 i = 3; i < kEntryCount; ++i) {
    const fs::path target = m_dir.path() / std::to_wstring(i);
    ASSERT_TRUE(archive.ExtractToFile(i, target.wstring().c_str())) << i;
    EXPECT_EQ(ReadBytes(SourceOf(kEntries[i].name)), ReadBytes(target)) << i;
  }

  // The same damage does stop a reader that has to decode.
  CMemArchive fresh(bytes.data(), static_cast<UInt32>(bytes.size()));
  ASSERT_EQ(kEntryCount, fresh.GetFileCount());
  EXPECT_FALSE(fresh.ExtractToFile(2, (m_dir.path() / L"again").wstring().c_str()));
  EXPECT_FALSE(fs::exists(m_dir.path() / L"again"));
  ASSERT_FALSE(m_traces.Lines().empty());
  EXPECT_EQ(0u, m_traces.Lines().back().rfind(L"uncompressing fail![", 0)) << m_traces.Lines().back();
}

TEST_F(MemArchiveTest, NeverOverwritesAnExistingFile) {
  const fs::path target = m_dir.path() / L"devcon.exe";
  WriteBytes(target, {'k', 'e', 'e', 'p'});
  CMemArchive archive(Package().data(), static_cast<UInt32>(Package().size()));
  EXPECT_FALSE(archive.ExtractToFile(2, target.wstring().c_str()));
  EXPECT_EQ((std::vector<std::uint8_t>{'k', 'e', 'e', 'p'}), ReadBytes(target));
#ifdef _WIN32
  const std::vector<std::wstring> expected = {L"create file fail![80]\n"};  // ERROR_FILE_EXISTS
#else
  const std::vector<std::wstring> expected = {L"create file fail![17]\n"};  // EEXIST
#endif
  EXPECT_EQ(expected, m_traces.Lines());
}

TEST_F(MemArchiveTest, TruncatedOrDamagedHeadersReadAsNoEntries) {
  const std::vector<std::uint8_t>& whole = Package();
  for (size_t cut : {size_t(0), size_t(1), size_t(6), size_t(31), size_t(32), whole.size() / 2, whole.size() - 1}) {
    std::vector<std::uint8_t> bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(cut));
    CMemArchive archive(bytes.data(), static_cast<UInt32>(bytes.size()));
    EXPECT_EQ(0u, archive.GetFileCount()) << "cut at " << cut;
  }
  // A flipped byte in the start header, its CRC, or the end header.
  for (size_t at : {size_t(0), size_t(8), size_t(12), size_t(20), whole.size() - 5}) {
    std::vector<std::uint8_t> bytes = whole;
    bytes[at] ^= 0x01;
    CMemArchive archive(bytes.data(), static_cast<UInt32>(bytes.size()));
    EXPECT_EQ(0u, archive.GetFileCount()) << "flipped at " << at;
  }
}

// 64 MiB and one byte of zeros, packed small: refused before anything is
// decoded.
TEST_F(MemArchiveTest, APackageThatWouldUnpackToMoreThan64MiBReadsAsNoEntries) {
  const std::vector<std::uint8_t> bytes = ReadBytes(fs::path(QUENLATH_OVERSIZE_PACKAGE_PATH));
  ASSERT_LT(bytes.size(), 1u << 20);
  CMemArchive archive(bytes.data(), static_cast<UInt32>(bytes.size()));
  EXPECT_EQ(0u, archive.GetFileCount());
  EXPECT_EQ(std::vector<std::wstring>{L"package too large![67108865]\n"}, m_traces.Lines());
}

TEST_F(MemArchiveTest, DamagedPackedDataFailsExtractionWithoutAFile) {
  std::vector<std::uint8_t> bytes = Package();
  bytes[100] ^= 0xFF;
  CMemArchive archive(bytes.data(), static_cast<UInt32>(bytes.size()));
  ASSERT_EQ(kEntryCount, archive.GetFileCount());
  const fs::path target = m_dir.path() / L"x";
  EXPECT_FALSE(archive.ExtractToFile(2, target.wstring().c_str()));
  EXPECT_FALSE(fs::exists(target));
  ASSERT_EQ(1u, m_traces.Lines().size());
  EXPECT_EQ(0u, m_traces.Lines()[0].rfind(L"uncompressing fail![", 0)) << m_traces.Lines()[0];
}

// The memory stream, driven as the SDK drives it.
class MemStreamTest : public ::testing::Test {
 protected:
  MemStreamTest() : m_archive(m_bytes, sizeof(m_bytes)) {}
  ISeekInStreamPtr Stream() { return reinterpret_cast<ISeekInStreamPtr>(&m_archive); }
  Int64 Seek(Int64 offset, ESzSeek origin) {
    EXPECT_EQ(SZ_OK, MemStreamSeek(Stream(), &offset, origin));
    return offset;
  }

  const std::uint8_t m_bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
  CMemArchive m_archive;  // not an archive: no entries, but a stream all the same
};

TEST_F(MemStreamTest, ReadsExactlyUpToTheEndAndNotOneBytePast) {
  ASSERT_EQ(0u, m_archive.GetFileCount());
  ASSERT_EQ(4, Seek(4, SZ_SEEK_SET));
  std::uint8_t buf[16] = {};
  size_t size = 7;  // one past the end
  EXPECT_EQ(SZ_ERROR_INPUT_EOF, MemStreamRead(Stream(), buf, &size));
  EXPECT_EQ(0, buf[0]);
  EXPECT_EQ(4, Seek(0, SZ_SEEK_CUR));

  size = 6;
  ASSERT_EQ(SZ_OK, MemStreamRead(Stream(), buf, &size));
  EXPECT_EQ(6u, size);
  EXPECT_EQ(4, buf[0]);
  EXPECT_EQ(9, buf[5]);
  EXPECT_EQ(10, Seek(0, SZ_SEEK_CUR));

  size = 1;
  EXPECT_EQ(SZ_ERROR_INPUT_EOF, MemStreamRead(Stream(), buf, &size));
  EXPECT_EQ(10, Seek(0, SZ_SEEK_CUR));
}

TEST_F(MemStreamTest, AHugeReadFailsWithoutWrappingAround) {
  ASSERT_EQ(4, Seek(4, SZ_SEEK_SET));
  std::uint8_t buf[1];
  for (size_t size : {SIZE_MAX, SIZE_MAX - 3, SIZE_MAX - 4}) {
    size_t asked = size;
    EXPECT_EQ(SZ_ERROR_INPUT_EOF, MemStreamRead(Stream(), buf, &asked));
  }
  EXPECT_EQ(4, Seek(0, SZ_SEEK_CUR));
}

TEST_F(MemStreamTest, SeeksStayWithinZeroAndTheSize) {
  EXPECT_EQ(10, Seek(0, SZ_SEEK_END));
  EXPECT_EQ(10, Seek(11, SZ_SEEK_SET));
  EXPECT_EQ(10, Seek(INT64_MAX, SZ_SEEK_SET));
  EXPECT_EQ(0, Seek(-1, SZ_SEEK_SET));
  EXPECT_EQ(0, Seek(INT64_MIN, SZ_SEEK_SET));

  ASSERT_EQ(5, Seek(5, SZ_SEEK_SET));
  EXPECT_EQ(2, Seek(-3, SZ_SEEK_CUR));
  EXPECT_EQ(7, Seek(5, SZ_SEEK_CUR));
  EXPECT_EQ(10, Seek(INT64_MAX, SZ_SEEK_CUR));
  EXPECT_EQ(0, Seek(INT64_MIN, SZ_SEEK_CUR));
  ASSERT_EQ(5, Seek(5, SZ_SEEK_SET));
  EXPECT_EQ(10, Seek(-2, SZ_SEEK_END));  // offsets from the end are not used by the SDK
  ASSERT_EQ(5, Seek(5, SZ_SEEK_SET));
  EXPECT_EQ(5, Seek(1, static_cast<ESzSeek>(7)));  // unknown origin: position unchanged
}

TEST(MemStreamEmptyTest, AnEmptyArchiveReadsNothing) {
  CMemArchive archive(nullptr, 0);
  EXPECT_EQ(0u, archive.GetFileCount());
  ISeekInStreamPtr stream = reinterpret_cast<ISeekInStreamPtr>(&archive);
  std::uint8_t buf[1];
  size_t size = 1;
  EXPECT_EQ(SZ_ERROR_INPUT_EOF, MemStreamRead(stream, buf, &size));
  Int64 offset = 3;
  EXPECT_EQ(SZ_OK, MemStreamSeek(stream, &offset, SZ_SEEK_SET));
  EXPECT_EQ(0, offset);
}

}  // namespace
