// Thin wrappers of the common controls: a window handle plus the messages the
// programs send to it.  They own nothing; the control is a child window.
#pragma once

#include "ui/Window.h"

#include <commctrl.h>

class CImageList {
public:
    HIMAGELIST m_hImageList = nullptr;

    CImageList(HIMAGELIST list = nullptr) : m_hImageList(list) {}
    operator HIMAGELIST() const { return m_hImageList; }
    bool Create(int cx, int cy, UINT flags, int initial, int grow)
    {
        m_hImageList = ImageList_Create(cx, cy, flags, initial, grow);
        return m_hImageList != nullptr;
    }
    int AddIcon(HICON icon) { return ImageList_AddIcon(m_hImageList, icon); }
    int GetImageCount() const { return ImageList_GetImageCount(m_hImageList); }
};

class CTreeViewCtrl : public CWindow {
public:
    using CWindow::CWindow;
    CTreeViewCtrl& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }

    HTREEITEM InsertItem(const wchar_t* text, int image, int selectedImage, HTREEITEM parent, HTREEITEM after) const
    {
        TVINSERTSTRUCTW tvis = {};
        tvis.hParent = parent;
        tvis.hInsertAfter = after;
        tvis.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
        tvis.item.pszText = const_cast<wchar_t*>(text);
        tvis.item.iImage = image;
        tvis.item.iSelectedImage = selectedImage;
        return reinterpret_cast<HTREEITEM>(SendMessage(TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tvis)));
    }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT))); }
    BOOL SelectItem(HTREEITEM item) const { return static_cast<BOOL>(SendMessage(TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item))); }
    BOOL Expand(HTREEITEM item, UINT code = TVE_EXPAND) const { return static_cast<BOOL>(SendMessage(TVM_EXPAND, code, reinterpret_cast<LPARAM>(item))); }
    HTREEITEM GetNextItem(HTREEITEM item, UINT code) const { return reinterpret_cast<HTREEITEM>(SendMessage(TVM_GETNEXTITEM, code, reinterpret_cast<LPARAM>(item))); }
    HTREEITEM GetRootItem() const { return GetNextItem(nullptr, TVGN_ROOT); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return GetNextItem(item, TVGN_CHILD); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return GetNextItem(item, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return GetNextItem(item, TVGN_PARENT); }
    HTREEITEM GetSelectedItem() const { return GetNextItem(nullptr, TVGN_CARET); }
    UINT GetCount() const { return static_cast<UINT>(SendMessage(TVM_GETCOUNT)); }
    UINT GetItemState(HTREEITEM item, UINT mask) const { return static_cast<UINT>(SendMessage(TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), mask)); }
    CString GetItemText(HTREEITEM item) const
    {
        wchar_t text[260] = {};
        TVITEMW tvi = {};
        tvi.mask = TVIF_TEXT | TVIF_HANDLE;
        tvi.hItem = item;
        tvi.pszText = text;
        tvi.cchTextMax = 260;
        SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi));
        return CString(text);
    }
    bool GetItemImage(HTREEITEM item, int& image, int& selectedImage) const
    {
        TVITEMW tvi = {};
        tvi.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_HANDLE;
        tvi.hItem = item;
        if (!SendMessage(TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&tvi)))
            return false;
        image = tvi.iImage;
        selectedImage = tvi.iSelectedImage;
        return true;
    }
    HIMAGELIST SetImageList(HIMAGELIST list, int which = TVSIL_NORMAL) const { return reinterpret_cast<HIMAGELIST>(SendMessage(TVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list))); }
};

