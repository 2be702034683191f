// Dialogs from dialog templates, run modally or modeless, with message maps.
#pragma once

#include "ui/Window.h"

class CDialogImplBase : public CWindow, public CMessageMap {
public:
    CDialogImplBase() = default;
    CDialogImplBase(const CDialogImplBase&) = delete;
    CDialogImplBase& operator=(const CDialogImplBase&) = delete;
    virtual ~CDialogImplBase();

    // Ends a modal run with `result`; a modeless dialog is destroyed and keeps
    // the result for ModelessResult.
    BOOL EndDialog(int result);
    bool IsModal() const { return m_modal; }
    // The result a modeless dialog ended with (-1 while it is open).
    int ModelessResult() const { return m_modelessResult; }

    const MSG* m_pCurrentMsg = nullptr;

protected:
    INT_PTR DoModalImpl(UINT templateId, HWND parent, LPARAM initParam);
    HWND CreateImpl(UINT templateId, HWND parent, LPARAM initParam);
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Binds a dialog window created by someone else (a property sheet) to its object.
    static void AttachDialog(HWND hWnd, CDialogImplBase* self);

private:
    bool m_modal = false;
    int m_modelessResult = -1;
};

// T names its template as `enum { IDD = ... };` and has a message map.
template <class T>
class CDialogImpl : public CDialogImplBase {
public:
    // Runs the dialog modally; parent null means the active window.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM initParam = 0)
    {
        return DoModalImpl(T::IDD, parent, initParam);
    }
    // Creates the dialog modeless (tests drive it by messages).
    HWND Create(HWND parent, LPARAM initParam = 0) { return CreateImpl(T::IDD, parent, initParam); }
};
