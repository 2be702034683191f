#include "MemArchive.h"

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "7zAlloc.h"
#include "7zCrc.h"
#include "DebugTrace.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

const UInt32 kNoBlock = 0xFFFFFFFF;

// Neither one allocation of the decoder (an encoded header declares its own
// size) nor everything the package's blocks unpack to may pass this.
void* BoundedAlloc(ISzAllocPtr alloc, size_t size) {
  return size > kMaxUnpackedBytes ? nullptr : SzAlloc(alloc, size);
}

// What decoding every block would unpack, all coders' outputs together
// (saturating).
UInt64 DeclaredUnpackedBytes(const CSzAr& db) {
  const UInt32 sizes = db.NumFolders == 0 ? 0 : db.FoToCoderUnpackSizes[db.NumFolders];
  UInt64 total = 0;
  for (UInt32 i = 0; i < sizes; ++i) {
    const UInt64 size = db.CoderUnpackSizes[i];
    total = size > UINT64_MAX - total ? UINT64_MAX : total + size;
  }
  return total;
}

CMemArchive* FromStream(ISeekInStreamPtr stream) {
  // The stream is the reader's first member (standard layout).
  return reinterpret_cast<CMemArchive*>(const_cast<ISeekInStream*>(stream));
}

// A new file for writing that fails when the name exists; false with the
// system's error code.
#ifdef _WIN32
class NewFile {
 public:
  explicit NewFile(const wchar_t* path)
      : m_h(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~NewFile() { if (m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h); }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }
  bool Write(const Byte* data, size_t size) {
    if (size > MAXDWORD) {
      SetLastError(ERROR_FILE_TOO_LARGE);
      return false;
    }
    DWORD written = 0;
    return WriteFile(m_h, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  }
  static unsigned LastError() { return GetLastError(); }

 private:
  HANDLE m_h;
};
#else
std::string Utf8(const wchar_t* text) {
  std::string out;
  for (; *text; ++text) {
    const unsigned long c = static_cast<unsigned long>(*text);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

class NewFile {
 public:
  explicit NewFile(const wchar_t* path) : m_fd(open(Utf8(path).c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644)) {}
  ~NewFile() { if (m_fd >= 0) close(m_fd); }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  bool IsOpen() const { return m_fd >= 0; }
  bool Write(const Byte* data, size_t size) {
    while (size > 0) {
      const ssize_t n = write(m_fd, data, size);
      if (n <= 0) return false;
      data += n;
      size -= static_cast<size_t>(n);
    }
    return true;
  }
  static unsigned LastError() { return static_cast<unsigned>(errno); }

 private:
  int m_fd;
};
#endif

}  // namespace

// The SDK asks for exactly *size bytes: a read that would pass the end fails
// whole and moves nothing.
SRes MemStreamRead(ISeekInStreamPtr stream, void* buffer, size_t* size) {
  CMemArchive* self = FromStream(stream);
  const UInt64 pos = static_cast<UInt64>(self->m_nPos);
  if (pos >= self->m_nSize) return SZ_ERROR_INPUT_EOF;
  if (*size > self->m_nSize - pos) return SZ_ERROR_INPUT_EOF;
  if (*size > 0) memcpy(buffer, self->m_pData + pos, *size);
  self->m_nPos += static_cast<Int64>(*size);
  return SZ_OK;
}

// Never fails; the position stays within 0..size whatever is asked.
SRes MemStreamSeek(ISeekInStreamPtr stream, Int64* offset, ESzSeek origin) {
  CMemArchive* self = FromStream(stream);
  const Int64 size = self->m_nSize;
  Int64 target = self->m_nPos;
  switch (origin) {
    case SZ_SEEK_SET:
      target = *offset;
      break;
    case SZ_SEEK_CUR:
      // m_nPos is within 0..size (below 2^32): compare before adding, no overflow.
      if (*offset >= size - self->m_nPos) target = size;
      else if (*offset <= -self->m_nPos) target = 0;
      else target = self->m_nPos + *offset;
      break;
    case SZ_SEEK_END:
      target = size;
      break;
    default:
      break;
  }
  if (target > size) target = size;
  if (target < 0) target = 0;
  self->m_nPos = target;
  *offset = target;
  return SZ_OK;
}

CMemArchive::CMemArchive(const void* data, UInt32 size)
    : m_pData(static_cast<const Byte*>(data)),
      m_nSize(size),
      m_nPos(0),
      m_nBlockIndex(kNoBlock),
      m_pOutBuffer(nullptr),
      m_nOutBufferSize(0),
      m_nOffset(0),
      m_nOutSizeProcessed(0) {
  static_assert(std::is_standard_layout<CMemArchive>::value, "the stream must be the object's first member");
  m_stream.Read = MemStreamRead;
  m_stream.Seek = MemStreamSeek;

  LookToRead2_CreateVTable(&m_lookStream, False);  // exact mode: no look-ahead
  m_lookStream.buf = m_lookBuffer;
  m_lookStream.bufSize = sizeof(m_lookBuffer);
  m_lookStream.realStream = &m_stream;
  LookToRead2_INIT(&m_lookStream);

  CrcGenerateTable();

  m_allocMain.Alloc = BoundedAlloc;
  m_allocMain.Free = SzFree;
  m_allocTemp.Alloc = BoundedAlloc;
  m_allocTemp.Free = SzFree;

  SzArEx_Init(&m_db);
  // A failed open leaves the database empty: no entries.
  if (SzArEx_Open(&m_db, &m_lookStream.vt, &m_allocMain, &m_allocTemp) != SZ_OK) return;
  // Refused before any block is decoded: it reads as no entries.
  const UInt64 declared = DeclaredUnpackedBytes(m_db.db);
  if (declared > kMaxUnpackedBytes) {
    DebugTrace(L"package too large![%llu]\n", static_cast<unsigned long long>(declared));
    SzArEx_Free(&m_db, &m_allocMain);
    SzArEx_Init(&m_db);
  }
}

CMemArchive::~CMemArchive() {
  ISzAlloc_Free(&m_allocMain, m_pOutBuffer);
  SzArEx_Free(&m_db, &m_allocMain);
}

UInt32 CMemArchive::GetFileCount() const { return m_db.NumFiles; }

bool CMemArchive::IsDir(UInt32 index) const { return SzArEx_IsDir(&m_db, index) != 0; }

size_t CMemArchive::GetFileName(UInt32 index, std::wstring& name) const {
  const size_t length = SzArEx_GetFileNameUtf16(&m_db, index, nullptr);
  std::vector<UInt16> units(length + 1, 0);
  const size_t written = SzArEx_GetFileNameUtf16(&m_db, index, units.data());
  name.assign(units.begin(), units.end());
  name.resize(name.find(L'\0'));  // end at the terminator
  return written;
}

bool CMemArchive::ExtractToFile(UInt32 index, const wchar_t* path) {
  m_nOffset = 0;
  m_nOutSizeProcessed = 0;
  const SRes res = SzArEx_Extract(&m_db, &m_lookStream.vt, index, &m_nBlockIndex, &m_pOutBuffer,
                                  &m_nOutBufferSize, &m_nOffset, &m_nOutSizeProcessed, &m_allocMain,
                                  &m_allocTemp);
  if (res != SZ_OK) {
    DebugTrace(L"uncompressing fail![%u]\n", static_cast<unsigned>(res));
    return false;
  }
  NewFile file(path);
  if (!file.IsOpen()) {
    DebugTrace(L"create file fail![%u]\n", NewFile::LastError());
    return false;
  }
  if (!file.Write(m_pOutBuffer + m_nOffset, m_nOutSizeProcessed)) {
    DebugTrace(L"write file fail![%u]\n", NewFile::LastError());
    return false;
  }
  return true;
}
