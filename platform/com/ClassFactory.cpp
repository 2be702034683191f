#include "ClassFactory.h"

#include "ComModule.h"

namespace com {

STDMETHODIMP ClassFactory::QueryInterface(REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
        *out = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) ClassFactory::AddRef()
{
    const LONG n = InterlockedIncrement(&Refs);
    if (n == 2) TheModule().Lock();
    return static_cast<ULONG>(n);
}

STDMETHODIMP_(ULONG) ClassFactory::Release()
{
    const LONG n = InterlockedDecrement(&Refs);
    if (n == 1) TheModule().Unlock();
    if (n == 0) delete this;
    return static_cast<ULONG>(n);
}

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    return Create(outer, iid, out);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        TheModule().Lock();
    else
        TheModule().Unlock();
    return S_OK;
}

}  // namespace com
