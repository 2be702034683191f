#include "ui/UpdateUI.h"

#include <commctrl.h>

CUpdateUIBase::CUpdateUIBase(const UpdateUIEntry* map) : m_map(map)
{
    size_t count = 0;
    while (map[count].id != 0)
        ++count;
    m_states.resize(count);
}

int CUpdateUIBase::Find(int id) const
{
    for (size_t i = 0; i < m_states.size(); ++i)
        if (m_map[i].id == id)
            return static_cast<int>(i);
    return -1;
}

BOOL CUpdateUIBase::UIEnable(int id, BOOL enable)
{
    const int i = Find(id);
    if (i < 0)
        return FALSE;
    State& s = m_states[static_cast<size_t>(i)];
    if (s.enabled != (enable != FALSE)) {
        s.enabled = enable != FALSE;
        s.dirty = true;
    }
    return TRUE;
}

BOOL CUpdateUIBase::UISetCheck(int id, int check)
{
    const int i = Find(id);
    if (i < 0)
        return FALSE;
    State& s = m_states[static_cast<size_t>(i)];
    if (s.check != check) {
        s.check = check;
        s.dirty = true;
    }
    return TRUE;
}

bool CUpdateUIBase::UIIsEnabled(int id) const
{
    const int i = Find(id);
    return i >= 0 && m_states[static_cast<size_t>(i)].enabled;
}

int CUpdateUIBase::UIGetCheck(int id) const
{
    const int i = Find(id);
    return i < 0 ? 0 : m_states[static_cast<size_t>(i)].check;
}

void CUpdateUIBase::UIAddToolBar(HWND toolBar)
{
    m_toolBars.push_back(toolBar);
    for (State& s : m_states)
        s.dirty = true;
}

BOOL CUpdateUIBase::UIUpdateToolBar()
{
    for (size_t i = 0; i < m_states.size(); ++i) {
        State& s = m_states[i];
        if (!s.dirty || !(m_map[i].flags & UPDUI_TOOLBAR))
            continue;
        for (HWND bar : m_toolBars) {
            // Buttons the bar lacks are left alone.
            if (::SendMessageW(bar, TB_COMMANDTOINDEX, m_map[i].id, 0) < 0)
                continue;
            ::SendMessageW(bar, TB_ENABLEBUTTON, m_map[i].id, MAKELPARAM(s.enabled, 0));
            ::SendMessageW(bar, TB_CHECKBUTTON, m_map[i].id, MAKELPARAM(s.check != 0, 0));
        }
        s.dirty = false;
    }
    return TRUE;
}

BOOL CUpdateUIBase::ProcessWindowMessage(HWND, UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT&, DWORD)
{
    if (uMsg != WM_INITMENUPOPUP || HIWORD(lParam)) // not for the system menu
        return FALSE;
    HMENU menu = reinterpret_cast<HMENU>(wParam);
    const int count = ::GetMenuItemCount(menu);
    for (int pos = 0; pos < count; ++pos) {
        const UINT id = ::GetMenuItemID(menu, pos);
        const int i = Find(static_cast<int>(id));
        if (id == static_cast<UINT>(-1) || i < 0 || !(m_map[i].flags & UPDUI_MENUPOPUP))
            continue;
        const State& s = m_states[static_cast<size_t>(i)];
        ::EnableMenuItem(menu, pos, MF_BYPOSITION | (s.enabled ? MF_ENABLED : MF_GRAYED));
        ::CheckMenuItem(menu, pos, MF_BYPOSITION | (s.check ? MF_CHECKED : MF_UNCHECKED));
    }
    return FALSE; // the frame's own handling goes on
}
