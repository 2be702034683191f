// The DLL's module, class factory, COM map, type library and vtable, loaded
// straight from the file (no registration needed).
#include "Calbrique.h"
#include "ComApartment.h"
#include "DeviceKey.h"
#include "PortIo.h"
#include "Processes.h"
#include "com/BStr.h"
#include "com/ComObject.h"
#include "com/ComPtr.h"
#include "soposprinter.h"

#include <gtest/gtest.h>
#include <string>

namespace {

class Library
{
public:
    Library() : Module(LoadLibraryW((testkit::ProgramFolder() + L"Calbrique.dll").c_str())) {}
    ~Library()
    {
        if (Module) FreeLibrary(Module);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** out) const
    {
        auto get = reinterpret_cast<HRESULT(WINAPI*)(REFCLSID, REFIID, void**)>(
            reinterpret_cast<void*>(GetProcAddress(Module, "DllGetClassObject")));
        return get(clsid, iid, out);
    }
    HRESULT CanUnloadNow() const
    {
        auto canUnload =
            reinterpret_cast<HRESULT(WINAPI*)()>(reinterpret_cast<void*>(GetProcAddress(Module, "DllCanUnloadNow")));
        return canUnload();
    }

    HMODULE Module;
};

class ModuleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_NE(Dll.Module, nullptr);
        ASSERT_EQ(Dll.GetClassObject(CLSID_SOPOSPrinter, IID_IClassFactory, reinterpret_cast<void**>(Factory.Receive())),
                  S_OK);
    }

    com::ComPtr<ISOPOSPrinter> NewPrinter()
    {
        com::ComPtr<ISOPOSPrinter> printer;
        EXPECT_EQ(Factory->CreateInstance(nullptr, IID_ISOPOSPrinter, reinterpret_cast<void**>(printer.Receive())), S_OK);
        return printer;
    }

    testkit::ComApartment Apartment;
    Library Dll;
    com::ComPtr<IClassFactory> Factory;
};

TEST_F(ModuleTest, ExportsHaveTheirOrdinals)
{
    const char* const names[] = {"DllCanUnloadNow", "DllGetClassObject", "DllRegisterServer", "DllUnregisterServer"};
    for (int ordinal = 1; ordinal <= 4; ++ordinal)
        EXPECT_EQ(GetProcAddress(Dll.Module, MAKEINTRESOURCEA(ordinal)), GetProcAddress(Dll.Module, names[ordinal - 1]))
            << names[ordinal - 1];
}

TEST_F(ModuleTest, OtherClassIsNotAvailable)
{
    const CLSID other = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(Dll.GetClassObject(other, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
}

TEST_F(ModuleTest, CanUnloadOnlyWithoutObjectsAndLocks)
{
    com::ComPtr<ISOPOSPrinter> printer = NewPrinter();
    ASSERT_TRUE(printer);
    EXPECT_EQ(Dll.CanUnloadNow(), S_FALSE);
    printer.Reset();
    EXPECT_EQ(Dll.CanUnloadNow(), S_FALSE) << "a client's reference on the class factory keeps the module";
    EXPECT_EQ(Factory->LockServer(TRUE), S_OK);
    Factory.Reset();
    EXPECT_EQ(Dll.CanUnloadNow(), S_FALSE) << "server lock";

    ASSERT_EQ(Dll.GetClassObject(CLSID_SOPOSPrinter, IID_IClassFactory, reinterpret_cast<void**>(Factory.Receive())), S_OK);
    EXPECT_EQ(Factory->LockServer(FALSE), S_OK);
    IClassFactory* same = nullptr;
    ASSERT_EQ(Dll.GetClassObject(CLSID_SOPOSPrinter, IID_IClassFactory, reinterpret_cast<void**>(&same)), S_OK);
    EXPECT_EQ(same, Factory.Get()) << "the factory is cached";
    same->Release();
    Factory.Reset();
    EXPECT_EQ(Dll.CanUnloadNow(), S_OK);
}

TEST_F(ModuleTest, ComMapAnswersTheInterfaceAndIDispatchOnly)
{
    com::ComPtr<ISOPOSPrinter> printer = NewPrinter();
    ASSERT_TRUE(printer);
    com::ComPtr<IUnknown> unknown;
    ASSERT_EQ(printer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(unknown.Receive())), S_OK);
    EXPECT_EQ(static_cast<void*>(unknown.Get()), static_cast<void*>(printer.Get()));
    com::ComPtr<IDispatch> dispatch;
    EXPECT_EQ(printer->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(dispatch.Receive())), S_OK);
    com::ComPtr<IUnknown> other;
    EXPECT_EQ(printer->QueryInterface(IID_IPersist, reinterpret_cast<void**>(other.Receive())), E_NOINTERFACE);
    EXPECT_FALSE(other);
}

