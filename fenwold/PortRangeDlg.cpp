#include "PortRangeDlg.h"

#include "Messages.h"
#include "ui/Number.h"

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
    // Both numbers are taken or neither.
    int com = 0;
    int lpt = 0;
    if (!ReadPortCount(IDC_PORTRANGE_COM, kMaxComPorts, com) || !ReadPortCount(IDC_PORTRANGE_LPT, kMaxLptPorts, lpt))
        return 0;
    m_maxComPort = com;
    m_maxLptPort = lpt;
    EndDialog(IDOK);
    return 0;
}

bool CPortRangeDlg::ReadPortCount(int id, int highest, int& value)
{
    HWND edit = GetDlgItem(id);
    if (ui::ParseInt(CWindow(edit).GetWindowText(), value) && value >= 1 && value <= highest)
        return true;
    ShowWarning(m_hWnd, FormatText(IDS_PORT_RANGE_INVALID, highest));
    // The dialog manager focuses the edit and selects its text.
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit), TRUE);
    return false;
}

LRESULT CPortRangeDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}
