#include "testing/BoxAnswer.h"
#include "testing/DialogAnswer.h"
#include "test_resource.h"
#include "ui/MessageBox.h"

#include <gtest/gtest.h>

TEST(MessageBoxSeam, HandlerAnswersAndRecordsEveryBox)
{
    uitest::ScopedBoxAnswer answer(IDNO);
    EXPECT_EQ(ui::ShowMessageBox(nullptr, L"Question?", L"Warning", MB_YESNO | MB_ICONEXCLAMATION), IDNO);
    EXPECT_EQ(ui::ShowMessageBox(nullptr, IDS_GREETING, IDS_GREETING, MB_OK), IDNO);
    ASSERT_EQ(answer.Boxes().size(), 2u);
    EXPECT_EQ(answer.Boxes()[0].text, L"Question?");
    EXPECT_EQ(answer.Boxes()[0].caption, L"Warning");
    EXPECT_EQ(answer.Boxes()[0].type, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(answer.Boxes()[1].text, L"Hello, %s: %d");
}

TEST(MessageBoxSeam, DialogAnswerAnswersARealMessageBox)
{
    uitest::ScopedDialogAnswer answer(IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, L"Replace it?", L"Warning", MB_YESNO), IDNO);
    // A box without the chosen button gets OK.
    EXPECT_EQ(MessageBoxW(nullptr, L"Note", L"Warning", MB_OK), IDOK);
    ASSERT_EQ(answer.Texts().size(), 2u);
    EXPECT_EQ(answer.Texts()[0], L"Replace it?");
}
