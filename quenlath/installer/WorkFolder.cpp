#include "WorkFolder.h"

#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <vector>

#include "DebugTrace.h"
#include "com/Handle.h"

namespace {

// Creates the folder with its missing parents unless it exists.
void EnsureFolder(const std::wstring& path, HWND owner)
{
    if (::PathIsDirectoryW(path.c_str()))
        return;
    DebugTrace(L"create dir %ls\n", path.c_str());
    (void)::SHCreateDirectory(owner, path.c_str());  // a missing folder fails the extraction into it
}

} // namespace

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

void UnpackEntry(CMemArchive& archive, UInt32 index, std::wstring name, const std::wstring& work, HWND owner)
{
    std::replace(name.begin(), name.end(), L'/', L'\\');
    const std::wstring target = work + L"\\" + name;
    if (archive.IsDir(index)) {
        EnsureFolder(target, owner);
        return;
    }
    EnsureFolder(target.substr(0, target.find_last_of(L'\\')), owner);
    DebugTrace(L"extract file %ls\n", target.c_str());
    (void)archive.ExtractToFile(index, target.c_str());  // a missing file fails a later step
}

void DeleteFolderTree(const std::wstring& folder, HWND owner)
{
    std::vector<wchar_t> from(folder.begin(), folder.end());
    from.insert(from.end(), {L'\0', L'\0'});
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = owner;
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

bool RunDevcon(const std::wstring& folder, const std::wstring& arguments, const wchar_t* startedTrace,
               DWORD& exitCode)
{
    const std::wstring text = folder + L"\\devcon " + arguments;
    std::vector<wchar_t> commandLine(std::max<size_t>(text.size() + 1, MAX_PATH), L'\0');
    std::copy(text.begin(), text.end(), commandLine.begin());

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                          folder.c_str(), &startup, &process)) {
        DebugTrace(L"CreateProcess fail![%u]\n", static_cast<unsigned>(::GetLastError()));
        return false;
    }
    com::Handle processHandle(process.hProcess);
    com::Handle threadHandle(process.hThread);
    DebugTrace(L"%ls", startedTrace);
    (void)::WaitForSingleObject(processHandle.Get(), INFINITE);  // devcon ends by itself
    if (!::GetExitCodeProcess(processHandle.Get(), &exitCode))
        exitCode = 1;
    return true;
}
