// The option tables, the Sel-list parser and PortSettings against device keys.
#include "PortKey.h"
#include "PortOptions.h"
#include "PortSettings.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

using Entries = std::vector<std::pair<int, std::wstring>>;

Entries EntriesOf(const OptionMap& map)
{
    Entries entries;
    for (int i = 0; i < map.GetSize(); ++i)
        entries.emplace_back(map.IndexAt(i), map.TextAt(i));
    return entries;
}

template <size_t N>
Entries EntriesOf(const OptionText (&table)[N])
{
    Entries entries;
    for (const OptionText& option : table)
        entries.emplace_back(option.index, option.text);
    return entries;
}

Entries Parse(const wchar_t* text, const OptionText* table, int size)
{
    OptionMap map;
    PortSettings::ParseSelList(map, text, table, size);
    return EntriesOf(map);
}

} // namespace

TEST(PortOptions, TablesHoldTheTextOfEachStoredIndex)
{
    EXPECT_EQ(EntriesOf(BaudrateOptions),
              (Entries{{0, L"150 bps"}, {1, L"300 bps"}, {2, L"600 bps"}, {3, L"1200 bps"}, {4, L"2400 bps"},
                       {5, L"4800 bps"}, {6, L"9600 bps"}, {7, L"19200 bps"}, {8, L"38400 bps"},
                       {9, L"57600 bps"}, {10, L"115200 bps"}}));
    EXPECT_EQ(EntriesOf(BitLengthOptions), (Entries{{0, L"7"}, {1, L"8"}}));
    EXPECT_EQ(EntriesOf(ParityOptions), (Entries{{0, L"None"}, {1, L"Even"}, {2, L"Odd"}}));
    EXPECT_EQ(EntriesOf(StopOptions), (Entries{{0, L""}, {1, L"1 bit"}, {2, L"2 bits"}}));
    EXPECT_EQ(EntriesOf(HandShakeOptions), (Entries{{0, L"Disable"}, {1, L"RTS/CTS"}, {2, L"DTR/DSR"}}));
    EXPECT_EQ(XonXoffOption.index, 3);
    EXPECT_STREQ(XonXoffOption.text, L"XON/XOFF");
}

TEST(OptionMap, KeepsAppendOrderAndFindsTheFirstEntryOfAnIndex)
{
    OptionMap map;
    EXPECT_EQ(map.Find(0), -1);
    map.Append(2, L"b");
    map.Append(1, L"a");
    map.Append(2, L"c");
    EXPECT_EQ(EntriesOf(map), (Entries{{2, L"b"}, {1, L"a"}, {2, L"c"}}));
    EXPECT_EQ(map.Find(2), 0);
    EXPECT_EQ(map.Find(1), 1);
    EXPECT_EQ(map.Find(3), -1);
}

TEST(ParseSelList, OneSeparatorAfterEachNumber)
{
    EXPECT_EQ(Parse(L"0,1,2", ParityOptions, 3), (Entries{{0, L"None"}, {1, L"Even"}, {2, L"Odd"}}));
    EXPECT_EQ(Parse(L"6 7 8", BaudrateOptions, 11), (Entries{{6, L"9600 bps"}, {7, L"19200 bps"}, {8, L"38400 bps"}}));
    EXPECT_EQ(Parse(L"2,1", ParityOptions, 3), (Entries{{2, L"Odd"}, {1, L"Even"}}));
    EXPECT_EQ(Parse(L"0,1,", ParityOptions, 3), (Entries{{0, L"None"}, {1, L"Even"}}));
    // Blanks before a number are skipped, as wcstol does.
    EXPECT_EQ(Parse(L"0, 2", ParityOptions, 3), (Entries{{0, L"None"}, {2, L"Odd"}}));
    EXPECT_EQ(Parse(L"1,1", ParityOptions, 3), (Entries{{1, L"Even"}, {1, L"Even"}}));
    EXPECT_EQ(Parse(L"", ParityOptions, 3), Entries{});
}

