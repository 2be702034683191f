// OposControlStandIn.dll: a stand-in OPOS control object for the set-up
// utility's tests. Late-bound only: it knows the names Open, ClaimDevice,
// DeviceEnabled, CheckHealth, ReleaseDevice, Close and ResultCodeExtended,
// records every call with the types of its arguments, and answers from its
// script or by driving the real service object (StandInControl).
#include "ControlScript.h"
#include "StandInControl.h"

#include "com/ComModule.h"
#include "com/ComObject.h"

#include <oleauto.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using testkit::Arg;
using testkit::StandInControl;

testkit::ControlScript Script;
std::vector<std::wstring> CallLog;
LONG LiveObjects = 0;

enum Member : DISPID { Open = 1, ClaimDevice, DeviceEnabled, CheckHealth, ReleaseDevice, Close, ResultCodeExtended };
const wchar_t* const MemberNames[] = {L"Open", L"ClaimDevice", L"DeviceEnabled", L"CheckHealth",
                                      L"ReleaseDevice", L"Close", L"ResultCodeExtended"};

std::wstring Describe(const VARIANT& v)
{
    wchar_t text[64];
    switch (V_VT(&v)) {
    case VT_BSTR:
        return std::wstring(L"BSTR:") + (V_BSTR(&v) ? V_BSTR(&v) : L"");
    case VT_I4:
        swprintf(text, 64, L"I4:%ld", static_cast<long>(V_I4(&v)));
        return text;
    case VT_I2:
        swprintf(text, 64, L"I2:%d", V_I2(&v));
        return text;
    default:
        swprintf(text, 64, L"VT%u", V_VT(&v));
        return text;
    }
}

std::wstring KindOf(WORD flags, const DISPPARAMS& params)
{
    if (flags == DISPATCH_METHOD) return L"method";
    if (flags == DISPATCH_PROPERTYGET) return L"get";
    if (flags == DISPATCH_PROPERTYPUT && params.cNamedArgs == 1 && params.rgdispidNamedArgs[0] == DISPID_PROPERTYPUT)
        return L"put";
    wchar_t text[32];
    swprintf(text, 32, L"flags%u/named%u", flags, params.cNamedArgs);
    return text;
}

LONG NumberOf(const VARIANT& v)
{
    VARIANT n;
    VariantInit(&n);
    if (FAILED(VariantChangeType(&n, const_cast<VARIANT*>(&v), 0, VT_I4))) return 0;
    return V_I4(&n);
}

class ControlObject : public IDispatch
{
public:
    ~ControlObject()
    {
        Service.reset();  // a forwarded device left open is closed here
        CallLog.emplace_back(L"release");
        InterlockedDecrement(&LiveObjects);
    }

    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }

    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override
    {
        NamesLcid = lcid;
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            ids[i] = DISPID_UNKNOWN;
            if (_wcsicmp(names[i], Script.UnknownName) != 0)
                for (DISPID k = 0; k < 7; ++k)
                    if (_wcsicmp(names[i], MemberNames[k]) == 0) ids[i] = k + 1;
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }

    STDMETHODIMP Invoke(DISPID id, REFIID, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) override
    {
        if (id < Open || id > ResultCodeExtended) return DISP_E_MEMBERNOTFOUND;
        std::wstring line = std::wstring(MemberNames[id - 1]) + L" " + KindOf(flags, *params);
        for (UINT i = params->cArgs; i-- > 0;) line += L" " + Describe(params->rgvarg[i]);
        if (lcid != LOCALE_USER_DEFAULT || NamesLcid != LOCALE_USER_DEFAULT) {
            wchar_t text[48];
            swprintf(text, 48, L" lcid=%lx/%lx", NamesLcid, lcid);
            line += text;
        }
        CallLog.push_back(line);

        const VARIANT* arg = params->cArgs ? &params->rgvarg[params->cArgs - 1] : nullptr;
        const LONG answer = Script.Forward ? Forward(static_cast<Member>(id), arg) : Scripted(static_cast<Member>(id));
        if (result) {
            VariantInit(result);
            V_VT(result) = VT_I4;
            V_I4(result) = answer;
        }
        return S_OK;
    }

    static const com::InterfaceEntry<ControlObject> Interfaces[1];

