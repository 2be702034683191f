// The application object in the other framework's manner: one global
// instance derived from CWinApp; AfxWinMain runs its InitInstance and, when
// that returns TRUE, its message loop.
#pragma once

#include <windows.h>

#include "ui/Window.h"

class CWinApp {
public:
    // Without a name the application's title is the program file's name
    // without its extension.
    explicit CWinApp(const wchar_t* appName = nullptr);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    virtual BOOL InitInstance();
    // The message loop; its result is the exit code.
    virtual int Run();
    // Last call of the application; the exit code.
    virtual int ExitInstance();

    // The application's title: captions its message boxes.
    const wchar_t* m_pszAppName;
    // The main window (may be a modal dialog while it runs).
    CWindow* m_pMainWnd = nullptr;

private:
    CString m_title;
};

CWinApp* AfxGetApp();

// Runs the application object: InitInstance, then Run when it returned
// TRUE, else ExitInstance; the exit code.
int AfxWinMain();

// OLE for the calling thread, uninitialised again when the application ends.
BOOL AfxOleInit();
// Dialogs here host no ActiveX controls; kept for the start-up sequence.
void AfxEnableControlContainer();

// A string-table text in the message box, captioned with the application's
// title and owned by the active window (else the main window).
int AfxMessageBox(UINT textId, UINT type = MB_OK);
int AfxMessageBox(const wchar_t* text, UINT type = MB_OK);
