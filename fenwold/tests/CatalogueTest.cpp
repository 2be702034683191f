// The catalogue reader on real config.xml files through Wine's MSXML.
#include "CatalogueFolder.h"
#include "DeviceCatalog.h"
#include "FenwoldProcess.h"

#include <objbase.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

class CatalogueTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }

    std::vector<DeviceModel> Read(const std::string& xml, const wchar_t* deviceClass = L"POSPrinter")
    {
        folder.Write(xml);
        return ReadCatalogue(deviceClass);
    }

    CatalogueFolder folder;
};

std::vector<std::wstring> Models(const std::vector<DeviceModel>& catalogue)
{
    std::vector<std::wstring> models;
    for (const DeviceModel& entry : catalogue)
        models.emplace_back(entry.model.GetString());
    return models;
}

std::vector<std::wstring> ParamNames(const DeviceModel& entry)
{
    std::vector<std::wstring> names;
    for (int i = 0; i < entry.GetParamCount(); ++i)
        names.emplace_back(entry.GetParam(i).name.GetString());
    return names;
}

const DWORD* Number(const ModelParam& param) { return std::get_if<DWORD>(&param.value); }
const CString* Text(const ModelParam& param) { return std::get_if<CString>(&param.value); }

} // namespace

TEST_F(CatalogueTest, DevicesAtAnyDepthInDocumentOrderNestedOnesTracedAsChildren)
{
    const auto catalogue = Read(R"(<?xml version="1.0"?>
<root>
  <a><b><device type="POSPrinter" model="Deep" soname="so.Deep"/></b></a>
  <device type="POSPrinter" model="Outer" soname="so.Outer">
    <param port="none" name="First" value="1"/>
    <device type="POSPrinter" model="Inner" soname="so.Inner">
      <param port="serial" name="InnerParam" value="x"/>
    </device>
    <param port="none" name="Last" value="2"/>
  </device>
  <device type="POSPrinter" model="Top"/>
</root>)");
    EXPECT_EQ(Models(catalogue), (std::vector<std::wstring>{L"Deep", L"Outer", L"Inner", L"Top"}));
    ASSERT_EQ(catalogue.size(), 4u);
    EXPECT_EQ(catalogue[0].soname, L"so.Deep");
    EXPECT_EQ(catalogue[0].type, L"POSPrinter");
    EXPECT_EQ(ParamNames(catalogue[1]), (std::vector<std::wstring>{L"First", L"Last"}));
    EXPECT_EQ(ParamNames(catalogue[2]), (std::vector<std::wstring>{L"InnerParam"}));
    EXPECT_EQ(catalogue[3].GetParamCount(), 0);
    EXPECT_EQ(catalogue[3].soname, L"");
}

TEST_F(CatalogueTest, OnlyTheDialogsClassInExactCase)
{
    const std::string xml = R"(<c>
  <device type="posprinter" model="Lower"/>
  <device type="CashDrawer" model="Drawer"><param port="none" name="N" value="v"/></device>
  <device model="NoType"/>
  <device type="POSPrinter " model="Space"/>
  <device type="POSPrinter" model="Printer"/>
</c>)";
    EXPECT_EQ(Models(Read(xml)), (std::vector<std::wstring>{L"Printer"}));
    const auto drawers = Read(xml, L"CashDrawer");
    ASSERT_EQ(drawers.size(), 1u);
    EXPECT_EQ(drawers[0].model, L"Drawer");
    EXPECT_EQ(drawers[0].GetParamCount(), 1);
}

TEST_F(CatalogueTest, AttributesAsTheDomGivesThemMissingOnesEmpty)
{
    const auto catalogue = Read(u8R"(<?xml version="1.0" encoding="UTF-8"?>
<c>
  <device type="POSPrinter" soname="A &amp; B &#x41;"/>
  <device type="POSPrinter" model="打印机 &lt;80&gt;" soname="  spaced  "/>
  <device Type="POSPrinter" model="WrongCaseAttribute"/>
</c>)");
    ASSERT_EQ(catalogue.size(), 2u);
    EXPECT_EQ(catalogue[0].model, L"");
    EXPECT_EQ(catalogue[0].soname, L"A & B A");
    EXPECT_EQ(catalogue[1].model, L"\u6253\u5370\u673a <80>");
    EXPECT_EQ(catalogue[1].soname, L"  spaced  ");
}

