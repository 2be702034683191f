#define _CRT_RAND_S  // rand_s, declared by <stdlib.h>
#include "WorkFolder.h"

#include <sddl.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <winternl.h>

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <vector>

#include "DebugTrace.h"

namespace {

// Owned by Administrators; only they and SYSTEM have any access, and what is
// made inside inherits that.  Nothing is inherited from the temporary folder.
const wchar_t kSecurity[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)";
const int kNameAttempts = 8;
const size_t kNameLength = 10;  // "jz" and eight hex digits
const ULONGLONG kRemoveTriesMs = 2000;

// rand_s is the system's RtlGenRandom, found when first called (after the
// program has limited where DLLs may come from), so no DLL of its own is
// imported: an imported DLL that is not a known DLL is looked for in the
// program's folder first.
UINT32 SystemRandom()
{
    unsigned int value = 0;
    if (rand_s(&value) != 0) {
        // Guessable then, which only costs a name: an existing one is never used.
        LARGE_INTEGER now{};
        (void)::QueryPerformanceCounter(&now);
        value = static_cast<UINT32>(now.QuadPart) ^ (::GetCurrentProcessId() << 16);
    }
    return value;
}

WorkFolderRandom g_random = SystemRandom;

// A security descriptor made from SDDL text, freed with LocalFree.
class SecurityDescriptor {
public:
    explicit SecurityDescriptor(const wchar_t* sddl)
    {
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &m_sd, nullptr))
            m_sd = nullptr;
    }
    ~SecurityDescriptor()
    {
        if (m_sd)
            (void)::LocalFree(m_sd);
    }
    SecurityDescriptor(const SecurityDescriptor&) = delete;
    SecurityDescriptor& operator=(const SecurityDescriptor&) = delete;
    PSECURITY_DESCRIPTOR Get() const { return m_sd; }

private:
    PSECURITY_DESCRIPTOR m_sd = nullptr;
};

// The native name of an absolute DOS path.
std::wstring NativePath(const std::wstring& path)
{
    if (path.compare(0, 4, L"\\\\?\\") == 0)
        return L"\\??\\" + path.substr(4);
    if (path.compare(0, 2, L"\\\\") == 0)
        return L"\\??\\UNC\\" + path.substr(2);
    return L"\\??\\" + path;
}

// Creates the folder and opens it in one step, so the handle is of the
// folder made here; the Win32 error code on failure (ERROR_ALREADY_EXISTS
// when the name is taken).
DWORD CreateHeldFolder(const std::wstring& path, PSECURITY_DESCRIPTOR security, com::Handle& held)
{
    const std::wstring native = NativePath(path);
    UNICODE_STRING name;
    ::RtlInitUnicodeString(&name, native.c_str());
    OBJECT_ATTRIBUTES attributes;
    InitializeObjectAttributes(&attributes, &name, OBJ_CASE_INSENSITIVE, nullptr, security);
    IO_STATUS_BLOCK status{};
    HANDLE handle = nullptr;
    // No delete sharing: while held, the folder can't be renamed or deleted.
    const NTSTATUS result =
        ::NtCreateFile(&handle, FILE_LIST_DIRECTORY | SYNCHRONIZE, &attributes, &status, nullptr, 0,
                       FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_CREATE,
                       FILE_DIRECTORY_FILE | FILE_SYNCHRONOUS_IO_NONALERT, nullptr, 0);
    if (!NT_SUCCESS(result))
        return ::RtlNtStatusToDosError(result);
    held = com::Handle(handle);
    return ERROR_SUCCESS;
}

// Creates the folder with its missing parents unless it exists.
bool EnsureFolder(const std::wstring& path)
{
    if (::PathIsDirectoryW(path.c_str()))
        return true;
    DebugTrace(L"create dir %ls\n", path.c_str());
    const int result = ::SHCreateDirectory(nullptr, path.c_str());  // no owner: no error box
    if (result == ERROR_SUCCESS)
        return true;
    DebugTrace(L"create dir fail![%d]\n", result);
    return false;
}

} // namespace

WorkFolderRandom SetWorkFolderRandom(WorkFolderRandom source)
{
    const WorkFolderRandom previous = g_random;
    g_random = source ? source : SystemRandom;
    return previous;
}

bool StaysInside(const std::wstring& entryName)
{
    size_t start = 0;
    for (;;) {
        const size_t end = std::min(entryName.find_first_of(L"/\\", start), entryName.size());
        const std::wstring part = entryName.substr(start, end - start);
        if (part.empty() || part.back() == L'.' || part.back() == L' ' || part.find(L':') != std::wstring::npos)
            return false;
        if (end == entryName.size())
            return true;
        start = end + 1;
    }
}

bool WorkFolder::Create(size_t longestEntryName)
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    const SecurityDescriptor security(kSecurity);
    const bool gotTemp = length != 0 && length <= MAX_PATH;
    // Devcon, the system's set-up calls and the delete reach what is unpacked
    // by paths shorter than MAX_PATH only.
    const bool fits = gotTemp && length + kNameLength + 1 + longestEntryName < MAX_PATH;
    DWORD error = gotTemp && !fits ? ERROR_FILENAME_EXCED_RANGE : ERROR_PATH_NOT_FOUND;
    if (fits && security.Get()) {
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            wchar_t name[kNameLength + 1];
            (void)std::swprintf(name, kNameLength + 1, L"jz%08X", static_cast<unsigned>(g_random()));
            const std::wstring path = std::wstring(temp) + name;
            error = CreateHeldFolder(path, security.Get(), m_hold);
            if (error == ERROR_SUCCESS) {
                DebugTrace(L"create dir %ls\n", path.c_str());
                m_path = path;
                return true;
            }
            if (error != ERROR_ALREADY_EXISTS)
                break;
        }
    }
    DebugTrace(L"create work folder fail![%u]\n", static_cast<unsigned>(error));
    return false;
}

bool WorkFolder::Unpack(CMemArchive& archive, UInt32 index, const std::wstring& name)
{
    if (!StaysInside(name)) {
        DebugTrace(L"refuse entry %ls\n", name.c_str());
        return false;
    }
    std::wstring relative = name;
    std::replace(relative.begin(), relative.end(), L'/', L'\\');
    const std::wstring target = m_path + L"\\" + relative;
    if (archive.IsDir(index))
        return EnsureFolder(target);
    if (!EnsureFolder(target.substr(0, target.find_last_of(L'\\'))))
        return false;
    DebugTrace(L"extract file %ls\n", target.c_str());
    return archive.ExtractToFile(index, target.c_str());
}

void WorkFolder::Remove()
{
    if (m_path.empty())
        return;
    m_hold.Close();
    std::vector<wchar_t> from(m_path.begin(), m_path.end());
    from.insert(from.end(), {L'\0', L'\0'});
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    operation.fFlags = FOF_NO_UI;
    // Devcon and what it started have ended (RunDevcon waits for them), but
    // another program may still hold a file it has just seen written (a
    // virus scanner): more short tries for up to two seconds, then what is
    // left stays.
    const ULONGLONG end = ::GetTickCount64() + kRemoveTriesMs;
    for (;;) {
        const int result = ::SHFileOperationW(&operation);
        if (!::PathFileExistsW(m_path.c_str()))
            break;
        if (::GetTickCount64() >= end) {
            DebugTrace(L"delete dir fail![%d]\n", result);
            break;
        }
        ::Sleep(50);
    }
    m_path.clear();
}
