// Shows one of Fenwold's dialogs over the main frame for a screenshot:
//   fenwold_dialog_shot <portrange | detail | addldn> <hold ms> [class] [device]
// The frame is built as Fenwold builds it (its start-up messages answered
// silently); the dialog is opened modeless on it with what the frame's
// commands pass.  Prints "ready", holds the dialog open, then closes both.
#include "AddLdnDlg.h"
#include "DevDetail.h"
#include "MainFrm.h"
#include "PortRangeDlg.h"
#include "ui/MessageBox.h"

#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <memory>

namespace {
int AnswerOk(HWND, const wchar_t*, const wchar_t*, UINT)
{
    return IDOK;
}

void PumpFor(DWORD ms)
{
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(20);
    }
}
} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3) {
        std::printf("usage: fenwold_dialog_shot <portrange|detail|addldn> <hold ms> [class] [device]\n");
        return 2;
    }
    const std::wstring which = argv[1];
    const DWORD holdMs = static_cast<DWORD>(_wtoi(argv[2]));
    const wchar_t* deviceClass = argc > 3 ? argv[3] : L"POSPrinter";
    const wchar_t* device = argc > 4 ? argv[4] : L"Model-80";

    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_COOL_CLASSES | ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_TAB_CLASSES};
    InitCommonControlsEx(&controls);
    ui::SetMessageBoxHandler(AnswerOk);
    CAppModule module;
    module.Init(GetModuleHandleW(nullptr));
    CMessageLoop loop;
    module.AddMessageLoop(&loop);

    int result = 0;
    {
        CMainFrame frame;
        if (!frame.CreateEx()) {
            std::printf("no frame\n");
            return 3;
        }
        frame.ShowWindow(SW_SHOWNORMAL);
        PumpFor(300);

        std::unique_ptr<CPortRangeDlg> portRange;
        std::unique_ptr<CAddLdnDlg> addLdn;
        CDevDetail detail;
        CString title;
        title.LoadString(IDS_PROPERTY);
        CPropertySheet sheet(title, 0, frame);
        HWND shown = nullptr;
        if (which == L"portrange") {
            portRange = std::make_unique<CPortRangeDlg>(frame.m_maxCom, frame.m_maxLpt);
            shown = portRange->Create(frame);
        } else if (which == L"addldn") {
            addLdn = std::make_unique<CAddLdnDlg>(deviceClass, device, frame.m_tree);
            shown = addLdn->Create(frame);
        } else if (which == L"detail") {
            detail.m_keyPath = CString(L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\") + deviceClass + L"\\" + device;
            sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
            sheet.AddPage(detail);
            shown = sheet.Create(frame);
        }
        if (!shown) {
            std::printf("no dialog\n");
            result = 4;
        } else {
            ShowWindow(shown, SW_SHOW);
            std::printf("ready %ls\n", CWindow(shown).GetWindowText().GetString());
            std::fflush(stdout);
            PumpFor(holdMs);
            if (IsWindow(shown))
                DestroyWindow(shown);
        }
        frame.DestroyWindow();
        PumpFor(100);
    }
    module.RemoveMessageLoop();
    module.Term();
    CoUninitialize();
    std::printf("exit %d\n", result);
    return result;
}
