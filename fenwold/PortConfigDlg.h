// "Port Details": a device's port name, serial options and buffer/time
// numbers, edited in place in its registry key.
#pragma once

#include "PortSettings.h"
#include "resource.h"
#include "ui/Controls.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"

class CPortConfigDlg : public CDialogImpl<CPortConfigDlg>, public CWinDataExchange<CPortConfigDlg> {
public:
    enum { IDD = IDD_PORT_CONFIG };

    // `devicePath`: class name, a backslash and device key name (relative to
    // ServiceOPOS).  The port list offers COM1..COM<maxCom> for a serial
    // device and LPT1..LPT<maxLpt> for a parallel one.
    CPortConfigDlg(const wchar_t* devicePath, int maxCom, int maxLpt);
    virtual ~CPortConfigDlg() = default;

    BEGIN_MSG_MAP(CPortConfigDlg)
        COMMAND_HANDLER(IDOK, BN_CLICKED, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        MESSAGE_HANDLER(WM_CLOSE, OnClose)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CPortConfigDlg)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_PORT, m_portList)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_BAUDRATE, m_baudList)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_BITLENGTH, m_bitLengthList)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_PARITY, m_parityList)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_STOPBIT, m_stopList)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_HANDSHAKE, m_handShakeList)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_INPUTBUF, m_inputBufEdit)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_OUTPUTBUF, m_outputBufEdit)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_TIMEOUT, m_timeoutEdit)
        DDX_CONTROL_HANDLE(IDC_PORTCFG_INPUTSLEEP, m_inputSleepEdit)
    END_DDX_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);

    PortSettings m_settings;
    CComboBox m_portList;
    CComboBox m_baudList;
    CComboBox m_bitLengthList;
    CComboBox m_parityList;
    CComboBox m_stopList;
    CComboBox m_handShakeList;
    int m_maxCom;
    int m_maxLpt;
    CEdit m_inputBufEdit;
    CEdit m_outputBufEdit;
    CEdit m_timeoutEdit;
    CEdit m_inputSleepEdit;

private:
    void FillControls();
    // The handshake entry that the stored HandShake and XonXoff stand for.
    std::optional<int> HandShakeEntryIndex() const;
    void AddPortNames(const wchar_t* format, int highest);
    void SelectPort();
    // Takes the four number edits into m_settings, all or none: false, with
    // a message and the offending edit's text selected, when one holds text
    // that is not a number from 0 to INT_MAX.
    bool TakeNumbers();
    void RefuseNumber(const CEdit& edit);
    // Takes the lists' choices into m_settings and saves them; false when
    // the key could not be written.
    bool ApplySettings();
    void CloseDialog(int result);
};