TEST(ParseSelList, EmptyItemsReadAsZeroAndIndexesOutsideTheTableAreDropped)
{
    EXPECT_EQ(Parse(L"1,,2", ParityOptions, 3), (Entries{{1, L"Even"}, {0, L"None"}, {2, L"Odd"}}));
    EXPECT_EQ(Parse(L"12,6", BaudrateOptions, 11), (Entries{{6, L"9600 bps"}}));
    EXPECT_EQ(Parse(L"-1,3,1", ParityOptions, 3), (Entries{{1, L"Even"}}));
    EXPECT_EQ(Parse(L"99999999999,1", ParityOptions, 3), (Entries{{1, L"Even"}}));
    EXPECT_EQ(Parse(L"10", BaudrateOptions, 11), (Entries{{10, L"115200 bps"}}));
    EXPECT_EQ(Parse(L"11", BaudrateOptions, 11), Entries{});
    // No digits: 0, and the cursor moves one character.
    EXPECT_EQ(Parse(L"ab", BitLengthOptions, 2), (Entries{{0, L"7"}, {0, L"7"}}));
}

TEST(PortKindFromGroupId, LastUpperCaseLetterNamesTheKind)
{
    EXPECT_EQ(PortKindFromGroupId(L"S"), PortKind::Serial);
    EXPECT_EQ(PortKindFromGroupId(L"TM-S"), PortKind::Serial);
    EXPECT_EQ(PortKindFromGroupId(L"TM-P"), PortKind::Parallel);
    EXPECT_EQ(PortKindFromGroupId(L"TM-U"), PortKind::Usb);
    EXPECT_EQ(PortKindFromGroupId(L"TM-E"), PortKind::Ethernet);
    EXPECT_EQ(PortKindFromGroupId(L"TM-s"), PortKind::None);
    EXPECT_EQ(PortKindFromGroupId(L"SX"), PortKind::None);
    EXPECT_EQ(PortKindFromGroupId(L""), PortKind::None);
}

// The kind as read from GroupID in the device key.
class PortKindFromKeyTest : public ::testing::Test {
protected:
    PortKind KindWith(void (*set)(const PortKey&))
    {
        PortKey key;
        set(key);
        return PortSettings(key.DevicePath().c_str()).m_kind;
    }
};

TEST_F(PortKindFromKeyTest, GroupIdOfEightCharactersAtMost)
{
    EXPECT_EQ(KindWith([](const PortKey& k) { k.SetString(L"GroupID", L"1234567S"); }), PortKind::Serial);
    EXPECT_EQ(KindWith([](const PortKey& k) { k.SetString(L"GroupID", L"12345678S"); }), PortKind::None);
    EXPECT_EQ(KindWith([](const PortKey& k) { k.SetString(L"GroupID", L"P", REG_EXPAND_SZ); }), PortKind::Parallel);
    EXPECT_EQ(KindWith([](const PortKey& k) { k.SetString(L"GroupID", L"prn-s"); }), PortKind::None);
    EXPECT_EQ(KindWith([](const PortKey& k) { k.SetString(L"GroupID", L""); }), PortKind::None);
    EXPECT_EQ(KindWith([](const PortKey& k) { k.SetDword(L"GroupID", 'S'); }), PortKind::None);
    EXPECT_EQ(KindWith([](const PortKey&) {}), PortKind::None);
}

TEST(PortSettings, StartValuesAndAMissingKey)
{
    PortSettings settings(L"POSPrinter\\FwPort no such device");
    EXPECT_EQ(settings.m_keyPath, L"SOFTWARE\\OLEforRetail\\ServiceOPOS\\POSPrinter\\FwPort no such device");
    EXPECT_EQ(settings.m_kind, PortKind::None);
    settings.Load();
    EXPECT_TRUE(settings.m_port.IsEmpty());
    EXPECT_FALSE(settings.m_portUnreadable);
    EXPECT_FALSE(settings.m_baudRate || settings.m_bitLength || settings.m_parity || settings.m_stop ||
                 settings.m_handShake || settings.m_xonXoff);
    EXPECT_EQ(settings.m_xonXoffKey, 3);
    EXPECT_EQ(settings.m_inputBuf, -1);
    EXPECT_EQ(settings.m_outputBuf, -1);
    EXPECT_EQ(settings.m_timeout, -1);
    EXPECT_EQ(settings.m_inputSleep, -1);
    EXPECT_FALSE(settings.Save(true)); // nothing to write into
}

