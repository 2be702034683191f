#include "PortConfigDlg.h"

#include "Messages.h"
#include "ui/Number.h"

#include <climits>
#include <iterator>

namespace {

// Shows `map` in `list` and selects the entry of `value` when offered.
void FillOptions(const CComboBox& list, const OptionMap& map, std::optional<int> value)
{
    for (int i = 0; i < map.GetSize(); ++i)
        list.AddString(map.TextAt(i));
    const int entry = value ? map.Find(*value) : -1;
    if (entry >= 0)
        list.SetCurSel(entry);
}

// The chosen option's index into `field`; no choice leaves it.
void TakeOption(const CComboBox& list, const OptionMap& map, std::optional<int>& field)
{
    const int entry = list.GetCurSel();
    if (entry >= 0 && entry < map.GetSize())
        field = map.IndexAt(entry);
}

// Reads `edit` into `value`: a whole number from 0 to INT_MAX (an empty edit
// leaves `value`); with `zeroUnset` a 0 means not set (-1).  False when the
// edit holds anything else, which the digits-only style lets a paste through.
bool ReadNumber(const CEdit& edit, bool zeroUnset, int& value)
{
    const CString text = edit.GetWindowText();
    if (text.IsEmpty())
        return true;
    int number = 0;
    if (!ui::ParseInt(text, number) || number < 0)
        return false;
    value = (zeroUnset && number == 0) ? -1 : number;
    return true;
}

// The text of the label that precedes `edit` in the template, without its
// mnemonic mark.
CString FieldName(const CEdit& edit)
{
    const CString label = CWindow(::GetWindow(edit, GW_HWNDPREV)).GetWindowText();
    CString name;
    for (int i = 0; i < label.GetLength(); ++i) {
        if (label.GetAt(i) == L'&' && ++i == label.GetLength())
            break;
        name += label.GetAt(i);
    }
    return name;
}

void ShowNumber(const CEdit& edit, int value, int lowest)
{
    if (value < lowest)
        return;
    CString text;
    text.Format(L"%u", static_cast<unsigned>(value));
    edit.SetWindowText(text);
}

} // namespace

CPortConfigDlg::CPortConfigDlg(const wchar_t* devicePath, int maxCom, int maxLpt)
    : m_settings(devicePath), m_maxCom(maxCom), m_maxLpt(maxLpt)
{
}

LRESULT CPortConfigDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    DoDataExchange(FALSE);
    CenterWindow(GetParent());
    FillControls();
    m_inputBufEdit.SetLimitText(4);
    m_outputBufEdit.SetLimitText(4);
    m_timeoutEdit.SetLimitText(4);
    m_inputSleepEdit.SetLimitText(2);
    return 0; // no initial focus
}

void CPortConfigDlg::FillControls()
{
    for (int id : {IDC_PORTCFG_HIDDEN_EDIT, IDC_PORTCFG_UPDATE, IDC_PORTCFG_USB_AUTO})
        CWindow(GetDlgItem(id)).ShowWindow(SW_HIDE);
    const CComboBox* options[] = {&m_baudList, &m_bitLengthList, &m_parityList, &m_stopList, &m_handShakeList};
    for (const CComboBox* list : options)
        list->EnableWindow(FALSE);
    m_inputBufEdit.EnableWindow(FALSE);
    m_inputSleepEdit.EnableWindow(FALSE);

    m_settings.Load();
    m_portList.AddString(L"None");

    if (m_settings.IsSerial()) {
        for (const CComboBox* list : options)
            list->EnableWindow(TRUE);
        AddPortNames(L"COM%d", m_maxCom);
        SelectPort();
        FillOptions(m_baudList, m_settings.m_baudOptions, m_settings.m_baudRate);
        FillOptions(m_bitLengthList, m_settings.m_bitLengthOptions, m_settings.m_bitLength);
        FillOptions(m_parityList, m_settings.m_parityOptions, m_settings.m_parity);
        FillOptions(m_stopList, m_settings.m_stopOptions, m_settings.m_stop);
        FillOptions(m_handShakeList, m_settings.m_handShakeOptions, HandShakeEntryIndex());
    } else if (m_settings.IsParallel()) {
        AddPortNames(L"LPT%d", m_maxLpt);
        SelectPort();
    }

    ShowNumber(m_inputBufEdit, m_settings.m_inputBuf, 1);
    ShowNumber(m_outputBufEdit, m_settings.m_outputBuf, 1);
    ShowNumber(m_timeoutEdit, m_settings.m_timeout, 0);
    ShowNumber(m_inputSleepEdit, m_settings.m_inputSleep, 0);
}

