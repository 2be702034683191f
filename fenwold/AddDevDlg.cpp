#include "AddDevDlg.h"

#include "AtlReg.h"
#include "DeviceCatalog.h"
#include "LogicalName.h"
#include "Messages.h"
#include "ServiceOposKey.h"
#include "com/RegKey.h"
#include "ui/MessageBox.h"

#include <memory>

namespace {
const wchar_t kOleForRetailKey[] = L"SOFTWARE\\OLEforRetail\\";
// The POS-printer service object; its module path becomes "Service".
const wchar_t kServiceObjectClsid[] = L"{A2D53531-D1B5-445F-89A6-82A5C1D330F0}";
constexpr REGSAM kReadWrite = KEY_READ | KEY_WRITE;

// The port kinds the port list offers, in this order, with their labels.
struct PortLabel {
    PortKind kind;
    UINT labelId;
};
const PortLabel kPortLabels[] = {
    {PortKind::Serial, IDS_PORT_SERIAL},
    {PortKind::Parallel, IDS_PORT_PARALLEL},
    {PortKind::Usb, IDS_PORT_USB},
    {PortKind::Ethernet, IDS_PORT_ETHERNET},
};

bool HasPortKind(const DeviceModel& entry, PortKind kind)
{
    for (int i = 0; i < entry.GetParamCount(); ++i) {
        if (entry.GetParamPort(i) == kind)
            return true;
    }
    return false;
}

// A model names one key below the class key: not empty and without a
// backslash (an empty name would address the class key itself).
bool IsKeyName(const CString& model)
{
    return !model.IsEmpty() && model.Find(L'\\') < 0;
}

LONG WriteParam(CRegKey& key, const ModelParam& param)
{
    if (const DWORD* number = std::get_if<DWORD>(&param.value))
        return key.SetDWORDValue(param.name, *number);
    return key.SetStringValue(param.name, std::get<CString>(param.value));
}

// The soname, the params of no port kind or of `kind` in catalogue order
// (later writes of a name replace earlier ones), then "Service".  The first
// failing write's code.
LONG WriteValues(CRegKey& device, const DeviceModel& entry, PortKind kind)
{
    LONG result = device.SetStringValue(L"", entry.soname);
    for (int i = 0; i < entry.GetParamCount() && result == ERROR_SUCCESS; ++i) {
        const ModelParam& param = entry.GetParam(i);
        if (param.port == PortKind::None || param.port == kind)
            result = WriteParam(device, param);
    }
    const CString service = GetInprocServerPath(kServiceObjectClsid);
    if (result == ERROR_SUCCESS && !service.IsEmpty())
        result = device.SetStringValue(L"Service", service);
    return result;
}
} // namespace

LRESULT CAddDevDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    DoDataExchange(FALSE);
    CenterWindow(GetParent());
    m_catalogue = ReadCatalogue(m_className);
    for (const DeviceModel& entry : m_catalogue)
        m_modelList.AddString(entry.model);
    return 0;
}

LRESULT CAddDevDlg::OnSelChangeModel(WORD, WORD, HWND, BOOL&)
{
    const int selected = m_modelList.GetCurSel();
    const DeviceModel* entry = selected >= 0 ? FindModel(m_modelList.GetLBText(selected)) : nullptr;
    m_description = entry ? entry->GetParamString(L"DeviceDesc") : CString();

    m_portList.ResetContent();
    if (entry) {
        for (const PortLabel& label : kPortLabels) {
            if (HasPortKind(*entry, label.kind))
                m_portList.AddString(LoadText(label.labelId));
        }
    }
    if (m_portList.GetCount() > 0)
        m_portList.SetCurSel(0);
    DoDataExchange(FALSE, IDC_ADDDEV_DESCRIPTION); // a logical name typed already stays
    return 0;
}

LRESULT CAddDevDlg::OnOK(WORD, WORD, HWND, BOOL&)
{
    DoDataExchange(TRUE);
    const int modelIndex = m_modelList.GetCurSel();
    if (modelIndex < 0) {
        ShowWarning(m_hWnd, IDS_SELECT_DEVICE);
        return 0;
    }
    const int portIndex = m_portList.GetCurSel();
    if (portIndex < 0) {
        ShowWarning(m_hWnd, IDS_SELECT_PORT);
        return 0;
    }

    const CString portText = m_portList.GetLBText(portIndex);
    PortKind kind = PortKind::None;
    for (const PortLabel& label : kPortLabels) {
        if (LoadText(label.labelId) == portText) {
            kind = label.kind;
            break;
        }
    }

    const DeviceModel* entry = FindModel(m_modelList.GetLBText(modelIndex));
    if (!entry) {
        ShowError(m_hWnd, IDS_ADD_DEVICE_FAILS, ERROR_NO_MORE_ITEMS);
        return 0;
    }
    if (!IsKeyName(entry->model)) {
        ShowError(m_hWnd, IDS_ADD_DEVICE_FAILS, ERROR_INVALID_NAME);
        return 0;
    }
    if (!CheckLdn() || !MayReplace(entry->model) || !WriteDevice(*entry, kind))
        return 0;
    EndDialog(IDOK);
    return 0;
}