TEST(PortSettings, SerialKeyLoadsItsListsRestrictedBySel)
{
    PortKey key;
    key.SetString(L"GroupID", L"PRN-S");
    key.SetString(L"Port", L"COM2");
    key.SetString(L"BaudrateSel", L"6,7,8");
    key.SetDword(L"Baudrate", 7);
    key.SetString(L"BitLengthSel", L"1");
    key.SetDword(L"BitLength", 1);
    key.SetString(L"ParitySel", L"2,0");
    key.SetDword(L"Parity", 0);
    key.SetString(L"StopSel", L"1,2");
    key.SetDword(L"Stop", 1);
    key.SetString(L"HandShakeSel", L"0,1");
    key.SetDword(L"HandShake", 0);
    key.SetString(L"XonXoffSel", L"0,1");
    key.SetDword(L"XonXoff", 1);
    key.SetDword(L"InputBuf", 4096);
    key.SetDword(L"OutputBuf", 0);
    key.SetDword(L"Timeout", 1000);
    key.SetDword(L"InputSleep", 20);

    PortSettings settings(key.DevicePath().c_str());
    ASSERT_TRUE(settings.IsSerial());
    settings.Load();
    EXPECT_EQ(settings.m_port, L"COM2");
    EXPECT_EQ(EntriesOf(settings.m_baudOptions), (Entries{{6, L"9600 bps"}, {7, L"19200 bps"}, {8, L"38400 bps"}}));
    EXPECT_EQ(settings.m_baudRate, 7);
    EXPECT_EQ(EntriesOf(settings.m_bitLengthOptions), (Entries{{1, L"8"}}));
    EXPECT_EQ(settings.m_bitLength, 1);
    EXPECT_EQ(EntriesOf(settings.m_parityOptions), (Entries{{2, L"Odd"}, {0, L"None"}}));
    EXPECT_EQ(settings.m_parity, 0);
    EXPECT_EQ(EntriesOf(settings.m_stopOptions), (Entries{{1, L"1 bit"}, {2, L"2 bits"}}));
    EXPECT_EQ(settings.m_stop, 1);
    EXPECT_EQ(EntriesOf(settings.m_handShakeOptions), (Entries{{0, L"Disable"}, {1, L"RTS/CTS"}, {3, L"XON/XOFF"}}));
    EXPECT_EQ(settings.m_handShake, 0);
    EXPECT_EQ(settings.m_xonXoff, 1);
    EXPECT_EQ(settings.m_inputBuf, 4096);
    EXPECT_EQ(settings.m_outputBuf, 0);
    EXPECT_EQ(settings.m_timeout, 1000);
    EXPECT_EQ(settings.m_inputSleep, 20);
}

TEST(PortSettings, OddValuesCountAsAbsent)
{
    PortKey key;
    key.SetString(L"GroupID", L"S");
    key.SetString(L"BaudrateSel", L"0,1,2,3,4,5,6,7,8,9"); // 19 characters: too long
    key.SetDword(L"BitLengthSel", 1);                       // not a string
    key.SetString(L"ParitySel", L"0,1,2", REG_EXPAND_SZ);   // read as it stands
    key.SetString(L"Baudrate", L"6");                       // not a number
    key.SetString(L"HandShakeSel", L"0,1,2");
    key.SetString(L"XonXoffSel", L"0");                     // XON/XOFF not offered
    key.SetDword(L"XonXoff", 1);
    key.SetString(L"Timeout", L"100");
    key.SetDword(L"OutputBuf", 0xFFFFFFFF);                 // reads as -1: not set

    PortSettings settings(key.DevicePath().c_str());
    settings.Load();
    EXPECT_EQ(settings.m_baudOptions.GetSize(), 0);
    EXPECT_FALSE(settings.m_baudRate);
    EXPECT_EQ(settings.m_bitLengthOptions.GetSize(), 0);
    EXPECT_EQ(settings.m_parityOptions.GetSize(), 3);
    EXPECT_EQ(EntriesOf(settings.m_handShakeOptions), EntriesOf(HandShakeOptions));
    EXPECT_EQ(settings.m_xonXoff, 1);
    EXPECT_EQ(settings.m_timeout, -1);
    EXPECT_EQ(settings.m_outputBuf, -1);
}

