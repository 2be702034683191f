#include "DeviceModel.h"

#include <cwchar>

namespace {
struct PortWord {
    const wchar_t* word;
    PortKind kind;
};
const PortWord kPortWords[] = {
    {L"none", PortKind::None},
    {L"serial", PortKind::Serial},
    {L"parallel", PortKind::Parallel},
    {L"usb", PortKind::Usb},
    {L"ethernet", PortKind::Ethernet},
};

wchar_t FoldAscii(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}
} // namespace

bool EqualsAsciiNoCase(const wchar_t* a, const wchar_t* b)
{
    for (; *a && *b; ++a, ++b) {
        if (FoldAscii(*a) != FoldAscii(*b))
            return false;
    }
    return *a == *b;
}

void DeviceModel::AddParam(const wchar_t* portWord, const wchar_t* name, const ModelParam::Value& value)
{
    for (const PortWord& entry : kPortWords) {
        if (wcscmp(portWord, entry.word) == 0) {
            m_params.push_back(ModelParam{entry.kind, name, value});
            return;
        }
    }
}

CString DeviceModel::GetParamString(const wchar_t* name) const
{
    for (const ModelParam& param : m_params) {
        if (!EqualsAsciiNoCase(param.name, name))
            continue;
        if (const DWORD* number = std::get_if<DWORD>(&param.value)) {
            CString text;
            text.Format(L"%u", static_cast<unsigned>(*number));
            return text;
        }
        return std::get<CString>(param.value);
    }
    return CString();
}