std::optional<int> CPortConfigDlg::HandShakeEntryIndex() const
{
    // XON/XOFF stands under XonXoffKey in the handshake options.
    const long long xonXoff = m_settings.m_xonXoff.value_or(0);
    if (xonXoff == 0)
        return m_settings.m_handShake;
    const long long index = m_settings.m_xonXoffKey + xonXoff - 1;
    if (index < INT_MIN || index > INT_MAX)
        return std::nullopt;
    return static_cast<int>(index);
}

void CPortConfigDlg::AddPortNames(const wchar_t* format, int highest)
{
    for (int number = 1; number > 0 && number <= highest; ++number) {
        CString name;
        name.Format(format, number);
        if (m_portList.AddString(name) < 0)
            break; // the list is full
    }
}

void CPortConfigDlg::SelectPort()
{
    if (m_settings.m_portUnreadable)
        return;
    if (m_settings.m_port.IsEmpty()) {
        m_portList.SetCurSel(0);
        return;
    }
    // The port names first, "None" last; the whole name must match.
    const int count = m_portList.GetCount();
    for (int i = 1; i <= count; ++i) {
        const int entry = i % count;
        if (m_portList.GetLBText(entry).CompareNoCase(m_settings.m_port) == 0) {
            m_portList.SetCurSel(entry);
            return;
        }
    }
}

bool CPortConfigDlg::ApplySettings()
{
    const int portEntry = m_portList.GetCurSel();
    if (portEntry >= 1)
        m_settings.m_port = m_portList.GetLBText(portEntry);
    else if (portEntry == 0)
        m_settings.m_port.Empty();

    if (m_settings.IsSerial()) {
        TakeOption(m_baudList, m_settings.m_baudOptions, m_settings.m_baudRate);
        TakeOption(m_bitLengthList, m_settings.m_bitLengthOptions, m_settings.m_bitLength);
        TakeOption(m_parityList, m_settings.m_parityOptions, m_settings.m_parity);
        TakeOption(m_stopList, m_settings.m_stopOptions, m_settings.m_stop);
        std::optional<int> handShake;
        TakeOption(m_handShakeList, m_settings.m_handShakeOptions, handShake);
        if (handShake) {
            if (*handShake >= m_settings.m_xonXoffKey) {
                m_settings.m_xonXoff = *handShake - m_settings.m_xonXoffKey + 1;
                m_settings.m_handShake = 0;
            } else {
                m_settings.m_xonXoff = 0;
                m_settings.m_handShake = *handShake;
            }
        }
    }

    return m_settings.Save(portEntry >= 0);
}

bool CPortConfigDlg::TakeNumbers()
{
    const struct {
        const CEdit& edit;
        int& field;
        bool zeroUnset;
    } numbers[] = {{m_inputBufEdit, m_settings.m_inputBuf, true},
                   {m_outputBufEdit, m_settings.m_outputBuf, true},
                   {m_timeoutEdit, m_settings.m_timeout, false},
                   {m_inputSleepEdit, m_settings.m_inputSleep, false}};
    int values[std::size(numbers)];
    for (size_t i = 0; i < std::size(numbers); ++i) {
        values[i] = numbers[i].field;
        if (!ReadNumber(numbers[i].edit, numbers[i].zeroUnset, values[i])) {
            RefuseNumber(numbers[i].edit);
            return false;
        }
    }
    for (size_t i = 0; i < std::size(numbers); ++i)
        numbers[i].field = values[i];
    return true;
}

void CPortConfigDlg::RefuseNumber(const CEdit& edit)
{
    ShowWarning(m_hWnd, FormatText(IDS_NUMBER_INVALID, static_cast<const wchar_t*>(FieldName(edit))));
    // The dialog manager focuses the edit and selects its text.
    SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(edit.m_hWnd), TRUE);
}

LRESULT CPortConfigDlg::OnOK(WORD, WORD, HWND, BOOL&)
{
    if (!TakeNumbers())
        return 0;
    if (!ApplySettings()) {
        // The settings were not (all) stored: say so and let the user cancel.
        ShowError(m_hWnd, IDS_SET_REGISTRY_FAILS);
        return 0;
    }
    CloseDialog(IDOK);
    return 0;
}

LRESULT CPortConfigDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    CloseDialog(IDCANCEL);
    return 0;
}

LRESULT CPortConfigDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
    CloseDialog(IDCANCEL);
    return 0;
}

void CPortConfigDlg::CloseDialog(int result)
{
    EndDialog(result);
}