TEST(PortSettings, OtherKindsReadOnlyPortAndTheNumbers)
{
    for (const wchar_t* group : {L"P", L"U", L"E", L"X"}) {
        PortKey key;
        key.SetString(L"GroupID", group);
        key.SetString(L"Port", L"LPT1");
        key.SetString(L"BaudrateSel", L"6");
        key.SetDword(L"Baudrate", 6);
        key.SetString(L"HandShakeSel", L"0");
        key.SetString(L"XonXoffSel", L"1");
        key.SetDword(L"XonXoff", 1);
        key.SetDword(L"Timeout", 0);

        PortSettings settings(key.DevicePath().c_str());
        settings.Load();
        EXPECT_FALSE(settings.IsSerial());
        EXPECT_EQ(settings.m_port, L"LPT1") << group;
        EXPECT_EQ(settings.m_baudOptions.GetSize(), 0) << group;
        EXPECT_EQ(settings.m_handShakeOptions.GetSize(), 0) << group;
        EXPECT_FALSE(settings.m_baudRate || settings.m_xonXoff) << group;
        EXPECT_EQ(settings.m_timeout, 0) << group;
    }
}

TEST(PortSettings, PortOfEighteenCharactersAtMost)
{
    PortKey key;
    key.SetString(L"GroupID", L"P");
    key.SetString(L"Port", L"\\\\.\\PrinterPort012"); // 18 characters
    PortSettings fits(key.DevicePath().c_str());
    fits.Load();
    EXPECT_EQ(fits.m_port, L"\\\\.\\PrinterPort012");
    EXPECT_FALSE(fits.m_portUnreadable);

    key.SetString(L"Port", L"\\\\.\\PrinterPort0123");
    PortSettings tooLong(key.DevicePath().c_str());
    tooLong.Load();
    EXPECT_TRUE(tooLong.m_port.IsEmpty());
    EXPECT_TRUE(tooLong.m_portUnreadable);

    key.SetDword(L"Port", 1);
    PortSettings number(key.DevicePath().c_str());
    number.Load();
    EXPECT_TRUE(number.m_portUnreadable);

    key.SetString(L"Port", L"");
    PortSettings empty(key.DevicePath().c_str());
    empty.Load();
    EXPECT_TRUE(empty.m_port.IsEmpty());
    EXPECT_FALSE(empty.m_portUnreadable);
}

TEST(PortSettings, SaveWritesWhatIsSetAndNeverGroupIdOrSelLists)
{
    PortKey key;
    key.SetString(L"GroupID", L"S");
    PortSettings settings(key.DevicePath().c_str());
    key.TakeValues();
    settings.m_port = L"COM4";
    settings.m_baudRate = 9;
    settings.m_parity = 2;
    settings.m_xonXoff = 0;
    settings.m_outputBuf = 0;
    settings.m_timeout = 250;
    ASSERT_TRUE(settings.Save(true));
    EXPECT_EQ(key.TakeValues(), (std::map<std::wstring, std::wstring>{
                                    {L"Port", L"SZ:COM4"}, {L"Baudrate", L"DW:9"}, {L"Parity", L"DW:2"},
                                    {L"XonXoff", L"DW:0"}, {L"OutputBuf", L"DW:0"}, {L"Timeout", L"DW:250"}}));

    ASSERT_TRUE(settings.Save(false));
    EXPECT_EQ(key.Values().count(L"Port"), 0u);

    // Not serial: no serial value, even when the record holds one.
    settings.m_kind = PortKind::Parallel;
    settings.m_port.Empty();
    key.TakeValues();
    ASSERT_TRUE(settings.Save(true));
    EXPECT_EQ(key.Values(), (std::map<std::wstring, std::wstring>{
                                {L"Port", L"SZ:"}, {L"OutputBuf", L"DW:0"}, {L"Timeout", L"DW:250"}}));
}
