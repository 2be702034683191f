// Shows the Add New Device dialog for a screenshot: the catalogue of the
// current directory, class POSPrinter, a model picked and a logical name
// typed; prints "ready <left> <top> <width> <height>", holds the dialog for
// the given milliseconds and closes it with Cancel (nothing is written).
#include "AddDevDlg.h"
#include "testing/ComboChoice.h"

#include <commctrl.h>
#include <objbase.h>

#include <cstdio>
#include <cwchar>

namespace {
void Pump(DWORD ms)
{
    const DWORD start = GetTickCount();
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    } while (GetTickCount() - start < ms);
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    const DWORD holdMs = argc > 1 ? static_cast<DWORD>(_wtoi(argv[1])) : 3000;
    const wchar_t* model = argc > 2 ? argv[2] : L"Norvale TP-80";
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);

    CAddDevDlg dlg;
    dlg.m_className = L"POSPrinter";
    if (!dlg.Create(nullptr)) {
        std::printf("no dialog\n");
        return 2;
    }
    dlg.ShowWindow(SW_SHOWNORMAL);
    if (!uitest::ChooseByText(dlg.GetDlgItem(IDC_ADDDEV_MODEL), model)) {
        std::printf("model not in the catalogue\n");
        return 3;
    }
    dlg.SetDlgItemText(IDC_ADDDEV_LDN, L"FrontCounter");
    Pump(300);

    RECT rc;
    dlg.GetWindowRect(&rc);
    std::printf("ready %ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    std::fflush(stdout);
    Pump(holdMs);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDCANCEL)));
    const int result = dlg.ModelessResult();
    CoUninitialize();
    std::printf("result %d\n", result);
    return result == IDCANCEL ? 0 : 1;
}
