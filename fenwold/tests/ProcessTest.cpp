// Fenwold.exe as a process: its start-up message, its frame, its exit code.
#include "FenwoldProcess.h"
#include "OposRegistry.h"
#include "resource.h"
#include "testing/BoxAnswer.h"

#include <gtest/gtest.h>

#include <ostream>

namespace {
struct CloseWay {
    const char* name;
    UINT message;
    WPARAM wParam;
    const wchar_t* arguments;
};

void PrintTo(const CloseWay& way, std::ostream* os)
{
    *os << way.name;
}

class FenwoldExitTest : public ::testing::TestWithParam<CloseWay> {};
} // namespace

TEST_P(FenwoldExitTest, ClosingTheFrameEndsTheProcessWithExitCodeOne)
{
    // A fresh prefix has no control object: message 132 comes at every start.
    opos_test::UnregisterControl();
    FenwoldProcess fenwold;
    ASSERT_TRUE(fenwold.Start(FenwoldExePath(), GetParam().arguments));
    HWND box = nullptr;
    EXPECT_EQ(fenwold.WaitForBox(20000, &box), L"Can not find OPOS POSPrinter control!");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(uitest::WindowText(box), L"Warning");
    ASSERT_TRUE(uitest::ClickButton(box, IDOK));

    HWND frame = fenwold.WaitForFrame(20000);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(uitest::WindowText(frame), L"OPOS Norvale v1.0 UPOS 1.11");
    RECT rc;
    GetWindowRect(frame, &rc);
    EXPECT_EQ(rc.right - rc.left, 800);
    EXPECT_EQ(rc.bottom - rc.top, 600);

    PostMessageW(frame, GetParam().message, GetParam().wParam, 0);
    EXPECT_EQ(fenwold.WaitForExit(20000), 1u);
}

INSTANTIATE_TEST_SUITE_P(AnyWay, FenwoldExitTest,
                         ::testing::Values(CloseWay{"CloseBox", WM_CLOSE, 0, L""},
                                           CloseWay{"ExitCommand", WM_COMMAND, ID_APP_EXIT, L""},
                                           CloseWay{"AltF4", WM_SYSCOMMAND, SC_CLOSE, L"/ignored --args 42"}),
                         [](const ::testing::TestParamInfo<CloseWay>& info) { return info.param.name; });
