// What "Port Details" writes, read by the service object's DeviceConfig.
#include "DeviceConfig.h"
#include "PortConfigDlg.h"
#include "PortKey.h"
#include "SerialConfig.h"
#include "testing/BoxAnswer.h"

#include <gtest/gtest.h>

namespace {

// The serial device of a catalogue that offers every option.
void SetFullSerialDevice(const PortKey& key)
{
    key.SetString(L"GroupID", L"PRN-S");
    key.SetString(L"Port", L"COM1");
    key.SetString(L"BaudrateSel", L"0,1,2,3,4,5,6,7,8");
    key.SetString(L"BitLengthSel", L"0,1");
    key.SetString(L"ParitySel", L"0,1,2");
    key.SetString(L"StopSel", L"0,1,2");
    key.SetString(L"HandShakeSel", L"0,1,2");
    key.SetString(L"XonXoffSel", L"0,1");
}

struct Choice {
    const wchar_t* port;
    const wchar_t* baud;
    const wchar_t* bits;
    const wchar_t* parity;
    const wchar_t* stop;
    const wchar_t* handshake;
};

// Runs the dialog modeless with `choice` and OK.
void ChooseAndOk(const PortKey& key, const Choice& choice)
{
    uitest::ScopedBoxAnswer boxes(IDOK);
    CPortConfigDlg dlg(key.DevicePath().c_str(), 10, 3);
    ASSERT_NE(dlg.Create(nullptr), nullptr);
    const std::pair<int, const wchar_t*> picks[] = {
        {IDC_PORTCFG_PORT, choice.port},        {IDC_PORTCFG_BAUDRATE, choice.baud},
        {IDC_PORTCFG_BITLENGTH, choice.bits},   {IDC_PORTCFG_PARITY, choice.parity},
        {IDC_PORTCFG_STOPBIT, choice.stop},     {IDC_PORTCFG_HANDSHAKE, choice.handshake}};
    // Picked by hand, not by ChooseByText: an empty entry is to be picked,
    // which a search by text does not find.
    for (const auto& pick : picks) {
        const CComboBox list(dlg.GetDlgItem(pick.first));
        int entry = list.GetCount() - 1;
        while (entry >= 0 && list.GetLBText(entry) != pick.second)
            --entry;
        ASSERT_GE(list.SetCurSel(entry), 0) << pick.second;
    }
    dlg.SetDlgItemText(IDC_PORTCFG_TIMEOUT, L"250");
    dlg.SetDlgItemText(IDC_PORTCFG_OUTPUTBUF, L"2048");
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    ASSERT_EQ(dlg.ModelessResult(), IDOK);
    EXPECT_TRUE(boxes.Boxes().empty());
}

} // namespace

TEST(PortRoundTrip, ServiceObjectGetsTheChosenPortAndLineSettings)
{
    PortKey key;
    SetFullSerialDevice(key);
    ChooseAndOk(key, {L"COM3", L"9600 bps", L"8", L"Even", L"1 bit", L"Disable"});
    DeviceConfig config;
    ASSERT_TRUE(config.Load(key.Device().c_str()));
    EXPECT_EQ(config.Port, L"COM3");
    EXPECT_EQ(config.GroupID, L"PRN-S");
    EXPECT_EQ(config.Baudrate, 9600u);
    EXPECT_EQ(config.BitLength, 8u);
    EXPECT_EQ(config.Parity, DWORD{EVENPARITY});
    EXPECT_EQ(config.Stop, DWORD{ONESTOPBIT});
    EXPECT_EQ(config.HandShake, FlowNone);
    EXPECT_EQ(config.XonXoff, 0u);
    EXPECT_EQ(config.Timeout, 250u);
    EXPECT_EQ(config.OutputBuf, 2048u);
}

// The line gets what the dialog showed; the empty stop entry is two stop bits.
TEST(PortRoundTrip, TheServiceObjectSetsWhatTheDialogShowed)
{
    PortKey key;
    SetFullSerialDevice(key);
    ChooseAndOk(key, {L"COM10", L"150 bps", L"7", L"Odd", L"", L"RTS/CTS"});
    DeviceConfig config;
    ASSERT_TRUE(config.Load(key.Device().c_str()));
    EXPECT_EQ(config.Port, L"COM10");
    EXPECT_EQ(config.Baudrate, 150u);
    EXPECT_EQ(config.BitLength, 7u);
    EXPECT_EQ(config.Parity, DWORD{ODDPARITY});
    EXPECT_EQ(config.Stop, DWORD{TWOSTOPBITS});
    EXPECT_EQ(config.HandShake, FlowRtsCts);

    ChooseAndOk(key, {L"None", L"38400 bps", L"8", L"None", L"2 bits", L"XON/XOFF"});
    DeviceConfig second;
    ASSERT_TRUE(second.Load(key.Device().c_str()));
    EXPECT_EQ(second.Port, L""); // ClaimDevice then fails for want of a port
    EXPECT_EQ(second.Baudrate, 38400u);
    EXPECT_EQ(second.Stop, DWORD{TWOSTOPBITS});
    EXPECT_EQ(second.HandShake, FlowXonXoff);
    EXPECT_EQ(second.XonXoff, 1u);
}
