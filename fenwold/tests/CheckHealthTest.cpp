// The interactive CheckHealth command against the stand-in control object:
// the calls it makes, in order and with their argument types, the messages
// after a failed Open or ClaimDevice, and that the object is let go.
#include "DeviceMaps.h"
#include "FrameFixture.h"
#include "OposRegistry.h"
#include "StandInDll.h"

#include "ControlStandInServer.h"

#include <string>
#include <vector>

namespace {

using Calls = std::vector<std::wstring>;

class CheckHealthTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        opos_test::AddDevices(L"POSPrinter", {L"ChReceipt_A1", L"ChReceipt_B"});
        opos_test::AddDevices(L"CashDrawer", {L"ChDrawer"});
        CreateFrame();
        boxes->Clear();
    }
    void TearDown() override
    {
        FrameTest::TearDown();
        opos_test::RemoveDevices(L"POSPrinter", {L"ChReceipt_A1", L"ChReceipt_B"});
        opos_test::RemoveDevices(L"CashDrawer", {L"ChDrawer"});
    }

    // Selects the device node of `path` (class\device) and runs the command.
    void CheckHealthOf(const wchar_t* path)
    {
        HTREEITEM item = nullptr;
        for (int i = 0; i < g_deviceMap.GetSize(); ++i)
            if (g_deviceMap.GetValueAt(i) == CString(path))
                item = g_deviceMap.GetKeyAt(i);
        ASSERT_NE(item, nullptr) << "no tree node for the device";
        frame->m_tree.SelectItem(item);
        CheckHealth();
    }
    void CheckHealth()
    {
        frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CHECKHEALTH, 0), 0);
        Pump();
    }
    void Script(LONG open, LONG claim, LONG extended, const wchar_t* unknown = L"")
    {
        testkit::ControlScript script;
        script.OpenResult = open;
        script.ClaimResult = claim;
        script.ResultCodeExtended = extended;
        wcsncpy(script.UnknownName, unknown, 31);
        control.Script(script);
    }
    void ExpectOneBox(const std::wstring& text, const wchar_t* caption, UINT type)
    {
        ASSERT_EQ(boxes->Boxes().size(), 1u);
        EXPECT_EQ(boxes->Boxes()[0].text, text);
        EXPECT_EQ(boxes->Boxes()[0].caption, caption);
        EXPECT_EQ(boxes->Boxes()[0].type, type);
    }

    testkit::ControlStandInServer control{StandInDllPath()};
};

const Calls kFullRun = {L"Open method BSTR:ChReceipt_A1", L"ClaimDevice method I4:0", L"DeviceEnabled put I2:-1",
                        L"CheckHealth method I4:3",       L"DeviceEnabled put I2:0", L"ReleaseDevice method",
                        L"Close method"};

Calls Framed(const wchar_t* deviceClass, Calls calls)
{
    calls.insert(calls.begin(), std::wstring(L"create ") + deviceClass);
    calls.push_back(L"release");
    return calls;
}

TEST_F(CheckHealthTest, AClaimedDeviceIsEnabledCheckedDisabledReleasedAndClosed)
{
    ASSERT_TRUE(control.Loaded());
    Script(0, 0, 0);
    CheckHealthOf(L"POSPrinter\\ChReceipt_A1");
    EXPECT_EQ(control.Calls(), Framed(L"POSPrinter", kFullRun));
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_EQ(control.LiveObjects(), 0);

    // A fresh object each time; the results of the calls after the claim change nothing.
    Script(0, 0, 5);
    CheckHealthOf(L"POSPrinter\\ChReceipt_A1");
    EXPECT_EQ(control.Calls(), Framed(L"POSPrinter", kFullRun));
    EXPECT_EQ(control.LiveObjects(), 0);
}

TEST_F(CheckHealthTest, AFailedClaimIsReportedWithTheExtendedCodeThenClosed)
{
    Script(0, 109, 7);
    CheckHealthOf(L"POSPrinter\\ChReceipt_A1");
    EXPECT_EQ(control.Calls(), Framed(L"POSPrinter", {L"Open method BSTR:ChReceipt_A1", L"ClaimDevice method I4:0",
                                                      L"ResultCodeExtended get", L"Close method"}));
    ExpectOneBox(L"Error occurred in calling the CheckHealth method:\n\nClaimDevice = 109\nResultCodeExtended = 7",
                 L"Error", MB_OK | MB_ICONSTOP);
    EXPECT_EQ(control.LiveObjects(), 0);
}

