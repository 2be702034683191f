#include "MemArchive.h"

#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

#include "7zAlloc.h"
#include "7zCrc.h"
#include "DebugTrace.h"
#include "NewFile.h"

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
  unsigned error = 0;
  switch (WriteNewFile(path, m_pOutBuffer + m_nOffset, m_nOutSizeProcessed, error)) {
    case NewFileResult::kWritten:
      return true;
    case NewFileResult::kNotCreated:
      DebugTrace(L"create file fail![%u]\n", error);
      return false;
    case NewFileResult::kNotWritten:
      DebugTrace(L"write file fail![%u]\n", error);
      return false;
  }
  return false;
}
