#include "soposprinter.h"

// The methods this service object answers with success and nothing else:
// no member, no out parameter and no result code is touched.

STDMETHODIMP CSOPOSPrinter::COFreezeEvents(VARIANT_BOOL, LONG*) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::SetPropertyString(LONG, BSTR) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::DirectIO(LONG, LONG*, BSTR*, LONG*) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::BeginInsertion(LONG) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::BeginRemoval(LONG) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::EndInsertion() { return S_OK; }
STDMETHODIMP CSOPOSPrinter::EndRemoval() { return S_OK; }
STDMETHODIMP CSOPOSPrinter::PrintBitmap(LONG, BSTR, LONG, LONG) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::PrintTwoNormal(LONG, BSTR, BSTR) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::RotatePrint(LONG, LONG) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::SetBitmap(LONG, LONG, BSTR, LONG, LONG) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::SetLogo(LONG, BSTR) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::ValidateData(LONG, BSTR) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::ChangePrintSide(LONG) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::MarkFeed(LONG) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::ResetStatistics(BSTR*, LONG*) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::RetrieveStatistics(BSTR*, LONG*) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::UpdateStatistics(BSTR, LONG*) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::CompareFirmwareVersion(BSTR, LONG*, LONG*) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::UpdateFirmware(BSTR, LONG*) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::ClearPrintArea() { return S_OK; }
STDMETHODIMP CSOPOSPrinter::PageModePrint(LONG) { return S_OK; }
STDMETHODIMP CSOPOSPrinter::PrintMemoryBitmap(LONG, BSTR, LONG, LONG, LONG) { return S_OK; }
