// Enabled and checked states of commands, applied to drop-down menus when
// they open and to tool bars from the idle handler.  The table is declared
// in the window class:
//   BEGIN_UPDATE_UI_MAP(CMainFrame)
//     UPDATE_ELEMENT(ID_VIEW_DETAILS, UPDUI_MENUPOPUP | UPDUI_TOOLBAR)
//   END_UPDATE_UI_MAP()
#pragma once

#include <windows.h>

#include <vector>

enum : WORD {
    UPDUI_MENUPOPUP = 0x0001,
    UPDUI_TOOLBAR = 0x0002,
};

struct UpdateUIEntry {
    WORD id;
    WORD flags;
};

#define BEGIN_UPDATE_UI_MAP(theClass) \
    static const UpdateUIEntry* GetUpdateUIMap() \
    { \
        static const UpdateUIEntry map[] = {
#define UPDATE_ELEMENT(id, flags) {static_cast<WORD>(id), static_cast<WORD>(flags)},
#define END_UPDATE_UI_MAP() \
            {0, 0}}; \
        return map; \
    }

class CUpdateUIBase {
public:
    explicit CUpdateUIBase(const UpdateUIEntry* map);

    BOOL UIEnable(int id, BOOL enable);
    BOOL UISetCheck(int id, int check);
    bool UIIsEnabled(int id) const;
    int UIGetCheck(int id) const;

    // Tool bars whose buttons follow the table (entries with UPDUI_TOOLBAR).
    void UIAddToolBar(HWND toolBar);
    // Applies changed states to the tool bars; call from OnIdle.
    BOOL UIUpdateToolBar();

    // Applies the states to a drop-down menu as it opens (WM_INITMENUPOPUP).
    BOOL ProcessWindowMessage(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lResult, DWORD dwMsgMapID = 0);

private:
    struct State {
        bool enabled = true;
        int check = 0;
        bool dirty = true;
    };
    int Find(int id) const;

    const UpdateUIEntry* m_map;
    std::vector<State> m_states;
    std::vector<HWND> m_toolBars;
};

template <class T>
class CUpdateUI : public CUpdateUIBase {
public:
    CUpdateUI() : CUpdateUIBase(T::GetUpdateUIMap()) {}
};
