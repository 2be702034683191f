#include "DeviceConfig.h"
#include "DeviceKey.h"
#include "ReadOnlyKey.h"
#include "SerialConfig.h"

#include <gtest/gtest.h>
#include <string>

namespace {

std::wstring TestDevice()
{
    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    return L"CalbriqueConfigTest_" + std::wstring(name.begin(), name.end());
}

TEST(DeviceConfig, NewRecordIsEmpty)
{
    DeviceConfig config;
    EXPECT_TRUE(config.DeviceName.empty());
    EXPECT_TRUE(config.Port.empty());
    EXPECT_EQ(config.Baudrate, 0u);
    EXPECT_EQ(config.StatsBarcodePrintedCount, 0u);
}

TEST(DeviceConfig, StringsLoadAndMissingSerialValuesMapIndexZero)
{
    testkit::DeviceKey key(TestDevice());
    key.SetString(L"DeviceName", L"P1");
    key.SetString(L"DeviceDesc", L"Receipt printer");
    key.SetString(L"Description", L"Service object");
    key.SetString(L"Port", L"COM1");
    DeviceConfig config;
    ASSERT_TRUE(config.Load(key.Device().c_str()));
    EXPECT_EQ(config.DeviceName, L"P1");
    EXPECT_EQ(config.DeviceDesc, L"Receipt printer");
    EXPECT_EQ(config.Description, L"Service object");
    EXPECT_EQ(config.Port, L"COM1");
    EXPECT_EQ(config.Baudrate, 150u);
    EXPECT_EQ(config.BitLength, 7u);
    EXPECT_EQ(config.HandShake, FlowNone);
    EXPECT_EQ(config.Parity, DWORD{NOPARITY});
    EXPECT_EQ(config.Stop, DWORD{TWOSTOPBITS});
}

TEST(DeviceConfig, EveryValueLandsInItsField)
{
    testkit::DeviceKey key(TestDevice());
    const wchar_t* const strings[] = {L"DeviceName", L"DeviceDesc", L"Description", L"GroupID", L"DefPort",
                                      L"Port", L"PrinterDllName", L"RegFormatType", L"Service", L"Version"};
    for (const wchar_t* name : strings) key.SetString(name, std::wstring(L"v-") + name);
    const wchar_t* const numbers[] = {L"DeviceID", L"PortFlag", L"Timeout", L"XonXoff", L"BmpFMemSize", L"CapASB",
                                      L"CapRealtimeKick", L"IdleSleep", L"InstKey", L"InternalVersion",
                                      L"OptionBmpRaster", L"OptionFirmVersion", L"OptionPaperInvariable",
                                      L"OutputBuf", L"OutputDK", L"OutputLD", L"OutputMax", L"OutputMICR",
                                      L"OutputMin", L"PulseUNITTime", L"StatsBarcodePrintedCount"};
    DWORD n = 1000;
    for (const wchar_t* name : numbers) key.SetDword(name, n++);
    key.SetDword(L"Baudrate", 6);
    key.SetDword(L"BitLength", 1);
    key.SetDword(L"HandShake", 2);
    key.SetDword(L"Parity", 1);
    key.SetDword(L"Stop", 1);

    DeviceConfig c;
    ASSERT_TRUE(c.Load(key.Device().c_str()));
    const std::wstring* const stringFields[] = {&c.DeviceName, &c.DeviceDesc, &c.Description, &c.GroupID,
                                                &c.DefPort, &c.Port, &c.PrinterDllName, &c.RegFormatType,
                                                &c.Service, &c.Version};
    for (size_t i = 0; i < 10; ++i) EXPECT_EQ(*stringFields[i], std::wstring(L"v-") + strings[i]);
    const DWORD* const numberFields[] = {
        &c.DeviceID, &c.PortFlag, &c.Timeout, &c.XonXoff, &c.BmpFMemSize, &c.CapASB, &c.CapRealtimeKick,
        &c.IdleSleep, &c.InstKey, &c.InternalVersion, &c.OptionBmpRaster, &c.OptionFirmVersion,
        &c.OptionPaperInvariable, &c.OutputBuf, &c.OutputDK, &c.OutputLD, &c.OutputMax, &c.OutputMICR,
        &c.OutputMin, &c.PulseUNITTime, &c.StatsBarcodePrintedCount};
    for (size_t i = 0; i < 21; ++i) EXPECT_EQ(*numberFields[i], 1000 + i) << i;
    EXPECT_EQ(c.Baudrate, 9600u);
    EXPECT_EQ(c.BitLength, 8u);
    EXPECT_EQ(c.HandShake, FlowDtrDsr);
    EXPECT_EQ(c.Parity, DWORD{EVENPARITY});
    EXPECT_EQ(c.Stop, DWORD{ONESTOPBIT});
}

TEST(DeviceConfig, WrongTypesAreIgnored)
{
    testkit::DeviceKey key(TestDevice());
    key.SetString(L"Baudrate", L"6");        // index stored as text
    key.SetDword(L"DeviceName", 7);          // text stored as a number
    key.SetString(L"Timeout", L"40");
    const BYTE binary[] = {'C', 0, 'O', 0, 'M', 0, '1', 0, 0, 0};
    key.SetRaw(L"Port", REG_BINARY, binary, sizeof binary);
    key.SetString(L"DeviceDesc", L"%WINDIR%\\desc", REG_EXPAND_SZ);
    const wchar_t multi[] = L"a\0b\0";
    key.SetRaw(L"Description", REG_MULTI_SZ, multi, sizeof multi);

    DeviceConfig config;
    ASSERT_TRUE(config.Load(key.Device().c_str()));
    EXPECT_TRUE(config.DeviceName.empty());
    EXPECT_EQ(config.Timeout, 0u);
    EXPECT_TRUE(config.Port.empty());
    EXPECT_TRUE(config.Description.empty());
    EXPECT_EQ(config.DeviceDesc, L"%WINDIR%\\desc") << "REG_EXPAND_SZ taken as stored";
    EXPECT_EQ(config.Baudrate, 150u) << "a new record's index 0, mapped";
}

TEST(DeviceConfig, StringsOverTwoHundredFiftyFiveCharactersAreIgnored)
{
    testkit::DeviceKey key(TestDevice());
    key.SetString(L"DeviceName", std::wstring(255, L'n'));
    key.SetString(L"DeviceDesc", std::wstring(256, L'd'));
    key.SetString(L"Description", std::wstring(300, L'x'));
    DeviceConfig config;
    ASSERT_TRUE(config.Load(key.Device().c_str()));
    EXPECT_EQ(config.DeviceName.size(), 255u);
    EXPECT_TRUE(config.DeviceDesc.empty());
    EXPECT_TRUE(config.Description.empty());
}

TEST(DeviceConfig, UnterminatedStringIsIgnored)
{
    testkit::DeviceKey key(TestDevice());
    const wchar_t text[] = {L'C', L'O', L'M', L'2'};
    key.SetRaw(L"Port", REG_SZ, text, sizeof text);
    key.SetRaw(L"DeviceName", REG_SZ, nullptr, 0);
    DeviceConfig config;
    config.DeviceName = L"before";
    ASSERT_TRUE(config.Load(key.Device().c_str()));
    EXPECT_TRUE(config.Port.empty());
    EXPECT_EQ(config.DeviceName, L"") << "an empty value is an empty string";
}

// A POS application run by a user who may only read the OPOS tree.
TEST(DeviceConfig, LoadsAKeyItMayOnlyRead)
{
    testkit::DeviceKey key(TestDevice());
    key.SetString(L"Port", L"COM7");
    const testkit::ReadOnlyKey readOnly(testkit::DeviceKey::PathOf(key.Device()));
    ASSERT_TRUE(readOnly.Restricted());
    DeviceConfig config;
    ASSERT_TRUE(config.Load(key.Device().c_str()));
    EXPECT_EQ(config.Port, L"COM7");
}

TEST(DeviceConfig, MissingKeyLeavesANewRecord)
{
    DeviceConfig config;
    config.Port = L"COM9";
    EXPECT_FALSE(config.Load(L"CalbriqueConfigTest_NoSuchDevice"));
    EXPECT_TRUE(config.Port.empty());
    EXPECT_EQ(config.Baudrate, 0u) << "no key, no mapping";
}

TEST(DeviceConfig, NameLengthLimit)
{
    // 210 characters fit the 256-character key path, 211 do not.
    const std::wstring fits = std::wstring(L"CalbriqueConfigTest_") + std::wstring(190, L'f');
    const std::wstring tooLong = fits + L"g";
    ASSERT_EQ(fits.size(), 210u);
    testkit::DeviceKey fitting(fits);
    fitting.SetString(L"Port", L"COM5");
    testkit::DeviceKey over(tooLong);
    over.SetString(L"Port", L"COM6");

    DeviceConfig config;
    EXPECT_TRUE(config.Load(fits.c_str()));
    EXPECT_EQ(config.Port, L"COM5");
    DeviceConfig other;
    EXPECT_FALSE(other.Load(tooLong.c_str()));
    EXPECT_TRUE(other.Port.empty());
}

TEST(DeviceConfig, SecondLoadStartsFromANewRecord)
{
    testkit::DeviceKey first(TestDevice() + L"_1");
    first.SetString(L"DeviceName", L"First");
    first.SetString(L"Port", L"COM3");
    first.SetDword(L"Baudrate", 9);
    first.SetDword(L"Parity", 1);
    first.SetDword(L"Stop", 2);
    first.SetDword(L"HandShake", 0);
    first.SetDword(L"XonXoff", 1);
    testkit::DeviceKey second(TestDevice() + L"_2");
    second.SetString(L"DeviceName", L"Second");

    DeviceConfig config;
    ASSERT_TRUE(config.Load(first.Device().c_str()));
    EXPECT_EQ(config.Baudrate, 57600u);
    EXPECT_EQ(config.Parity, DWORD{EVENPARITY});
    EXPECT_EQ(config.Stop, DWORD{TWOSTOPBITS});
    EXPECT_EQ(config.HandShake, FlowXonXoff) << "XON/XOFF is stored as HandShake 0 with XonXoff 1";
    ASSERT_TRUE(config.Load(second.Device().c_str()));
    EXPECT_EQ(config.DeviceName, L"Second");
    EXPECT_TRUE(config.Port.empty());
    EXPECT_EQ(config.Baudrate, 150u);
    EXPECT_EQ(config.Parity, DWORD{NOPARITY});
    EXPECT_EQ(config.HandShake, FlowNone);
    EXPECT_EQ(config.XonXoff, 0u);
}

}  // namespace
