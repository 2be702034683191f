// Stand-in for the device console tool that the driver package carries:
//   devcon install <inf> <hardware id>   creates one root device of class Ports
//   devcon remove <hardware id>          removes every device with that id
// It does with SetupAPI what the port's class installer and driver would do:
// the device, its port interface (linked, as the driver makes it), the
// PortName in the device key, the device-map value, description and friendly
// name.  Exit code 0 on success; a failure says what failed, with the
// Windows error code.
#include <windows.h>
#include <initguid.h>
#include <devguid.h>
#include <setupapi.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "InfDriver.h"

namespace {

// The port driver's device interface class.
const GUID kPortInterfaceGuid = {0xDD434821, 0x0576, 0x4E83, {0x92, 0x47, 0xD1, 0xC9, 0xD4, 0x15, 0xD3, 0x88}};

const DWORD kMaxInstanceId = 200;  // the platform's longest device instance id

const wchar_t kSerialMap[] = L"HARDWARE\\DEVICEMAP\\SERIALCOMM";
const wchar_t kParallelMap[] = L"HARDWARE\\DEVICEMAP\\PARALLEL PORTS";

struct DevInfoSet {
  HDEVINFO h;
  explicit DevInfoSet(HDEVINFO handle) : h(handle) {}
  ~DevInfoSet() { if (h != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(h); }
  DevInfoSet(const DevInfoSet&) = delete;
  DevInfoSet& operator=(const DevInfoSet&) = delete;
};

struct Key {
  HKEY h = nullptr;
  Key() = default;
  explicit Key(HKEY handle) : h(handle == INVALID_HANDLE_VALUE ? nullptr : handle) {}
  ~Key() { if (h) RegCloseKey(h); }
  Key(const Key&) = delete;
  Key& operator=(const Key&) = delete;
};

// Names in use: every value's data of a device-map key, from the first
// occurrence of the prefix on (\DosDevices\LPT1 counts as LPT1).
std::vector<std::wstring> NamesInUse(const wchar_t* mapKey, const wchar_t* prefix) {
  std::vector<std::wstring> names;
  Key key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, mapKey, 0, KEY_READ, &key.h) != ERROR_SUCCESS) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    wchar_t data[256];
    DWORD nameLen = 256, dataBytes = sizeof(data) - sizeof(wchar_t), type = 0;
    const LONG rc = RegEnumValueW(key.h, i, name, &nameLen, nullptr, &type, reinterpret_cast<BYTE*>(data), &dataBytes);
    if (rc == ERROR_MORE_DATA) continue;
    if (rc != ERROR_SUCCESS) break;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    data[dataBytes / sizeof(wchar_t)] = L'\0';
    const wchar_t* at = wcsstr(data, prefix);
    names.emplace_back(at ? at : data);
  }
  return names;
}

std::wstring FirstFreeName(const wchar_t* mapKey, const wchar_t* prefix, int highest) {
  const std::vector<std::wstring> used = NamesInUse(mapKey, prefix);
  for (int n = 1; n <= highest; ++n) {
    const std::wstring candidate = prefix + std::to_wstring(n);
    bool taken = false;
    for (const std::wstring& u : used) taken = taken || u == candidate;
    if (!taken) return candidate;
  }
  return std::wstring();
}

// Reports a failed step with the last error and gives the exit code 1.
int Fail(const wchar_t* what, DWORD error = GetLastError()) {
  fwprintf(stderr, L"devcon failed: %ls (error %lu)\n", what, error);
  return 1;
}

std::wstring InstanceId(HDEVINFO set, SP_DEVINFO_DATA& dev) {
  wchar_t id[kMaxInstanceId];
  if (!SetupDiGetDeviceInstanceIdW(set, &dev, id, kMaxInstanceId, nullptr)) return std::wstring();
  return id;
}

// The device-map value of a device: named after its instance number.
std::wstring DeviceMapValueName(const std::wstring& instanceId) {
  return L"\\Device\\Mosset" + instanceId.substr(instanceId.find_last_of(L'\\') + 1);
}

// The interface is present only when it is linked, which the driver does on start.
bool LinkInterface(const std::wstring& instanceId) {
  std::wstring symbolic = L"##?#" + instanceId;
  for (wchar_t& c : symbolic) if (c == L'\\') c = L'#';
  const std::wstring guid = L"{DD434821-0576-4E83-9247-D1C9D415D388}";
  const std::wstring path = L"System\\CurrentControlSet\\Control\\DeviceClasses\\" + guid + L"\\" + symbolic +
                            L"#" + guid + L"\\#\\Control";
  Key key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key.h, nullptr) !=
      ERROR_SUCCESS)
    return false;
  const DWORD linked = 1;
  return RegSetValueExW(key.h, L"Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&linked), sizeof(linked)) ==
         ERROR_SUCCESS;
}

