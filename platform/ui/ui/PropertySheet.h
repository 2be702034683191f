// Property sheets holding pages made from dialog templates; a page is a
// dialog whose messages reach its message map like any other.
#pragma once

#include "ui/Dialog.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

class CPropertyPageBase : public CDialogImplBase {
public:
    // The page's title is its template's caption.
    explicit CPropertyPageBase(UINT templateId);

    PROPSHEETPAGEW m_psp;

private:
    static INT_PTR CALLBACK PageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);
};

template <WORD t_wDlgTemplateID>
class CPropertyPage : public CPropertyPageBase {
public:
    enum { IDD = t_wDlgTemplateID };
    CPropertyPage() : CPropertyPageBase(t_wDlgTemplateID) {}

    BOOL ProcessWindowMessage(HWND, UINT, WPARAM, LPARAM, LRESULT&, DWORD = 0) override { return FALSE; }
};

class CPropertySheet {
public:
    explicit CPropertySheet(const wchar_t* title = nullptr, UINT startPage = 0, HWND parent = nullptr);

    // The page object must outlive the sheet's window.
    void AddPage(CPropertyPageBase& page);
    // Modal run; the sheet's result (0 when cancelled, -1 on failure).
    INT_PTR DoModal(HWND parent = ::GetActiveWindow());
    // Modeless sheet (tests drive it by messages); the caller destroys it.
    HWND Create(HWND parent = nullptr);

    PROPSHEETHEADERW m_psh;

private:
    std::vector<PROPSHEETPAGEW> Pages() const;
    CString m_title;
    std::vector<CPropertyPageBase*> m_pages;
};
