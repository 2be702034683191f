// The Add New Device dialog: a model of one device class from the catalogue,
// a port kind and an optional logical device name become a device key.
#pragma once

#include "DeviceModel.h"
#include "resource.h"
#include "ui/Controls.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"

#include <vector>

class CAddDevDlg : public CDialogImpl<CAddDevDlg>, public CWinDataExchange<CAddDevDlg> {
public:
    enum { IDD = IDD_ADD_DEVICE };

    // Set by the caller before the dialog runs: the class whose models are
    // offered and under whose key the device is added.
    CString m_className;

    BEGIN_MSG_MAP(CAddDevDlg)
        COMMAND_HANDLER(IDC_ADDDEV_MODEL, CBN_SELCHANGE, OnSelChangeModel)
        COMMAND_HANDLER(IDCANCEL, BN_CLICKED, OnCancel)
        COMMAND_HANDLER(IDOK, BN_CLICKED, OnOK)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CAddDevDlg)
        DDX_CONTROL_HANDLE(IDC_ADDDEV_MODEL, m_modelList)
        DDX_TEXT(IDC_ADDDEV_DESCRIPTION, m_description)
        DDX_CONTROL_HANDLE(IDC_ADDDEV_PORT_KIND, m_portList)
        DDX_TEXT(IDC_ADDDEV_LDN, m_ldn)
    END_DDX_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSelChangeModel(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);

private:
    // The first catalogue entry named `model` (exact case), or null.
    const DeviceModel* FindModel(const wchar_t* model) const;
    // The HKLM path of the class's device key `model`.
    CString DevicePath(const CString& model) const;
    // The logical name typed, when there is one, follows Add New LDN's rule
    // and is new to the class; false after a message.
    bool CheckLdn();
    // An existing device key `model` is deleted when the user agrees to
    // replace it; false (write nothing, stay open) otherwise.
    bool MayReplace(const CString& model);
    // Writes the device key and the logical name; false after a message, with
    // no half-written device left.
    bool WriteDevice(const DeviceModel& entry, PortKind kind);

    std::vector<DeviceModel> m_catalogue;
    CComboBox m_modelList;
    CString m_description;
    CComboBox m_portList;
    CString m_ldn;
};

// The default value of HKCR\CLSID\<classId>\InprocServer32 (unexpanded), or
// the empty string when it cannot be read.
CString GetInprocServerPath(const wchar_t* classId);
