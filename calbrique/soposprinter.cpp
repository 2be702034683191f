#include "soposprinter.h"

#include "PortIo.h"
#include "SerialConfig.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr UINT registryScriptId = 101;
constexpr DWORD readerWaitMs = 2000;

const wchar_t* const eventNames[] = {L"SOData", L"SODirectIO", L"SOError", L"SOOutputComplete", L"SOStatusUpdate"};

void DebugTrace(const char* format, unsigned long value)
{
    char line[64];
    std::snprintf(line, sizeof line, format, value);
    OutputDebugStringA(line);
}

}  // namespace

const com::InterfaceEntry<CSOPOSPrinter> CSOPOSPrinter::Interfaces[2] = {
    {&IID_ISOPOSPrinter, com::CastTo<CSOPOSPrinter, ISOPOSPrinter>},
    {&IID_IDispatch, com::CastTo<CSOPOSPrinter, IDispatch>},
};

HRESULT CSOPOSPrinter::UpdateRegistry(bool doRegister)
{
    return com::TheModule().UpdateRegistryFromResource(registryScriptId, doRegister);
}

CSOPOSPrinter::CSOPOSPrinter() = default;

CSOPOSPrinter::~CSOPOSPrinter()
{
    if (Claimed) EndClaim();
}

long CSOPOSPrinter::SetResultCode(long code)
{
    ResultCode = code;
    return code;
}

void CSOPOSPrinter::Report(LONG* pRC, long code)
{
    const long reported = SetResultCode(code);
    if (pRC) *pRC = reported;
}

long CSOPOSPrinter::EndClaim()
{
    if (DeviceEnabled) Disable();  // while the port is still open
    const long code = PortHandle ? OPOS_SUCCESS : OPOS_E_CLOSED;
    PortHandle.Close();
    if (StatusThread) {
        StatusThread->Stop();  // from here on it leaves this object alone
        if (!StatusThread->Wait(readerWaitMs))
            DebugTrace("status reader still running after %lu ms: it ends on its own\n", readerWaitMs);
        StatusThread.reset();
    }
    Claimed = 0;
    return code;
}

STDMETHODIMP CSOPOSPrinter::OpenService(BSTR DeviceClass, BSTR DeviceName, IDispatch* pDispatch, LONG* pRC)
{
    ControlObject = com::ComPtr<IDispatch>(pDispatch);
    if (pDispatch) {
        // The ids are looked up as a control object expects; no event is fired.
        (void)pDispatch->GetIDsOfNames(IID_NULL, const_cast<LPOLESTR*>(eventNames), 5, LOCALE_SYSTEM_DEFAULT,
                                       EventDispIds);
    }
    if (std::wcscmp(DeviceClass ? DeviceClass : L"", L"POSPrinter") != 0) {
        Report(pRC, OPOS_ORS_NOTSUPPORTED);
        return S_OK;
    }
    if (Claimed) EndClaim();  // opening again gives up the earlier claim's port and reader

    (void)Config.Load(DeviceName ? DeviceName : L"");  // a device without a key opens with what Config holds

    Props.AutoDisable = 0;
    Props.BinaryConversion = 0;
    Props.CharacterSet = 437;
    Props.CharacterSetList = L"437";
    Props.AsyncMode = 0;
    Props.Receipt.BarCodeRotationList = L"0";
    Props.Receipt.BitmapRotationList = L"0";
    Props.Receipt.LineCharsList = L"48";
    Props.PageModeHorizontalPosition = 0;
    Props.PageModeVerticalPosition = 0;
    Props.PageModePrintDirection = 1;
    Props.PageModeStation = 2;
    Props.PageModeDescriptor = 0;
    State = OPOS_S_IDLE;
    Claimed = 0;
    DeviceEnabled = 0;
    FreezeEvents = 0;
    FlagWhenIdle = 0;

    Report(pRC, OPOS_SUCCESS);
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::ClaimDevice(LONG /*Timeout*/, LONG* pRC)
{
    if (Claimed) {
        Report(pRC, OPOS_SUCCESS);
        return S_OK;
    }
    if (Config.Port.empty()) {  // no port configured: nothing to open
        Report(pRC, OPOS_E_NOEXIST);
        return S_OK;
    }
    const std::wstring path = L"\\\\.\\" + Config.Port;
    PortHandle = com::Handle(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         PortOpenFlags, nullptr));
    if (!PortHandle) {
        const DWORD error = GetLastError();
        DebugTrace("CreateFile => %lXH\n", error);
        const bool missing = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        Report(pRC, missing ? OPOS_E_NOEXIST : OPOS_E_FAILURE);
        return S_OK;
    }
    if (Config.Port.compare(0, 3, L"COM") == 0) {
        SerialConfig ccfg(Config.Baudrate, static_cast<BYTE>(Config.BitLength), static_cast<BYTE>(Config.Parity),
                          static_cast<BYTE>(Config.Stop), static_cast<BYTE>(Config.HandShake));
        ccfg.ReadState(PortHandle.Get());
        ccfg.Apply(PortHandle.Get());
    }
    StatusThread = StatusReader::Start(PortHandle.Get(), ResultCode, ResultCodeExtended);
    if (!StatusThread) {
        DebugTrace("status reader not started: %lu\n", GetLastError());
        PortHandle.Close();
        Report(pRC, OPOS_E_FAILURE);
        return S_OK;
    }
    Claimed = 1;
    Report(pRC, OPOS_SUCCESS);
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::ReleaseDevice(LONG* pRC)
{
    if (!Claimed) return S_OK;
    // Reported after the reader has ended, so that it cannot overwrite the result.
    Report(pRC, EndClaim());
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::CloseService(LONG* pRC)
{
    if (Claimed) (void)EndClaim();  // CloseService reports success whatever the release gave
    DeviceEnabled = 0;              // also when enabled without a claim
    Claimed = 0;
    Report(pRC, OPOS_SUCCESS);
    return S_OK;
}
