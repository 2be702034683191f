// libFuzzer target: arbitrary bytes as the driver package.  Every entry is
// listed and every file entry extracted; nothing may crash or leak.
#include <cstdint>
#include <cstdio>
#include <string>

#include <unistd.h>

#include "DebugTrace.h"
#include "MemArchive.h"

namespace {

std::wstring ScratchFile() {
  static const std::wstring path = L"/tmp/memarchive_fuzz." + std::to_wstring(getpid());
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size > 0xFFFFFFFFu) return 0;
  CMemArchive archive(data, static_cast<UInt32>(size));
  const std::wstring target = ScratchFile();
  const std::string narrow(target.begin(), target.end());
  for (UInt32 i = 0; i < archive.GetFileCount(); ++i) {
    std::wstring name;
    archive.GetFileName(i, name);
    if (archive.IsDir(i)) continue;
    archive.ExtractToFile(i, target.c_str());
    std::remove(narrow.c_str());
  }
  return 0;
}
