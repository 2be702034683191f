#pragma once

#include "Calbrique.h"
#include "ComApartment.h"
#include "DeviceKey.h"
#include "PrinterLine.h"
#include "Processes.h"
#include "StandInControl.h"

#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>

// Lines of the pty fixture, one test each (tests run in parallel).
enum TestLine {
    LineCycles = 0,
    LineCloseService,
    LineReopen,
    LineDestroy,
    LineClaimTwice,
    LineSettings,
    LineSecondDevice,
    LineOutOfRange,
    LineLowerCase,
    LineStatusBlocks,
    LineStatusTimeout,
    LineStatusRelease,
    LineEnable,
    LineVtable,
    LineRefused,
    LineReceipt,
    LineImmediate,
    LineClearOutput,
    LineCodePages,
    LineBarCode,
    LineCheckHealth,
    LineNoPort,
    LinesUsed
};
static_assert(LinesUsed <= testkit::SetupUtilityLine, "the pty fixture makes no more lines for the service object");

// One test's service object, driven through the stand-in control object,
// with a device key of its own.
class ServiceTest : public ::testing::Test
{
protected:
    static std::wstring TestDevice()
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(info->test_suite_name()) + "_" + info->name();
        return L"CalbriqueTest_" + std::wstring(name.begin(), name.end());
    }

    // Opens the device with the given Port value.
    void OpenOn(const std::wstring& port)
    {
        Key.SetString(L"Port", port);
        ASSERT_EQ(Control.Open(Key.Device()), 0);
    }

    // Opens the device on a pty line, claims it and opens the line's printer end.
    void Claim(int line)
    {
        OpenOn(testkit::ServicePort(line));
        ASSERT_EQ(Control.ClaimDevice(1000), 0);
        Printer = std::make_unique<testkit::PrinterLine>(testkit::PrinterPort(line));
        ASSERT_TRUE(Printer->IsOpen());
    }

    // Polls until the condition holds or `timeoutMs` has passed.
    static bool WaitFor(const std::function<bool()>& condition, DWORD timeoutMs)
    {
        const ULONGLONG end = GetTickCount64() + timeoutMs;
        for (;;) {
            if (condition()) return true;
            if (GetTickCount64() >= end) return false;
            Sleep(2);
        }
    }

    // The service object's dual interface, for early-bound calls.
    com::ComPtr<ISOPOSPrinter> EarlyBound()
    {
        com::ComPtr<ISOPOSPrinter> printer;
        EXPECT_EQ(Control.Service()->QueryInterface(IID_ISOPOSPrinter, reinterpret_cast<void**>(printer.Receive())),
                  S_OK);
        return printer;
    }

    testkit::ComApartment Apartment;
    testkit::DeviceKey Key{TestDevice()};
    testkit::StandInControl Control;
    std::unique_ptr<testkit::PrinterLine> Printer;  // after Claim
};
