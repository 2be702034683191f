#include "soposprinter.h"

#include "PortIo.h"

namespace {

constexpr long serviceObjectVersion = 1011001;

// GS a n: the printer's automatic status back off (0) or on (FF).
const BYTE statusBackOff[] = {0x1D, 0x61, 0x00};
const BYTE statusBackOn[] = {0x1D, 0x61, 0xFF};

}  // namespace

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
    case 8: *pNumber = serviceObjectVersion; break;
    case 9: *pNumber = State; break;
    default: *pNumber = 0; break;
    }
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::SetPropertyNumber(LONG PropIndex, LONG Number)
{
    if (PropIndex != 3) return S_OK;
    // DeviceEnabled: only the changes 1 -> 0 and 0 -> 1 do anything; the
    // state follows even when no port is open or the write fails.
    if (DeviceEnabled && Number == 0) {
        if (PortHandle) (void)WriteToPort(PortHandle.Get(), statusBackOff, sizeof statusBackOff);
        DeviceEnabled = 0;
    } else if (!DeviceEnabled && Number == 1) {
        if (PortHandle) (void)WriteToPort(PortHandle.Get(), statusBackOn, sizeof statusBackOn);
        DeviceEnabled = 1;
    }
    return S_OK;
}
