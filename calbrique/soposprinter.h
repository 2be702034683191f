#pragma once

#include "Calbrique.h"
#include "DeviceConfig.h"
#include "OposCodes.h"
#include "PropertyState.h"
#include "StatusReader.h"
#include "TransactionBuffer.h"
#include "com/ComObject.h"
#include "com/ComPtr.h"
#include "com/DispatchImpl.h"
#include "com/Handle.h"

#include <atomic>
#include <memory>

// The OPOS POSPrinter service object, driven by the POSPrinter control
// object through ISOPOSPrinter. Every method returns S_OK; OPOS results go
// to the last parameter and ResultCode.
class CSOPOSPrinter : public com::DispatchImpl<ISOPOSPrinter, &IID_ISOPOSPrinter>
{
public:
    static const com::InterfaceEntry<CSOPOSPrinter> Interfaces[2];
    static HRESULT UpdateRegistry(bool doRegister);

    CSOPOSPrinter();
    // A still-claimed object releases its port and stops its reader first.
    virtual ~CSOPOSPrinter();
    CSOPOSPrinter(const CSOPOSPrinter&) = delete;
    CSOPOSPrinter& operator=(const CSOPOSPrinter&) = delete;

    STDMETHODIMP COFreezeEvents(VARIANT_BOOL Freeze, LONG* pRC) override;
    STDMETHODIMP GetPropertyNumber(LONG PropIndex, LONG* pNumber) override;
    STDMETHODIMP SetPropertyNumber(LONG PropIndex, LONG Number) override;
    STDMETHODIMP GetPropertyString(LONG PropIndex, BSTR* pString) override;
    STDMETHODIMP SetPropertyString(LONG PropIndex, BSTR String) override;
    STDMETHODIMP OpenService(BSTR DeviceClass, BSTR DeviceName, IDispatch* pDispatch, LONG* pRC) override;
    STDMETHODIMP CheckHealth(LONG Level, LONG* pRC) override;
    STDMETHODIMP ClaimDevice(LONG Timeout, LONG* pRC) override;
    STDMETHODIMP ClearOutput(LONG* pRC) override;
    STDMETHODIMP CloseService(LONG* pRC) override;
    STDMETHODIMP DirectIO(LONG Command, LONG* pData, BSTR* pString, LONG* pRC) override;
    STDMETHODIMP ReleaseDevice(LONG* pRC) override;
    STDMETHODIMP BeginInsertion(LONG Timeout) override;
    STDMETHODIMP BeginRemoval(LONG Timeout) override;
    STDMETHODIMP CutPaper(LONG Percentage) override;
    STDMETHODIMP EndInsertion() override;
    STDMETHODIMP EndRemoval() override;
    STDMETHODIMP PrintBarCode(LONG Station, BSTR Data, LONG Symbology, LONG Height, LONG Width, LONG Alignment,
                              LONG TextPosition) override;
    STDMETHODIMP PrintBitmap(LONG Station, BSTR FileName, LONG Width, LONG Alignment) override;
    STDMETHODIMP PrintImmediate(LONG Station, BSTR Data) override;
    STDMETHODIMP PrintNormal(LONG Station, BSTR Data) override;
    STDMETHODIMP PrintTwoNormal(LONG Station, BSTR Data1, BSTR Data2) override;
    STDMETHODIMP RotatePrint(LONG Station, LONG Rotation) override;
    STDMETHODIMP SetBitmap(LONG BitmapNumber, LONG Station, BSTR FileName, LONG Width, LONG Alignment) override;
    STDMETHODIMP SetLogo(LONG Location, BSTR Data) override;
    STDMETHODIMP TransactionPrint(LONG Station, LONG Control) override;
    STDMETHODIMP ValidateData(LONG Station, BSTR Data) override;
    STDMETHODIMP ChangePrintSide(LONG Side) override;
    STDMETHODIMP MarkFeed(LONG Type) override;
    STDMETHODIMP ResetStatistics(BSTR* pStatisticsBuffer, LONG* pRC) override;
    STDMETHODIMP RetrieveStatistics(BSTR* pStatisticsBuffer, LONG* pRC) override;
    STDMETHODIMP UpdateStatistics(BSTR StatisticsBuffer, LONG* pRC) override;
    STDMETHODIMP CompareFirmwareVersion(BSTR FirmwareFileName, LONG* pResult, LONG* pRC) override;
    STDMETHODIMP UpdateFirmware(BSTR FirmwareFileName, LONG* pRC) override;
    STDMETHODIMP ClearPrintArea() override;
    STDMETHODIMP PageModePrint(LONG Control) override;
    STDMETHODIMP PrintMemoryBitmap(LONG Station, BSTR Data, LONG Type, LONG Width, LONG Alignment) override;

private:
    // Stores the code in ResultCode and returns it.
    long SetResultCode(long code);
    // What a method with a result parameter reports: the code goes to
    // ResultCode and, when pRC is given, to *pRC.
    void Report(LONG* pRC, long code);
    // Disables an enabled device, closes the port, stops the status reader
    // (waiting up to 2000 ms for it to end) and leaves the claimed state;
    // returns the result ReleaseDevice reports. Every end of a claim goes here.
    long EndClaim();
    // Turns the printer's automatic status back off and DeviceEnabled to 0,
    // even when no port is open or the write fails.
    void Disable();
    // Writes printer bytes to the claimed port; no port claimed, or a write
    // that failed or timed out, sets ResultCode, a write that succeeded leaves it.
    void PrintToPort(const void* data, DWORD size);

    DeviceConfig Config;
    TransactionBuffer Transaction;
    std::atomic<long> ResultCode{0};          // also stored by the status reader
    std::atomic<long> ResultCodeExtended{0};  // stored by the status reader only
    long Claimed = 0;
    long DeviceEnabled = 0;
    long DataEventEnabled = 0;
    long FreezeEvents = 0;
    long FlagWhenIdle = 0;
    long State = 0;
    long OutputID = 0;
    com::Handle PortHandle;
    DISPID EventDispIds[5] = {};
    PropertyState Props;
    std::shared_ptr<StatusReader> StatusThread;  // shared with its thread, which may outlive the claim
    com::ComPtr<IDispatch> ControlObject;
};
