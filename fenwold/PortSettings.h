// A device's port settings as the Port Details dialog edits them, loaded from
// and saved to its key SOFTWARE\OLEforRetail\ServiceOPOS\<class>\<device>
// under HKEY_LOCAL_MACHINE.
#pragma once

#include "OptionMap.h"
#include "PortKind.h"
#include "ui/String.h"

#include <optional>

// The kind named by the last letter of GroupID: S, P, U or E (upper case);
// anything else, and an empty text, is None.
PortKind PortKindFromGroupId(const wchar_t* groupId);

class PortSettings {
public:
    // `devicePath` is the class name, a backslash and the device key name.
    // Reads GroupID for the port kind at once.
    explicit PortSettings(const wchar_t* devicePath);

    // Reads what the key holds over the fields; absent or unreadable values
    // leave their field as it was.  The serial values only for a serial port.
    void Load();
    // Writes Port (when `writePort`), the serial values that are set (serial
    // port only) and the numbers that are 0 or more.  False when the key
    // could not be opened for writing or a value could not be written.
    bool Save(bool writePort);

    // Appends (n, table[n]) for each decimal number n of `text` with
    // 0 <= n < size; one separator character follows each number.
    static void ParseSelList(OptionMap& map, const wchar_t* text, const OptionText* table, int size);

    bool IsSerial() const { return m_kind == PortKind::Serial; }
    bool IsParallel() const { return m_kind == PortKind::Parallel; }

    CString m_keyPath;
    PortKind m_kind = PortKind::None;
    CString m_port;
    // The key holds a Port that could not be read (too long, or not a
    // string): no port entry stands for it, so it is kept.
    bool m_portUnreadable = false;
    OptionMap m_baudOptions;
    std::optional<int> m_baudRate;
    OptionMap m_bitLengthOptions;
    std::optional<int> m_bitLength;
    OptionMap m_parityOptions;
    std::optional<int> m_parity;
    OptionMap m_stopOptions;
    std::optional<int> m_stop;
    OptionMap m_handShakeOptions;
    std::optional<int> m_handShake;
    int m_xonXoffKey = 3;
    std::optional<int> m_xonXoff;
    // -1: not set.
    int m_inputBuf = -1;
    int m_outputBuf = -1;
    int m_timeout = -1;
    int m_inputSleep = -1;
};
