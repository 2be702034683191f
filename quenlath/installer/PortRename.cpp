#include "PortRename.h"

#include <cwchar>
#include <string>

#include "PortDevices.h"
#include "com/RegKey.h"
#include "ui/WaitCursor.h"

namespace {

// The longest PortName compared with the old name, terminator included.
const DWORD kNameChars = 100;
// The device description that the driver package's INF gives.
const wchar_t kPackageDescription[] = L"Quenlath";

// Property change, disable, enable: the device restarts and reads PortName.
// The class installer's results are not looked at.
void RestartDevice(HDEVINFO set, SP_DEVINFO_DATA& device)
{
    for (DWORD change : {DICS_PROPCHANGE, DICS_DISABLE, DICS_ENABLE}) {
        SP_PROPCHANGE_PARAMS params{};
        params.ClassInstallHeader.cbSize = sizeof(SP_CLASSINSTALL_HEADER);
        params.ClassInstallHeader.InstallFunction = DIF_PROPERTYCHANGE;
        params.StateChange = change;
        params.Scope = DICS_FLAG_GLOBAL;
        params.HwProfile = 0;
        (void)SetupDiSetClassInstallParamsW(set, &device, &params.ClassInstallHeader, sizeof(params));
        (void)SetupDiCallClassInstaller(DIF_PROPERTYCHANGE, set, &device);
    }
}

// "<description> (<name>)"; without a description the package's own one, as
// a new port gets it.
void SetFriendlyName(HDEVINFO set, SP_DEVINFO_DATA& device, const wchar_t* newName)
{
    wchar_t description[101] = {};  // 100 characters of data, always terminated
    const bool described =
        SetupDiGetDeviceRegistryPropertyW(set, &device, SPDRP_DEVICEDESC, nullptr, reinterpret_cast<BYTE*>(description),
                                          100 * sizeof(wchar_t), nullptr) &&
        description[0] != L'\0';
    const std::wstring friendly = std::wstring(described ? description : kPackageDescription) + L" (" + newName + L")";
    (void)SetupDiSetDeviceRegistryPropertyW(set, &device, SPDRP_FRIENDLYNAME,
                                            reinterpret_cast<const BYTE*>(friendly.c_str()),
                                            static_cast<DWORD>((friendly.size() + 1) * sizeof(wchar_t)));
}

} // namespace

bool ChangePortName(HWND owner, const wchar_t* oldName, const wchar_t* newName)
{
    DeviceInfoSet set(OpenPresentPortDevices(owner));
    if (!set.IsValid())
        return false;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set.Get(), index, &device); ++index) {
        const HKEY opened =
            SetupDiOpenDevRegKey(set.Get(), &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ | KEY_WRITE);
        if (opened == INVALID_HANDLE_VALUE)
            continue;
        CRegKey key(opened);
        wchar_t name[kNameChars];
        if (!ReadPortName(key.Get(), name, kNameChars) || std::wcscmp(name, oldName) != 0)
            continue;
        // This is the device: whatever the write gives, no other one is changed.
        if (key.SetStringValue(L"PortName", newName) != ERROR_SUCCESS)
            return false;
        CWaitCursor wait;
        RestartDevice(set.Get(), device);
        SetFriendlyName(set.Get(), device, newName);
        return true;
    }
    return false;
}
