#pragma once

#include <cstddef>
#include <windows.h>

// A line setting that the device's registry entry leaves to the port: the
// port keeps what GetCommState reported for it.
constexpr DWORD KeepPortSetting = 0xFFFFFFFF;

// One index table: the registry stores an index, the line gets the entry.
struct SerialIndexTable {
    const DWORD* Entries;
    size_t Size;
};

extern const SerialIndexTable baud_sel;
extern const SerialIndexTable byte_sel;
extern const SerialIndexTable hand_sel;
extern const SerialIndexTable parity_sel;
extern const SerialIndexTable stop_sel;

// Handshake codes: the flow control a line gets.
constexpr DWORD FlowXonXoff = 0;  // XON/XOFF both ways
constexpr DWORD FlowRtsCts = 1;   // CTS output flow, RTS handshake
constexpr DWORD FlowDtrDsr = 2;   // DSR output flow, DTR handshake
constexpr DWORD FlowNone = 3;

// The entry at `index`, or KeepPortSetting for an index outside the table.
DWORD MapSerialIndex(const SerialIndexTable& table, DWORD index);

// The serial line set-up of a claimed COM port.
class SerialConfig
{
public:
    // Byte size, parity, stop bits and handshake are 8-bit codes; a code
    // cut from KeepPortSetting keeps the port's own setting.
    SerialConfig(DWORD rate, BYTE byteSize, BYTE parity, BYTE stopBits, BYTE handshake);

    // Reads the port's current state (a failure leaves a zeroed DCB).
    void ReadState(HANDLE port);
    // The DCB read, patched with this configuration.
    const DCB& BuildDcb();
    // BuildDcb, then SetCommState.
    void Apply(HANDLE port);

private:
    DWORD Rate;
    BYTE ByteSize;
    BYTE Parity;
    BYTE StopBits;
    BYTE Handshake;
    DCB LineState{};
};
