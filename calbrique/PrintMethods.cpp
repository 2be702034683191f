#include "soposprinter.h"

#include "CodePage.h"
#include "PortIo.h"
#include "PrinterCommands.h"

// The print methods: everything but PrintImmediate goes through the
// transaction buffer, which only TransactionPrint 12 writes to the port.
// Writes happen only on the claimed port; only output that could not be
// written (no port claimed, a transaction not held whole, a write that failed
// or timed out) is reported, in ResultCode.

namespace {

constexpr LONG PTR_TP_TRANSACTION = 11;
constexpr LONG PTR_TP_NORMAL = 12;

}  // namespace

void CSOPOSPrinter::PrintToPort(const void* data, DWORD size)
{
    if (!PortHandle) {
        (void)SetResultCode(OPOS_E_NOTCLAIMED);
        return;
    }
    switch (WriteToPort(PortHandle.Get(), data, size)) {
    case WriteResult::Written: break;
    case WriteResult::Failed: (void)SetResultCode(OPOS_E_FAILURE); break;
    case WriteResult::TimedOut: (void)SetResultCode(OPOS_E_TIMEOUT); break;
    }
}

STDMETHODIMP CSOPOSPrinter::PrintNormal(LONG /*Station*/, BSTR Data)
{
    const std::string text = ToCodePage(Data, PrintCodePage(Props.CharacterSet));
    Transaction.Append(static_cast<std::int32_t>(text.size()), text.data());
    State = OPOS_S_IDLE;
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::PrintImmediate(LONG /*Station*/, BSTR Data)
{
    const std::string text = ToCodePage(Data, PrintCodePage(Props.CharacterSet));
    PrintToPort(text.data(), static_cast<DWORD>(text.size()));
    State = OPOS_S_IDLE;
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::TransactionPrint(LONG /*Station*/, LONG Control)
{
    if (Control == PTR_TP_TRANSACTION) {
        StartTransaction(Transaction);
    } else if (Control == PTR_TP_NORMAL) {
        const std::uint8_t* data = nullptr;
        std::uint32_t count = 0;
        if (Transaction.Flatten(data, count))
            PrintToPort(data, count);
        else
            (void)SetResultCode(OPOS_E_FAILURE);  // a receipt cut short is not printed at all
        Transaction.Clear();  // also after a failed write: nothing is printed twice
    }
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::PrintBarCode(LONG /*Station*/, BSTR Data, LONG Symbology, LONG /*Height*/,
                                         LONG /*Width*/, LONG /*Alignment*/, LONG TextPosition)
{
    AppendBarCode(Transaction, ToCodePage(Data, CP_THREAD_ACP), Symbology, TextPosition);
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::CutPaper(LONG Percentage)
{
    AppendCut(Transaction, Percentage);
    return S_OK;
}

STDMETHODIMP CSOPOSPrinter::ClearOutput(LONG* /*pRC*/)
{
    Transaction.Clear();
    return S_OK;
}
