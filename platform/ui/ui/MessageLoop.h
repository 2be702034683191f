// The thread's message loop with message filters (accelerators, dialog
// keys) and idle handlers (UI state updates), and the application module
// that knows each thread's loop.
#pragma once

#include <windows.h>

#include <vector>

class CMessageFilter {
public:
    // True when the message was consumed and must not be dispatched.
    virtual BOOL PreTranslateMessage(MSG* pMsg) = 0;

protected:
    ~CMessageFilter() = default;
};

class CIdleHandler {
public:
    virtual BOOL OnIdle() = 0;

protected:
    ~CIdleHandler() = default;
};

class CMessageLoop {
public:
    BOOL AddMessageFilter(CMessageFilter* filter);
    BOOL RemoveMessageFilter(CMessageFilter* filter);
    BOOL AddIdleHandler(CIdleHandler* handler);
    BOOL RemoveIdleHandler(CIdleHandler* handler);

    // Runs until WM_QUIT and returns its wParam.  While the queue is empty the
    // idle handlers run once per idle period.
    int Run();

    // Offers the message to the filters, last added first.
    BOOL PreTranslateMessage(MSG* pMsg);
    BOOL OnIdle();

private:
    std::vector<CMessageFilter*> m_filters;
    std::vector<CIdleHandler*> m_idleHandlers;
};

class CAppModule {
public:
    HRESULT Init(HINSTANCE instance);
    void Term();

    HINSTANCE GetModuleInstance() const { return m_instance; }

    // One loop per thread.
    BOOL AddMessageLoop(CMessageLoop* loop);
    BOOL RemoveMessageLoop();
    CMessageLoop* GetMessageLoop(DWORD threadId = ::GetCurrentThreadId()) const;

private:
    struct Entry {
        DWORD threadId;
        CMessageLoop* loop;
    };
    HINSTANCE m_instance = nullptr;
    std::vector<Entry> m_loops;
};

namespace ui {
// The program's module (set by CAppModule::Init); the frame finds its loop here.
CAppModule* AppModule();
} // namespace ui
