#include "Devcon.h"

#include <algorithm>
#include <vector>

#include "DebugTrace.h"
#include "com/Handle.h"

namespace {

// Waits for the handle at most limitMs, dispatching this thread's messages
// meanwhile; true when it was signalled.  A quit message ends the dispatching
// and is posted again for the loop that waits for it.
bool WaitDispatching(HANDLE handle, DWORD limitMs)
{
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    for (;;) {
        const ULONGLONG now = ::GetTickCount64();
        const DWORD left = now < end ? static_cast<DWORD>(end - now) : 0;
        const DWORD woken = ::MsgWaitForMultipleObjectsEx(1, &handle, left, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
        if (woken != WAIT_OBJECT_0 + 1)
            return woken == WAIT_OBJECT_0;
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                const bool ended = ::WaitForSingleObject(handle, left) == WAIT_OBJECT_0;
                ::PostQuitMessage(static_cast<int>(msg.wParam));
                return ended;
            }
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

// How long the programs devcon leaves behind (its console host) may take to
// end once devcon has.
const DWORD kLeftoversLimitMs = 10000;

// The job that devcon runs in, with the port that reports its processes'
// ends.  Its console host, which the system starts for it in its current
// folder, is in the job too: the folder is let go only when the whole job has
// ended.
class DevconJob {
public:
    DevconJob()
        : m_job(::CreateJobObjectW(nullptr, nullptr)),
          m_port(::CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1))
    {
        JOBOBJECT_ASSOCIATE_COMPLETION_PORT link{};
        link.CompletionKey = m_job.Get();
        link.CompletionPort = m_port.Get();
        m_ready = m_job && m_port &&
                  ::SetInformationJobObject(m_job.Get(), JobObjectAssociateCompletionPortInformation, &link,
                                            sizeof(link));
    }

    // Puts the (suspended) process in the job; false (traced) when it can't,
    // and the job then waits for nothing.
    bool Take(HANDLE process)
    {
        m_ready = m_ready && ::AssignProcessToJobObject(m_job.Get(), process);
        if (!m_ready)
            DebugTrace(L"devcon job fail![%u]\n", static_cast<unsigned>(::GetLastError()));
        return m_ready;
    }

    // Waits up to limitMs until no process of the job is left.
    void WaitEmpty(DWORD limitMs)
    {
        if (!m_ready)
            return;
        const ULONGLONG end = ::GetTickCount64() + limitMs;
        for (;;) {
            const ULONGLONG now = ::GetTickCount64();
            DWORD message = 0;
            ULONG_PTR key = 0;
            OVERLAPPED* detail = nullptr;
            if (now >= end ||
                !::GetQueuedCompletionStatus(m_port.Get(), &message, &key, &detail, static_cast<DWORD>(end - now))) {
                DebugTrace(L"devcon leftovers still run\n");
                return;
            }
            if (message == JOB_OBJECT_MSG_ACTIVE_PROCESS_ZERO)
                return;
        }
    }

    void Terminate(UINT exitCode) { (void)::TerminateJobObject(m_job.Get(), exitCode); }  // some may have ended

private:
    com::Handle m_job;
    com::Handle m_port;
    bool m_ready = false;
};

} // namespace

bool RunDevcon(const std::wstring& folder, const std::wstring& arguments, const wchar_t* startedTrace,
               DWORD timeLimitMs, DWORD& exitCode)
{
    const std::wstring program = folder + L"\\devcon.exe";
    const std::wstring text = L"\"" + folder + L"\\devcon\" " + arguments;
    std::vector<wchar_t> commandLine(std::max<size_t>(text.size() + 1, MAX_PATH), L'\0');
    std::copy(text.begin(), text.end(), commandLine.begin());

    DevconJob job;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                          CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, folder.c_str(), &startup, &process)) {
        DebugTrace(L"CreateProcess fail![%u]\n", static_cast<unsigned>(::GetLastError()));
        return false;
    }
    com::Handle processHandle(process.hProcess);
    com::Handle threadHandle(process.hThread);
    const bool inJob = job.Take(processHandle.Get());
    if (::ResumeThread(threadHandle.Get()) == static_cast<DWORD>(-1)) {
        DebugTrace(L"ResumeThread fail![%u]\n", static_cast<unsigned>(::GetLastError()));
        (void)::TerminateProcess(processHandle.Get(), 1);  // it never ran
        (void)::WaitForSingleObject(processHandle.Get(), 5000);
        return false;
    }
    DebugTrace(L"%ls", startedTrace);
    if (!WaitDispatching(processHandle.Get(), timeLimitMs)) {
        DebugTrace(L"devcon timed out\n");
        if (inJob)
            job.Terminate(WAIT_TIMEOUT);
        else
            (void)::TerminateProcess(processHandle.Get(), WAIT_TIMEOUT);  // it may have just ended
        (void)::WaitForSingleObject(processHandle.Get(), 5000);
        exitCode = WAIT_TIMEOUT;
    } else if (!::GetExitCodeProcess(processHandle.Get(), &exitCode)) {
        exitCode = 1;
    }
    job.WaitEmpty(kLeftoversLimitMs);  // then its files are let go
    return true;
}