TEST_F(CatalogueTest, PortWordsInExactCaseOthersDroppedTheRestStays)
{
    const auto catalogue = Read(R"(<c><device type="POSPrinter" model="M">
  <param port="none" name="P0" value="a"/>
  <param port="Serial" name="Dropped1" value="b"/>
  <param port="serial" name="P1" value="c"/>
  <param port="" name="Dropped2" value="d"/>
  <param name="Dropped3" value="e"/>
  <param port="parallel" name="P2" value="f"/>
  <param port="com" name="Dropped4" value="g"/>
  <param port="usb" name="P3" value="h"/>
  <param port="ethernet" name="P4" value="i"/>
  <param port="ethernet " name="Dropped5" value="j"/>
</device></c>)");
    ASSERT_EQ(catalogue.size(), 1u);
    const DeviceModel& entry = catalogue[0];
    EXPECT_EQ(ParamNames(entry), (std::vector<std::wstring>{L"P0", L"P1", L"P2", L"P3", L"P4"}));
    const PortKind kinds[] = {PortKind::None, PortKind::Serial, PortKind::Parallel, PortKind::Usb, PortKind::Ethernet};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(entry.GetParamPort(i), kinds[i]) << i;
}

TEST_F(CatalogueTest, DwordValuesReadLikeWcstoulWithBaseZero)
{
    const auto catalogue = Read(R"(<c><device type="POSPrinter" model="M">
  <param port="none" name="Hex" type="dword" value="0x1F"/>
  <param port="none" name="Octal" type="dword" value="017"/>
  <param port="none" name="Letters" type="dword" value="abc"/>
  <param port="none" name="Empty" type="dword" value=""/>
  <param port="none" name="Missing" type="dword"/>
  <param port="none" name="Capitals" type="DWORD" value="42"/>
  <param port="none" name="Mixed" type="DWord" value="  12xyz"/>
  <param port="none" name="Big" type="dword" value="4294967296"/>
  <param port="none" name="Max" type="dword" value="0xFFFFFFFF"/>
  <param port="none" name="MinusOne" type="dword" value="-1"/>
  <param port="none" name="Plus" type="dword" value="+7"/>
  <param port="none" name="BadOctal" type="dword" value="089"/>
  <param port="none" name="Decimal" type="dword" value="1000"/>
</device></c>)");
    ASSERT_EQ(catalogue.size(), 1u);
    const DeviceModel& entry = catalogue[0];
    const DWORD expected[] = {31, 15, 0, 0, 0, 42, 12, 4294967295u, 4294967295u, 4294967295u, 7, 0, 1000};
    ASSERT_EQ(entry.GetParamCount(), 13);
    for (int i = 0; i < 13; ++i) {
        const DWORD* number = Number(entry.GetParam(i));
        ASSERT_NE(number, nullptr) << i;
        EXPECT_EQ(*number, expected[i]) << entry.GetParam(i).name.GetString();
    }
}

TEST_F(CatalogueTest, OtherTypesAndNamesAreStringsTakenUnchanged)
{
    const auto catalogue = Read(R"(<c><device type="POSPrinter" model="M">
  <param port="none" name="Untyped" value="0x10"/>
  <param port="none" name="Sz" type="string" value=" text "/>
  <param port="none" name="Dw" type="dwords" value="5"/>
  <param port="none" value="default value"/>
  <param port="none" name="NoValue"/>
</device></c>)");
    ASSERT_EQ(catalogue.size(), 1u);
    const DeviceModel& entry = catalogue[0];
    ASSERT_EQ(entry.GetParamCount(), 5);
    const wchar_t* values[] = {L"0x10", L" text ", L"5", L"default value", L""};
    for (int i = 0; i < 5; ++i) {
        const CString* text = Text(entry.GetParam(i));
        ASSERT_NE(text, nullptr) << i;
        EXPECT_EQ(*text, values[i]) << i;
    }
    EXPECT_EQ(entry.GetParam(3).name, L"");
}

