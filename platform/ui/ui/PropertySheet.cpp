#include "ui/PropertySheet.h"

#include "ui/Module.h"

CPropertyPageBase::CPropertyPageBase(UINT templateId) : m_psp()
{
    m_psp.dwSize = sizeof(m_psp);
    m_psp.hInstance = ui::ResourceInstance();
    m_psp.pszTemplate = MAKEINTRESOURCEW(templateId);
    m_psp.pfnDlgProc = PageProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
}

INT_PTR CALLBACK CPropertyPageBase::PageProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    // The sheet hands the page its (copied) PROPSHEETPAGE, which names the object.
    if (msg == WM_INITDIALOG && !::GetWindowLongPtrW(hWnd, DWLP_USER)) {
        const auto* psp = reinterpret_cast<const PROPSHEETPAGEW*>(lParam);
        AttachDialog(hWnd, reinterpret_cast<CPropertyPageBase*>(psp->lParam));
    }
    return DialogProc(hWnd, msg, wParam, lParam);
}

CPropertySheet::CPropertySheet(const wchar_t* title, UINT startPage, HWND parent) : m_psh(), m_title(title)
{
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.hwndParent = parent;
    m_psh.hInstance = ui::ResourceInstance();
    m_psh.nStartPage = startPage;
}

void CPropertySheet::AddPage(CPropertyPageBase& page)
{
    m_pages.push_back(&page);
}

std::vector<PROPSHEETPAGEW> CPropertySheet::Pages() const
{
    std::vector<PROPSHEETPAGEW> pages;
    for (const CPropertyPageBase* page : m_pages)
        pages.push_back(page->m_psp);
    return pages;
}

INT_PTR CPropertySheet::DoModal(HWND parent)
{
    const std::vector<PROPSHEETPAGEW> pages = Pages();
    PROPSHEETHEADERW header = m_psh;
    header.dwFlags &= ~PSH_MODELESS;
    if (parent)
        header.hwndParent = parent;
    header.pszCaption = m_title;
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    return ::PropertySheetW(&header);
}

HWND CPropertySheet::Create(HWND parent)
{
    const std::vector<PROPSHEETPAGEW> pages = Pages();
    PROPSHEETHEADERW header = m_psh;
    header.dwFlags |= PSH_MODELESS;
    if (parent)
        header.hwndParent = parent;
    header.pszCaption = m_title;
    header.nPages = static_cast<UINT>(pages.size());
    header.ppsp = pages.data();
    return reinterpret_cast<HWND>(::PropertySheetW(&header));
}
