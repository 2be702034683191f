#include "PortDeviceFixture.h"

#include <cwchar>

#include "PortDevices.h"

const wchar_t kFakeHardwareId[] = L"ROZ\\QuenlathTest";
const wchar_t kPackageHardwareId[] = L"ROZ\\Quenlath";

namespace {

struct Key {
  HKEY h = nullptr;
  ~Key() { if (h && h != INVALID_HANDLE_VALUE) RegCloseKey(h); }
};

bool HasHardwareId(HDEVINFO set, SP_DEVINFO_DATA& device, const wchar_t* hardwareId) {
  wchar_t ids[512] = {};
  if (!SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_HARDWAREID, nullptr, reinterpret_cast<BYTE*>(ids),
                                         sizeof(ids) - 2 * sizeof(wchar_t), nullptr))
    return false;
  for (const wchar_t* id = ids; *id; id += wcslen(id) + 1)
    if (_wcsicmp(id, hardwareId) == 0) return true;
  return false;
}

}  // namespace

int RemoveDevicesWithHardwareId(const wchar_t* hardwareId) {
  DeviceInfoSet set(SetupDiGetClassDevsW(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES));
  if (!set.IsValid()) return 0;
  int removed = 0;
  SP_DEVINFO_DATA device{};
  device.cbSize = sizeof(device);
  for (DWORD i = 0; SetupDiEnumDeviceInfo(set.Get(), i, &device); ++i)
    if (HasHardwareId(set.Get(), device, hardwareId) && SetupDiRemoveDevice(set.Get(), &device)) ++removed;
  return removed;
}

void RemovePortDevices() {
  RemoveDevicesWithHardwareId(kPackageHardwareId);
  RemoveDevicesWithHardwareId(kFakeHardwareId);
}

FakePortDevice::FakePortDevice() : m_set(SetupDiCreateDeviceInfoList(nullptr, nullptr)), m_device{} {
  m_device.cbSize = sizeof(m_device);
  if (m_set == INVALID_HANDLE_VALUE) return;
  static const GUID kPortsClass = {0x4D36E978, 0xE325, 0x11CE, {0xBF, 0xC1, 0x08, 0x00, 0x2B, 0xE1, 0x03, 0x18}};
  if (!SetupDiCreateDeviceInfoW(m_set, L"QuenlathTest", &kPortsClass, nullptr, nullptr, DICD_GENERATE_ID, &m_device))
    return;
  const wchar_t ids[] = L"ROZ\\QuenlathTest\0";
  if (!SetupDiSetDeviceRegistryPropertyW(m_set, &m_device, SPDRP_HARDWAREID, reinterpret_cast<const BYTE*>(ids),
                                         sizeof(ids)) ||
      !SetupDiCallClassInstaller(DIF_REGISTERDEVICE, m_set, &m_device) ||
      !SetupDiCreateDeviceInterfaceW(m_set, &m_device, &PortInterfaceGuid, nullptr, 0, nullptr))
    return;
  // Linked, as the driver marks its interface when the device starts.
  wchar_t instance[200];
  if (!SetupDiGetDeviceInstanceIdW(m_set, &m_device, instance, 200, nullptr)) return;
  std::wstring symbolic = std::wstring(L"##?#") + instance;
  for (wchar_t& c : symbolic) if (c == L'\\') c = L'#';
  const std::wstring guid = L"{DD434821-0576-4E83-9247-D1C9D415D388}";
  const std::wstring path =
      L"System\\CurrentControlSet\\Control\\DeviceClasses\\" + guid + L"\\" + symbolic + L"#" + guid + L"\\#\\Control";
  Key key;
  const DWORD linked = 1;
  m_ok = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key.h, nullptr) ==
             ERROR_SUCCESS &&
         RegSetValueExW(key.h, L"Linked", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&linked), sizeof(linked)) ==
             ERROR_SUCCESS;
}

FakePortDevice::~FakePortDevice() {
  if (m_set == INVALID_HANDLE_VALUE) return;
  (void)SetupDiRemoveDevice(m_set, &m_device);  // may not have been registered
  SetupDiDestroyDeviceInfoList(m_set);
}

