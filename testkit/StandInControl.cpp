#include "StandInControl.h"

#include "DeviceKey.h"
#include "com/BStr.h"
#include "com/Variant.h"

#include <oleauto.h>

namespace testkit {

Arg::Arg()
{
    VariantInit(&V);
}

Arg::Arg(Arg&& other) noexcept : V(other.V)
{
    VariantInit(&other.V);
}

Arg::~Arg()
{
    (void)VariantClear(&V);  // frees an owned BSTR; references are not followed
}

Arg Arg::Long(long value)
{
    Arg a;
    V_VT(&a.V) = VT_I4;
    V_I4(&a.V) = value;
    return a;
}

Arg Arg::Bool(bool value)
{
    Arg a;
    V_VT(&a.V) = VT_BOOL;
    V_BOOL(&a.V) = value ? VARIANT_TRUE : VARIANT_FALSE;
    return a;
}

Arg Arg::Text(const wchar_t* text)
{
    Arg a;
    V_VT(&a.V) = VT_BSTR;
    V_BSTR(&a.V) = text ? SysAllocString(text) : nullptr;
    return a;
}

Arg Arg::Dispatch(IDispatch* object)
{
    Arg a;
    V_VT(&a.V) = VT_DISPATCH;
    V_DISPATCH(&a.V) = object;
    if (object) object->AddRef();
    return a;
}

Arg Arg::LongRef(LONG* value)
{
    Arg a;
    V_VT(&a.V) = VT_BYREF | VT_I4;
    V_I4REF(&a.V) = value;
    return a;
}

Arg Arg::TextRef(BSTR* text)
{
    Arg a;
    V_VT(&a.V) = VT_BYREF | VT_BSTR;
    V_BSTRREF(&a.V) = text;
    return a;
}

// The control object's own IDispatch: it knows the event names and takes
// every call to them.
class StandInControl::Events final : public IDispatch
{
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown || iid == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&Refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG n = InterlockedDecrement(&Refs);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        *count = 0;
        return S_OK;
    }
    STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        static const wchar_t* const known[] = {L"SOData", L"SODirectIO", L"SOError", L"SOOutputComplete",
                                               L"SOStatusUpdate"};
        HRESULT hr = S_OK;
        for (UINT i = 0; i < count; ++i) {
            Asked.emplace_back(names[i]);
            ids[i] = DISPID_UNKNOWN;
            for (DISPID k = 0; k < 5; ++k)
                if (_wcsicmp(names[i], known[k]) == 0) ids[i] = k + 1;
            if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
        }
        return hr;
    }
    STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override { return S_OK; }

    LONG Refs = 1;
    std::vector<std::wstring> Asked;
};

StandInControl::StandInControl() : OwnDispatch(new Events)
{
}

StandInControl::~StandInControl()
{
    if (ServiceObject) Close();
    OwnDispatch->Release();
}

long StandInControl::Open(const std::wstring& device, const wchar_t* deviceClass)
{
    ServiceObject.Reset();
    wchar_t progId[256];
    DWORD bytes = sizeof progId;
    LastHr = HRESULT_FROM_WIN32(RegGetValueW(HKEY_LOCAL_MACHINE, DeviceKey::PathOf(device).c_str(), nullptr,
                                             RRF_RT_REG_SZ, nullptr, progId, &bytes));
    if (FAILED(LastHr)) return OPOS_E_NOSERVICE;
    CLSID clsid;
    LastHr = CLSIDFromProgID(progId, &clsid);
    if (FAILED(LastHr)) return OPOS_E_NOSERVICE;
    LastHr = CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                              reinterpret_cast<void**>(ServiceObject.Receive()));
    if (FAILED(LastHr)) return OPOS_E_NOSERVICE;
    return Call(L"OpenService", Args(Arg::Text(deviceClass), Arg::Text(device.c_str()), Arg::Dispatch(OwnDispatch)));
}

long StandInControl::Close()
{
    const long result = Call(L"CloseService");
    ServiceObject.Reset();
    return result;
}

long StandInControl::Call(const wchar_t* method, std::vector<Arg> args)
{
    com::Variant result;
    return Call(method, std::move(args), result);
}

com::BStr StandInControl::GetPropertyString(long index)
{
    com::Variant result;
    Call(L"GetPropertyString", Args(Arg::Long(index)), result);
    com::BStr text;
    if (V_VT(result.Get()) == VT_BSTR) {
        *text.Receive() = V_BSTR(result.Get());  // taken over from the variant
        V_VT(result.Get()) = VT_EMPTY;
    }
    return text;
}

long StandInControl::Call(const wchar_t* method, std::vector<Arg> args, com::Variant& result)
{
    if (!ServiceObject) {
        LastHr = E_POINTER;
        return OPOS_E_NOSERVICE;
    }
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR name = const_cast<LPOLESTR>(method);
    LastHr = ServiceObject->GetIDsOfNames(IID_NULL, &name, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(LastHr)) return OPOS_E_NOSERVICE;

    std::vector<VARIANTARG> reversed;  // IDispatch takes the arguments last first
    for (auto it = args.rbegin(); it != args.rend(); ++it) reversed.push_back(it->Value());
    DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception{};
    UINT argError = 0;
    LastHr = ServiceObject->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, result.Receive(),
                                   &exception, &argError);
    if (FAILED(LastHr)) return OPOS_E_NOSERVICE;
    if (V_VT(result.Get()) == VT_I4) return V_I4(result.Get());
    return 0;
}

std::vector<std::wstring> StandInControl::EventNamesAsked() const
{
    return OwnDispatch->Asked;
}

unsigned long StandInControl::ReferencesHeldByOthers() const
{
    return static_cast<unsigned long>(OwnDispatch->Refs - 1);
}

}  // namespace testkit
