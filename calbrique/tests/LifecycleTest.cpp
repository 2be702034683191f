// OpenService, ClaimDevice, ReleaseDevice and CloseService through the
// stand-in control object (late-bound by name).
#include "Calbrique.h"
#include "ServiceFixture.h"
#include "com/BStr.h"

namespace {

using testkit::Arg;
using testkit::StandInControl;

using Lifecycle = ServiceTest;

TEST_F(Lifecycle, OpenServiceRefusesOtherClassesAndLoadsNothingThen)
{
    Key.SetString(L"Port", testkit::ServicePort(LineRefused));
    const wchar_t* const refused[] = {L"posprinter", L"", L"CashDrawer", L"POSPrinter "};
    for (const wchar_t* deviceClass : refused) {
        EXPECT_EQ(Control.Open(Key.Device(), deviceClass), 402) << deviceClass;
        EXPECT_EQ(Control.ResultCode(), 402);
        EXPECT_EQ(Control.ClaimDevice(0), 109) << "no configuration loaded, so no port";
    }
    EXPECT_EQ(Control.Call(L"OpenService", StandInControl::Args(Arg::Text(nullptr), Arg::Text(Key.Device().c_str()),
                                                                 Arg::Dispatch(nullptr))),
              402)
        << "a null class";
    EXPECT_EQ(Control.Call(L"OpenService", StandInControl::Args(Arg::Text(L"POSPrinter"),
                                                                 Arg::Text(Key.Device().c_str()),
                                                                 Arg::Dispatch(nullptr))),
              0)
        << "the object stays usable for another OpenService";
    EXPECT_EQ(Control.ResultCode(), 0);
}

TEST_F(Lifecycle, PropertyDefaultsAfterOpen)
{
    ASSERT_EQ(Control.Open(Key.Device()), 0);
    EXPECT_EQ(Control.GetPropertyNumber(1), 0);  // Claimed
    EXPECT_EQ(Control.GetPropertyNumber(2), 0);  // DataEventEnabled
    EXPECT_EQ(Control.GetPropertyNumber(3), 0);  // DeviceEnabled
    EXPECT_EQ(Control.GetPropertyNumber(4), 0);  // FreezeEvents
    EXPECT_EQ(Control.GetPropertyNumber(5), 0);  // OutputID
    EXPECT_EQ(Control.GetPropertyNumber(6), 0);  // ResultCode
    EXPECT_EQ(Control.GetPropertyNumber(7), 0);  // ResultCodeExtended
    EXPECT_EQ(Control.GetPropertyNumber(8), 1011001);
    EXPECT_EQ(Control.GetPropertyNumber(9), 2);  // State: idle
}

TEST_F(Lifecycle, EventNamesAreLookedUpAndControlObjectReleased)
{
    ASSERT_EQ(Control.Open(Key.Device()), 0);
    const std::vector<std::wstring> expected = {L"SOData", L"SODirectIO", L"SOError", L"SOOutputComplete",
                                                L"SOStatusUpdate"};
    EXPECT_EQ(Control.EventNamesAsked(), expected);
    EXPECT_EQ(Control.ReferencesHeldByOthers(), 1u);
    EXPECT_EQ(Control.Close(), 0);
    EXPECT_EQ(Control.ReferencesHeldByOthers(), 0u);
}

TEST_F(Lifecycle, EmptyPortFailsWithNoExistAndOpensNothing)
{
    ASSERT_EQ(Control.Open(Key.Device()), 0);  // the key holds no Port
    const unsigned long handles = testkit::CountHandles();
    EXPECT_EQ(Control.ClaimDevice(1000), 109);
    EXPECT_EQ(Control.ResultCode(), 109);
    EXPECT_EQ(Control.Claimed(), 0);
    EXPECT_EQ(testkit::CountHandles(), handles);
}

TEST_F(Lifecycle, MissingPortGivesNoExist)
{
    OpenOn(L"COM99");
    EXPECT_EQ(Control.ClaimDevice(1000), 109);
    EXPECT_EQ(Control.Claimed(), 0);
    Control.ReleaseDevice();
    EXPECT_EQ(Control.ResultCode(), 109) << "nothing claimed: nothing reported";
}

TEST_F(Lifecycle, OtherOpenFailureGivesFailure)
{
    OpenOn(L"LPT9");  // a folder
    EXPECT_EQ(Control.ClaimDevice(1000), 111);
    EXPECT_EQ(Control.ResultCode(), 111);
    EXPECT_EQ(Control.Claimed(), 0);
}

TEST_F(Lifecycle, ClaimTwiceOpensOnce)
{
    OpenOn(testkit::ServicePort(LineClaimTwice));
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    EXPECT_EQ(Control.Claimed(), 1);
    const unsigned long handles = testkit::CountHandles();
    const unsigned long threads = testkit::CountThreads();
    EXPECT_EQ(Control.ClaimDevice(1000), 0);
    EXPECT_EQ(testkit::CountHandles(), handles);
    EXPECT_EQ(testkit::CountThreads(), threads);
    EXPECT_EQ(Control.ReleaseDevice(), 0);
    EXPECT_EQ(Control.Claimed(), 0);
    EXPECT_EQ(Control.ResultCode(), 0);
}

TEST_F(Lifecycle, ReleaseUnclaimedWritesNeitherResultNorParameter)
{
    ASSERT_EQ(Control.Open(Key.Device(), L"Bad"), 402);
    com::ComPtr<ISOPOSPrinter> printer;
    ASSERT_EQ(Control.Service()->QueryInterface(IID_ISOPOSPrinter, reinterpret_cast<void**>(printer.Receive())), S_OK);
    LONG rc = -7;
    EXPECT_EQ(printer->ReleaseDevice(&rc), S_OK);
    EXPECT_EQ(rc, -7);
    EXPECT_EQ(Control.ResultCode(), 402);
}

TEST_F(Lifecycle, MethodsWithoutEffectLeaveResultCode)
{
    ASSERT_EQ(Control.Open(Key.Device(), L"Bad"), 402);
    LONG data = -5;
    com::BStr text(L"in");
    BSTR textBefore = text.Get();
    LONG result = -6;
    struct Case {
        const wchar_t* Name;
        std::vector<Arg> Args;
    };
    auto L = Arg::Long;
    auto T = Arg::Text;
    std::vector<Case> cases;
    cases.push_back({L"COFreezeEvents", StandInControl::Args(Arg::Bool(true))});
    cases.push_back({L"SetPropertyString", StandInControl::Args(L(1000002), T(L"x"))});
    cases.push_back({L"DirectIO", StandInControl::Args(L(1), Arg::LongRef(&data), Arg::TextRef(text.Receive()))});
    cases.push_back({L"BeginInsertion", StandInControl::Args(L(100))});
    cases.push_back({L"BeginRemoval", StandInControl::Args(L(100))});
    cases.push_back({L"EndInsertion", {}});
    cases.push_back({L"EndRemoval", {}});
    cases.push_back({L"PrintBitmap", StandInControl::Args(L(2), T(L"a.bmp"), L(100), L(0))});
    cases.push_back({L"PrintTwoNormal", StandInControl::Args(L(2), T(L"a"), T(L"b"))});
    cases.push_back({L"RotatePrint", StandInControl::Args(L(2), L(1))});
    cases.push_back({L"SetBitmap", StandInControl::Args(L(1), L(2), T(L"a.bmp"), L(100), L(0))});
    cases.push_back({L"SetLogo", StandInControl::Args(L(1), T(L"logo"))});
    cases.push_back({L"ValidateData", StandInControl::Args(L(2), T(L"x"))});
    cases.push_back({L"ChangePrintSide", StandInControl::Args(L(1))});
    cases.push_back({L"MarkFeed", StandInControl::Args(L(1))});
    cases.push_back({L"ResetStatistics", StandInControl::Args(Arg::TextRef(text.Receive()))});
    cases.push_back({L"RetrieveStatistics", StandInControl::Args(Arg::TextRef(text.Receive()))});
    cases.push_back({L"UpdateStatistics", StandInControl::Args(T(L"s"))});
    cases.push_back({L"CompareFirmwareVersion", StandInControl::Args(T(L"f"), Arg::LongRef(&result))});
    cases.push_back({L"UpdateFirmware", StandInControl::Args(T(L"f"))});
    cases.push_back({L"ClearPrintArea", {}});
    cases.push_back({L"PageModePrint", StandInControl::Args(L(1))});
    cases.push_back({L"PrintMemoryBitmap", StandInControl::Args(L(2), T(L"d"), L(1), L(100), L(0))});
    ASSERT_EQ(cases.size(), 23u);
    for (Case& c : cases) {
        text = com::BStr(L"in");
        textBefore = text.Get();
        Control.Call(c.Name, std::move(c.Args));
        EXPECT_EQ(Control.LastResult(), S_OK) << c.Name;
        EXPECT_EQ(Control.ResultCode(), 402) << c.Name;
        EXPECT_EQ(text.Get(), textBefore) << c.Name;
        EXPECT_EQ(data, -5) << c.Name;
        EXPECT_EQ(result, -6) << c.Name;
    }
}

TEST_F(Lifecycle, CloseServiceReleasesAClaimedPort)
{
    OpenOn(testkit::ServicePort(LineCloseService));
    const unsigned long handles = testkit::CountHandles();
    const unsigned long threads = testkit::CountThreads();
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    EXPECT_EQ(testkit::CountThreads(), threads + 1) << "the status reader";
    Control.SetDeviceEnabled(true);
    EXPECT_EQ(Control.Call(L"CloseService"), 0);
    EXPECT_EQ(Control.ResultCode(), 0);
    EXPECT_EQ(Control.Claimed(), 0);
    EXPECT_EQ(Control.GetPropertyNumber(3), 0) << "disabled";
    EXPECT_EQ(testkit::CountThreads(), threads);
    EXPECT_EQ(testkit::CountHandles(), handles);

    StandInControl other;
    ASSERT_EQ(other.Open(Key.Device()), 0);
    EXPECT_EQ(other.ClaimDevice(1000), 0);
}

TEST_F(Lifecycle, OpenServiceOnClaimedObjectReleasesTheClaimFirst)
{
    OpenOn(testkit::ServicePort(LineReopen));
    const unsigned long handles = testkit::CountHandles();
    const unsigned long threads = testkit::CountThreads();
    ASSERT_EQ(Control.ClaimDevice(1000), 0);

    auto openService = [&](const wchar_t* deviceClass) {
        return Control.Call(L"OpenService", StandInControl::Args(Arg::Text(deviceClass), Arg::Text(Key.Device().c_str()),
                                                                  Arg::Dispatch(nullptr)));
    };
    EXPECT_EQ(openService(L"LineDisplay"), 402);
    EXPECT_EQ(Control.Claimed(), 1) << "a refused class changes nothing";
    EXPECT_EQ(testkit::CountThreads(), threads + 1);

    EXPECT_EQ(openService(L"POSPrinter"), 0);
    EXPECT_EQ(Control.Claimed(), 0);
    EXPECT_EQ(testkit::CountThreads(), threads) << "the reader has ended";
    EXPECT_EQ(testkit::CountHandles(), handles) << "the port is closed";
    EXPECT_EQ(Control.ClaimDevice(1000), 0);
}

TEST_F(Lifecycle, DestroyingClaimedObjectClosesPortAndEndsReader)
{
    OpenOn(testkit::ServicePort(LineDestroy));
    const unsigned long handles = testkit::CountHandles();
    const unsigned long threads = testkit::CountThreads();
    ASSERT_EQ(Control.ClaimDevice(1000), 0);
    Control.Abandon();
    EXPECT_EQ(testkit::CountThreads(), threads);
    EXPECT_EQ(testkit::CountHandles(), handles);
    EXPECT_EQ(Control.ReferencesHeldByOthers(), 0u);
}

TEST_F(Lifecycle, VtablePathReportsThroughPrc)
{
    Key.SetString(L"Port", testkit::ServicePort(LineVtable));
    com::ComPtr<ISOPOSPrinter> printer;
    ASSERT_EQ(CoCreateInstance(CLSID_SOPOSPrinter, nullptr, CLSCTX_INPROC_SERVER, IID_ISOPOSPrinter,
                               reinterpret_cast<void**>(printer.Receive())),
              S_OK);
    com::BStr deviceClass(L"POSPrinter");
    com::BStr device(Key.Device().c_str());
    LONG rc = -1;
    ASSERT_EQ(printer->OpenService(deviceClass.Get(), device.Get(), nullptr, &rc), S_OK);
    EXPECT_EQ(rc, 0);
    ASSERT_EQ(printer->ClaimDevice(0, &rc), S_OK);
    EXPECT_EQ(rc, 0);
    LONG claimed = 0;
    ASSERT_EQ(printer->GetPropertyNumber(1, &claimed), S_OK);
    EXPECT_EQ(claimed, 1);
    rc = -1;
    ASSERT_EQ(printer->ReleaseDevice(&rc), S_OK);
    EXPECT_EQ(rc, 0);
    rc = -1;
    ASSERT_EQ(printer->CloseService(&rc), S_OK);
    EXPECT_EQ(rc, 0);
}

}  // namespace