// An outer object that aggregates the service object and passes its two
// interfaces on.
class Outer final : public IUnknown
{
public:
    STDMETHODIMP QueryInterface(REFIID iid, void** out) override
    {
        if (iid == IID_IUnknown) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        if (iid == IID_ISOPOSPrinter || iid == IID_IDispatch) return Inner->QueryInterface(iid, out);
        *out = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHODIMP_(ULONG) AddRef() override { return ++Refs; }
    STDMETHODIMP_(ULONG) Release() override { return --Refs; }  // lives on the test's stack

    ULONG Refs = 1;
    com::ComPtr<IUnknown> Inner;
};

TEST_F(ModuleTest, AggregatesThroughAnOuterObject)
{
    Outer outer;
    void* refused = nullptr;
    EXPECT_EQ(Factory->CreateInstance(&outer, IID_ISOPOSPrinter, &refused), CLASS_E_NOAGGREGATION);
    ASSERT_EQ(Factory->CreateInstance(&outer, IID_IUnknown, reinterpret_cast<void**>(outer.Inner.Receive())), S_OK);
    EXPECT_EQ(outer.Refs, 1u) << "the inner object holds no reference on its outer object";

    com::ComPtr<ISOPOSPrinter> printer;
    ASSERT_EQ(outer.QueryInterface(IID_ISOPOSPrinter, reinterpret_cast<void**>(printer.Receive())), S_OK);
    EXPECT_EQ(outer.Refs, 2u) << "references on the inner interface count on the outer object";
    com::ComPtr<IUnknown> identity;
    ASSERT_EQ(printer->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(identity.Receive())), S_OK);
    EXPECT_EQ(identity.Get(), static_cast<IUnknown*>(&outer));
    identity.Reset();

    com::BStr wrongClass(L"CashDrawer");
    LONG rc = -1;
    ASSERT_EQ(printer->OpenService(wrongClass.Get(), nullptr, nullptr, &rc), S_OK);
    EXPECT_EQ(rc, 402);

    printer.Reset();
    EXPECT_EQ(outer.Refs, 1u);
    EXPECT_EQ(Dll.CanUnloadNow(), S_FALSE);
    outer.Inner.Reset();
    Factory.Reset();
    EXPECT_EQ(Dll.CanUnloadNow(), S_OK);
}

TEST_F(ModuleTest, VtableLifecycleWithoutDeviceKey)
{
    com::ComPtr<ISOPOSPrinter> printer = NewPrinter();
    ASSERT_TRUE(printer);
    com::BStr posPrinter(L"POSPrinter");
    com::BStr noDevice(L"CalbriqueModuleTest_NoSuchDevice");
    LONG rc = -1;
    ASSERT_EQ(printer->OpenService(posPrinter.Get(), noDevice.Get(), nullptr, &rc), S_OK);
    EXPECT_EQ(rc, 0);
    LONG number = -1;
    ASSERT_EQ(printer->GetPropertyNumber(9, &number), S_OK);
    EXPECT_EQ(number, 2) << "State idle";
    ASSERT_EQ(printer->GetPropertyNumber(8, &number), S_OK);
    EXPECT_EQ(number, 1011001);
    ASSERT_EQ(printer->ClaimDevice(1000, &rc), S_OK);
    EXPECT_EQ(rc, 109) << "no Port: nothing to open";
    ASSERT_EQ(printer->GetPropertyNumber(1, &number), S_OK);
    EXPECT_EQ(number, 0) << "not claimed";
    ASSERT_EQ(printer->CloseService(&rc), S_OK);
    EXPECT_EQ(rc, 0);
}

