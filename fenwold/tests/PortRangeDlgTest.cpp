// The Port range dialog driven by messages: numbers in and out, the arrows'
// limits, the default buttons, the refusals, and the ways it ends.
#include "PortRangeDlg.h"
#include "testing/BoxAnswer.h"
#include "testing/DialogAnswer.h"
#include "testing/DialogLoop.h"
#include "testing/WindowTexts.h"

#include <gtest/gtest.h>

#include <string>

using uitest::ItemText;

namespace {

class PortRangeDlgTest : public ::testing::Test {
protected:
    void SetUp() override { uitest::InitControls(); }

    void Open(CPortRangeDlg& dlg)
    {
        ASSERT_NE(dlg.Create(nullptr), nullptr);
        dlg.ShowWindow(SW_SHOW);
        uitest::Pump(dlg);
    }

    static void Click(HWND dialog, int id)
    {
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    }

    // Clicks the left (lower) or right (higher) arrow of a horizontal up-down.
    static void ClickArrow(HWND spin, bool higher)
    {
        RECT rc;
        GetClientRect(spin, &rc);
        const int x = higher ? rc.right - 3 : 3;
        const LPARAM at = MAKELPARAM(x, rc.bottom / 2);
        SendMessageW(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageW(spin, WM_LBUTTONUP, 0, at);
    }
};

} // namespace

TEST_F(PortRangeDlgTest, OpensWithTheNumbersGivenAndTheArrowsStopAtThem)
{
    CPortRangeDlg dlg(10, 3);
    Open(dlg);
    EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_COM), L"10");
    EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_LPT), L"3");
    EXPECT_EQ(dlg.m_spinCom.m_hWnd, dlg.GetDlgItem(IDC_PORTRANGE_COM_SPIN));
    EXPECT_EQ(dlg.m_spinLpt.m_hWnd, dlg.GetDlgItem(IDC_PORTRANGE_LPT_SPIN));
    EXPECT_EQ(reinterpret_cast<HWND>(dlg.m_spinCom.SendMessage(UDM_GETBUDDY)), dlg.GetDlgItem(IDC_PORTRANGE_COM));
    EXPECT_FALSE(IsWindowVisible(dlg.GetDlgItem(ID_HELP)));

    for (int i = 0; i < 3; ++i)
        ClickArrow(dlg.m_spinCom, true);
    EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_COM), L"10");
    for (int i = 0; i < 12; ++i)
        ClickArrow(dlg.m_spinCom, false);
    EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_COM), L"1");
    ClickArrow(dlg.m_spinCom, true);
    EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_COM), L"2");

    for (int i = 0; i < 5; ++i)
        ClickArrow(dlg.m_spinLpt, false);
    EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_LPT), L"1");
    for (int i = 0; i < 5; ++i)
        ClickArrow(dlg.m_spinLpt, true);
    EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_LPT), L"3");

    Click(dlg, IDOK);
    EXPECT_EQ(dlg.ModelessResult(), IDOK);
    EXPECT_EQ(dlg.m_maxComPort, 2);
    EXPECT_EQ(dlg.m_maxLptPort, 3);
}

TEST_F(PortRangeDlgTest, TypedNumbersUpToCom256AndLpt9ComeOutOnOk)
{
    CPortRangeDlg dlg(10, 3);
    Open(dlg);
    dlg.SetDlgItemText(IDC_PORTRANGE_COM, L"256");
    dlg.SetDlgItemText(IDC_PORTRANGE_LPT, L" 9 ");
    Click(dlg, IDOK);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.ModelessResult(), IDOK);
    EXPECT_EQ(dlg.m_maxComPort, 256);
    EXPECT_EQ(dlg.m_maxLptPort, 9);
}

