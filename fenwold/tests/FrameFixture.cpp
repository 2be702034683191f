#include "FrameFixture.h"

#include <objbase.h>

void FrameTest::SetUp()
{
    CoInitialize(nullptr);
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_COOL_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    module.Init(GetModuleHandleW(nullptr));
    module.AddMessageLoop(&loop);
    boxes = std::make_unique<uitest::ScopedBoxAnswer>(IDOK);
}

void FrameTest::TearDown()
{
    if (frame && frame->IsWindow())
        frame->DestroyWindow();
    frame.reset();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    boxes.reset();
    module.RemoveMessageLoop();
    module.Term();
    CoUninitialize();
}

void FrameTest::CreateFrame()
{
    frame = std::make_unique<CMainFrame>();
    ASSERT_NE(frame->CreateEx(), nullptr);
    frame->ShowWindow(SW_SHOWNORMAL);
    Pump();
}

void FrameTest::Pump()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam)); // leave it for the test to see
            break;
        }
        if (!loop.PreTranslateMessage(&msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    loop.OnIdle();
}
