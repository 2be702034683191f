#pragma once

#include <string>
#include <windows.h>

// The service object's copy of one POSPrinter device key
// (SOFTWARE\OLEforRetail\ServiceOPOS\POSPrinter\<device>). The five serial
// fields hold line settings (or KeepPortSetting) once loaded, not indexes;
// HandShake is a handshake code that also covers XonXoff.
class DeviceConfig
{
public:
    DeviceConfig() = default;
    ~DeviceConfig() = default;

    // Reads the device's values, starting from a new record: missing values
    // and values of the wrong type or too long keep a new record's value.
    // Returns whether the key could be opened (for reading only).
    bool Load(const wchar_t* deviceName);

    // One REG_SZ or REG_EXPAND_SZ value (taken unexpanded, at most 255 characters).
    static LONG ReadString(HKEY key, const wchar_t* name, std::wstring& field);
    // One REG_DWORD value.
    static LONG ReadDwordValue(HKEY key, const wchar_t* name, DWORD& field);

    std::wstring DeviceName;
    std::wstring DeviceDesc;
    std::wstring Description;
    DWORD DeviceID = 0;
    std::wstring GroupID;
    std::wstring DefPort;
    std::wstring Port;
    DWORD PortFlag = 0;
    std::wstring PrinterDllName;
    std::wstring RegFormatType;
    std::wstring Service;
    std::wstring Version;
    DWORD Baudrate = 0;
    DWORD BitLength = 0;
    DWORD HandShake = 0;
    DWORD Parity = 0;
    DWORD Stop = 0;
    DWORD Timeout = 0;
    DWORD XonXoff = 0;
    DWORD BmpFMemSize = 0;
    DWORD CapASB = 0;
    DWORD CapRealtimeKick = 0;
    DWORD IdleSleep = 0;
    DWORD InstKey = 0;
    DWORD InternalVersion = 0;
    DWORD OptionBmpRaster = 0;
    DWORD OptionFirmVersion = 0;
    DWORD OptionPaperInvariable = 0;
    DWORD OutputBuf = 0;
    DWORD OutputDK = 0;
    DWORD OutputLD = 0;
    DWORD OutputMax = 0;
    DWORD OutputMICR = 0;
    DWORD OutputMin = 0;
    DWORD PulseUNITTime = 0;
    DWORD StatsBarcodePrintedCount = 0;
};
