#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

// A fixture whose test has a key of its own below HKCU\Software\ScratchKeys,
// created empty before the test and removed after it. ctest runs the tests
// of one suite side by side, so no two of them may share a key.
template <class Key>
class ScratchKeyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        const std::string name = std::string(test->test_suite_name()) + "\\" + test->name();
        path = L"Software\\ScratchKeys\\" + std::wstring(name.begin(), name.end());
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, path.c_str(), KEY_READ | KEY_WRITE), ERROR_SUCCESS);
    }
    void TearDown() override
    {
        key.Close();
        RegDeleteTreeW(HKEY_CURRENT_USER, path.c_str());
    }

    std::wstring path;
    Key key;
};
