#pragma once

#include <unknwn.h>

namespace com {

using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

// The class factory of one class, cached by the module: the module holds the
// first reference; every further reference (a client's) locks the module.
class ClassFactory final : public IClassFactory
{
public:
    explicit ClassFactory(InstanceCreator creator) : Create(creator) {}
    virtual ~ClassFactory() = default;

    STDMETHODIMP QueryInterface(REFIID iid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;
    STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override;
    STDMETHODIMP LockServer(BOOL lock) override;

private:
    LONG Refs = 0;
    InstanceCreator Create;
};

}  // namespace com
