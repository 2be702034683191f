// End to end: the CheckHealth command, through the stand-in control object
// forwarding to the registered service object, prints the interactive
// report on the device's line and leaves the port free again.
#include "DeviceMaps.h"
#include "FrameFixture.h"
#include "StandInDll.h"

#include "ControlStandInServer.h"
#include "DeviceKey.h"
#include "PrinterLine.h"
#include "StandInControl.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Of(const std::string& text)
{
    return Bytes(text.begin(), text.end());
}

Bytes operator+(Bytes a, const Bytes& b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST_F(FrameTest, CheckHealthPrintsTheInteractiveReportThroughTheControlObject)
{
    testkit::ControlStandInServer control(StandInDllPath());
    ASSERT_TRUE(control.Loaded());
    testkit::ControlScript forward;
    forward.Forward = TRUE;
    control.Script(forward);

    testkit::DeviceKey key(L"FenwoldCheckHealthLine");
    key.SetString(L"Port", testkit::ServicePort(testkit::SetupUtilityLine));
    key.SetString(L"DeviceName", L"Receipt P1");
    testkit::PrinterLine printer(testkit::PrinterPort(testkit::SetupUtilityLine));
    ASSERT_TRUE(printer.IsOpen());

    CreateFrame();
    boxes->Clear();
    const int index = [] {
        for (int i = 0; i < g_deviceMap.GetSize(); ++i)
            if (g_deviceMap.GetValueAt(i) == CString(L"POSPrinter\\FenwoldCheckHealthLine"))
                return i;
        return -1;
    }();
    ASSERT_GE(index, 0);
    frame->m_tree.SelectItem(g_deviceMap.GetKeyAt(index));
    frame->SendMessage(WM_COMMAND, MAKEWPARAM(ID_CHECKHEALTH, 0), 0);

    // Status back on, the report, status back off.
    const Bytes expected = Bytes{0x1D, 0x61, 0xFF, 0x1B, 0x40} + Of("Interactive HCheck !!\r\n\r\n") +
                           Of("OPOS Norvale\r\n\r\nServiceObjectVersion = 1011001\r\n\r\nDeviceName = Receipt P1") +
                           Bytes{0x1B, 0x64, 0x05, 0x1D, 0x61, 0x00};
    EXPECT_EQ(printer.Read(expected.size(), 5000), expected);
    EXPECT_TRUE(boxes->Boxes().empty());
    EXPECT_EQ(control.LiveObjects(), 0);

    // Released and closed: the port can be claimed again at once.
    testkit::StandInControl again;
    ASSERT_EQ(again.Open(key.Device()), 0);
    EXPECT_EQ(again.ClaimDevice(0), 0);
    EXPECT_EQ(again.ReleaseDevice(), 0);
}

} // namespace
