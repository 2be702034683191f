#include "soposprinter.h"

STDMETHODIMP CSOPOSPrinter::GetPropertyString(LONG PropIndex, BSTR* pString)
{
    if (!pString) return S_OK;
    const std::wstring* text = nullptr;
    switch (PropIndex) {
    case 1000001: text = &Props.CheckHealthText; break;
    case 1000002: text = &Config.DeviceDesc; break;
    case 1000003: text = &Config.DeviceName; break;
    case 1000004: text = &Config.Description; break;
    case 1008001: text = &Props.CharacterSetList; break;
    case 1008002: text = &Props.Journal.LineCharsList; break;
    case 1008003: text = &Props.Receipt.LineCharsList; break;
    case 1008004: text = &Props.Slip.LineCharsList; break;
    case 1008005: text = &Props.ErrorString; break;
    case 1008006: text = &Props.FontTypefaceList; break;
    case 1008007: text = &Props.Receipt.BarCodeRotationList; break;
    case 1008008: text = &Props.Slip.BarCodeRotationList; break;
    case 1008009: text = &Props.Receipt.BitmapRotationList; break;
    case 1008010: text = &Props.Slip.BitmapRotationList; break;
    case 1008011: text = &Props.PageModeArea; break;
    case 1008012: text = &Props.PageModePrintArea; break;
    default: break;
    }
    // An empty text is an empty BSTR; an index without a text a null one.
    *pString = text ? SysAllocString(text->c_str()) : nullptr;
    return S_OK;
}
