// Process entry of the set-up utility: COM, common controls, the module,
// then one message loop for the main frame.  Exit code 1 after a normal
// run, 0 when the main window could not be created.
#include "MainFrm.h"

#include <objbase.h>

#include <cassert>

CAppModule g_appModule;

namespace {
int Run(LPWSTR /*commandLine*/, int show)
{
    CMessageLoop loop;
    g_appModule.AddMessageLoop(&loop);

    CMainFrame wndMain;
    if (!wndMain.CreateEx()) {
        OutputDebugStringW(L"Main window creation failed!\n");
        g_appModule.RemoveMessageLoop();
        return 0;
    }
    wndMain.ShowWindow(show);
    const int result = loop.Run();
    g_appModule.RemoveMessageLoop();
    return result;
}
} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
{
    const HRESULT com = CoInitialize(nullptr);
    assert(SUCCEEDED(com));
    (void)com; // start-up goes on without COM

    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);

    const HRESULT module = g_appModule.Init(instance);
    assert(SUCCEEDED(module));
    (void)module;

    const int result = Run(commandLine, show);

    g_appModule.Term();
    CoUninitialize();
    return result;
}