TEST_F(PortRangeDlgTest, SystemDefaultGivesTenAndOneAndCancellingKeepsTheNumbers)
{
    // Cancel, Escape and the close box.
    for (int way = 0; way < 3; ++way) {
        CPortRangeDlg dlg(7, 2);
        Open(dlg);
        Click(dlg, IDC_PORTRANGE_COM_DEFAULT);
        Click(dlg, IDC_PORTRANGE_LPT_DEFAULT);
        EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_COM), L"10");
        EXPECT_EQ(ItemText(dlg, IDC_PORTRANGE_LPT), L"1");
        // The buttons change the texts only, not what the arrows reach.
        int low = 0, high = 0;
        dlg.m_spinCom.SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
        EXPECT_EQ(low, 1);
        EXPECT_EQ(high, 7);

        HWND hDlg = dlg;
        if (way == 0) {
            Click(dlg, IDCANCEL);
        } else if (way == 1) {
            HWND edit = dlg.GetDlgItem(IDC_PORTRANGE_COM);
            SetFocus(edit);
            PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            uitest::Pump(hDlg);
        } else {
            dlg.SendMessage(WM_CLOSE);
            uitest::Pump(hDlg);
        }
        EXPECT_FALSE(IsWindow(hDlg)) << way;
        EXPECT_EQ(dlg.ModelessResult(), IDCANCEL) << way;
        EXPECT_EQ(dlg.m_maxComPort, 7) << way;
        EXPECT_EQ(dlg.m_maxLptPort, 2) << way;
    }
}

TEST_F(PortRangeDlgTest, AFieldThatIsEmptyNoNumberOrOutOfRangeKeepsTheDialogOpenWithItsTextSelected)
{
    const struct {
        const wchar_t* com;
        const wchar_t* lpt;
        int refused; // the edit that is refused
        const wchar_t* message;
    } cases[] = {
        {L"", L"2", IDC_PORTRANGE_COM, L"Please enter a number from 1 to 256!"},
        {L"20abc", L"2", IDC_PORTRANGE_COM, L"Please enter a number from 1 to 256!"},
        {L"0", L"2", IDC_PORTRANGE_COM, L"Please enter a number from 1 to 256!"},
        {L"257", L"2", IDC_PORTRANGE_COM, L"Please enter a number from 1 to 256!"},
        {L"12", L"-4", IDC_PORTRANGE_LPT, L"Please enter a number from 1 to 9!"},
        {L"12", L"10", IDC_PORTRANGE_LPT, L"Please enter a number from 1 to 9!"},
        {L"12", L"x", IDC_PORTRANGE_LPT, L"Please enter a number from 1 to 9!"},
    };
    for (const auto& c : cases) {
        uitest::ScopedBoxAnswer boxes;
        CPortRangeDlg dlg(10, 3);
        Open(dlg);
        dlg.SetDlgItemText(IDC_PORTRANGE_COM, c.com);
        dlg.SetDlgItemText(IDC_PORTRANGE_LPT, c.lpt);
        Click(dlg, IDOK);
        const std::string label = std::string("COM ") + std::string(c.com, c.com + wcslen(c.com)) + " LPT " +
                                  std::string(c.lpt, c.lpt + wcslen(c.lpt));
        ASSERT_NE(dlg.m_hWnd, nullptr) << label;
        ASSERT_EQ(boxes.Boxes().size(), 1u) << label;
        EXPECT_EQ(boxes.Boxes()[0].text, c.message) << label;
        EXPECT_EQ(boxes.Boxes()[0].caption, L"Warning");
        EXPECT_EQ(boxes.Boxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
        HWND edit = dlg.GetDlgItem(c.refused);
        EXPECT_EQ(GetFocus(), edit) << label;
        DWORD start = 1, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << label;
        EXPECT_EQ(end, static_cast<DWORD>(GetWindowTextLengthW(edit))) << label;
        EXPECT_EQ(dlg.m_maxComPort, 10) << label << ": nothing is stored";
        EXPECT_EQ(dlg.m_maxLptPort, 3) << label;
        Click(dlg, IDCANCEL);
    }
}

TEST_F(PortRangeDlgTest, ModalRunReturnsOkWithTheNumbers)
{
    CPortRangeDlg dlg(10, 3);
    uitest::ScopedDialogAnswer script([](HWND box) {
        SetDlgItemTextW(box, IDC_PORTRANGE_COM, L"20");
        return IDOK;
    });
    EXPECT_EQ(dlg.DoModal(nullptr), IDOK);
    EXPECT_EQ(dlg.m_maxComPort, 20);
    EXPECT_EQ(dlg.m_maxLptPort, 3);

    CPortRangeDlg cancelled(10, 3);
    uitest::ScopedDialogAnswer cancel([](HWND box) {
        SetDlgItemTextW(box, IDC_PORTRANGE_COM, L"20");
        PostMessageW(box, WM_CLOSE, 0, 0);
        return 0;
    });
    EXPECT_EQ(cancelled.DoModal(nullptr), IDCANCEL);
    EXPECT_EQ(cancelled.m_maxComPort, 10);
}
