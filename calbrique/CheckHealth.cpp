#include "soposprinter.h"

#include "CheckHealthReport.h"
#include "CodePage.h"
#include "PortIo.h"

// CheckHealth prints its report straight to the port, past the transaction
// buffer, and reports whether it could.
STDMETHODIMP CSOPOSPrinter::CheckHealth(LONG Level, LONG* pRC)
{
    long code = OPOS_SUCCESS;
    if (!PortHandle) {
        code = OPOS_E_NOTCLAIMED;
    } else if (!DeviceEnabled) {
        code = OPOS_E_DISABLED;
    } else {
        const std::string report = CheckHealthReport(Level, ToCodePage(Config.DeviceName.c_str(), CP_THREAD_ACP));
        const WriteResult written = WriteToPort(PortHandle.Get(), report.data(), static_cast<DWORD>(report.size()));
        code = written == WriteResult::Written ? OPOS_SUCCESS : OPOS_E_FAILURE;
    }
    Report(pRC, code);
    return S_OK;
}