// A status reader that Stop cannot end: its read is on a port opened for
// synchronous I/O, which only data ends. The object is the one built into
// this program, whose module answers as the DLL's DllCanUnloadNow does.
TEST(StatusReaderThatCannotBeStopped, ReleaseReturnsAndTheModuleStaysUntilTheReaderEnds)
{
    testkit::ComApartment apartment;
    const std::wstring name = L"CalbriqueTest_Unstoppable";
    com::Handle pipe(CreateNamedPipeW((L"\\\\.\\pipe\\" + name).c_str(), PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE | PIPE_WAIT,
                                      1, 4096, 4096, 0, nullptr));
    ASSERT_TRUE(pipe.Valid());
    testkit::DeviceKey key(L"CalbriqueModuleTest_Unstoppable");
    key.SetString(L"Port", L"pipe\\" + name);

    com::ComPtr<ISOPOSPrinter> printer;
    ASSERT_EQ(com::CreateInstance<CSOPOSPrinter>(nullptr, IID_ISOPOSPrinter, reinterpret_cast<void**>(printer.Receive())),
              S_OK);
    com::BStr posPrinter(L"POSPrinter");
    com::BStr device(key.Device().c_str());
    LONG rc = -1;
    ASSERT_EQ(printer->OpenService(posPrinter.Get(), device.Get(), nullptr, &rc), S_OK);
    const DWORD flags = PortOpenFlags;
    PortOpenFlags = 0;
    ASSERT_EQ(printer->ClaimDevice(0, &rc), S_OK);
    PortOpenFlags = flags;
    ASSERT_EQ(rc, 0);
    ASSERT_TRUE(testkit::WaitForThreadInCall("NtReadFile", 5000)) << "the reader is in its read";

    const ULONGLONG before = GetTickCount64();
    ASSERT_EQ(printer->ReleaseDevice(&rc), S_OK);
    const ULONGLONG took = GetTickCount64() - before;
    EXPECT_EQ(rc, 0);
    EXPECT_GE(took, 1900u);
    EXPECT_LT(took, 3000u) << "release waits 2000 ms for the reader, no longer";
    printer.Reset();  // the object goes; its reader runs on
    EXPECT_EQ(com::TheModule().CanUnloadNow(), S_FALSE) << "the reader keeps the module";

    DWORD written = 0;
    ASSERT_TRUE(WriteFile(pipe.Get(), "\x20\0\0\0", 4, &written, nullptr));  // the read ends, then the reader
    const ULONGLONG end = GetTickCount64() + 2000;
    while (com::TheModule().CanUnloadNow() != S_OK && GetTickCount64() < end) Sleep(5);
    EXPECT_EQ(com::TheModule().CanUnloadNow(), S_OK);
}

// The type library embedded in the DLL.
struct MethodRow {
    const wchar_t* Name;
    short Params;
    bool ReturnsResult;  // last parameter [out, retval]
};

const MethodRow methods[] = {
    {L"COFreezeEvents", 2, true},        {L"GetPropertyNumber", 2, true},   {L"SetPropertyNumber", 2, false},
    {L"GetPropertyString", 2, true},     {L"SetPropertyString", 2, false},  {L"OpenService", 4, true},
    {L"CheckHealth", 2, true},           {L"ClaimDevice", 2, true},         {L"ClearOutput", 1, true},
    {L"CloseService", 1, true},          {L"DirectIO", 4, true},            {L"ReleaseDevice", 1, true},
    {L"BeginInsertion", 1, false},       {L"BeginRemoval", 1, false},       {L"CutPaper", 1, false},
    {L"EndInsertion", 0, false},         {L"EndRemoval", 0, false},         {L"PrintBarCode", 7, false},
    {L"PrintBitmap", 4, false},          {L"PrintImmediate", 2, false},     {L"PrintNormal", 2, false},
    {L"PrintTwoNormal", 3, false},       {L"RotatePrint", 2, false},        {L"SetBitmap", 5, false},
    {L"SetLogo", 2, false},              {L"TransactionPrint", 2, false},   {L"ValidateData", 2, false},
    {L"ChangePrintSide", 1, false},      {L"MarkFeed", 1, false},           {L"ResetStatistics", 2, true},
    {L"RetrieveStatistics", 2, true},    {L"UpdateStatistics", 2, true},    {L"CompareFirmwareVersion", 3, true},
    {L"UpdateFirmware", 2, true},        {L"ClearPrintArea", 0, false},     {L"PageModePrint", 1, false},
    {L"PrintMemoryBitmap", 5, false},
};

std::wstring DocString(ITypeLib* library, int index)
{
    com::BStr text;
    EXPECT_EQ(library->GetDocumentation(index, nullptr, text.Receive(), nullptr, nullptr), S_OK);
    return text.Text();
}

