#include "SerialConfig.h"

namespace {

// The stored indexes mean what the set-up utility shows for them.
const DWORD baudRates[] = {150, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
const DWORD byteSizes[] = {7, 8};
const DWORD handshakeCodes[] = {FlowNone, FlowRtsCts, FlowDtrDsr};
const DWORD parityCodes[] = {NOPARITY, EVENPARITY, ODDPARITY};
const DWORD stopBitCodes[] = {TWOSTOPBITS, ONESTOPBIT, TWOSTOPBITS};  // 0, shown empty, stays two stop bits

constexpr BYTE KeepCode = static_cast<BYTE>(KeepPortSetting);

// The DCB flow-control fields of one handshake code.
struct FlowControl {
    DWORD OutX, InX, OutxCtsFlow, OutxDsrFlow, DtrControl, RtsControl;
};

const FlowControl flowByCode[] = {
    /* FlowXonXoff */ {1, 1, 0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE},
    /* FlowRtsCts */ {0, 0, 1, 0, DTR_CONTROL_ENABLE, RTS_CONTROL_HANDSHAKE},
    /* FlowDtrDsr */ {0, 0, 0, 1, DTR_CONTROL_HANDSHAKE, RTS_CONTROL_ENABLE},
};
const FlowControl noFlowControl = {0, 0, 0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE};

}  // namespace

const SerialIndexTable baud_sel{baudRates, sizeof baudRates / sizeof *baudRates};
const SerialIndexTable byte_sel{byteSizes, sizeof byteSizes / sizeof *byteSizes};
const SerialIndexTable hand_sel{handshakeCodes, sizeof handshakeCodes / sizeof *handshakeCodes};
const SerialIndexTable parity_sel{parityCodes, sizeof parityCodes / sizeof *parityCodes};
const SerialIndexTable stop_sel{stopBitCodes, sizeof stopBitCodes / sizeof *stopBitCodes};

DWORD MapSerialIndex(const SerialIndexTable& table, DWORD index)
{
    return index < table.Size ? table.Entries[index] : KeepPortSetting;
}

SerialConfig::SerialConfig(DWORD rate, BYTE byteSize, BYTE parity, BYTE stopBits, BYTE handshake)
    : Rate(rate), ByteSize(byteSize), Parity(parity), StopBits(stopBits), Handshake(handshake)
{
}

void SerialConfig::ReadState(HANDLE port)
{
    LineState = DCB{};
    LineState.DCBlength = sizeof(DCB);
    (void)GetCommState(port, &LineState);  // a failure leaves the zeroed DCB
}

const DCB& SerialConfig::BuildDcb()
{
    if (Rate != KeepPortSetting) LineState.BaudRate = Rate;
    if (Parity != KeepCode) {
        LineState.fParity = Parity != NOPARITY;
        LineState.Parity = Parity;
    }
    if (ByteSize != KeepCode) LineState.ByteSize = ByteSize;
    if (StopBits != KeepCode) LineState.StopBits = StopBits;
    if (Handshake != KeepCode) {
        const FlowControl& flow = Handshake < sizeof flowByCode / sizeof *flowByCode ? flowByCode[Handshake] : noFlowControl;
        LineState.fOutX = flow.OutX;
        LineState.fInX = flow.InX;
        LineState.fOutxCtsFlow = flow.OutxCtsFlow;
        LineState.fOutxDsrFlow = flow.OutxDsrFlow;
        LineState.fDsrSensitivity = 0;  // received bytes count whatever DSR says
        LineState.fDtrControl = flow.DtrControl;
        LineState.fRtsControl = flow.RtsControl;
    }
    return LineState;
}

void SerialConfig::Apply(HANDLE port)
{
    BuildDcb();
    (void)SetCommState(port, &LineState);  // the claim goes on with whatever the port accepted
}
