#include "SerialConfig.h"

#include <gtest/gtest.h>

namespace {

// The DCB built from the five stored indexes over the state read from a port
// that reports nothing (all zero): every field the configuration sets shows,
// every field it keeps stays 0.
DCB Build(DWORD baud, DWORD bits, DWORD parity, DWORD stop, DWORD handshake)
{
    SerialConfig config(MapSerialIndex(baud_sel, baud), static_cast<BYTE>(MapSerialIndex(byte_sel, bits)),
                        static_cast<BYTE>(MapSerialIndex(parity_sel, parity)),
                        static_cast<BYTE>(MapSerialIndex(stop_sel, stop)),
                        static_cast<BYTE>(MapSerialIndex(hand_sel, handshake)));
    config.ReadState(INVALID_HANDLE_VALUE);
    return config.BuildDcb();
}

TEST(SerialIndexTables, MapWhatTheSetUpUtilityShows)
{
    const DWORD rates[] = {150, 300, 600, 1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};
    for (DWORD i = 0; i < 11; ++i) EXPECT_EQ(MapSerialIndex(baud_sel, i), rates[i]);
    EXPECT_EQ(MapSerialIndex(byte_sel, 0), 7u);
    EXPECT_EQ(MapSerialIndex(byte_sel, 1), 8u);
    EXPECT_EQ(MapSerialIndex(parity_sel, 0), DWORD{NOPARITY});
    EXPECT_EQ(MapSerialIndex(parity_sel, 1), DWORD{EVENPARITY});
    EXPECT_EQ(MapSerialIndex(parity_sel, 2), DWORD{ODDPARITY});
    EXPECT_EQ(MapSerialIndex(stop_sel, 0), DWORD{TWOSTOPBITS}) << "shown empty";
    EXPECT_EQ(MapSerialIndex(stop_sel, 1), DWORD{ONESTOPBIT});
    EXPECT_EQ(MapSerialIndex(stop_sel, 2), DWORD{TWOSTOPBITS});
    EXPECT_EQ(MapSerialIndex(hand_sel, 0), FlowNone);
    EXPECT_EQ(MapSerialIndex(hand_sel, 1), FlowRtsCts);
    EXPECT_EQ(MapSerialIndex(hand_sel, 2), FlowDtrDsr);
}

TEST(SerialIndexTables, IndexOutsideTableKeepsThePortSetting)
{
    EXPECT_EQ(MapSerialIndex(baud_sel, 11), KeepPortSetting);
    EXPECT_EQ(MapSerialIndex(baud_sel, 9600), KeepPortSetting);
    EXPECT_EQ(MapSerialIndex(stop_sel, 3), KeepPortSetting);
    EXPECT_EQ(MapSerialIndex(byte_sel, 2), KeepPortSetting);
    EXPECT_EQ(MapSerialIndex(parity_sel, 3), KeepPortSetting);
    EXPECT_EQ(MapSerialIndex(hand_sel, 3), KeepPortSetting);
    EXPECT_EQ(MapSerialIndex(hand_sel, KeepPortSetting), KeepPortSetting);
}

TEST(SerialConfig, NineSixHundredEightNoneOneWithoutFlowControl)
{
    const DCB dcb = Build(6, 1, 0, 1, 0);
    EXPECT_EQ(dcb.DCBlength, sizeof(DCB));
    EXPECT_EQ(dcb.BaudRate, 9600u);
    EXPECT_EQ(dcb.ByteSize, 8);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.fParity, 0u);
    EXPECT_EQ(dcb.StopBits, ONESTOPBIT);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fInX, 0u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
    EXPECT_EQ(dcb.fOutxDsrFlow, 0u);
    EXPECT_EQ(dcb.fDsrSensitivity, 0u);
    EXPECT_EQ(dcb.fDtrControl, DWORD{DTR_CONTROL_DISABLE});
    EXPECT_EQ(dcb.fRtsControl, DWORD{RTS_CONTROL_DISABLE});
}

TEST(SerialConfig, ParityAndDataBits)
{
    DCB dcb = Build(6, 0, 1, 1, 0);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, EVENPARITY);
    EXPECT_EQ(dcb.fParity, 1u);
    dcb = Build(6, 1, 2, 1, 0);
    EXPECT_EQ(dcb.Parity, ODDPARITY);
    EXPECT_EQ(dcb.fParity, 1u);
}

TEST(SerialConfig, HandshakeCodesGiveTheirFlowControl)
{
    struct Row {
        DWORD Code;
        DWORD OutX, InX, OutxCtsFlow, OutxDsrFlow, Dtr, Rts;
    };
    const Row rows[] = {
        {FlowXonXoff, 1, 1, 0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE},
        {FlowRtsCts, 0, 0, 1, 0, DTR_CONTROL_ENABLE, RTS_CONTROL_HANDSHAKE},
        {FlowDtrDsr, 0, 0, 0, 1, DTR_CONTROL_HANDSHAKE, RTS_CONTROL_ENABLE},
        {FlowNone, 0, 0, 0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE},
        {9, 0, 0, 0, 0, DTR_CONTROL_DISABLE, RTS_CONTROL_DISABLE},
    };
    for (const Row& row : rows) {
        SerialConfig config(9600, 8, NOPARITY, ONESTOPBIT, static_cast<BYTE>(row.Code));
        config.ReadState(INVALID_HANDLE_VALUE);
        const DCB dcb = config.BuildDcb();
        EXPECT_EQ(dcb.fOutX, row.OutX) << row.Code;
        EXPECT_EQ(dcb.fInX, row.InX) << row.Code;
        EXPECT_EQ(dcb.fOutxCtsFlow, row.OutxCtsFlow) << row.Code;
        EXPECT_EQ(dcb.fOutxDsrFlow, row.OutxDsrFlow) << row.Code;
        EXPECT_EQ(dcb.fDsrSensitivity, 0u) << row.Code;
        EXPECT_EQ(dcb.fDtrControl, row.Dtr) << row.Code;
        EXPECT_EQ(dcb.fRtsControl, row.Rts) << row.Code;
    }
}

TEST(SerialConfig, MissingValuesOnNewObjectAreIndexZero)
{
    const DCB dcb = Build(0, 0, 0, 0, 0);
    EXPECT_EQ(dcb.BaudRate, 150u);
    EXPECT_EQ(dcb.ByteSize, 7);
    EXPECT_EQ(dcb.Parity, NOPARITY);
    EXPECT_EQ(dcb.StopBits, TWOSTOPBITS);
    EXPECT_EQ(dcb.fOutX, 0u);
    EXPECT_EQ(dcb.fOutxCtsFlow, 0u);
}

TEST(SerialConfig, KeptSettingsAreNotWritten)
{
    // Zero is what the failed read left; a kept setting does not change it.
    SerialConfig config(KeepPortSetting, static_cast<BYTE>(KeepPortSetting), static_cast<BYTE>(KeepPortSetting),
                        static_cast<BYTE>(KeepPortSetting), static_cast<BYTE>(KeepPortSetting));
    config.ReadState(INVALID_HANDLE_VALUE);
    DCB expected{};
    expected.DCBlength = sizeof expected;
    const DCB dcb = config.BuildDcb();
    EXPECT_EQ(memcmp(&dcb, &expected, sizeof dcb), 0);
}

}  // namespace
