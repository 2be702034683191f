// Windows of our own classes (or superclasses of system ones) whose messages
// go to the object's message map.
#pragma once

#include "ui/Window.h"

// How a window class is registered: on the first Create of a window of it.
struct CWndClassInfo {
    UINT style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    int background = COLOR_WINDOW + 1;
    const wchar_t* className = nullptr;  // null: a name is made up
    const wchar_t* superClass = nullptr; // a system class to extend, or null
    UINT resourceId = 0;                 // icon (large and small) of a frame; 0 none
    ATOM atom = 0;
    WNDPROC superProc = nullptr;
    wchar_t autoName[40] = {};

    ATOM Register(WNDPROC proc);
};

#define DECLARE_WND_CLASS_EX(name, classStyle, bkgnd) \
    static CWndClassInfo& GetWndClassInfo() \
    { \
        static CWndClassInfo info = [] { CWndClassInfo i; i.className = name; i.style = classStyle; i.background = bkgnd; return i; }(); \
        return info; \
    }

#define DECLARE_WND_SUPERCLASS(name, origName) \
    static CWndClassInfo& GetWndClassInfo() \
    { \
        static CWndClassInfo info = [] { CWndClassInfo i; i.className = name; i.superClass = origName; return i; }(); \
        return info; \
    }

class CWindowImplRoot : public CWindow, public CMessageMap {
public:
    CWindowImplRoot() = default;
    CWindowImplRoot(const CWindowImplRoot&) = delete;
    CWindowImplRoot& operator=(const CWindowImplRoot&) = delete;
    virtual ~CWindowImplRoot();

    // The message being handled now (for DefWindowProc without arguments).
    const MSG* m_pCurrentMsg = nullptr;

protected:
    HWND CreateImpl(CWndClassInfo& info, HWND parent, const RECT* rc, const wchar_t* name, DWORD style,
                    DWORD exStyle, HMENU menuOrId, void* param);
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT DefWindowProc();
    // After the last message (WM_NCDESTROY); m_hWnd is already null.
    virtual void OnFinalMessage(HWND) {}

    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

private:
    WNDPROC m_superProc = ::DefWindowProcW;
};

template <class T>
class CWindowImpl : public CWindowImplRoot {
public:
    static CWndClassInfo& GetWndClassInfo()
    {
        static CWndClassInfo info;
        return info;
    }

    // rc null: default position and size for a top-level window, empty for a child.
    HWND Create(HWND parent, const RECT* rc = nullptr, const wchar_t* name = nullptr, DWORD style = 0,
                DWORD exStyle = 0, UINT id = 0, void* param = nullptr)
    {
        HMENU menuOrId = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)) : nullptr;
        return CreateImpl(T::GetWndClassInfo(), parent, rc, name, style, exStyle, menuOrId, param);
    }
};