LRESULT CAddDevDlg::OnCancel(WORD, WORD, HWND, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

LRESULT CAddDevDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&)
{
    EndDialog(IDCANCEL);
    return 0;
}

const DeviceModel* CAddDevDlg::FindModel(const wchar_t* model) const
{
    for (const DeviceModel& entry : m_catalogue) {
        if (entry.model == model)
            return &entry;
    }
    return nullptr;
}

CString CAddDevDlg::DevicePath(const CString& model) const
{
    return ServiceOposPath(m_className + L"\\" + model);
}

bool CAddDevDlg::CheckLdn()
{
    if (m_ldn.IsEmpty())
        return true; // no logical name
    UINT refusal = 0;
    if (!IsValidLogicalName(m_ldn)) {
        refusal = IDS_LDN_INVALID;
    } else {
        RegKeyEx classKey;
        CRegData existing;
        if (classKey.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(m_className), KEY_READ) == ERROR_SUCCESS &&
            classKey.FindValue(m_ldn, &existing))
            refusal = IDS_LDN_EXISTS;
    }
    if (refusal == 0)
        return true;
    ShowError(m_hWnd, refusal);
    return false;
}

bool CAddDevDlg::MayReplace(const CString& model)
{
    const CString path = DevicePath(model);
    {
        CRegKey existing;
        if (existing.Open(HKEY_LOCAL_MACHINE, path, KEY_READ) != ERROR_SUCCESS)
            return true; // nothing to replace
    }
    const CString question = FormatText(IDS_REPLACE_DEVICE, static_cast<const wchar_t*>(model));
    if (ui::ShowMessageBox(m_hWnd, question, m_className + L"\\" + model, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return false;
    // The old device goes whole, subkeys and all, so nothing of it mixes with the new one.
    const LONG deleted = ::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path);
    if (deleted != ERROR_SUCCESS) {
        ShowError(m_hWnd, IDS_ADD_DEVICE_FAILS, deleted);
        return false;
    }
    return true;
}

bool CAddDevDlg::WriteDevice(const DeviceModel& entry, PortKind kind)
{
    {
        // Containers first; a failure shows in the device key's creation.
        CRegKey container;
        (void)container.Create(HKEY_LOCAL_MACHINE, kOleForRetailKey, kReadWrite);
        (void)container.Create(HKEY_LOCAL_MACHINE, kServiceOposKey, kReadWrite);
    }
    const CString path = DevicePath(entry.model);
    LONG result = ERROR_SUCCESS;
    {
        CRegKey device;
        result = device.Create(HKEY_LOCAL_MACHINE, path, kReadWrite);
        if (result != ERROR_SUCCESS) {
            ShowError(m_hWnd, IDS_ADD_DEVICE_FAILS, result);
            return false;
        }
        result = WriteValues(device, entry, kind);
    }
    if (result == ERROR_SUCCESS && !m_ldn.IsEmpty()) {
        CRegKey classKey;
        result = classKey.Open(HKEY_LOCAL_MACHINE, ServiceOposPath(m_className), kReadWrite);
        if (result == ERROR_SUCCESS)
            result = classKey.SetStringValue(m_ldn, entry.model);
    }
    if (result != ERROR_SUCCESS) {
        // No half-written device stays behind; the dialog stays open.
        (void)::RegDeleteTreeW(HKEY_LOCAL_MACHINE, path);
        ShowError(m_hWnd, IDS_ADD_DEVICE_FAILS, result);
        return false;
    }
    return true;
}

CString GetInprocServerPath(const wchar_t* classId)
{
    CRegKey key;
    if (key.Open(HKEY_CLASSES_ROOT, CString(L"CLSID\\") + classId + L"\\InprocServer32", KEY_READ) != ERROR_SUCCESS)
        return CString();
    DWORD type = 0;
    DWORD bytes = 0;
    if (::RegQueryValueExW(key.Get(), nullptr, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return CString();
    // One character more than stored, zero-filled: the text ends even when
    // the stored value has no terminator.
    const DWORD chars = (bytes + 1) / sizeof(wchar_t) + 1;
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[chars]());
    DWORD size = bytes;
    if (::RegQueryValueExW(key.Get(), nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.get()), &size) != ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ))
        return CString();
    return CString(buffer.get());
}
