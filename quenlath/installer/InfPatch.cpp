#include "InfPatch.h"

#include <cstring>

namespace {

// The first occurrence of key in [from, end), or null.
char* Find(char* from, char* end, const char* key) {
  const std::size_t length = std::strlen(key);
  for (char* p = from; p + length <= end; ++p)
    if (std::memcmp(p, key, length) == 0) return p;
  return nullptr;
}

// The match's own line is turned on when it begins with ";" (after blanks):
// that ";" becomes a space.  Nothing before the line is touched.
void TurnOnAt(char* begin, char* match) {
  char* line = match;
  while (line > begin && line[-1] != '\n') --line;
  while (line < match && (*line == ' ' || *line == '\t')) ++line;
  if (line < match && *line == ';') *line = ' ';
}

void TurnOnFirst(char* begin, char* end, const char* key) {
  if (char* match = Find(begin, end, key)) TurnOnAt(begin, match);
}

// The value is looked for after the first "DeviceType" only.
void TurnOnDeviceType(char* begin, char* end, const char* value) {
  char* deviceType = Find(begin, end, "DeviceType");
  if (!deviceType) return;
  if (char* match = Find(deviceType, end, value)) TurnOnAt(begin, match);
}

}  // namespace

void PatchInfText(char* text, std::size_t size, int portType) {
  char* end = text + size;
  switch (portType) {
    case kSerialPort:
      TurnOnFirst(text, end, "SerialPortPropPageProvider");
      TurnOnDeviceType(text, end, "0x0000001B");
      break;
    case kParallelPort:
      TurnOnFirst(text, end, "PortSubClass");
      TurnOnFirst(text, end, "ParallelPortPropPageProvider");
      TurnOnDeviceType(text, end, "0x00000016");
      break;
    default:
      break;
  }
}
