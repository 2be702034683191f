// The file writer of the package reader's native builds (its tests and fuzz
// target): a POSIX file named by the path in UTF-8.
#include "NewFile.h"

#include <cerrno>
#include <string>

#include <fcntl.h>
#include <unistd.h>

namespace {

// The UTF-8 form of a wide (UTF-32) path; false when it holds a value that
// is no Unicode scalar value.
bool Utf8(const wchar_t* text, std::string& out) {
  for (; *text; ++text) {
    const unsigned long c = static_cast<unsigned long>(*text);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      if (c >= 0xD800 && c < 0xE000) return false;  // a surrogate
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x110000) {
      out += static_cast<char>(0xF0 | (c >> 18));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      return false;
    }
  }
  return true;
}

// Owner of an open file descriptor.
class Descriptor {
 public:
  explicit Descriptor(int fd) : m_fd(fd) {}
  ~Descriptor() {
    if (m_fd >= 0) (void)close(m_fd);  // only after a failure, which is already reported
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int Get() const { return m_fd; }
  // Closes it; false when the close fails (the bytes may not be written).
  bool Close() {
    const int fd = m_fd;
    m_fd = -1;
    return close(fd) == 0;
  }

 private:
  int m_fd;
};

}  // namespace

NewFileResult WriteNewFile(const wchar_t* path, const unsigned char* data, std::size_t size, unsigned& error) {
  std::string name;
  if (!Utf8(path, name)) {
    error = EILSEQ;
    return NewFileResult::kNotCreated;
  }
  Descriptor file(open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644));
  if (file.Get() < 0) {
    error = static_cast<unsigned>(errno);
    return NewFileResult::kNotCreated;
  }
  while (size > 0) {
    const ssize_t n = write(file.Get(), data, size);
    if (n <= 0) {
      error = n < 0 ? static_cast<unsigned>(errno) : EIO;
      return NewFileResult::kNotWritten;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  if (!file.Close()) {
    error = static_cast<unsigned>(errno);
    return NewFileResult::kNotWritten;
  }
  return NewFileResult::kWritten;
}
