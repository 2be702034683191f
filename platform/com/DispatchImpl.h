#pragma once

#include "ComModule.h"
#include "ComPtr.h"

#include <oaidl.h>
#include <oleauto.h>

namespace com {

// IDispatch of the dual interface I, served from the module's type library.
template <class I, const IID* Iid>
class DispatchImpl : public I
{
public:
    STDMETHODIMP GetTypeInfoCount(UINT* count) override
    {
        if (!count) return E_POINTER;
        *count = 1;
        return S_OK;
    }

    STDMETHODIMP GetTypeInfo(UINT index, LCID, ITypeInfo** out) override
    {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (index != 0) return DISP_E_BADINDEX;
        return TheModule().GetTypeInfo(*Iid, out);
    }

    STDMETHODIMP GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) override
    {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        ComPtr<ITypeInfo> info;
        const HRESULT hr = TheModule().GetTypeInfo(*Iid, info.Receive());
        if (FAILED(hr)) return hr;
        return DispGetIDsOfNames(info.Get(), names, count, ids);
    }

    STDMETHODIMP Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                        EXCEPINFO* exception, UINT* argError) override
    {
        if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
        ComPtr<ITypeInfo> info;
        const HRESULT hr = TheModule().GetTypeInfo(*Iid, info.Receive());
        if (FAILED(hr)) return hr;
        return DispInvoke(static_cast<I*>(this), info.Get(), id, flags, params, result, exception, argError);
    }
};

}  // namespace com
