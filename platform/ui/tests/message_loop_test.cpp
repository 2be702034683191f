#include "ui/MessageLoop.h"

#include <gtest/gtest.h>

namespace {
// Posts one WM_APP per idle period.
struct PostingIdle : CIdleHandler {
    int calls = 0;
    BOOL OnIdle() override
    {
        ++calls;
        PostThreadMessageW(GetCurrentThreadId(), WM_APP, 0, 0);
        return FALSE;
    }
};

// Eats WM_APP messages and ends the loop on the second one.
struct EatingFilter : CMessageFilter {
    int eaten = 0;
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message != WM_APP)
            return FALSE;
        if (++eaten == 2)
            PostQuitMessage(7);
        return TRUE;
    }
};
} // namespace

TEST(CMessageLoop, FiltersIdleHandlersAndQuitCode)
{
    CMessageLoop loop;
    PostingIdle idle;
    EatingFilter filter;
    loop.AddIdleHandler(&idle);
    loop.AddMessageFilter(&filter);
    EXPECT_EQ(loop.Run(), 7);
    EXPECT_EQ(filter.eaten, 2);
    EXPECT_EQ(idle.calls, 2);
    EXPECT_TRUE(loop.RemoveMessageFilter(&filter));
    EXPECT_FALSE(loop.RemoveMessageFilter(&filter));
    EXPECT_TRUE(loop.RemoveIdleHandler(&idle));
}

TEST(CAppModule, OneLoopPerThread)
{
    CAppModule module;
    ASSERT_EQ(module.Init(GetModuleHandleW(nullptr)), S_OK);
    EXPECT_EQ(ui::AppModule(), &module);
    CMessageLoop loop;
    EXPECT_TRUE(module.AddMessageLoop(&loop));
    EXPECT_FALSE(module.AddMessageLoop(&loop));
    EXPECT_EQ(module.GetMessageLoop(), &loop);
    EXPECT_EQ(module.GetMessageLoop(GetCurrentThreadId() + 1), nullptr);
    EXPECT_TRUE(module.RemoveMessageLoop());
    EXPECT_EQ(module.GetMessageLoop(), nullptr);
    module.Term();
    EXPECT_EQ(ui::AppModule(), nullptr);
}
