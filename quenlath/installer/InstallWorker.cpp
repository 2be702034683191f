#include "InstallWorker.h"

#include "DebugTrace.h"
#include "Devcon.h"
#include "InfPatch.h"
#include "MemArchive.h"
#include "WorkFolder.h"
#include "com/Handle.h"

namespace {

// Worker results besides devcon's own exit codes (Win32 customer bit set).
const DWORD kNoWorkFolder = 0x20000001;
const DWORD kInfNotPatched = 0x20000002;
const DWORD kDevconNotRun = 0x20000003;
const DWORD kNotUnpacked = 0x20000004;

const wchar_t kInfName[] = L"Quenlath.inf";
const wchar_t kHardwareId[] = L"ROZ\\Quenlath";

void Post(const InstallJob& job, WPARAM kind, LPARAM value)
{
    (void)::PostMessageW(job.hNotifyWnd, WM_INSTALL_PROGRESS, kind, value);  // a lost post is ignored
}

// Whether the install unpacks an entry: its name holds the processor
// folder's name.
bool Unpacks(const std::wstring& name, const std::wstring& archFolder)
{
    return name.find(archFolder) != std::wstring::npos;
}

// Every entry the install unpacks, into the work folder; false at the first
// that fails.
bool Unpack(CMemArchive& archive, const InstallJob& job, const std::wstring& archFolder, WorkFolder& work)
{
    const UInt32 count = archive.GetFileCount();
    for (UInt32 i = 0; i < count; ++i) {
        std::wstring name;
        archive.GetFileName(i, name);
        if (!Unpacks(name, archFolder))
            continue;
        if (!work.Unpack(archive, i, name))
            return false;
        Post(job, 1, static_cast<LPARAM>((i + 1) * 50 / count));
    }
    return true;
}

// Runs "<folder>\devcon install Quenlath.inf ROZ\Quenlath" in the folder and
// waits for it; its exit code, or kDevconNotRun.
DWORD RunDevconInstall(const InstallJob& job, const std::wstring& folder, DWORD devconTimeLimitMs)
{
    DWORD exitCode = 0;
    if (!RunDevcon(folder, std::wstring(L"install ") + kInfName + L" " + kHardwareId, L"start to install\n",
                   devconTimeLimitMs, exitCode))
        return kDevconNotRun;
    Post(job, 1, 80);
    return exitCode;
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

DWORD RunInstall(const InstallJob& job, const std::wstring& archFolder, DWORD devconTimeLimitMs)
{
    DWORD result = 0;
    CMemArchive archive(job.pData, job.nSize);

    WorkFolder work;
    const auto unpacks = [&archFolder](const std::wstring& name) { return Unpacks(name, archFolder); };
    if (!work.Create(LongestEntryName(archive, unpacks))) {
        result = kNoWorkFolder;
    } else if (!Unpack(archive, job, archFolder, work)) {
        result = kNotUnpacked;
    } else {
        const std::wstring folder = work.Path() + L"\\" + archFolder;
        const std::wstring inf = folder + L"\\" + kInfName;
        if (!PatchInfForPortType(inf.c_str(), job.nPortType)) {
            result = kInfNotPatched;
        } else {
            result = RunDevconInstall(job, folder, devconTimeLimitMs);
            ::Sleep(10);
            Post(job, 1, 90);
        }
    }
    work.Remove();

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
    return RunInstall(*static_cast<const InstallJob*>(job), archFolder, kDevconTimeLimitMs);
}
