#include "ui/MessageLoop.h"

#include "ui/Module.h"

#include <algorithm>

namespace {
CAppModule* g_appModule = nullptr;

template <class T>
BOOL RemoveFrom(std::vector<T*>& items, T* item)
{
    auto it = std::find(items.begin(), items.end(), item);
    if (it == items.end())
        return FALSE;
    items.erase(it);
    return TRUE;
}

// Idle time ends with input or with messages that change what is shown.
bool EndsIdlePeriod(const MSG& msg)
{
    return msg.message != WM_MOUSEMOVE && msg.message != WM_NCMOUSEMOVE && msg.message != WM_PAINT &&
           msg.message != WM_TIMER && msg.message != 0x0118 /* system caret blink */;
}
} // namespace

BOOL CMessageLoop::AddMessageFilter(CMessageFilter* filter)
{
    m_filters.push_back(filter);
    return TRUE;
}

BOOL CMessageLoop::RemoveMessageFilter(CMessageFilter* filter)
{
    return RemoveFrom(m_filters, filter);
}

BOOL CMessageLoop::AddIdleHandler(CIdleHandler* handler)
{
    m_idleHandlers.push_back(handler);
    return TRUE;
}

BOOL CMessageLoop::RemoveIdleHandler(CIdleHandler* handler)
{
    return RemoveFrom(m_idleHandlers, handler);
}

BOOL CMessageLoop::PreTranslateMessage(MSG* pMsg)
{
    // A filter may remove itself while it runs: walk a copy.
    const std::vector<CMessageFilter*> filters(m_filters);
    for (auto it = filters.rbegin(); it != filters.rend(); ++it)
        if ((*it)->PreTranslateMessage(pMsg))
            return TRUE;
    return FALSE;
}

BOOL CMessageLoop::OnIdle()
{
    const std::vector<CIdleHandler*> handlers(m_idleHandlers);
    for (CIdleHandler* handler : handlers)
        handler->OnIdle();
    return FALSE;
}

int CMessageLoop::Run()
{
    bool idle = true;
    MSG msg = {};
    for (;;) {
        if (idle && !::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
            OnIdle();
            idle = false;
        }
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1)
            continue; // an invalid window handle in a filter; nothing to dispatch
        if (!got)
            break;
        if (!PreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (EndsIdlePeriod(msg))
            idle = true;
    }
    return static_cast<int>(msg.wParam);
}

HRESULT CAppModule::Init(HINSTANCE instance)
{
    m_instance = instance;
    g_appModule = this;
    ui::SetResourceInstance(instance);
    return S_OK;
}

void CAppModule::Term()
{
    m_loops.clear();
    if (g_appModule == this)
        g_appModule = nullptr;
}

BOOL CAppModule::AddMessageLoop(CMessageLoop* loop)
{
    const DWORD thread = ::GetCurrentThreadId();
    for (const Entry& e : m_loops)
        if (e.threadId == thread)
            return FALSE;
    m_loops.push_back({thread, loop});
    return TRUE;
}

BOOL CAppModule::RemoveMessageLoop()
{
    const DWORD thread = ::GetCurrentThreadId();
    for (auto it = m_loops.begin(); it != m_loops.end(); ++it) {
        if (it->threadId == thread) {
            m_loops.erase(it);
            return TRUE;
        }
    }
    return FALSE;
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const
{
    for (const Entry& e : m_loops)
        if (e.threadId == threadId)
            return e.loop;
    return nullptr;
}

namespace ui {
CAppModule* AppModule()
{
    return g_appModule;
}
} // namespace ui
