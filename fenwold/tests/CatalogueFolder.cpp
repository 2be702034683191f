#include "CatalogueFolder.h"

#include <windows.h>

#include <gtest/gtest.h>

CatalogueFolder::CatalogueFolder()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = std::string("fwcat-") + test->test_suite_name() + "-" + test->name();
    m_folder = temp + std::wstring(name.begin(), name.end());
    CreateDirectoryW(m_folder.c_str(), nullptr);
    DeleteFileW((m_folder + L"\\config.xml").c_str());

    wchar_t current[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, current);
    m_previous = current;
    EXPECT_TRUE(SetCurrentDirectoryW(m_folder.c_str()));
}

CatalogueFolder::~CatalogueFolder()
{
    SetCurrentDirectoryW(m_previous.c_str());
    DeleteFileW((m_folder + L"\\config.xml").c_str());
    RemoveDirectoryW(m_folder.c_str());
}

void CatalogueFolder::Write(const std::string& bytes) const
{
    HANDLE file = CreateFileW((m_folder + L"\\config.xml").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    CloseHandle(file);
}

void CatalogueFolder::CopyIn(const std::wstring& source) const
{
    EXPECT_TRUE(CopyFileW(source.c_str(), (m_folder + L"\\config.xml").c_str(), FALSE)) << GetLastError();
}