TEST_F(CheckHealthTest, AFailedOpenIsReportedAndNothingElseIsCalled)
{
    Script(104, 0, -3);
    CheckHealthOf(L"POSPrinter\\ChReceipt_B");
    EXPECT_EQ(control.Calls(), Framed(L"POSPrinter", {L"Open method BSTR:ChReceipt_B", L"ResultCodeExtended get"}));
    ExpectOneBox(L"Error occurred in calling the CheckHealth method:\n\nOpen = 104\nResultCodeExtended = -3", L"Error",
                 MB_OK | MB_ICONSTOP);
    EXPECT_EQ(control.LiveObjects(), 0);
}

TEST_F(CheckHealthTest, ACashDrawerGoesThroughItsOwnControlObject)
{
    Script(0, 0, 0);
    CheckHealthOf(L"CashDrawer\\ChDrawer");
    Calls expected = kFullRun;
    expected[0] = L"Open method BSTR:ChDrawer";
    EXPECT_EQ(control.Calls(), Framed(L"CashDrawer", expected));
}

TEST_F(CheckHealthTest, WithoutADeviceNodeSelectedItAsksForOneAndCreatesNothing)
{
    Script(0, 0, 0);
    CheckHealth(); // nothing selected after the refresh
    ExpectOneBox(L"Please select a device!", L"Warning", MB_OK | MB_ICONEXCLAMATION);
    boxes->Clear();
    frame->m_tree.SelectItem(g_classMap.GetKeyAt(0));
    CheckHealth();
    ExpectOneBox(L"Please select a device!", L"Warning", MB_OK | MB_ICONEXCLAMATION);
    EXPECT_TRUE(control.Calls().empty());
}

TEST_F(CheckHealthTest, AControlObjectThatCannotBeCreatedIsReportedAndNotCalled)
{
    Script(0, 0, 0);
    testkit::ControlStandInServer::Unregister();
    CheckHealthOf(L"POSPrinter\\ChReceipt_A1");
    ExpectOneBox(L"Can not create OPOS POSPrinter control! [0x800401F3]", L"Error", MB_OK | MB_ICONSTOP);
    EXPECT_TRUE(control.Calls().empty());
}

// A call that delivers no result is not read as one: it fails like a
// non-zero result, with its HRESULT in the message.
TEST_F(CheckHealthTest, ACallTheObjectDoesNotKnowCountsAsFailed)
{
    Script(0, 0, 9, L"ClaimDevice");
    CheckHealthOf(L"POSPrinter\\ChReceipt_A1");
    EXPECT_EQ(control.Calls(), Framed(L"POSPrinter", {L"Open method BSTR:ChReceipt_A1", L"ResultCodeExtended get",
                                                      L"Close method"}));
    ExpectOneBox(L"Error occurred in calling the CheckHealth method:\n\nClaimDevice = -2147352570\n"
                 L"ResultCodeExtended = 9",
                 L"Error", MB_OK | MB_ICONSTOP);

    boxes->Clear();
    Script(0, 0, 9, L"Open");
    CheckHealthOf(L"POSPrinter\\ChReceipt_A1");
    EXPECT_EQ(control.Calls(), Framed(L"POSPrinter", {L"ResultCodeExtended get"}));
    ASSERT_EQ(boxes->Boxes().size(), 1u);
    EXPECT_NE(boxes->Boxes()[0].text.find(L"Open = -2147352570"), std::wstring::npos);
    EXPECT_EQ(control.LiveObjects(), 0);
}

// After a claim nothing that fails stops the sequence or is reported.
TEST_F(CheckHealthTest, FailuresAfterTheClaimChangeNothing)
{
    Script(0, 0, 0, L"CheckHealth");
    CheckHealthOf(L"POSPrinter\\ChReceipt_A1");
    Calls expected = kFullRun;
    expected.erase(expected.begin() + 3); // CheckHealth never reaches the object
    EXPECT_EQ(control.Calls(), Framed(L"POSPrinter", expected));
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_EQ(control.LiveObjects(), 0);
}

} // namespace
