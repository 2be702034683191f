#include <windows.h>

#include <gtest/gtest.h>

// The test runner itself works: a Windows test process under Wine.
TEST(WineSmoke, RunsAsWindowsProcess) {
  EXPECT_NE(GetACP(), 0u);
  wchar_t path[MAX_PATH] = {};
  ASSERT_GT(GetModuleFileNameW(nullptr, path, MAX_PATH), 0u);
}
