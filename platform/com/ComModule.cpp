#include "ComModule.h"

#include "ClassFactory.h"
#include "Registrar.h"

#include <new>

namespace com {

namespace {

class GuardLock
{
public:
    explicit GuardLock(CRITICAL_SECTION& section) : Section(section) { EnterCriticalSection(&Section); }
    ~GuardLock() { LeaveCriticalSection(&Section); }
    GuardLock(const GuardLock&) = delete;
    GuardLock& operator=(const GuardLock&) = delete;

private:
    CRITICAL_SECTION& Section;
};

Module g_module;

}  // namespace

Module& TheModule()
{
    return g_module;
}

Module::Module()
{
    InitializeCriticalSection(&Guard);
}

Module::~Module()
{
    DeleteCriticalSection(&Guard);
}

void Module::Init(const ClassEntry* map, size_t count, HINSTANCE instance)
{
    GuardLock lock(Guard);
    ModuleInstance = instance;
    Rows.clear();
    for (size_t i = 0; i < count; ++i) Rows.push_back(Row{map[i], nullptr});
}

void Module::Term()
{
    GuardLock lock(Guard);
    for (Row& row : Rows) {
        if (row.Factory) row.Factory->Release();
        row.Factory = nullptr;
    }
    Rows.clear();
    TypeInfos.clear();
    TypeLibrary.Reset();
}

std::wstring Module::FileName() const
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(ModuleInstance, &path[0], static_cast<DWORD>(path.size()));
        if (n == 0) return std::wstring();
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

HRESULT Module::GetClassObject(REFCLSID clsid, REFIID iid, void** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    GuardLock lock(Guard);
    for (Row& row : Rows) {
        if (*row.Entry.Clsid != clsid) continue;
        if (!row.Factory) {
            row.Factory = new (std::nothrow) ClassFactory(row.Entry.Create);
            if (!row.Factory) return E_OUTOFMEMORY;
            row.Factory->AddRef();
        }
        return row.Factory->QueryInterface(iid, out);
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT Module::LoadTypeLibrary(ComPtr<ITypeLib>& library) const
{
    const std::wstring path = FileName();
    if (path.empty()) return HRESULT_FROM_WIN32(GetLastError());
    return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Receive());
}

HRESULT Module::RegisterServer()
{
    for (const Row& row : Rows) {
        const HRESULT hr = row.Entry.UpdateRegistry(true);
        if (FAILED(hr)) return hr;
    }
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibrary(library);
    if (FAILED(hr)) return hr;
    std::wstring path = FileName();
    return RegisterTypeLib(library.Get(), &path[0], nullptr);
}

HRESULT Module::UnregisterServer()
{
    for (const Row& row : Rows) {
        const HRESULT hr = row.Entry.UpdateRegistry(false);
        if (FAILED(hr)) return hr;
    }
    ComPtr<ITypeLib> library;
    HRESULT hr = LoadTypeLibrary(library);
    if (FAILED(hr)) return hr;
    TLIBATTR* attr = nullptr;
    hr = library->GetLibAttr(&attr);
    if (FAILED(hr)) return hr;
    hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
    library->ReleaseTLibAttr(attr);
    return hr;
}

HRESULT Module::UpdateRegistryFromResource(UINT id, bool doRegister)
{
    const std::vector<Replacement> replacements{{L"MODULE", FileName()}};
    return RunRegistryResource(ModuleInstance, id, doRegister, replacements);
}

HRESULT Module::GetTypeInfo(REFIID iid, ITypeInfo** out)
{
    if (!out) return E_POINTER;
    *out = nullptr;
    GuardLock lock(Guard);
    for (const TypeInfoRow& row : TypeInfos) {
        if (row.Iid == iid) {
            *out = ComPtr<ITypeInfo>(row.Info).Detach();
            return S_OK;
        }
    }
    if (!TypeLibrary) {
        const HRESULT hr = LoadTypeLibrary(TypeLibrary);
        if (FAILED(hr)) return hr;
    }
    ComPtr<ITypeInfo> info;
    const HRESULT hr = TypeLibrary->GetTypeInfoOfGuid(iid, info.Receive());
    if (FAILED(hr)) return hr;
    TypeInfos.push_back(TypeInfoRow{iid, info});
    *out = info.Detach();
    return S_OK;
}

}  // namespace com
