#include "PortSettings.h"

#include "PortOptions.h"
#include "ServiceOposKey.h"
#include "com/RegKey.h"

#include <cwchar>

namespace {

// Buffer sizes in characters, terminator included.
const ULONG kGroupIdChars = 9;
const ULONG kValueChars = 19;

bool ReadText(const CRegKey& key, const wchar_t* name, wchar_t* buffer, ULONG size)
{
    ULONG chars = size;
    return key.QueryStringValue(name, buffer, &chars) == ERROR_SUCCESS;
}

// `field` is an int or a std::optional<int>; a value that cannot be read leaves it.
template <typename Field>
void ReadNumber(const CRegKey& key, const wchar_t* name, Field& field)
{
    DWORD value = 0;
    if (key.QueryDWORDValue(name, value) == ERROR_SUCCESS)
        field = static_cast<int>(value);
}

void ReadSelList(const CRegKey& key, const wchar_t* name, OptionMap& map, const OptionText* table, int size)
{
    wchar_t text[kValueChars] = {};
    if (ReadText(key, name, text, kValueChars))
        PortSettings::ParseSelList(map, text, table, size);
}

} // namespace

PortKind PortKindFromGroupId(const wchar_t* groupId)
{
    const size_t length = wcslen(groupId);
    if (length == 0)
        return PortKind::None;
    switch (groupId[length - 1]) {
    case L'S': return PortKind::Serial;
    case L'P': return PortKind::Parallel;
    case L'U': return PortKind::Usb;
    case L'E': return PortKind::Ethernet;
    default: return PortKind::None;
    }
}

PortSettings::PortSettings(const wchar_t* devicePath) : m_keyPath(ServiceOposPath(devicePath))
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, m_keyPath, KEY_READ) != ERROR_SUCCESS)
        return;
    wchar_t groupId[kGroupIdChars] = {};
    if (ReadText(key, L"GroupID", groupId, kGroupIdChars))
        m_kind = PortKindFromGroupId(groupId);
}

void PortSettings::Load()
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, m_keyPath, KEY_READ) != ERROR_SUCCESS)
        return;

    wchar_t port[kValueChars] = {};
    ULONG chars = kValueChars;
    const LONG portResult = key.QueryStringValue(L"Port", port, &chars);
    if (portResult == ERROR_SUCCESS && port[0] != L'\0')
        m_port = port;
    m_portUnreadable = portResult != ERROR_SUCCESS && portResult != ERROR_FILE_NOT_FOUND;

    if (IsSerial()) {
        ReadSelList(key, L"BaudrateSel", m_baudOptions, BaudrateOptions, 11);
        ReadNumber(key, L"Baudrate", m_baudRate);
        ReadSelList(key, L"BitLengthSel", m_bitLengthOptions, BitLengthOptions, 2);
        ReadNumber(key, L"BitLength", m_bitLength);
        ReadSelList(key, L"ParitySel", m_parityOptions, ParityOptions, 3);
        ReadNumber(key, L"Parity", m_parity);
        ReadSelList(key, L"StopSel", m_stopOptions, StopOptions, 3);
        ReadNumber(key, L"Stop", m_stop);
        ReadSelList(key, L"HandShakeSel", m_handShakeOptions, HandShakeOptions, 3);
        ReadNumber(key, L"HandShake", m_handShake);

        // Only the indexes matter here; XON/XOFF is offered when 1 is listed.
        OptionMap xonXoffSel;
        ReadSelList(key, L"XonXoffSel", xonXoffSel, HandShakeOptions, 3);
        if (xonXoffSel.Find(1) >= 0)
            m_handShakeOptions.Append(XonXoffOption.index, XonXoffOption.text);
        ReadNumber(key, L"XonXoff", m_xonXoff);
    }

    ReadNumber(key, L"InputBuf", m_inputBuf);
    ReadNumber(key, L"OutputBuf", m_outputBuf);
    ReadNumber(key, L"Timeout", m_timeout);
    ReadNumber(key, L"InputSleep", m_inputSleep);
}

bool PortSettings::Save(bool writePort)
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, m_keyPath, KEY_WRITE) != ERROR_SUCCESS)
        return false;

    bool written = true;
    auto setNumber = [&](const wchar_t* name, int value) {
        written = key.SetDWORDValue(name, static_cast<DWORD>(value)) == ERROR_SUCCESS && written;
    };
    if (writePort)
        written = key.SetStringValue(L"Port", m_port) == ERROR_SUCCESS && written;

    if (IsSerial()) {
        const struct {
            const wchar_t* name;
            const std::optional<int>& value;
        } serial[] = {{L"Baudrate", m_baudRate}, {L"BitLength", m_bitLength}, {L"Parity", m_parity},
                      {L"Stop", m_stop},         {L"HandShake", m_handShake}, {L"XonXoff", m_xonXoff}};
        for (const auto& value : serial) {
            if (value.value)
                setNumber(value.name, *value.value);
        }
    }

    const struct {
        const wchar_t* name;
        int value;
    } numbers[] = {{L"InputBuf", m_inputBuf}, {L"OutputBuf", m_outputBuf}, {L"Timeout", m_timeout},
                   {L"InputSleep", m_inputSleep}};
    for (const auto& number : numbers) {
        if (number.value >= 0)
            setNumber(number.name, number.value);
    }
    return written;
}

void PortSettings::ParseSelList(OptionMap& map, const wchar_t* text, const OptionText* table, int size)
{
    const wchar_t* cursor = text;
    const wchar_t* const end = text + wcslen(text);
    while (cursor < end) {
        wchar_t* next = nullptr;
        // long is 32 bits here, so wcstol clamps to the 32-bit limits.
        const long value = wcstol(cursor, &next, 10);
        if (value >= 0 && value < size)
            map.Append(table[value].index, table[value].text);
        cursor = next + 1;
    }
}