protected:
    explicit ControlObject(const wchar_t* deviceClass)
    {
        InterlockedIncrement(&LiveObjects);
        CallLog.push_back(std::wstring(L"create ") + deviceClass);
    }

private:
    static LONG Scripted(Member id)
    {
        switch (id) {
        case Open: return Script.OpenResult;
        case ClaimDevice: return Script.ClaimResult;
        case ResultCodeExtended: return Script.ResultCodeExtended;
        default: return 0;
        }
    }

    LONG Forward(Member id, const VARIANT* arg)
    {
        if (id == Open) {
            Service = std::make_unique<StandInControl>();
            return Service->Open(arg && V_VT(arg) == VT_BSTR && V_BSTR(arg) ? V_BSTR(arg) : L"");
        }
        if (!Service) return testkit::OPOS_E_NOSERVICE;
        const LONG n = arg ? NumberOf(*arg) : 0;
        switch (id) {
        case ClaimDevice: return Service->ClaimDevice(n);
        case DeviceEnabled: Service->SetDeviceEnabled(n != 0); return 0;
        case CheckHealth: return Service->Call(L"CheckHealth", StandInControl::Args(Arg::Long(n)));
        case ReleaseDevice: return Service->ReleaseDevice();
        case ResultCodeExtended: return Service->ResultCodeExtended();
        case Close: {
            const LONG closed = Service->Close();
            Service.reset();
            return closed;
        }
        default: return 0;
        }
    }

    LCID NamesLcid = LOCALE_USER_DEFAULT;
    std::unique_ptr<StandInControl> Service;
};

const com::InterfaceEntry<ControlObject> ControlObject::Interfaces[1] = {
    {&IID_IDispatch, com::CastTo<ControlObject, IDispatch>},
};

// The two classes differ only in the class name they record.
struct PosPrinterControl : ControlObject {
    PosPrinterControl() : ControlObject(L"POSPrinter") {}
};
struct CashDrawerControl : ControlObject {
    CashDrawerControl() : ControlObject(L"CashDrawer") {}
};

HRESULT CreatePosPrinter(IUnknown* outer, REFIID iid, void** out)
{
    return com::CreateInstance<PosPrinterControl>(outer, iid, out);
}
HRESULT CreateCashDrawer(IUnknown* outer, REFIID iid, void** out)
{
    return com::CreateInstance<CashDrawerControl>(outer, iid, out);
}

const com::ClassEntry objectMap[] = {
    {&testkit::StandInPosPrinterClsid, CreatePosPrinter, nullptr},
    {&testkit::StandInCashDrawerClsid, CreateCashDrawer, nullptr},
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        com::TheModule().Init(objectMap, instance);
    else if (reason == DLL_PROCESS_DETACH)
        com::TheModule().Term();
    return TRUE;
}

STDAPI DllCanUnloadNow()
{
    return com::TheModule().CanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    return com::TheModule().GetClassObject(clsid, iid, out);
}

extern "C" void WINAPI StandInSetScript(const testkit::ControlScript* script)
{
    Script = *script;
    CallLog.clear();
}

extern "C" DWORD WINAPI StandInCallLog(wchar_t* buffer, DWORD chars)
{
    std::wstring all;
    for (const std::wstring& line : CallLog) all += line + L"\n";
    if (buffer && chars > all.size()) wcscpy(buffer, all.c_str());
    return static_cast<DWORD>(all.size() + 1);
}

extern "C" LONG WINAPI StandInLiveObjects()
{
    return LiveObjects;
}
