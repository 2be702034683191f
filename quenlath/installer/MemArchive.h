// Reader of a 7z archive held in memory (the driver package in the program's
// resources), on the LZMA SDK's 7z decoder.
#pragma once

#include <cstddef>
#include <string>

#include "7z.h"

// The most a package may unpack to, all of it together; a package declaring
// more reads as one with no entries.
const size_t kMaxUnpackedBytes = 64u << 20;

// The SDK's seekable input stream over the archive bytes.
SRes MemStreamRead(ISeekInStreamPtr stream, void* buffer, size_t* size);
SRes MemStreamSeek(ISeekInStreamPtr stream, Int64* offset, ESzSeek origin);

class CMemArchive {
 public:
  // Opens the archive; bytes that don't open, or that would unpack to more
  // than kMaxUnpackedBytes, read as an archive with no entries.
  // data is not owned and must outlive the reader.
  CMemArchive(const void* data, UInt32 size);
  ~CMemArchive();
  CMemArchive(const CMemArchive&) = delete;
  CMemArchive& operator=(const CMemArchive&) = delete;

  // Entries, folders included.  An index must be below GetFileCount().
  UInt32 GetFileCount() const;
  bool IsDir(UInt32 index) const;
  // The entry's name as stored ("/" between folder and file); returns the
  // UTF-16 units written, terminator included.
  size_t GetFileName(UInt32 index, std::wstring& name) const;
  // Extracts a file entry into a new file; never overwrites an existing one.
  bool ExtractToFile(UInt32 index, const wchar_t* path);

 private:
  friend SRes MemStreamRead(ISeekInStreamPtr, void*, size_t*);
  friend SRes MemStreamSeek(ISeekInStreamPtr, Int64*, ESzSeek);

  // First member: the object itself is the stream the SDK reads.
  ISeekInStream m_stream;
  const Byte* m_pData;
  UInt32 m_nSize;
  CLookToRead2 m_lookStream;
  Byte m_lookBuffer[16384];
  CSzArEx m_db;
  ISzAlloc m_allocMain;
  ISzAlloc m_allocTemp;
  Int64 m_nPos;
  // Extraction cache: the decoded solid block, kept between extractions.
  UInt32 m_nBlockIndex;
  Byte* m_pOutBuffer;
  size_t m_nOutBufferSize;
  size_t m_nOffset;
  size_t m_nOutSizeProcessed;
};
