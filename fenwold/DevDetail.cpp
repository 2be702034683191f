#include "DevDetail.h"

#include "com/RegKey.h"

namespace {
// Each shown value, its edit and its read buffer in characters (the
// terminating zero included); a value that does not fit is not shown.
struct DetailField {
    const wchar_t* value;
    int editId;
    ULONG bufferChars;
};

constexpr DetailField kFields[] = {
    {L"DeviceName", IDC_DETAIL_NAME, 100},
    {L"DeviceDesc", IDC_DETAIL_DESC, 100},
    {L"Service", IDC_DETAIL_SERVICE, 260},
    {L"Description", IDC_DETAIL_DESCRIPTION, 100},
    {L"Version", IDC_DETAIL_VERSION, 100},
    {L"", IDC_DETAIL_SONAME, 100}, // the key's default value: the service object's ProgID
};
constexpr ULONG kLargestBuffer = 260;
} // namespace

LRESULT CDevDetail::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, m_keyPath, KEY_READ) != ERROR_SUCCESS)
        return 0;
    for (const DetailField& field : kFields) {
        wchar_t text[kLargestBuffer];
        ULONG chars = field.bufferChars;
        if (key.QueryStringValue(field.value, text, &chars) == ERROR_SUCCESS)
            SetDlgItemText(field.editId, text);
    }
    return 0;
}