class CListViewCtrl : public CWindow {
public:
    using CWindow::CWindow;
    CListViewCtrl& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }

    int InsertColumn(int index, const wchar_t* text, int format = LVCFMT_LEFT, int width = -1) const
    {
        LVCOLUMNW col = {};
        col.mask = LVCF_TEXT | LVCF_FMT | (width >= 0 ? LVCF_WIDTH : 0);
        col.fmt = format;
        col.cx = width;
        col.pszText = const_cast<wchar_t*>(text);
        return static_cast<int>(SendMessage(LVM_INSERTCOLUMNW, index, reinterpret_cast<LPARAM>(&col)));
    }
    int InsertItem(int index, const wchar_t* text, int image = -1) const
    {
        LVITEMW item = {};
        item.mask = LVIF_TEXT | (image >= 0 ? LVIF_IMAGE : 0);
        item.iItem = index;
        item.pszText = const_cast<wchar_t*>(text);
        item.iImage = image;
        return static_cast<int>(SendMessage(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
    }
    BOOL SetItemText(int index, int subItem, const wchar_t* text) const
    {
        LVITEMW item = {};
        item.iSubItem = subItem;
        item.pszText = const_cast<wchar_t*>(text);
        return static_cast<BOOL>(SendMessage(LVM_SETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item)));
    }
    CString GetItemText(int index, int subItem) const
    {
        wchar_t text[1024] = {};
        LVITEMW item = {};
        item.iSubItem = subItem;
        item.pszText = text;
        item.cchTextMax = 1024;
        SendMessage(LVM_GETITEMTEXTW, index, reinterpret_cast<LPARAM>(&item));
        return CString(text);
    }
    BOOL DeleteAllItems() const { return static_cast<BOOL>(SendMessage(LVM_DELETEALLITEMS)); }
    BOOL DeleteItem(int index) const { return static_cast<BOOL>(SendMessage(LVM_DELETEITEM, index)); }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    int GetNextItem(int start, UINT flags) const { return static_cast<int>(SendMessage(LVM_GETNEXTITEM, start, MAKELPARAM(flags, 0))); }
    int GetSelectedIndex() const { return GetNextItem(-1, LVNI_SELECTED); }
    BOOL SetItemState(int index, UINT state, UINT mask) const
    {
        LVITEMW item = {};
        item.state = state;
        item.stateMask = mask;
        return static_cast<BOOL>(SendMessage(LVM_SETITEMSTATE, index, reinterpret_cast<LPARAM>(&item)));
    }
    HWND GetEditControl() const { return reinterpret_cast<HWND>(SendMessage(LVM_GETEDITCONTROL)); }
    HWND EditLabel(int index) const { return reinterpret_cast<HWND>(SendMessage(LVM_EDITLABELW, index)); }
    // The list destroys its image lists with itself unless it has LVS_SHAREIMAGELISTS.
    HIMAGELIST SetImageList(HIMAGELIST list, int which) const { return reinterpret_cast<HIMAGELIST>(SendMessage(LVM_SETIMAGELIST, which, reinterpret_cast<LPARAM>(list))); }
    DWORD SetExtendedListViewStyle(DWORD style, DWORD mask = 0) const { return static_cast<DWORD>(SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, mask, style)); }
};

class CComboBox : public CWindow {
public:
    using CWindow::CWindow;
    CComboBox& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }

    int AddString(const wchar_t* text) const { return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text))); }
    int InsertString(int index, const wchar_t* text) const { return static_cast<int>(SendMessage(CB_INSERTSTRING, index, reinterpret_cast<LPARAM>(text))); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetCurSel(int index) const { return static_cast<int>(SendMessage(CB_SETCURSEL, index)); }
    void ResetContent() const { SendMessage(CB_RESETCONTENT); }
    // The first entry after `start` that begins with `text`, without regard to case.
    int FindString(int start, const wchar_t* text) const { return static_cast<int>(SendMessage(CB_FINDSTRING, start, reinterpret_cast<LPARAM>(text))); }
    int FindStringExact(int start, const wchar_t* text) const { return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, start, reinterpret_cast<LPARAM>(text))); }
    DWORD_PTR GetItemData(int index) const { return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, index)); }
    int SetItemData(int index, DWORD_PTR data) const { return static_cast<int>(SendMessage(CB_SETITEMDATA, index, static_cast<LPARAM>(data))); }
    CString GetLBText(int index) const
    {
        const int length = static_cast<int>(SendMessage(CB_GETLBTEXTLEN, index));
        if (length < 0)
            return CString();
        CString text;
        SendMessage(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(text.GetBuffer(length + 1)));
        text.ReleaseBuffer();
        return text;
    }
};

class CEdit : public CWindow {
public:
    using CWindow::CWindow;
    CEdit& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }
    void SetLimitText(UINT chars) const { SendMessage(EM_SETLIMITTEXT, chars); }
};

class CButton : public CWindow {
public:
    using CWindow::CWindow;
    CButton& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
    void SetCheck(int check) const { SendMessage(BM_SETCHECK, check); }
};

class CUpDownCtrl : public CWindow {
public:
    using CWindow::CWindow;
    CUpDownCtrl& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }
    HWND SetBuddy(HWND buddy) const { return reinterpret_cast<HWND>(SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy))); }
    void SetRange32(int lower, int upper) const { SendMessage(UDM_SETRANGE32, lower, upper); }
    int SetPos32(int pos) const { return static_cast<int>(SendMessage(UDM_SETPOS32, 0, pos)); }
    int GetPos32() const { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
};

class CProgressBarCtrl : public CWindow {
public:
    using CWindow::CWindow;
    CProgressBarCtrl& operator=(HWND hWnd) { m_hWnd = hWnd; return *this; }
    void SetRange32(int lower, int upper) const { SendMessage(PBM_SETRANGE32, lower, upper); }
    int SetPos(int pos) const { return static_cast<int>(SendMessage(PBM_SETPOS, pos)); }
    int GetPos() const { return static_cast<int>(SendMessage(PBM_GETPOS)); }
};
