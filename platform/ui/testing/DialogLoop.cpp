#include "testing/DialogLoop.h"

#include <commctrl.h>

namespace uitest {

void InitControls()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS | ICC_TAB_CLASSES | ICC_TREEVIEW_CLASSES | ICC_STANDARD_CLASSES};
    (void)::InitCommonControlsEx(&controls);
}

void Pump(HWND dialog)
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (dialog && ::IsWindow(dialog) && ::IsDialogMessageW(dialog, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

} // namespace uitest
