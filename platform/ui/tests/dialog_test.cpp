#include "test_resource.h"
#include "ui/DataExchange.h"
#include "ui/Dialog.h"
#include "ui/MfcDialog.h"

#include <gtest/gtest.h>

namespace {

class CNumbersDlg : public CDialogImpl<CNumbersDlg>, public CWinDataExchange<CNumbersDlg> {
public:
    enum { IDD = IDD_NUMBERS };

    int m_first = 10;
    int m_second = 3;
    CString m_name = L"name";
    CWindow m_nameEdit;
    bool m_okOnInit = false;

    BEGIN_MSG_MAP(CNumbersDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnOK)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

    BEGIN_DDX_MAP(CNumbersDlg)
        DDX_CONTROL_HANDLE(IDC_NAME, m_nameEdit)
        DDX_INT(IDC_FIRST, m_first)
        DDX_INT(IDC_SECOND, m_second)
        DDX_TEXT(IDC_NAME, m_name)
    END_DDX_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&)
    {
        DoDataExchange(FALSE);
        if (m_okOnInit)
            PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
        return TRUE;
    }
    LRESULT OnOK(WORD, WORD id, HWND, BOOL&)
    {
        DoDataExchange(TRUE);
        EndDialog(id);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD id, HWND, BOOL&)
    {
        EndDialog(id);
        return 0;
    }
};

CString ItemText(HWND dialog, int id)
{
    return CWindow(GetDlgItem(dialog, id)).GetWindowText();
}

} // namespace

TEST(CDialogImpl, ModelessDialogLoadsAndSavesItsMembers)
{
    CNumbersDlg dlg;
    ASSERT_NE(dlg.Create(nullptr), nullptr);
    EXPECT_EQ(ItemText(dlg, IDC_FIRST), L"10");
    EXPECT_EQ(ItemText(dlg, IDC_SECOND), L"3");
    EXPECT_EQ(ItemText(dlg, IDC_NAME), L"name");
    EXPECT_EQ(dlg.m_nameEdit.m_hWnd, dlg.GetDlgItem(IDC_NAME));

    dlg.SetDlgItemText(IDC_FIRST, L" -20 ");
    dlg.SetDlgItemText(IDC_SECOND, L"7");
    dlg.SetDlgItemText(IDC_NAME, L"Model 1");
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.ModelessResult(), IDOK);
    EXPECT_EQ(dlg.m_first, -20);
    EXPECT_EQ(dlg.m_second, 7);
    EXPECT_EQ(dlg.m_name, L"Model 1");
}

TEST(CDialogImpl, NumberWithTrailingLettersFailsAndStopsTheExchange)
{
    CNumbersDlg dlg;
    ASSERT_NE(dlg.Create(nullptr), nullptr);
    dlg.SetDlgItemText(IDC_FIRST, L"20abc");
    dlg.SetDlgItemText(IDC_SECOND, L"5");
    EXPECT_FALSE(dlg.DoDataExchange(TRUE));
    EXPECT_EQ(dlg.m_first, 0);
    EXPECT_EQ(dlg.m_second, 3);
    EXPECT_EQ(GetFocus(), dlg.GetDlgItem(IDC_FIRST));

    // One control only.
    EXPECT_TRUE(dlg.DoDataExchange(TRUE, IDC_SECOND));
    EXPECT_EQ(dlg.m_second, 5);
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
    EXPECT_EQ(dlg.ModelessResult(), IDCANCEL);
}

TEST(CDialogImpl, ModalRunReturnsTheEndingCommand)
{
    CNumbersDlg dlg;
    dlg.m_okOnInit = true;
    dlg.m_first = 42;
    EXPECT_EQ(dlg.DoModal(nullptr), IDOK);
    EXPECT_EQ(dlg.m_first, 42);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
}

namespace {

constexpr UINT WM_TEST_PING = WM_APP + 1;

class CRadioDlg : public CDialog {
public:
    CRadioDlg() : CDialog(IDD_RADIOS) {}

    int m_choice = 1;
    int m_count = 5;
    int m_pings = 0;

    BEGIN_MSG_MAP(CRadioDlg)
        MESSAGE_HANDLER(WM_TEST_PING, OnPing)
        CHAIN_MSG_MAP(CDialog)
    END_MSG_MAP()

    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Radio(pDX, IDC_RADIO_A, m_choice);
        DDX_Text(pDX, IDC_COUNT, m_count);
    }

    LRESULT OnPing(UINT, WPARAM, LPARAM, BOOL&)
    {
        ++m_pings;
        return 0;
    }
};

} // namespace

TEST(CDialog, RadioGroupAndNumbersThroughUpdateData)
{
    CRadioDlg dlg;
    ASSERT_NE(dlg.Create(nullptr), nullptr);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RADIO_B), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg, IDC_RADIO_A), BST_UNCHECKED);
    EXPECT_EQ(ItemText(dlg, IDC_COUNT), L"5");

    dlg.SendMessage(WM_TEST_PING);
    EXPECT_EQ(dlg.m_pings, 1);

    CheckRadioButton(dlg, IDC_RADIO_A, IDC_RADIO_C, IDC_RADIO_C);
    dlg.SetDlgItemText(IDC_COUNT, L"12x");
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_NE(dlg.m_hWnd, nullptr) << "a failed exchange keeps the dialog open";
    EXPECT_EQ(dlg.m_choice, 2);
    EXPECT_EQ(dlg.m_count, 5);

    dlg.SetDlgItemText(IDC_COUNT, L"12");
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    EXPECT_EQ(dlg.ModelessResult(), IDOK);
    EXPECT_EQ(dlg.m_count, 12);
}

TEST(CDialog, CloseBoxEndsWithCancel)
{
    CRadioDlg dlg;
    ASSERT_NE(dlg.Create(nullptr), nullptr);
    dlg.SendMessage(WM_CLOSE);
    // The dialog manager posts the Cancel command.
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(dlg.ModelessResult(), IDCANCEL);
}
