// Command 32773: an interactive CheckHealth of the selected device through
// the OPOS control object of its class.
#include "MainFrm.h"

#include "DeviceMaps.h"
#include "Messages.h"
#include "OposControl.h"

namespace {

// Message 153 for the method `name` that failed with `result`.
void ShowCallError(HWND owner, const wchar_t* name, long result, long extended)
{
    ShowError(owner, FormatText(IDS_CHECKHEALTH_ERROR, name, result, extended));
}

// The OPOS result of the last call; a call that delivered no result counts as
// failed, with its HRESULT standing in for the result.
long OposResult(const OposControl& control)
{
    long result = 0;
    return control.Result(result) ? result : static_cast<long>(control.LastError());
}

} // namespace

LRESULT CMainFrame::OnCheckHealth(WORD, WORD, HWND, BOOL&)
{
    const int index = g_deviceMap.FindKey(m_tree.GetSelectedItem());
    if (index < 0) {
        ShowWarning(m_hWnd, IDS_SELECT_DEVICE);
        return 0;
    }
    const CString& path = g_deviceMap.GetValueAt(index);
    const int slash = path.Find(L'\\');
    const CString deviceClass = path.Left(slash);
    const CString deviceName = path.Mid(slash + 1);

    OposControl control;
    const HRESULT created = control.Create(deviceClass);
    if (FAILED(created)) {
        ShowError(m_hWnd, FormatText(IDS_NO_CONTROL_OBJECT, static_cast<const wchar_t*>(deviceClass),
                                     static_cast<unsigned long>(created)));
        return 0;
    }

    control.Call(ControlCallId::Open, deviceName);
    const long opened = OposResult(control);
    if (opened != 0) {
        ShowCallError(m_hWnd, L"Open", opened, control.ReadResultCodeExtended());
        return 0; // not opened, so not closed
    }

    control.Call(ControlCallId::ClaimDevice);
    const long claimed = OposResult(control);
    if (claimed != 0) {
        ShowCallError(m_hWnd, L"ClaimDevice", claimed, control.ReadResultCodeExtended());
    } else {
        // What the check finds the control or service object shows itself;
        // the outcome of these calls changes nothing here.
        control.Call(ControlCallId::Enable);
        control.Call(ControlCallId::CheckHealth);
        control.Call(ControlCallId::Disable);
        control.Call(ControlCallId::ReleaseDevice);
    }
    control.Call(ControlCallId::Close);
    return 0;
}
