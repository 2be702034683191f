#include "ui/MfcApp.h"

#include "ui/MessageBox.h"

#include <ole2.h>

namespace {
CWinApp* g_app = nullptr;
bool g_oleInitialized = false;

CString ModuleTitle()
{
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return CString();
    const wchar_t* name = path;
    const wchar_t* dot = nullptr;
    for (const wchar_t* p = path; *p; ++p) {
        if (*p == L'\\' || *p == L'/') {
            name = p + 1;
            dot = nullptr;
        } else if (*p == L'.') {
            dot = p;
        }
    }
    CString title(name);
    return dot && dot > name ? title.Left(static_cast<int>(dot - name)) : title;
}
} // namespace

CWinApp::CWinApp(const wchar_t* appName)
{
    m_title = appName ? CString(appName) : ModuleTitle();
    m_pszAppName = m_title;
    g_app = this;
}

CWinApp::~CWinApp()
{
    if (g_app == this)
        g_app = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::Run()
{
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return ExitInstance();
}

int CWinApp::ExitInstance()
{
    if (g_oleInitialized) {
        ::OleUninitialize();
        g_oleInitialized = false;
    }
    return 0;
}

CWinApp* AfxGetApp()
{
    return g_app;
}

int AfxWinMain()
{
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1;
    if (!app->InitInstance())
        return app->ExitInstance();
    return app->Run();
}

BOOL AfxOleInit()
{
    if (g_oleInitialized)
        return TRUE;
    g_oleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    return g_oleInitialized;
}

void AfxEnableControlContainer() {}

int AfxMessageBox(const wchar_t* text, UINT type)
{
    CWinApp* app = AfxGetApp();
    HWND owner = ::GetActiveWindow();
    if (!owner && app && app->m_pMainWnd)
        owner = app->m_pMainWnd->m_hWnd;
    return ui::ShowMessageBox(owner, text, app ? app->m_pszAppName : L"", type);
}

int AfxMessageBox(UINT textId, UINT type)
{
    CString text;
    text.LoadString(textId);
    return AfxMessageBox(text, type);
}
