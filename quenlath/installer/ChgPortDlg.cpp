#include "ChgPortDlg.h"

#include <string>
#include <vector>

#include "PortNames.h"
#include "com/RegKey.h"
#include "ui/MfcApp.h"

namespace {

// Every value's data of a device map key as in-use names; false when the
// key's sizes or a value can't be read (values gone meanwhile end the list).
bool ReadInUseNames(HKEY key, const std::wstring& prefix, std::vector<std::wstring>& names)
{
    DWORD values = 0, longestName = 0, longestData = 0;
    if (RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, &longestName,
                         &longestData, nullptr, nullptr) != ERROR_SUCCESS)
        return false;
    std::vector<wchar_t> name(longestName + 1);
    // The data plus room for a terminator behind it, whatever its length.
    std::vector<wchar_t> data(longestData / sizeof(wchar_t) + 2);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameChars = static_cast<DWORD>(name.size());
        DWORD dataBytes = longestData;
        const LSTATUS read = RegEnumValueW(key, i, name.data(), &nameChars, nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(data.data()), &dataBytes);
        if (read == ERROR_NO_MORE_ITEMS)
            break;
        if (read != ERROR_SUCCESS)
            return false;
        data[dataBytes / sizeof(wchar_t)] = L'\0';
        names.push_back(InUseName(data.data(), prefix));
    }
    return true;
}

} // namespace

CChgPortDlg::CChgPortDlg() : CDialog(IDD_CHANGE_PORT) {}

void CChgPortDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PORT_NAMES, m_portCombo);
}

BOOL CChgPortDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    UpdateData(FALSE);

    const PortNameKind* kind = PortNameKindOf(m_strOldName.GetString());
    if (kind && !FillFreePortNames(kind->deviceMapKey, kind->prefix, kind->highest))
        AfxMessageBox(IDS_PORT_NAMES_UNREAD, MB_ICONEXCLAMATION);
    if (m_portCombo.GetCount() > 0)
        m_portCombo.SetCurSel(0);
    return TRUE;
}

bool CChgPortDlg::FillFreePortNames(const wchar_t* keyPath, const wchar_t* prefix, int highest)
{
    CRegKey key;
    std::vector<std::wstring> inUse;
    if (key.Open(HKEY_LOCAL_MACHINE, keyPath, KEY_READ) != ERROR_SUCCESS || !ReadInUseNames(key.Get(), prefix, inUse))
        return false;
    for (const std::wstring& name : FreePortNames(prefix, highest, inUse))
        m_portCombo.AddString(name.c_str());
    return true;
}

void CChgPortDlg::OnOK()
{
    const int selected = m_portCombo.GetCurSel();
    m_strNewName = selected >= 0 ? m_portCombo.GetLBText(selected) : CString();
    CDialog::OnOK();
}
