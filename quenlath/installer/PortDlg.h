// Asks whether the port to install is a serial or a parallel one.
#pragma once

#include "ui/MfcDialog.h"

#include "resource.h"

class CPortDlg : public CDialog {
public:
    enum { IDD = IDD_PORT_TYPE };

    explicit CPortDlg(HWND parent = nullptr) : CDialog(IDD_PORT_TYPE, parent) {}

    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Radio(pDX, IDC_SERIAL_PORT, m_nPortType);
    }

    // 0 serial, 1 parallel (the checked radio button after Ok).
    int GetPortType() const { return m_nPortType; }

    int m_nPortType = 0;
};
