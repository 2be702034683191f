// What the install command hands to the install worker, and how the worker
// reports back.
#pragma once

#include <windows.h>

// Filled by the install command and the progress dialog before the worker
// starts; nothing writes it afterwards.
struct InstallJob {
    const BYTE* pData;  // the package (locked resource bytes, not owned)
    UINT32 nSize;
    INT32 nPortType;    // 0 serial, 1 parallel
    HWND hNotifyWnd;    // the progress dialog
};

// Posted by the worker to hNotifyWnd: wParam 1 with the position 0..100 in
// lParam, or wParam 0 when it has finished (the result is its exit code).
const UINT WM_INSTALL_PROGRESS = WM_APP + 1;
