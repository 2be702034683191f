#include "NewFile.h"

#include <windows.h>

namespace {

// A new file for writing that fails when the name exists; a failed Write
// leaves the system's error code in GetLastError.
class NewFile {
 public:
  explicit NewFile(const wchar_t* path)
      : m_h(CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~NewFile() { if (m_h != INVALID_HANDLE_VALUE) CloseHandle(m_h); }
  NewFile(const NewFile&) = delete;
  NewFile& operator=(const NewFile&) = delete;
  bool IsOpen() const { return m_h != INVALID_HANDLE_VALUE; }
  bool Write(const unsigned char* data, std::size_t size) {
    if (size > MAXDWORD) {
      SetLastError(ERROR_FILE_TOO_LARGE);
      return false;
    }
    DWORD written = 0;
    return WriteFile(m_h, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
  }

 private:
  HANDLE m_h;
};

}  // namespace

NewFileResult WriteNewFile(const wchar_t* path, const unsigned char* data, std::size_t size, unsigned& error) {
  NewFile file(path);
  if (!file.IsOpen()) {
    error = GetLastError();
    return NewFileResult::kNotCreated;
  }
  if (!file.Write(data, size)) {
    error = GetLastError();
    return NewFileResult::kNotWritten;
  }
  return NewFileResult::kWritten;
}
