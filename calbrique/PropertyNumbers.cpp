#include "soposprinter.h"

#include "PortIo.h"
#include "PropertyTables.h"

namespace {

// GS a n: the printer's automatic status back off (0) or on (FF).
const BYTE statusBackOff[] = {0x1D, 0x61, 0x00};
const BYTE statusBackOn[] = {0x1D, 0x61, 0xFF};

}  // namespace

void CSOPOSPrinter::Disable()
{
    if (PortHandle) (void)WriteToPort(PortHandle.Get(), statusBackOff, sizeof statusBackOff);
    DeviceEnabled = 0;
}

STDMETHODIMP CSOPOSPrinter::GetPropertyNumber(LONG PropIndex, LONG* pNumber)
{
    if (!pNumber) return S_OK;
    switch (PropIndex) {
    case 1: *pNumber = Claimed; break;
    case 2: *pNumber = DataEventEnabled; break;
    case 3: *pNumber = DeviceEnabled; break;
    case 4: *pNumber = FreezeEvents; break;
    case 5: *pNumber = OutputID; break;
    case 6: *pNumber = ResultCode; break;
    case 7: *pNumber = ResultCodeExtended; break;
    case 9: *pNumber = State; break;
    case 10: *pNumber = Props.AutoDisable; break;
    case 11: *pNumber = Props.BinaryConversion; break;
    case 8001: *pNumber = Props.AsyncMode; break;
    case 8002: *pNumber = Props.CharacterSet; break;
    case 8005: *pNumber = FlagWhenIdle; break;
    case 8046: *pNumber = Props.PageModeDescriptor; break;
    case 8047: *pNumber = Props.PageModeHorizontalPosition; break;
    case 8048: *pNumber = Props.PageModePrintDirection; break;
    case 8049: *pNumber = Props.PageModeStation; break;
    case 8050: *pNumber = Props.PageModeVerticalPosition; break;
    default: {
        const FixedNumber fixed = FixedPropertyNumber(PropIndex);
        if (fixed.Written) *pNumber = fixed.Value;  // else the caller's value stays
        break;
    }
    }
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::SetPropertyNumber(LONG PropIndex, LONG Number)
{
    switch (PropIndex) {
    case 3:
        // DeviceEnabled: only the changes 1 -> 0 and 0 -> 1 do anything; the
        // state follows even when no port is open or the write fails.
        if (DeviceEnabled && Number == 0) {
            Disable();
        } else if (!DeviceEnabled && Number == 1) {
            if (PortHandle) (void)WriteToPort(PortHandle.Get(), statusBackOn, sizeof statusBackOn);
            DeviceEnabled = 1;
        }
        break;
    case 10: Props.AutoDisable = Number; break;
    case 11: Props.BinaryConversion = Number; break;
    case 8001: Props.AsyncMode = Number; break;
    case 8002: Props.CharacterSet = Number; break;  // the code page of the print methods
    case 8005: FlagWhenIdle = Number; break;
    default: break;  // not settable
    }
    return S_OK;
}
