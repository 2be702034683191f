// Fenwold.exe's resources, read from the built program by language.
#include "FenwoldProcess.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const WORD kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kChinese = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);

class ResourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        module = LoadLibraryExW(FenwoldExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }

    bool Has(const wchar_t* type, UINT id, WORD language) const
    {
        return FindResourceExW(module, type, MAKEINTRESOURCEW(id), language) != nullptr;
    }

    // String `id` of the table of `language`; false when absent.
    bool String(UINT id, WORD language, std::wstring& text) const
    {
        HRSRC block = FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
        if (!block)
            return false;
        const auto* p = static_cast<const WCHAR*>(LockResource(LoadResource(module, block)));
        for (UINT i = 0; i < id % 16; ++i)
            p += 1 + *p;
        if (*p == 0)
            return false;
        text.assign(p + 1, *p);
        return true;
    }

    std::wstring Text(UINT id, WORD language) const
    {
        std::wstring text;
        EXPECT_TRUE(String(id, language, text)) << id << " in " << language;
        return text;
    }

    HMODULE module = nullptr;
};
} // namespace

TEST_F(ResourceTest, StringsInEnglishAndChinese)
{
    EXPECT_EQ(Text(IDR_MAINFRAME, kEnglish), L"OPOS Norvale v1.0 UPOS 1.11");
    EXPECT_EQ(Text(IDR_MAINFRAME, kChinese), L"OPOS Norvale v1.0 UPOS 1.11");
    EXPECT_EQ(Text(IDS_PANE_TITLE, kEnglish), L"Device");
    EXPECT_EQ(Text(IDS_PANE_TITLE, kChinese), L"设备");
    EXPECT_EQ(Text(IDS_NO_CONTROL, kEnglish), L"Can not find OPOS POSPrinter control!");
    EXPECT_EQ(Text(IDS_SPECIAL_CONTROL, kEnglish), L"A special control object is found!\nReplace it with common one?");
    EXPECT_EQ(Text(IDS_WARNING, kChinese), L"警告");
    EXPECT_EQ(Text(IDS_CHECKHEALTH_ERROR, kEnglish),
              L"Error occurred in calling the CheckHealth method:\n\n%s = %ld\nResultCodeExtended = %ld");
    EXPECT_EQ(Text(IDS_CHECKHEALTH_ERROR, kChinese), L"调用 CheckHealth 方法时出错：\n\n%s = %ld\nResultCodeExtended = %ld");
    EXPECT_EQ(Text(IDS_NO_CONTROL_OBJECT, kEnglish), L"Can not create OPOS %s control! [0x%08lX]");
    EXPECT_EQ(Text(IDS_NO_CONTROL_OBJECT, kChinese), L"无法创建 OPOS %s 控件！[0x%08lX]");
    EXPECT_EQ(Text(ID_CHECKHEALTH, kEnglish), L"Perform interative CheckHealth\nCheckHealth Interative");
    EXPECT_EQ(Text(ID_CHECKHEALTH, kChinese), L"执行交互的CheckHealth\n交互的CheckHealth");
    EXPECT_EQ(Text(ID_REFRESH, kChinese), L"重新加载全部设备信息");
    EXPECT_EQ(Text(57345, kEnglish), L"Ready");
    EXPECT_EQ(Text(57345, kChinese), L"就绪");
    EXPECT_EQ(Text(ID_APP_ABOUT, kEnglish), L"Display information of this application\nAbout");
}