TEST_F(CatalogueTest, ChildrenOtherThanParamAreSkipped)
{
    const auto catalogue = Read(R"(<c xmlns:x="urn:x"><device type="POSPrinter" model="M">
  text before
  <!-- a comment -->
  <Param port="none" name="CapitalP" value="1"/>
  <x:param port="none" name="Prefixed" value="2"/>
  <params port="none" name="Plural" value="3"/>
  <?param port="none" name="Instruction" value="4"?>
  <![CDATA[<param port="none" name="Cdata" value="5"/>]]>
  <param port="none" name="Kept" value="6"><param port="none" name="Grandchild" value="7"/></param>
  <wrapper><param port="none" name="Wrapped" value="8"/></wrapper>
</device></c>)");
    ASSERT_EQ(catalogue.size(), 1u);
    EXPECT_EQ(ParamNames(catalogue[0]), (std::vector<std::wstring>{L"Kept"}));
}

TEST_F(CatalogueTest, DuplicateModelsAndModelsWithoutParamsAreAllListed)
{
    const auto catalogue = Read(R"(<c>
  <device type="POSPrinter" model="Same"><param port="none" name="DeviceDesc" value="first"/></device>
  <device type="POSPrinter" model="Bare"/>
  <device type="POSPrinter" model="Same"><param port="none" name="DeviceDesc" value="second"/></device>
</c>)");
    EXPECT_EQ(Models(catalogue), (std::vector<std::wstring>{L"Same", L"Bare", L"Same"}));
    EXPECT_EQ(catalogue[0].GetParamString(L"DeviceDesc"), L"first");
    EXPECT_EQ(catalogue[2].GetParamString(L"DeviceDesc"), L"second");
}

TEST_F(CatalogueTest, NoFileBrokenFileOrNoDeviceGiveAnEmptyCatalogue)
{
    EXPECT_TRUE(ReadCatalogue(L"POSPrinter").empty()); // no config.xml in the folder
    EXPECT_TRUE(Read("").empty());
    EXPECT_TRUE(Read(R"(<c><device type="POSPrinter" model="Open">)").empty());
    EXPECT_TRUE(Read(R"(<c><device type="POSPrinter" model="A"/></c><c/>)").empty());
    EXPECT_TRUE(Read(R"(<c><device type="POSPrinter" model="A" model="B"/></c>)").empty());
    EXPECT_TRUE(Read("not xml at all").empty());
    EXPECT_TRUE(Read(R"(<c><Device type="POSPrinter" model="Capital"/></c>)").empty());
    // Well formed again: read.
    EXPECT_EQ(Read(R"(<device type="POSPrinter" model="Root"/>)").size(), 1u);
}

TEST_F(CatalogueTest, ReadFromTheCurrentDirectoryEachTime)
{
    folder.Write(R"(<c><device type="POSPrinter" model="One"/></c>)");
    EXPECT_EQ(Models(ReadCatalogue(L"POSPrinter")), (std::vector<std::wstring>{L"One"}));
    folder.Write(R"(<c><device type="POSPrinter" model="Two"/></c>)");
    EXPECT_EQ(Models(ReadCatalogue(L"POSPrinter")), (std::vector<std::wstring>{L"Two"}));

    CatalogueFolder other; // empty, now the current directory
    EXPECT_TRUE(ReadCatalogue(L"POSPrinter").empty());
}

