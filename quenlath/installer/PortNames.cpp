#include "PortNames.h"

#include <algorithm>

namespace {

const PortNameKind kPortNameKinds[] = {
    {L"COM", 256, L"HARDWARE\\DEVICEMAP\\SERIALCOMM"},
    {L"LPT", 3, L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS"},
};

}  // namespace

const PortNameKind* PortNameKindOf(const std::wstring& name) {
  for (const PortNameKind& kind : kPortNameKinds)
    if (name.compare(0, 3, kind.prefix) == 0) return &kind;
  return nullptr;
}

std::wstring InUseName(const std::wstring& data, const std::wstring& prefix) {
  const size_t at = data.find(prefix);
  return at == std::wstring::npos ? data : data.substr(at);
}

std::vector<std::wstring> FreePortNames(const std::wstring& prefix, int highest, std::vector<std::wstring> inUse) {
  std::vector<std::wstring> free;
  for (int n = 1; n <= highest; ++n) {
    const std::wstring candidate = prefix + std::to_wstring(n);
    const auto used = std::find(inUse.begin(), inUse.end(), candidate);
    if (used == inUse.end())
      free.push_back(candidate);
    else
      inUse.erase(used);
  }
  return free;
}