bool SetString(HKEY key, const wchar_t* name, const std::wstring& text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetProperty(HDEVINFO set, SP_DEVINFO_DATA& dev, DWORD property, const std::wstring& text) {
  return SetupDiSetDeviceRegistryPropertyW(set, &dev, property, reinterpret_cast<const BYTE*>(text.c_str()),
                                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != FALSE;
}

int Install(const std::wstring& infArg, const std::wstring& hardwareId) {
  wchar_t infPath[MAX_PATH];
  const DWORD length = GetFullPathNameW(infArg.c_str(), MAX_PATH, infPath, nullptr);
  if (length == 0) return Fail(L"no full path of the INF");
  if (length >= MAX_PATH) return Fail(L"the INF's full path is too long", ERROR_FILENAME_EXCED_RANGE);
  InfDriver driver;
  const DWORD infError = ReadInfDriver(infPath, hardwareId, driver);
  if (infError == ERROR_NOT_FOUND) {
    fwprintf(stderr, L"devcon failed: %ls names no driver for %ls\n", infPath, hardwareId.c_str());
    return 1;
  }
  if (infError != ERROR_SUCCESS) return Fail(L"the INF does not open", infError);
  const bool parallel = driver.kind == PortKind::Parallel;
  const wchar_t* mapKey = parallel ? kParallelMap : kSerialMap;
  const std::wstring portName = parallel ? FirstFreeName(mapKey, L"LPT", 3) : FirstFreeName(mapKey, L"COM", 256);
  if (portName.empty()) {
    fwprintf(stderr, L"devcon failed: no free port name\n");
    return 1;
  }

  DevInfoSet set(SetupDiCreateDeviceInfoList(&GUID_DEVCLASS_PORTS, nullptr));
  if (set.h == INVALID_HANDLE_VALUE) return Fail(L"no device information set");
  SP_DEVINFO_DATA dev{};
  dev.cbSize = sizeof(dev);
  if (!SetupDiCreateDeviceInfoW(set.h, L"Ports", &GUID_DEVCLASS_PORTS, driver.description.c_str(), nullptr,
                                DICD_GENERATE_ID, &dev))
    return Fail(L"device information not created");
  std::vector<wchar_t> ids(hardwareId.begin(), hardwareId.end());
  ids.insert(ids.end(), {L'\0', L'\0'});
  bool ok = SetupDiSetDeviceRegistryPropertyW(set.h, &dev, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(ids.data()),
                                              static_cast<DWORD>(ids.size() * sizeof(wchar_t))) &&
            SetupDiCallClassInstaller(DIF_REGISTERDEVICE, set.h, &dev);
  if (!ok) return Fail(L"device not created");
  const std::wstring instanceId = InstanceId(set.h, dev);
  if (instanceId.empty()) {
    const DWORD error = GetLastError();
    (void)SetupDiRemoveDevice(set.h, &dev);  // leave nothing half made
    return Fail(L"no instance id of the new device", error);
  }
  {
    Key devKey(SetupDiCreateDevRegKeyW(set.h, &dev, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr));
    ok = devKey.h && SetString(devKey.h, L"PortName", portName);
  }
  ok = ok && SetProperty(set.h, dev, SPDRP_DEVICEDESC, driver.description) &&
       SetProperty(set.h, dev, SPDRP_FRIENDLYNAME, driver.description + L" (" + portName + L")") &&
       SetupDiCreateDeviceInterfaceW(set.h, &dev, &kPortInterfaceGuid, nullptr, 0, nullptr) &&
       LinkInterface(instanceId);
  if (ok) {
    Key map;
    const std::wstring data = parallel ? L"\\DosDevices\\" + portName : portName;
    ok = RegCreateKeyExW(HKEY_LOCAL_MACHINE, mapKey, 0, nullptr, REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &map.h,
                         nullptr) == ERROR_SUCCESS &&
         SetString(map.h, DeviceMapValueName(instanceId).c_str(), data);
  }
  if (!ok) {
    const DWORD error = GetLastError();
    (void)SetupDiRemoveDevice(set.h, &dev);  // leave nothing half made
    return Fail(L"device set-up incomplete", error);
  }
  wprintf(L"%ls: %ls installed as %ls\n", instanceId.c_str(), driver.description.c_str(), portName.c_str());
  return 0;
}

bool HasHardwareId(HDEVINFO set, SP_DEVINFO_DATA& dev, const std::wstring& hardwareId) {
  wchar_t buf[1024] = {};
  DWORD type = 0;
  if (!SetupDiGetDeviceRegistryPropertyW(set, &dev, SPDRP_HARDWAREID, &type, reinterpret_cast<BYTE*>(buf),
                                         sizeof(buf) - 2 * sizeof(wchar_t), nullptr) ||
      type != REG_MULTI_SZ)
    return false;
  for (const wchar_t* id = buf; *id; id += wcslen(id) + 1)
    if (_wcsicmp(id, hardwareId.c_str()) == 0) return true;
  return false;
}

void DeleteDeviceMapValue(const std::wstring& valueName) {
  for (const wchar_t* mapKey : {kSerialMap, kParallelMap}) {
    Key map;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, mapKey, 0, KEY_SET_VALUE, &map.h) == ERROR_SUCCESS)
      (void)RegDeleteValueW(map.h, valueName.c_str());  // absent in the other map
  }
}

int Remove(const std::wstring& hardwareId) {
  DevInfoSet set(SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
  if (set.h == INVALID_HANDLE_VALUE) return Fail(L"devices not listed");
  int removed = 0, failed = 0;
  SP_DEVINFO_DATA dev{};
  dev.cbSize = sizeof(dev);
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set.h, i, &dev); ++i) {
    if (!HasHardwareId(set.h, dev, hardwareId)) continue;
    const std::wstring instanceId = InstanceId(set.h, dev);
    if (SetupDiRemoveDevice(set.h, &dev)) {
      DeleteDeviceMapValue(DeviceMapValueName(instanceId));
      wprintf(L"%ls: removed\n", instanceId.c_str());
      ++removed;
    } else {
      fwprintf(stderr, L"%ls: remove failed (%lu)\n", instanceId.c_str(), GetLastError());
      ++failed;
    }
  }
  wprintf(L"%d device(s) removed.\n", removed);
  return failed ? 1 : 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && _wcsicmp(argv[1], L"install") == 0) return Install(argv[2], argv[3]);
  if (argc == 3 && _wcsicmp(argv[1], L"remove") == 0) return Remove(argv[2]);
  fwprintf(stderr, L"usage: devcon install <inf> <hardware id> | devcon remove <hardware id>\n");
  return 2;
}
