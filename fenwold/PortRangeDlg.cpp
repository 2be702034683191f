#include "PortRangeDlg.h"

#include <cwchar>

namespace {
constexpr int kDefaultComPorts = 10;
constexpr int kDefaultLptPorts = 1;

void SetNumber(CWindow& dialog, int id, int value)
{
    wchar_t text[16];
    swprintf(text, 16, L"%d", value);
    dialog.SetDlgItemText(id, text);
}
} // namespace

CPortRangeDlg::CPortRangeDlg(int maxComPort, int maxLptPort) : m_maxComPort(maxComPort), m_maxLptPort(maxLptPort)
{
}

LRESULT CPortRangeDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    DoDataExchange(FALSE);
    // The arrows reach no higher than the numbers the dialog opened with.
    m_spinCom.SetBuddy(GetDlgItem(IDC_PORTRANGE_COM));
    m_spinCom.SetRange32(1, m_maxComPort);
    m_spinCom.SetPos32(m_maxComPort);
    m_spinLpt.SetBuddy(GetDlgItem(IDC_PORTRANGE_LPT));
    m_spinLpt.SetRange32(1, m_maxLptPort);
    m_spinLpt.SetPos32(m_maxLptPort);
    CenterWindow(GetParent());
    return FALSE;
}

LRESULT CPortRangeDlg::OnDefaultCom(WORD, WORD, HWND, BOOL&)
{
    SetNumber(*this, IDC_PORTRANGE_COM, kDefaultComPorts);
    return 0;
}

LRESULT CPortRangeDlg::OnDefaultLpt(WORD, WORD, HWND, BOOL&)
{
    SetNumber(*this, IDC_PORTRANGE_LPT, kDefaultLptPorts);
    return 0;
}

LRESULT CPortRangeDlg::OnOK(WORD, WORD, HWND, BOOL&)
{
    // A text that is not a number beeps and leaves 0 (the exchange stops at
    // it); the dialog ends with IDOK all the same.
    (void)DoDataExchange(TRUE);
    if (m_maxComPort > kPortNumberLimit)
        m_maxComPort = kPortNumberLimit;
    if (m_maxLptPort > kPortNumberLimit)
        m_maxLptPort = kPortNumberLimit;
    EndDialog(IDOK);
    return 0;
}

LRESULT CPortRangeDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