TEST_F(ResourceTest, DeviceCommandMessagesInBothLanguagesKeepTheirPlaceholders)
{
    EXPECT_EQ(Text(IDS_CANNOT_OPEN_REGISTRY, kEnglish), L"Can't open registry!");
    EXPECT_EQ(Text(IDS_SET_REGISTRY_FAILS, kEnglish), L"Setting registry fails!");
    EXPECT_EQ(Text(IDS_SELECT_DEVICE, kEnglish), L"Please select a device!");
    EXPECT_EQ(Text(IDS_CONFIRM_DELETE, kEnglish), L"Are you sure you want to delete this?");
    EXPECT_EQ(Text(IDS_DELETE_DEVICE_FAILS, kEnglish), L"Fails to delete device! [%d]");
    EXPECT_EQ(Text(IDS_LDN_DEFINED, kEnglish),
              L"Logical Device Name \"%s\" has been defined to refer to \"%s\".\nDo you want to replace it?");
    // The Chinese texts are formatted with the same arguments.
    const std::wstring defined = Text(IDS_LDN_DEFINED, kChinese);
    const size_t first = defined.find(L"%s");
    ASSERT_NE(first, std::wstring::npos);
    EXPECT_NE(defined.find(L"%s", first + 2), std::wstring::npos);
    EXPECT_EQ(defined.find(L'%', defined.find(L"%s", first + 2) + 2), std::wstring::npos);
    const std::wstring failed = Text(IDS_DELETE_DEVICE_FAILS, kChinese);
    EXPECT_NE(failed.find(L"%d"), std::wstring::npos);
    for (UINT id : {IDS_CANNOT_OPEN_REGISTRY, IDS_SET_REGISTRY_FAILS, IDS_SELECT_DEVICE, IDS_CONFIRM_DELETE, IDS_ERROR, IDS_WARNING})
        EXPECT_EQ(Text(id, kChinese).find(L'%'), std::wstring::npos) << id;
}

TEST_F(ResourceTest, EveryEnglishStringHasAChineseTwin)
{
    const UINT ids[] = {128, 129, 130, 131, 132, 133, 134, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 147,
                        148, 149, 150, 151, 152, 153, 154, 155, 156, 157, 32773, 32775, 32776, 32777, 32779, 32780, 32783, 32784, 32785,
                        32786, 32787, 32832, 32839, 32846, 57345, 57600, 57601, 57602, 57603, 57604, 57605, 57606,
                        57607, 57609, 57632, 57633, 57634, 57635, 57636, 57637, 57640, 57641, 57642, 57643, 57644,
                        57648, 57649, 57650, 57651, 57652, 57653, 57664, 57665, 57680, 57681, 59392, 59393, 61184,
                        61185, 61186, 61187, 61188, 61189, 61190, 61202, 61203, 61215, 61402};
    for (UINT id : ids) {
        std::wstring english, chinese;
        EXPECT_TRUE(String(id, kEnglish, english)) << id;
        EXPECT_TRUE(String(id, kChinese, chinese)) << id;
        // Prompts keep their status-bar line and tool-tip apart in both.
        EXPECT_EQ(english.find(L'\n') == std::wstring::npos, chinese.find(L'\n') == std::wstring::npos) << id;
    }
}

TEST_F(ResourceTest, MenusInBothLanguagesDialogsInEnglishSharedResourcesOnce)
{
    for (UINT menu : {IDR_MAINFRAME, IDR_CONTEXT_MENU}) {
        EXPECT_TRUE(Has(RT_MENU, menu, kEnglish)) << menu;
        EXPECT_TRUE(Has(RT_MENU, menu, kChinese)) << menu;
    }
    EXPECT_TRUE(Has(RT_DIALOG, IDD_ABOUTBOX, kEnglish));
    EXPECT_FALSE(Has(RT_DIALOG, IDD_ABOUTBOX, kChinese));
    EXPECT_TRUE(Has(RT_DIALOG, IDD_PORT_CONFIG, kEnglish));
    EXPECT_FALSE(Has(RT_DIALOG, IDD_PORT_CONFIG, kChinese));

    EXPECT_TRUE(Has(RT_ACCELERATOR, IDR_MAINFRAME, kChinese));
    EXPECT_FALSE(Has(RT_ACCELERATOR, IDR_MAINFRAME, kEnglish));
    EXPECT_TRUE(Has(MAKEINTRESOURCEW(241), IDR_MAINFRAME, kChinese));
    EXPECT_TRUE(Has(RT_BITMAP, IDR_MAINFRAME, kChinese));
    for (UINT icon : {IDR_MAINFRAME, IDI_CLASS, IDI_DEVICE, IDI_LDN}) {
        EXPECT_TRUE(Has(RT_GROUP_ICON, icon, kChinese)) << icon;
        EXPECT_FALSE(Has(RT_GROUP_ICON, icon, kEnglish)) << icon;
    }
}

