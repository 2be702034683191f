#include "ControlStandInServer.h"

#include <objbase.h>

namespace testkit {

const wchar_t ControlStandInServer::Description[] = L"OPOS stand-in control (Velquist)";

namespace {

const struct {
    const wchar_t* ProgId;
    const CLSID* Clsid;
} Registrations[] = {
    {L"OPOS.POSPrinter", &StandInPosPrinterClsid},
    {L"OPOS.CashDrawer", &StandInCashDrawerClsid},
};

std::wstring ClsidText(const CLSID& clsid)
{
    wchar_t text[40] = {};
    StringFromGUID2(clsid, text, 40);
    return text;
}

void SetValue(const std::wstring& path, const wchar_t* name, const std::wstring& value)
{
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

template <class F>
F Proc(HMODULE module, const char* name)
{
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

ControlStandInServer::ControlStandInServer(const std::wstring& dllPath)
{
    Unregister();
    for (const auto& r : Registrations) {
        const std::wstring clsid = ClsidText(*r.Clsid);
        SetValue(r.ProgId, nullptr, r.ProgId);
        SetValue(std::wstring(r.ProgId) + L"\\CLSID", nullptr, clsid);
        SetValue(L"CLSID\\" + clsid, nullptr, Description);
        SetValue(L"CLSID\\" + clsid + L"\\InprocServer32", nullptr, dllPath);
        SetValue(L"CLSID\\" + clsid + L"\\InprocServer32", L"ThreadingModel", L"Apartment");
    }
    // The same module COM loads by the registered path: its script and log.
    Module = LoadLibraryW(dllPath.c_str());
    if (!Module) return;
    SetScriptProc = Proc<SetScriptFn>(Module, "StandInSetScript");
    CallLogProc = Proc<CallLogFn>(Module, "StandInCallLog");
    LiveObjectsProc = Proc<LiveObjectsFn>(Module, "StandInLiveObjects");
}

ControlStandInServer::~ControlStandInServer()
{
    Unregister();
    if (Module) FreeLibrary(Module);
}

void ControlStandInServer::Unregister()
{
    for (const auto& r : Registrations) {
        RegDeleteTreeW(HKEY_CLASSES_ROOT, r.ProgId);
        RegDeleteTreeW(HKEY_CLASSES_ROOT, (L"CLSID\\" + ClsidText(*r.Clsid)).c_str());
    }
}

void ControlStandInServer::Script(const ControlScript& script) const
{
    if (SetScriptProc) SetScriptProc(&script);
}

std::vector<std::wstring> ControlStandInServer::Calls() const
{
    std::vector<std::wstring> lines;
    if (!CallLogProc) return lines;
    std::wstring all(CallLogProc(nullptr, 0), L'\0');
    CallLogProc(&all[0], static_cast<DWORD>(all.size()));
    size_t start = 0;
    for (size_t end; (end = all.find(L'\n', start)) != std::wstring::npos; start = end + 1)
        lines.push_back(all.substr(start, end - start));
    return lines;
}

LONG ControlStandInServer::LiveObjects() const
{
    return LiveObjectsProc ? LiveObjectsProc() : -1;
}

}  // namespace testkit
