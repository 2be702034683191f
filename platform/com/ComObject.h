#pragma once

#include "ComModule.h"

#include <new>
#include <unknwn.h>

// The object forms of a COM class T. T derives from its interfaces, leaves
// IUnknown to these forms and lists its interfaces in
//   static const com::InterfaceEntry<T> Interfaces[N];
// whose first entry also answers IID_IUnknown.
namespace com {

template <class T>
struct InterfaceEntry {
    const IID* Iid;
    IUnknown* (*Cast)(T*);
};

template <class T, class I>
IUnknown* CastTo(T* object)
{
    return static_cast<I*>(object);
}

// QueryInterface over T's interface table; the answer is AddRef'd through
// the interface itself, so an aggregated object counts on its outer object.
template <class T>
HRESULT QueryInterfaceTable(T* object, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    IUnknown* found = nullptr;
    if (iid == IID_IUnknown) {
        found = T::Interfaces[0].Cast(object);
    } else {
        for (const auto& entry : T::Interfaces) {
            if (*entry.Iid == iid) {
                found = entry.Cast(object);
                break;
            }
        }
    }
    if (!found) return E_NOINTERFACE;
    found->AddRef();
    *out = found;
    return S_OK;
}

// A stand-alone object: its own reference count, one module lock while it lives.
template <class T>
class ComObject final : public T
{
public:
    ComObject() { TheModule().Lock(); }
    ~ComObject() { TheModule().Unlock(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return QueryInterfaceTable<T>(this, iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&Refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG n = InterlockedDecrement(&Refs);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

private:
    LONG Refs = 0;
};

// The inner object of an aggregate: every IUnknown call goes to the outer object.
template <class T>
class ContainedObject final : public T
{
public:
    explicit ContainedObject(IUnknown* outer) : Outer(outer) {}

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override { return Outer->QueryInterface(iid, out); }
    STDMETHODIMP_(ULONG) AddRef() override { return Outer->AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return Outer->Release(); }

private:
    IUnknown* Outer;  // not counted: the outer object owns us
};

// What an outer object holds: the non-delegating IUnknown of the aggregated T.
template <class T>
class AggObject final : public IUnknown
{
public:
    explicit AggObject(IUnknown* outer) : Inner(outer) { TheModule().Lock(); }
    virtual ~AggObject() { TheModule().Unlock(); }

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (!out) return E_POINTER;
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return QueryInterfaceTable<T>(&Inner, iid, out);
    }
    STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&Refs)); }
    STDMETHODIMP_(ULONG) Release() override
    {
        const LONG n = InterlockedDecrement(&Refs);
        if (n == 0) delete this;
        return static_cast<ULONG>(n);
    }

private:
    LONG Refs = 0;
    ContainedObject<T> Inner;
};

// Instance creator of a class factory: the stand-alone form, or the
// aggregated one when an outer object asks for IUnknown.
template <class T>
HRESULT CreateInstance(IUnknown* outer, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer && iid != IID_IUnknown) return CLASS_E_NOAGGREGATION;
    IUnknown* unknown = nullptr;
    if (outer) {
        auto* object = new (std::nothrow) AggObject<T>(outer);
        if (!object) return E_OUTOFMEMORY;
        unknown = object;
    } else {
        auto* object = new (std::nothrow) ComObject<T>();
        if (!object) return E_OUTOFMEMORY;
        unknown = T::Interfaces[0].Cast(object);
    }
    unknown->AddRef();
    const HRESULT hr = unknown->QueryInterface(iid, out);
    unknown->Release();  // a failed query destroys the new object again
    return hr;
}

}  // namespace com
