// Builds the main frame in the test process, as Fenwold's WinMain does, with
// message boxes answered and recorded.
#pragma once

#include "MainFrm.h"
#include "testing/BoxAnswer.h"

#include <gtest/gtest.h>

#include <memory>

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the frame; its start-up refresh runs inside.
    void CreateFrame();
    // Dispatches what is queued (and runs the idle handlers once).
    void Pump();

    CAppModule module;
    CMessageLoop loop;
    std::unique_ptr<uitest::ScopedBoxAnswer> boxes;
    std::unique_ptr<CMainFrame> frame;
};
