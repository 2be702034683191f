#pragma once

#include "ComPtr.h"

#include <oaidl.h>
#include <string>
#include <vector>
#include <windows.h>

namespace com {

class ClassFactory;
using InstanceCreator = HRESULT (*)(IUnknown* outer, REFIID iid, void** out);

// One row of a server's object map.
struct ClassEntry {
    const CLSID* Clsid;
    InstanceCreator Create;
    HRESULT (*UpdateRegistry)(bool doRegister);
};

// The in-process server's module: lock count, object map with cached class
// factories, registration, and the type library embedded in the module.
class Module
{
public:
    Module();
    ~Module();
    Module(const Module&) = delete;
    Module& operator=(const Module&) = delete;

    template <size_t N>
    void Init(const ClassEntry (&map)[N], HINSTANCE instance)
    {
        Init(map, N, instance);
    }
    void Init(const ClassEntry* map, size_t count, HINSTANCE instance);
    // Releases the class factories and the type library.
    void Term();

    LONG Lock() { return InterlockedIncrement(&Locks); }
    LONG Unlock() { return InterlockedDecrement(&Locks); }
    LONG LockCount() const { return Locks; }

    HINSTANCE Instance() const { return ModuleInstance; }
    // Full path of the module file.
    std::wstring FileName() const;

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out);
    HRESULT CanUnloadNow() const { return Locks == 0 ? S_OK : S_FALSE; }
    // Every entry's registration hook, then the embedded type library.
    HRESULT RegisterServer();
    HRESULT UnregisterServer();
    // Runs the module's REGISTRY resource `id` with %MODULE% = FileName().
    HRESULT UpdateRegistryFromResource(UINT id, bool doRegister);

    // Type information of one interface from the type library in the module
    // file, loaded once.
    HRESULT GetTypeInfo(REFIID iid, ITypeInfo** out);

private:
    HRESULT LoadTypeLibrary(ComPtr<ITypeLib>& library) const;

    struct Row {
        ClassEntry Entry;
        ClassFactory* Factory;  // created on the first request, one reference held
    };
    struct TypeInfoRow {
        IID Iid;
        ComPtr<ITypeInfo> Info;
    };

    volatile LONG Locks = 0;
    HINSTANCE ModuleInstance = nullptr;
    CRITICAL_SECTION Guard;
    std::vector<Row> Rows;
    ComPtr<ITypeLib> TypeLibrary;
    std::vector<TypeInfoRow> TypeInfos;
};

// The process's one module object.
Module& TheModule();

}  // namespace com