TEST(TypeLibrary, IdentitiesDispidsHelpStringsAndRetvals)
{
    com::ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx((testkit::ProgramFolder() + L"Calbrique.dll").c_str(), REGKIND_NONE, library.Receive()),
              S_OK);
    TLIBATTR* attr = nullptr;
    ASSERT_EQ(library->GetLibAttr(&attr), S_OK);
    EXPECT_EQ(attr->guid, LIBID_CALBRIQUELib);
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    library->ReleaseTLibAttr(attr);
    EXPECT_EQ(DocString(library.Get(), -1), L"OPOS POSPrinter Service Object Library 1.11.001");

    com::ComPtr<ITypeInfo> coclass;
    ASSERT_EQ(library->GetTypeInfoOfGuid(CLSID_SOPOSPrinter, coclass.Receive()), S_OK);
    com::BStr coclassHelp;
    ASSERT_EQ(coclass->GetDocumentation(MEMBERID_NIL, nullptr, coclassHelp.Receive(), nullptr, nullptr), S_OK);
    EXPECT_STREQ(coclassHelp.Text(), L"OPOS POSPrinter Service Object CoClass 1.11.001");

    com::ComPtr<ITypeInfo> dispatch;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_ISOPOSPrinter, dispatch.Receive()), S_OK);
    TYPEATTR* type = nullptr;
    ASSERT_EQ(dispatch->GetTypeAttr(&type), S_OK);
    EXPECT_TRUE(type->wTypeFlags & TYPEFLAG_FDUAL);
    dispatch->ReleaseTypeAttr(type);
    com::BStr interfaceHelp;
    ASSERT_EQ(dispatch->GetDocumentation(MEMBERID_NIL, nullptr, interfaceHelp.Receive(), nullptr, nullptr), S_OK);
    EXPECT_STREQ(interfaceHelp.Text(), L"ISOPOSPriner Interface");

    // The vtable view: the 37 methods in order, DISPIDs 1 to 37.
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &vtableRef), S_OK);
    com::ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(dispatch->GetRefTypeInfo(vtableRef, vtable.Receive()), S_OK);
    ASSERT_EQ(vtable->GetTypeAttr(&type), S_OK);
    EXPECT_TRUE(type->wTypeFlags & TYPEFLAG_FOLEAUTOMATION);
    ASSERT_EQ(type->cFuncs, 37);
    vtable->ReleaseTypeAttr(type);
    for (int i = 0; i < 37; ++i) {
        const MethodRow& row = methods[i];
        SCOPED_TRACE(std::string(row.Name, row.Name + wcslen(row.Name)));
        FUNCDESC* function = nullptr;
        ASSERT_EQ(vtable->GetFuncDesc(i, &function), S_OK);
        EXPECT_EQ(function->memid, i + 1);
        EXPECT_EQ(function->cParams, row.Params);
        for (short p = 0; p < function->cParams; ++p) {
            const USHORT flags = function->lprgelemdescParam[p].paramdesc.wParamFlags;
            const bool last = p == function->cParams - 1;
            EXPECT_EQ((flags & PARAMFLAG_FRETVAL) != 0, last && row.ReturnsResult) << "parameter " << p;
        }
        com::BStr name;
        com::BStr help;
        ASSERT_EQ(vtable->GetDocumentation(function->memid, name.Receive(), help.Receive(), nullptr, nullptr), S_OK);
        EXPECT_STREQ(name.Text(), row.Name);
        EXPECT_EQ(std::wstring(help.Text()), std::wstring(L"method ") + row.Name);
        vtable->ReleaseFuncDesc(function);
    }
}

TEST(TypeLibrary, PlainOutParameterOfCompareFirmwareVersion)
{
    com::ComPtr<ITypeLib> library;
    ASSERT_EQ(LoadTypeLibEx((testkit::ProgramFolder() + L"Calbrique.dll").c_str(), REGKIND_NONE, library.Receive()),
              S_OK);
    com::ComPtr<ITypeInfo> dispatch;
    ASSERT_EQ(library->GetTypeInfoOfGuid(IID_ISOPOSPrinter, dispatch.Receive()), S_OK);
    HREFTYPE vtableRef = 0;
    ASSERT_EQ(dispatch->GetRefTypeOfImplType(-1, &vtableRef), S_OK);
    com::ComPtr<ITypeInfo> vtable;
    ASSERT_EQ(dispatch->GetRefTypeInfo(vtableRef, vtable.Receive()), S_OK);
    FUNCDESC* function = nullptr;
    ASSERT_EQ(vtable->GetFuncDesc(32, &function), S_OK);
    ASSERT_EQ(function->cParams, 3);
    EXPECT_EQ(function->lprgelemdescParam[1].paramdesc.wParamFlags, PARAMFLAG_FOUT);
    EXPECT_EQ(function->lprgelemdescParam[2].paramdesc.wParamFlags, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL);
    vtable->ReleaseFuncDesc(function);
}

}  // namespace
