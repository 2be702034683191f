#include "Processes.h"

#include "com/Handle.h"

#include <tlhelp32.h>
#include <vector>
#include <winternl.h>

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

// The system's handle table rows (SystemHandleInformation, class 16).
struct HandleRow {
    USHORT ProcessId;
    USHORT CreatorBackTraceIndex;
    UCHAR ObjectType;
    UCHAR Attributes;
    USHORT Value;
    PVOID Object;
    ULONG Access;
};
struct HandleTable {
    ULONG Count;
    HandleRow Rows[1];
};

}  // namespace

unsigned long CountHandles()
{
    // GetProcessHandleCount always gives 0 under Wine: count the rows of the
    // system's handle table that are ours.
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(static_cast<SYSTEM_INFORMATION_CLASS>(16), buffer.data(),
                                                         static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<NTSTATUS>(0xC0000004L)) {  // length mismatch
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status < 0) return 0;
        break;
    }
    const auto* table = reinterpret_cast<const HandleTable*>(buffer.data());
    const USHORT self = static_cast<USHORT>(GetCurrentProcessId());
    unsigned long count = 0;
    for (ULONG i = 0; i < table->Count; ++i)
        if (table->Rows[i].ProcessId == self) ++count;
    return count;
}

unsigned long CountThreads()
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

}  // namespace testkit
