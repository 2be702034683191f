// Add New LDN: writes a logical device name (a REG_SZ value of a device
// class key whose data is a device key name) for a device chosen from the
// main window's tree.  IDOK after a value was written, IDCANCEL otherwise.
#pragma once

#include "resource.h"
#include "ui/Controls.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/String.h"

class CAddLdnDlg : public CDialogImpl<CAddLdnDlg>, public CWinDataExchange<CAddLdnDlg> {
public:
    enum { IDD = IDD_ADD_LDN };

    // `tree` is the main window's device tree, read through g_classMap and
    // g_deviceMap; the dialog preselects `className` and `deviceName`.
    CAddLdnDlg(const wchar_t* className, const wchar_t* deviceName, HWND tree);

    CString m_className;
    CString m_deviceName;
    CTreeViewCtrl m_tree;
    CComboBox m_classList;
    CComboBox m_deviceList;
    CString m_logicalName;

    BEGIN_MSG_MAP(CAddLdnDlg)
        COMMAND_HANDLER(IDC_ADDLDN_CLASS, CBN_SELCHANGE, OnSelChangeClass)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CAddLdnDlg)
        DDX_TEXT(IDC_ADDLDN_NAME, m_logicalName)
        DDX_CONTROL_HANDLE(IDC_ADDLDN_CLASS, m_classList)
        DDX_CONTROL_HANDLE(IDC_ADDLDN_DEVICE, m_deviceList)
    END_DDX_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSelChangeClass(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
};
