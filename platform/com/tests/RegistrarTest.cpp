#include "com/RegKey.h"
#include "com/Registrar.h"

#include <gtest/gtest.h>
#include <string>

namespace {

// Each test works below its own key of HKCU\Software and removes it.
class RegistrarTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        Root = L"RegistrarTest_" + std::wstring(name.begin(), name.end());
        RegDeleteTreeW(HKEY_CURRENT_USER, Path(L"").c_str());
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, Path(L"").c_str()); }

    std::wstring Path(const std::wstring& below) const
    {
        return L"Software\\" + Root + (below.empty() ? L"" : L"\\" + below);
    }

    // The script's text inside HKCU { NoRemove Software { NoRemove <root> { ... } } }.
    std::wstring Script(const std::wstring& body) const
    {
        return L"HKCU\n{\n NoRemove Software\n {\n  NoRemove " + Root + L"\n  {\n" + body + L"\n  }\n }\n}\n";
    }

    bool KeyExists(const std::wstring& below) const
    {
        CRegKey key;
        return key.Open(HKEY_CURRENT_USER, Path(below).c_str(), KEY_READ) == ERROR_SUCCESS;
    }

    // The string value, or "<missing>".
    std::wstring Value(const std::wstring& below, const wchar_t* name) const
    {
        wchar_t buffer[512];
        DWORD bytes = sizeof buffer;
        DWORD type = 0;
        if (RegGetValueW(HKEY_CURRENT_USER, Path(below).c_str(), name, RRF_RT_ANY, &type, buffer, &bytes) !=
            ERROR_SUCCESS)
            return L"<missing>";
        if (type != REG_SZ) return L"<type>";
        return buffer;
    }

    void MakeKey(const std::wstring& below) const
    {
        CRegKey key;
        ASSERT_EQ(key.Create(HKEY_CURRENT_USER, Path(below).c_str(), KEY_WRITE), ERROR_SUCCESS);
    }

    std::wstring Root;
};

const wchar_t* const serverScript =
    L"   App.Thing.1 = s 'App thing'\n"
    L"   {\n"
    L"    CLSID = s '{11111111-2222-3333-4444-555555555555}'\n"
    L"   }\n"
    L"   NoRemove Shared\n"
    L"   {\n"
    L"    ForceRemove {11111111-2222-3333-4444-555555555555} = s 'App thing'\n"
    L"    {\n"
    L"     ForceRemove Programmable\n"
    L"     InprocServer32 = s '%MODULE%'\n"
    L"     {\n"
    L"      val ThreadingModel = s 'Apartment'\n"
    L"     }\n"
    L"    }\n"
    L"   }\n";

TEST_F(RegistrarTest, RegistersKeysValuesAndReplacements)
{
    const std::vector<com::Replacement> module{{L"MODULE", L"C:\\it's here\\x.dll"}};
    ASSERT_EQ(com::RunRegistryScript(Script(serverScript), true, module), S_OK);

    EXPECT_EQ(Value(L"App.Thing.1", nullptr), L"App thing");
    EXPECT_EQ(Value(L"App.Thing.1\\CLSID", nullptr), L"{11111111-2222-3333-4444-555555555555}");
    const std::wstring clsid = L"Shared\\{11111111-2222-3333-4444-555555555555}";
    EXPECT_TRUE(KeyExists(clsid + L"\\Programmable"));
    EXPECT_EQ(Value(clsid + L"\\Programmable", nullptr), L"<missing>");
    EXPECT_EQ(Value(clsid + L"\\InprocServer32", nullptr), L"C:\\it's here\\x.dll");
    EXPECT_EQ(Value(clsid + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
}

TEST_F(RegistrarTest, ForceRemoveClearsOldSubtreeBeforeWriting)
{
    const std::wstring clsid = L"Shared\\{11111111-2222-3333-4444-555555555555}";
    MakeKey(clsid + L"\\Stale\\Deeper");
    MakeKey(L"App.Thing.1\\Foreign");
    ASSERT_EQ(com::RunRegistryScript(Script(serverScript), true, {{L"MODULE", L"m.dll"}}), S_OK);

    EXPECT_FALSE(KeyExists(clsid + L"\\Stale"));
    EXPECT_TRUE(KeyExists(L"App.Thing.1\\Foreign")) << "a plain key is only added to";
}

TEST_F(RegistrarTest, UnregisterKeepsNoRemoveKeysAndForeignSubkeys)
{
    ASSERT_EQ(com::RunRegistryScript(Script(serverScript), true, {{L"MODULE", L"m.dll"}}), S_OK);
    MakeKey(L"Shared\\OtherServer");
    MakeKey(L"Shared\\{11111111-2222-3333-4444-555555555555}\\Added");
    ASSERT_EQ(com::RunRegistryScript(Script(serverScript), false, {{L"MODULE", L"m.dll"}}), S_OK);

    EXPECT_FALSE(KeyExists(L"App.Thing.1"));
    EXPECT_FALSE(KeyExists(L"Shared\\{11111111-2222-3333-4444-555555555555}")) << "ForceRemove takes the subtree";
    EXPECT_TRUE(KeyExists(L"Shared\\OtherServer"));
    EXPECT_TRUE(KeyExists(L"Shared"));

    // Unregistering what is not there succeeds.
    EXPECT_EQ(com::RunRegistryScript(Script(serverScript), false, {{L"MODULE", L"m.dll"}}), S_OK);
}

TEST_F(RegistrarTest, PlainKeyWithForeignSubkeyStaysOnUnregister)
{
    ASSERT_EQ(com::RunRegistryScript(Script(serverScript), true, {{L"MODULE", L"m.dll"}}), S_OK);
    MakeKey(L"App.Thing.1\\Foreign");
    ASSERT_EQ(com::RunRegistryScript(Script(serverScript), false, {{L"MODULE", L"m.dll"}}), S_OK);
    EXPECT_TRUE(KeyExists(L"App.Thing.1\\Foreign"));
    EXPECT_FALSE(KeyExists(L"App.Thing.1\\CLSID"));
}

TEST_F(RegistrarTest, PercentPairIsOnePercent)
{
    ASSERT_EQ(com::RunRegistryScript(Script(L"Pct = s '100%% sure'"), true, {}), S_OK);
    EXPECT_EQ(Value(L"Pct", nullptr), L"100% sure");
}

TEST_F(RegistrarTest, BadScriptsWriteNothing)
{
    const wchar_t* const bodies[] = {
        L"Key = s 'unterminated",
        L"Key = d '5'",
        L"Key = s '%NOPE%'",
        L"Key { val }",
        L"Key = s 'x' {",
        L"Key = s '%MODULE'",
    };
    for (const wchar_t* body : bodies) {
        EXPECT_EQ(com::RunRegistryScript(Script(body), true, {{L"MODULE", L"m.dll"}}), HRESULT_FROM_WIN32(ERROR_BAD_FORMAT))
            << std::string(body, body + wcslen(body));
        EXPECT_FALSE(KeyExists(L"Key"));
    }
    EXPECT_EQ(com::RunRegistryScript(L"HKXX { Key }", true, {}), HRESULT_FROM_WIN32(ERROR_BAD_FORMAT));
    EXPECT_EQ(com::RunRegistryScript(L"HKCU { val Loose = s 'x' }", true, {}), HRESULT_FROM_WIN32(ERROR_BAD_FORMAT));
}

}  // namespace
