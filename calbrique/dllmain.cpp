#include "soposprinter.h"

#include "com/ComModule.h"
#include "com/ComObject.h"

namespace {

const com::ClassEntry objectMap[] = {
    {&CLSID_SOPOSPrinter, com::CreateInstance<CSOPOSPrinter>, CSOPOSPrinter::UpdateRegistry},
};

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        com::TheModule().Init(objectMap, instance);
        (void)DisableThreadLibraryCalls(instance);  // only saves the notifications
    } else if (reason == DLL_PROCESS_DETACH) {
        com::TheModule().Term();
    }
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

STDAPI DllRegisterServer()
{
    return com::TheModule().RegisterServer();
}

STDAPI DllUnregisterServer()
{
    return com::TheModule().UnregisterServer();
}
