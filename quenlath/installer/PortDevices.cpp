#include "PortDevices.h"

#include "com/RegKey.h"

const GUID PortInterfaceGuid = {0xDD434821, 0x0576, 0x4E83, {0x92, 0x47, 0xD1, 0xC9, 0xD4, 0x15, 0xD3, 0x88}};

namespace {

// The port list's name buffer: 9 characters and the terminator.
const DWORD kListNameChars = 10;

}  // namespace

HDEVINFO OpenPresentPortDevices(HWND owner) {
  return SetupDiGetClassDevsW(&PortInterfaceGuid, nullptr, owner, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
}

bool ReadPortName(HKEY key, wchar_t* buffer, DWORD chars) {
  buffer[0] = L'\0';
  DWORD type = 0;
  DWORD bytes = chars * sizeof(wchar_t);
  if (RegQueryValueExW(key, L"PortName", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes) != ERROR_SUCCESS) {
    buffer[0] = L'\0';
    return false;
  }
  const DWORD units = bytes / sizeof(wchar_t);
  const bool ok = (type == REG_SZ || type == REG_EXPAND_SZ) && bytes % sizeof(wchar_t) == 0 &&
                  (units == 0 || buffer[units - 1] == L'\0');
  if (!ok || units == 0) buffer[0] = L'\0';
  return ok;
}

std::vector<std::wstring> ListPortNames(HWND owner) {
  std::vector<std::wstring> names;
  DeviceInfoSet set(OpenPresentPortDevices(owner));
  if (!set.IsValid()) return names;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  for (DWORD index = 0; SetupDiEnumDeviceInfo(set.Get(), index, &device); ++index) {
    const HKEY opened = SetupDiOpenDevRegKey(set.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
    if (opened == INVALID_HANDLE_VALUE) continue;
    CRegKey key(opened);
    wchar_t name[kListNameChars];
    if (ReadPortName(key.Get(), name, kListNameChars)) names.emplace_back(name);
  }
  return names;
}
