#include "DeviceConfig.h"

#include "SerialConfig.h"
#include "com/RegKey.h"

#include <cwchar>

namespace {

const wchar_t devicesKey[] = L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\";
constexpr size_t keyPathSize = 256;
constexpr size_t stringSize = 256;

// One value of the device key, in reading order: a string field or a number
// field, and for the serial indexes the table that maps them.
struct ConfigValue {
    const wchar_t* Name;
    std::wstring DeviceConfig::*Text;
    DWORD DeviceConfig::*Number;
    const SerialIndexTable* Map;
};

const ConfigValue configValues[] = {
    {L"DeviceName", &DeviceConfig::DeviceName, nullptr, nullptr},
    {L"DeviceDesc", &DeviceConfig::DeviceDesc, nullptr, nullptr},
    {L"Description", &DeviceConfig::Description, nullptr, nullptr},
    {L"DeviceID", nullptr, &DeviceConfig::DeviceID, nullptr},
    {L"GroupID", &DeviceConfig::GroupID, nullptr, nullptr},
    {L"DefPort", &DeviceConfig::DefPort, nullptr, nullptr},
    {L"Port", &DeviceConfig::Port, nullptr, nullptr},
    {L"PortFlag", nullptr, &DeviceConfig::PortFlag, nullptr},
    {L"PrinterDllName", &DeviceConfig::PrinterDllName, nullptr, nullptr},
    {L"RegFormatType", &DeviceConfig::RegFormatType, nullptr, nullptr},
    {L"Service", &DeviceConfig::Service, nullptr, nullptr},
    {L"Version", &DeviceConfig::Version, nullptr, nullptr},
    {L"Baudrate", nullptr, &DeviceConfig::Baudrate, &baud_sel},
    {L"BitLength", nullptr, &DeviceConfig::BitLength, &byte_sel},
    {L"HandShake", nullptr, &DeviceConfig::HandShake, &hand_sel},
    {L"Parity", nullptr, &DeviceConfig::Parity, &parity_sel},
    {L"Stop", nullptr, &DeviceConfig::Stop, &stop_sel},
    {L"Timeout", nullptr, &DeviceConfig::Timeout, nullptr},
    {L"XonXoff", nullptr, &DeviceConfig::XonXoff, nullptr},
    {L"BmpFMemSize", nullptr, &DeviceConfig::BmpFMemSize, nullptr},
    {L"CapASB", nullptr, &DeviceConfig::CapASB, nullptr},
    {L"CapRealtimeKick", nullptr, &DeviceConfig::CapRealtimeKick, nullptr},
    {L"IdleSleep", nullptr, &DeviceConfig::IdleSleep, nullptr},
    {L"InstKey", nullptr, &DeviceConfig::InstKey, nullptr},
    {L"InternalVersion", nullptr, &DeviceConfig::InternalVersion, nullptr},
    {L"OptionBmpRaster", nullptr, &DeviceConfig::OptionBmpRaster, nullptr},
    {L"OptionFirmVersion", nullptr, &DeviceConfig::OptionFirmVersion, nullptr},
    {L"OptionPaperInvariable", nullptr, &DeviceConfig::OptionPaperInvariable, nullptr},
    {L"OutputBuf", nullptr, &DeviceConfig::OutputBuf, nullptr},
    {L"OutputDK", nullptr, &DeviceConfig::OutputDK, nullptr},
    {L"OutputLD", nullptr, &DeviceConfig::OutputLD, nullptr},
    {L"OutputMax", nullptr, &DeviceConfig::OutputMax, nullptr},
    {L"OutputMICR", nullptr, &DeviceConfig::OutputMICR, nullptr},
    {L"OutputMin", nullptr, &DeviceConfig::OutputMin, nullptr},
    {L"PulseUNITTime", nullptr, &DeviceConfig::PulseUNITTime, nullptr},
    {L"StatsBarcodePrintedCount", nullptr, &DeviceConfig::StatsBarcodePrintedCount, nullptr},
};

}  // namespace

bool DeviceConfig::Load(const wchar_t* deviceName)
{
    *this = DeviceConfig();  // nothing of a device loaded before stays
    const wchar_t* name = deviceName ? deviceName : L"";
    const size_t prefix = wcslen(devicesKey);
    if (prefix + wcslen(name) >= keyPathSize) return false;  // does not fit the key path
    std::wstring path = devicesKey;
    path += name;

    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, path.c_str(), KEY_READ) != ERROR_SUCCESS) return false;
    for (const ConfigValue& value : configValues) {
        if (value.Text) {
            (void)ReadString(key.Get(), value.Name, this->*value.Text);  // an unreadable value keeps the field
            continue;
        }
        DWORD& field = this->*value.Number;
        (void)ReadDwordValue(key.Get(), value.Name, field);
        if (value.Map) field = MapSerialIndex(*value.Map, field);
    }
    // The set-up utility stores XON/XOFF as HandShake "Disable" with XonXoff 1.
    if (HandShake == FlowNone && XonXoff == 1) HandShake = FlowXonXoff;
    return true;
}

LONG DeviceConfig::ReadString(HKEY key, const wchar_t* name, std::wstring& field)
{
    wchar_t buffer[stringSize];
    DWORD type = 0;
    DWORD bytes = sizeof buffer;
    const LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &bytes);
    if (status != ERROR_SUCCESS) return status;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return ERROR_INVALID_DATATYPE;
    const size_t count = bytes / sizeof(wchar_t);
    if (bytes % sizeof(wchar_t) != 0 || (count > 0 && buffer[count - 1] != L'\0')) return ERROR_INVALID_DATA;
    field.assign(buffer, wcsnlen(buffer, count));
    return ERROR_SUCCESS;
}

LONG DeviceConfig::ReadDwordValue(HKEY key, const wchar_t* name, DWORD& field)
{
    DWORD value = 0;
    DWORD type = 0;
    DWORD bytes = sizeof value;
    const LONG status = RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &bytes);
    if (status != ERROR_SUCCESS) return status;
    if (type != REG_DWORD || bytes != sizeof value) return ERROR_INVALID_DATATYPE;
    field = value;
    return ERROR_SUCCESS;
}
