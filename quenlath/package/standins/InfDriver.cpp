#include "InfDriver.h"

#include <windows.h>
#include <setupapi.h>

#include <cwchar>
#include <vector>

namespace {

struct InfHandle {
  HINF h;
  explicit InfHandle(HINF handle) : h(handle) {}
  ~InfHandle() { if (h != INVALID_HANDLE_VALUE) SetupCloseInfFile(h); }
  InfHandle(const InfHandle&) = delete;
  InfHandle& operator=(const InfHandle&) = delete;
};

std::wstring Field(INFCONTEXT& ctx, DWORD index) {
  wchar_t buf[512];
  if (!SetupGetStringFieldW(&ctx, index, buf, 512, nullptr)) return std::wstring();
  return buf;
}

bool HasSection(HINF inf, const std::wstring& section) {
  INFCONTEXT ctx;
  return SetupFindFirstLineW(inf, section.c_str(), nullptr, &ctx) != FALSE;
}

#ifdef _WIN64
const wchar_t kPlatformDecoration[] = L".NTamd64";
#else
const wchar_t kPlatformDecoration[] = L".NTx86";
#endif

// Models sections named by [Manufacturer], the platform's decoration first.
std::vector<std::wstring> ModelSections(HINF inf) {
  std::vector<std::wstring> sections;
  INFCONTEXT ctx;
  for (BOOL ok = SetupFindFirstLineW(inf, L"Manufacturer", nullptr, &ctx); ok;
       ok = SetupFindNextLine(&ctx, &ctx)) {
    const std::wstring models = Field(ctx, 1);
    if (models.empty()) continue;
    if (HasSection(inf, models + kPlatformDecoration)) sections.push_back(models + kPlatformDecoration);
    else if (HasSection(inf, models + L".NT")) sections.push_back(models + L".NT");
    else sections.push_back(models);
  }
  return sections;
}

// The port kind from DeviceType lines (FILE_DEVICE_PARALLEL_PORT 0x16) of the
// AddReg sections that the install section's .hw section names.
PortKind KindFromHardwareSection(HINF inf, const std::wstring& install) {
  const std::wstring hw = install + L".hw";
  INFCONTEXT ctx;
  for (BOOL ok = SetupFindFirstLineW(inf, hw.c_str(), L"AddReg", &ctx); ok;
       ok = SetupFindNextMatchLineW(&ctx, L"AddReg", &ctx)) {
    const DWORD n = SetupGetFieldCount(&ctx);
    for (DWORD f = 1; f <= n; ++f) {
      const std::wstring addReg = Field(ctx, f);
      INFCONTEXT line;
      for (BOOL more = SetupFindFirstLineW(inf, addReg.c_str(), nullptr, &line); more;
           more = SetupFindNextLine(&line, &line)) {
        if (_wcsicmp(Field(line, 3).c_str(), L"DeviceType") != 0) continue;
        if (wcstoul(Field(line, 5).c_str(), nullptr, 0) == 0x16) return PortKind::Parallel;
      }
    }
  }
  return PortKind::Serial;
}

}  // namespace

unsigned long ReadInfDriver(const std::wstring& infPath, const std::wstring& hardwareId, InfDriver& out) {
  InfHandle inf(SetupOpenInfFileW(infPath.c_str(), nullptr, INF_STYLE_WIN4, nullptr));
  if (inf.h == INVALID_HANDLE_VALUE) return GetLastError();
  for (const std::wstring& models : ModelSections(inf.h)) {
    INFCONTEXT ctx;
    for (BOOL ok = SetupFindFirstLineW(inf.h, models.c_str(), nullptr, &ctx); ok;
         ok = SetupFindNextLine(&ctx, &ctx)) {
      const DWORD n = SetupGetFieldCount(&ctx);
      bool match = false;
      for (DWORD f = 2; f <= n && !match; ++f) match = _wcsicmp(Field(ctx, f).c_str(), hardwareId.c_str()) == 0;
      if (!match) continue;
      out.description = Field(ctx, 0);
      const std::wstring install = Field(ctx, 1);
      out.kind = KindFromHardwareSection(inf.h, HasSection(inf.h, install + L".NT") ? install + L".NT" : install);
      return ERROR_SUCCESS;
    }
  }
  return ERROR_NOT_FOUND;
}
