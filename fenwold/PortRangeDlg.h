// Port Range Settings: the highest COM and LPT numbers that Communication
// Settings offers.  The caller passes the frame's current numbers and, after
// IDOK, reads m_maxComPort and m_maxLptPort back.
#pragma once

#include "resource.h"
#include "ui/Controls.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"

class CPortRangeDlg : public CDialogImpl<CPortRangeDlg>, public CWinDataExchange<CPortRangeDlg> {
public:
    enum { IDD = IDD_PORT_RANGE };

    // Highest numbers accepted: Windows names ports up to COM256 and LPT9.
    static constexpr int kMaxComPorts = 256;
    static constexpr int kMaxLptPorts = 9;

    CPortRangeDlg(int maxComPort, int maxLptPort);

    CUpDownCtrl m_spinCom;
    CUpDownCtrl m_spinLpt;
    int m_maxComPort;
    int m_maxLptPort;

    BEGIN_MSG_MAP(CPortRangeDlg)
        COMMAND_HANDLER(IDC_PORTRANGE_COM_DEFAULT, BN_CLICKED, OnDefaultCom)
        COMMAND_HANDLER(IDC_PORTRANGE_LPT_DEFAULT, BN_CLICKED, OnDefaultLpt)
        COMMAND_HANDLER(IDOK, BN_CLICKED, OnOK)
        COMMAND_HANDLER(IDCANCEL, BN_CLICKED, OnCancel)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CPortRangeDlg)
        DDX_CONTROL_HANDLE(IDC_PORTRANGE_COM_SPIN, m_spinCom)
        DDX_CONTROL_HANDLE(IDC_PORTRANGE_LPT_SPIN, m_spinLpt)
        DDX_INT(IDC_PORTRANGE_COM, m_maxComPort)
        DDX_INT(IDC_PORTRANGE_LPT, m_maxLptPort)
    END_DDX_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDefaultCom(WORD, WORD, HWND, BOOL&);
    LRESULT OnDefaultLpt(WORD, WORD, HWND, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);

private:
    // The number in edit `id` when it is a whole number from 1 to `highest`;
    // otherwise a message, the edit's text selected, and false.
    bool ReadPortCount(int id, int highest, int& value);
};