TEST(DeviceModel, GetParamStringIgnoresAsciiCaseAndPortAndGivesNumbersInDecimal)
{
    DeviceModel entry;
    entry.AddParam(L"usb", L"DeviceDesc", CString(L"first"));
    entry.AddParam(L"none", L"devicedesc", CString(L"second"));
    entry.AddParam(L"serial", L"Timeout", DWORD(4294967295u));
    entry.AddParam(L"none", L"Zero", DWORD(0));
    entry.AddParam(L"none", L"\u00c9tat", CString(L"accent"));
    EXPECT_EQ(entry.GetParamString(L"devicedesc"), L"first");
    EXPECT_EQ(entry.GetParamString(L"DEVICEDESC"), L"first");
    EXPECT_EQ(entry.GetParamString(L"TIMEOUT"), L"4294967295");
    EXPECT_EQ(entry.GetParamString(L"Zero"), L"0");
    EXPECT_EQ(entry.GetParamString(L"\u00e9tat"), L""); // only A to Z fold
    EXPECT_EQ(entry.GetParamString(L"Missing"), L"");
    EXPECT_EQ(entry.GetParamString(L"DeviceDes"), L"");
}

TEST(DeviceModel, CopiesOwnTheirParams)
{
    DeviceModel original;
    original.model = L"M";
    original.AddParam(L"none", L"Name", CString(L"value"));
    DeviceModel copy = original;
    original.AddParam(L"none", L"More", DWORD(1));
    original = DeviceModel();
    EXPECT_EQ(copy.GetParamCount(), 1);
    EXPECT_EQ(copy.GetParamString(L"Name"), L"value");
    EXPECT_EQ(copy.model, L"M");
}

// The catalogue that ships with the program: values the Communication
// Settings dialog reads must fit what it reads them with.
TEST_F(CatalogueTest, ShippedCatalogueFitsTheDeviceKeyLayout)
{
    std::wstring shipped = FenwoldExePath();
    shipped.resize(shipped.find_last_of(L'\\') + 1);
    folder.CopyIn(shipped + L"config.xml");
    const wchar_t kindLetters[] = {0, L'S', L'P', L'U', L'E'};
    const wchar_t* numbers[] = {L"DeviceID", L"PortFlag", L"Baudrate", L"BitLength", L"Parity", L"Stop", L"HandShake",
                                L"Timeout", L"XonXoff", L"OutputBuf", L"InputBuf", L"InputSleep"};
    for (const wchar_t* deviceClass : {L"POSPrinter", L"CashDrawer"}) {
        const auto catalogue = ReadCatalogue(deviceClass);
        ASSERT_FALSE(catalogue.empty()) << deviceClass;
        for (const DeviceModel& entry : catalogue) {
            SCOPED_TRACE(entry.model.GetString());
            EXPECT_FALSE(entry.model.IsEmpty());
            EXPECT_FALSE(entry.soname.IsEmpty());
            EXPECT_FALSE(entry.GetParamString(L"DeviceDesc").IsEmpty());
            bool anyKind = false;
            for (int i = 0; i < entry.GetParamCount(); ++i) {
                const ModelParam& param = entry.GetParam(i);
                const int kind = static_cast<int>(param.port);
                anyKind = anyKind || kind != 0;
                bool isNumber = false;
                for (const wchar_t* name : numbers)
                    isNumber = isNumber || param.name == name;
                EXPECT_EQ(Number(param) != nullptr, isNumber) << param.name.GetString();
                if (param.name == L"GroupID") {
                    const CString& group = *Text(param);
                    ASSERT_GT(kind, 0);
                    EXPECT_LE(group.GetLength(), 8);
                    EXPECT_EQ(group.GetAt(group.GetLength() - 1), kindLetters[kind]);
                }
                if (param.name.GetLength() > 3 && param.name.Right(3) == L"Sel") {
                    EXPECT_EQ(param.port, PortKind::Serial);
                    EXPECT_LE(Text(param)->GetLength(), 18);
                }
            }
            EXPECT_TRUE(anyKind);
        }
    }
}
