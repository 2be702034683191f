#include "InstallWorker.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "DebugTrace.h"
#include "InfPatch.h"
#include "MemArchive.h"
#include "com/Handle.h"

namespace {

// Worker results besides devcon's own exit codes (Win32 customer bit set).
const DWORD kNoWorkFolder = 0x20000001;
const DWORD kInfNotPatched = 0x20000002;
const DWORD kDevconNotRun = 0x20000003;

const wchar_t kInfName[] = L"Quenlath.inf";
const wchar_t kHardwareId[] = L"ROZ\\Quenlath";

void Post(const InstallJob& job, WPARAM kind, LPARAM value)
{
    (void)::PostMessageW(job.hNotifyWnd, WM_INSTALL_PROGRESS, kind, value);  // a lost post is ignored
}

// A name the system made unique in the temporary folder; the empty file it
// made is deleted at once and the name used for a folder.
bool MakeWorkFolderName(std::wstring& folder)
{
    wchar_t temp[MAX_PATH + 1];
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return false;
    wchar_t file[MAX_PATH];
    if (!::GetTempFileNameW(temp, L"jz", 0, file))
        return false;
    (void)::DeleteFileW(file);  // only the name is kept
    folder = file;
    return true;
}

// Creates the folder with its missing parents unless it exists.
void EnsureFolder(const std::wstring& path)
{
    if (::PathIsDirectoryW(path.c_str()))
        return;
    DebugTrace(L"create dir %ls\n", path.c_str());
    (void)::SHCreateDirectory(nullptr, path.c_str());  // a missing folder fails the extraction into it
}

// Every entry whose name holds the processor folder's name, into the work folder.
void Unpack(CMemArchive& archive, const InstallJob& job, const std::wstring& archFolder, const std::wstring& work)
{
    const UInt32 count = archive.GetFileCount();
    for (UInt32 i = 0; i < count; ++i) {
        std::wstring name;
        archive.GetFileName(i, name);
        if (name.find(archFolder) == std::wstring::npos)
            continue;
        std::replace(name.begin(), name.end(), L'/', L'\\');
        const std::wstring target = work + L"\\" + name;
        if (archive.IsDir(i)) {
            EnsureFolder(target);
        } else {
            EnsureFolder(target.substr(0, target.find_last_of(L'\\')));
            DebugTrace(L"extract file %ls\n", target.c_str());
            (void)archive.ExtractToFile(i, target.c_str());  // a missing file fails a later step
        }
        Post(job, 1, static_cast<LPARAM>((i + 1) * 50 / count));
    }
}

// Runs "<folder>\devcon install Quenlath.inf ROZ\Quenlath" in the folder and
// waits for it; its exit code, or kDevconNotRun.
DWORD RunDevconInstall(const InstallJob& job, const std::wstring& folder)
{
    const std::wstring text = folder + L"\\devcon install " + kInfName + L" " + kHardwareId;
    std::vector<wchar_t> commandLine(std::max<size_t>(text.size() + 1, MAX_PATH), L'\0');
    std::copy(text.begin(), text.end(), commandLine.begin());

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          folder.c_str(), &startup, &process)) {
        DebugTrace(L"CreateProcess fail![%u]\n", static_cast<unsigned>(::GetLastError()));
        return kDevconNotRun;
    }
    com::Handle processHandle(process.hProcess);
    com::Handle threadHandle(process.hThread);
    DebugTrace(L"start to install\n");
    (void)::WaitForSingleObject(processHandle.Get(), INFINITE);  // devcon ends by itself
    DWORD exitCode = 0;
    if (!::GetExitCodeProcess(processHandle.Get(), &exitCode))
        exitCode = kDevconNotRun;
    Post(job, 1, 80);
    return exitCode;
}

void DeleteFolderTree(const std::wstring& folder)
{
    std::vector<wchar_t> from(folder.begin(), folder.end());
    from.insert(from.end(), {L'\0', L'\0'});
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.data();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION;
    // A devcon that has just ended may hold its current folder for a moment
    // longer (seen under Wine): a few more tries, then what is left stays.
    for (int attempt = 0; attempt < 20; ++attempt) {
        (void)::SHFileOperationW(&operation);  // success is the folder's absence
        if (!::PathFileExistsW(folder.c_str()))
            return;
        ::Sleep(50);
    }
}

// Unmaps a view of a file mapping.
class MappedView {
public:
    explicit MappedView(void* view) : m_view(view) {}
    ~MappedView()
    {
        if (m_view)
            (void)::UnmapViewOfFile(m_view);  // the system writes the bytes back
    }
    MappedView(const MappedView&) = delete;
    MappedView& operator=(const MappedView&) = delete;
    char* Get() const { return static_cast<char*>(m_view); }

private:
    void* m_view;
};

} // namespace

const wchar_t* ArchFolderNameFor(WORD processorArchitecture)
{
    switch (processorArchitecture) {
    case PROCESSOR_ARCHITECTURE_AMD64:
        return L"amd64";
    case PROCESSOR_ARCHITECTURE_IA64:
        return L"ia64";
    default:
        return L"x86";
    }
}

void GetArchFolderName(std::wstring& name)
{
    SYSTEM_INFO info{};
    ::GetNativeSystemInfo(&info);
    name = ArchFolderNameFor(info.wProcessorArchitecture);
}

bool PatchInfForPortType(const wchar_t* path, int portType)
{
    com::Handle file(::CreateFileW(path, GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size)) {
        DebugTrace(L"Open inf fail: %8.8XH\n", static_cast<unsigned>(::GetLastError()));
        return false;
    }
    com::Handle mapping(::CreateFileMappingW(file.Get(), nullptr, PAGE_READWRITE, 0, 0, nullptr));
    if (!mapping) {
        DebugTrace(L"CreateFileMapping fail: %8.8XH\n", static_cast<unsigned>(::GetLastError()));
        return false;
    }
    MappedView view(::MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!view.Get()) {
        DebugTrace(L"MapViewOfFile fail: %8.8XH\n", static_cast<unsigned>(::GetLastError()));
        return false;
    }
    // The view may end exactly at a page's end: searches stay within the file's size.
    PatchInfText(view.Get(), static_cast<size_t>(size.QuadPart), portType);
    return true;
}

DWORD RunInstall(const InstallJob& job, const std::wstring& archFolder)
{
    DWORD result = 0;
    CMemArchive archive(job.pData, job.nSize);

    std::wstring work;
    if (!MakeWorkFolderName(work)) {
        result = kNoWorkFolder;
    } else {
        Unpack(archive, job, archFolder, work);
        const std::wstring folder = work + L"\\" + archFolder;
        const std::wstring inf = folder + L"\\" + kInfName;
        if (!PatchInfForPortType(inf.c_str(), job.nPortType)) {
            result = kInfNotPatched;
        } else {
            result = RunDevconInstall(job, folder);
            ::Sleep(10);
            Post(job, 1, 90);
        }
        if (::PathFileExistsW(work.c_str()))
            DeleteFolderTree(work);
    }

    ::Sleep(10);
    Post(job, 1, 100);
    ::Sleep(10);
    Post(job, 0, 0);
    return result;
}

DWORD WINAPI InstallThreadProc(LPVOID job)
{
    std::wstring archFolder;
    GetArchFolderName(archFolder);
    return RunInstall(*static_cast<const InstallJob*>(job), archFolder);
}