bool FakePortDevice::SetPortNameRaw(DWORD type, const void* data, DWORD bytes) {
  Key key;
  key.h = SetupDiCreateDevRegKeyW(m_set, &m_device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, nullptr, nullptr);
  if (key.h == INVALID_HANDLE_VALUE) return false;
  return RegSetValueExW(key.h, L"PortName", 0, type, static_cast<const BYTE*>(data), bytes) == ERROR_SUCCESS;
}

bool FakePortDevice::SetPortName(const std::wstring& name) {
  return SetPortNameRaw(REG_SZ, name.c_str(), static_cast<DWORD>((name.size() + 1) * sizeof(wchar_t)));
}

bool FakePortDevice::SetDescription(const std::wstring& text) {
  return SetupDiSetDeviceRegistryPropertyW(m_set, &m_device, SPDRP_DEVICEDESC, reinterpret_cast<const BYTE*>(text.c_str()),
                                           static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) != FALSE;
}

std::wstring FakePortDevice::PortName() const {
  Key key;
  key.h = SetupDiOpenDevRegKey(m_set, const_cast<SP_DEVINFO_DATA*>(&m_device), DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
  if (key.h == INVALID_HANDLE_VALUE) return L"<no key>";
  wchar_t name[100];
  return ReadPortName(key.h, name, 100) ? name : L"<unreadable>";
}

std::wstring FakePortDevice::FriendlyName() const {
  wchar_t text[200] = {};
  SetupDiGetDeviceRegistryPropertyW(m_set, const_cast<SP_DEVINFO_DATA*>(&m_device), SPDRP_FRIENDLYNAME, nullptr,
                                    reinterpret_cast<BYTE*>(text), sizeof(text) - sizeof(wchar_t), nullptr);
  return text;
}

int RunProcess(const std::wstring& commandLine, const std::wstring& currentDir, DWORD timeoutMs) {
  std::wstring line = commandLine;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                      currentDir.empty() ? nullptr : currentDir.c_str(), &si, &pi))
    return -1;
  int result = -1;
  if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0) {
    DWORD code = 0;
    if (GetExitCodeProcess(pi.hProcess, &code)) result = static_cast<int>(code);
  } else {
    TerminateProcess(pi.hProcess, 99);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return result;
}

DeviceMapScope::DeviceMapScope(const wchar_t* keyPath) : m_path(keyPath) { m_saved = Values(); }

DeviceMapScope::~DeviceMapScope() { Replace(m_saved); }

DeviceMapValues DeviceMapScope::Values() const {
  DeviceMapValues values;
  Key key;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, KEY_READ, &key.h) != ERROR_SUCCESS) return values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    wchar_t data[256] = {};
    DWORD nameChars = 256, bytes = sizeof(data) - sizeof(wchar_t);
    if (RegEnumValueW(key.h, i, name, &nameChars, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &bytes) !=
        ERROR_SUCCESS)
      break;
    data[bytes / sizeof(wchar_t)] = L'\0';
    values.emplace_back(name, data);
  }
  return values;
}

void DeviceMapScope::Replace(const DeviceMapValues& values) {
  Key key;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, m_path.c_str(), 0, nullptr, REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr,
                      &key.h, nullptr) != ERROR_SUCCESS)
    return;
  for (const auto& old : Values()) RegDeleteValueW(key.h, old.first.c_str());
  for (const auto& v : values)
    RegSetValueExW(key.h, v.first.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(v.second.c_str()),
                   static_cast<DWORD>((v.second.size() + 1) * sizeof(wchar_t)));
}

PortDeviceTest::PortDeviceTest(const DeviceMapValues& serial, const DeviceMapValues& parallel) {
  RemovePortDevices();
  m_serial.Replace(serial);
  m_parallel.Replace(parallel);
}

PortDeviceTest::~PortDeviceTest() { RemoveDevicesWithHardwareId(kPackageHardwareId); }
