#include "Processes.h"

#include "com/Handle.h"

#include <tlhelp32.h>

namespace testkit {

long RunProcess(const std::wstring& commandLine, DWORD timeoutMs)
{
    std::wstring line = commandLine;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return -1;
    com::Handle process(info.hProcess);
    com::Handle thread(info.hThread);
    if (WaitForSingleObject(process.Get(), timeoutMs) != WAIT_OBJECT_0) {
        (void)TerminateProcess(process.Get(), 1);  // the caller reports the time-out
        return -2;
    }
    DWORD code = 0;
    if (!GetExitCodeProcess(process.Get(), &code)) return -1;
    return static_cast<long>(code);
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

namespace {

unsigned long ReadHandleCount()
{
    // GetProcessHandleCount always gives 0 under Wine, and asking for the
    // system's handle table (SystemHandleInformation) crashes Wine 8's server
    // while any process is being created.  Wine hands out the lowest free
    // slot, so the handles in use sit below the first long run of free ones.
    unsigned long count = 0;
    unsigned free = 0;
    for (ULONG_PTR value = 4; free < 1024; value += 4) {
        DWORD flags = 0;
        if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) {
            ++count;
            free = 0;
        } else {
            ++free;
        }
    }
    return count;
}

unsigned long ReadThreadCount()
{
    com::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
    if (!snapshot) return 0;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    unsigned long count = 0;
    for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    return count;
}

// Whether thread `id`'s instruction pointer is in the `size` bytes from `stub`.
bool ThreadIsAt(DWORD id, const BYTE* stub, size_t size)
{
    com::Handle thread(OpenThread(THREAD_SUSPEND_RESUME | THREAD_GET_CONTEXT, FALSE, id));
    if (!thread || SuspendThread(thread.Get()) == static_cast<DWORD>(-1)) return false;
    CONTEXT context{};
    context.ContextFlags = CONTEXT_CONTROL;
    const BOOL read = GetThreadContext(thread.Get(), &context);
    (void)ResumeThread(thread.Get());  // suspended just above
#ifdef _WIN64
    const auto at = reinterpret_cast<const BYTE*>(context.Rip);
#else
    const auto at = reinterpret_cast<const BYTE*>(context.Eip);
#endif
    return read && at >= stub && at < stub + size;
}

// A thread just started may still be setting itself up, with handles of its
// own, on a loaded machine: a count holds once two readings 100 ms apart agree.
unsigned long Settled(unsigned long (*read)())
{
    unsigned long last = read();
    for (int i = 0; i < 30; ++i) {
        Sleep(100);
        const unsigned long now = read();
        if (now == last) break;
        last = now;
    }
    return last;
}

}  // namespace

unsigned long CountHandles()
{
    return Settled(ReadHandleCount);
}

unsigned long CountThreads()
{
    return Settled(ReadThreadCount);
}

bool WaitForThreadInCall(const char* ntFunction, DWORD timeoutMs)
{
    // A system call stub is a few instructions; a thread blocked in the call
    // shows the address after its syscall instruction.
    const auto stub = reinterpret_cast<const BYTE*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), ntFunction));
    if (!stub) return false;
    const ULONGLONG end = GetTickCount64() + timeoutMs;
    do {
        com::Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
        if (!snapshot) return false;
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Thread32First(snapshot.Get(), &entry); more; more = Thread32Next(snapshot.Get(), &entry))
            if (entry.th32OwnerProcessID == GetCurrentProcessId() && entry.th32ThreadID != GetCurrentThreadId() &&
                ThreadIsAt(entry.th32ThreadID, stub, 32))
                return true;
        Sleep(10);
    } while (GetTickCount64() < end);
    return false;
}

}  // namespace testkit