TEST_F(ResourceTest, SettingsDialogsInEnglishTheirMessagesInBothLanguages)
{
    for (UINT dialog : {IDD_PORT_RANGE, IDD_DEV_DETAIL, IDD_ADD_LDN}) {
        EXPECT_TRUE(Has(RT_DIALOG, dialog, kEnglish)) << dialog;
        EXPECT_FALSE(Has(RT_DIALOG, dialog, kChinese)) << dialog;
    }
    EXPECT_EQ(Text(IDS_LDN_INVALID, kEnglish), L"Logical device name is invalid!");
    EXPECT_EQ(Text(IDS_LDN_INVALID, kChinese), L"逻辑设备名无效！");
    EXPECT_EQ(Text(IDS_LDN_EXISTS, kEnglish), L"The new name exists!");
    EXPECT_EQ(Text(IDS_LDN_EXISTS, kChinese), L"新名字已经存在！");
    EXPECT_EQ(Text(IDS_SET_REGISTRY_FAILS, kEnglish), L"Setting registry fails!");
    EXPECT_EQ(Text(IDS_SET_REGISTRY_FAILS, kChinese), L"设置注册表失败！");
    EXPECT_EQ(Text(IDS_ERROR, kEnglish), L"Error");
    EXPECT_EQ(Text(IDS_ERROR, kChinese), L"错误");
    EXPECT_EQ(Text(IDS_PROPERTY, kEnglish), L"Property");
}

TEST_F(ResourceTest, ChineseMenuHasTheEnglishIdsInTheSameOrder)
{
    auto ids = [&](WORD language) {
        HMENU menu = LoadMenuIndirectW(LockResource(LoadResource(module, FindResourceExW(module, RT_MENU, MAKEINTRESOURCEW(IDR_MAINFRAME), language))));
        std::wstring list;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            HMENU popup = GetSubMenu(menu, i);
            for (int j = 0; j < GetMenuItemCount(popup); ++j)
                list += std::to_wstring(static_cast<int>(GetMenuItemID(popup, j))) + L",";
            list += L"|";
        }
        DestroyMenu(menu);
        return list;
    };
    const std::wstring english = ids(kEnglish);
    EXPECT_EQ(english, ids(kChinese));
    EXPECT_EQ(english.substr(0, 15), L"32783,0,57665,|");
}

TEST_F(ResourceTest, ChineseContextMenusCarryTheEnglishIdsAndGrayedEntries)
{
    // Each popup's ids, with "g" after a grayed one.
    auto layout = [&](WORD language) {
        HMENU menu = LoadMenuIndirectW(LockResource(LoadResource(module, FindResourceExW(module, RT_MENU, MAKEINTRESOURCEW(IDR_CONTEXT_MENU), language))));
        std::wstring list;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            HMENU popup = GetSubMenu(menu, i);
            for (int j = 0; j < GetMenuItemCount(popup); ++j) {
                const UINT id = GetMenuItemID(popup, j);
                list += std::to_wstring(static_cast<int>(id));
                list += (id && (GetMenuState(popup, j, MF_BYPOSITION) & MF_GRAYED)) ? L"g," : L",";
            }
            list += L"|";
        }
        DestroyMenu(menu);
        return list;
    };
    const std::wstring english = layout(kEnglish);
    EXPECT_EQ(english, L"32775,0,32820g,0,32783,|32773,32822,32776,32780,32777,0,32826g,0,32783,|32776,32839,32832,|");
    EXPECT_EQ(layout(kChinese), english);
}

TEST_F(ResourceTest, ManifestNamesTheBuildsProcessor)
{
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(module, found)));
    const std::string manifest(text, SizeofResource(module, found));
#ifdef _WIN64
    EXPECT_NE(manifest.find("processorArchitecture=\"amd64\""), std::string::npos);
#else
    EXPECT_NE(manifest.find("processorArchitecture=\"x86\""), std::string::npos);
#endif
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
}
