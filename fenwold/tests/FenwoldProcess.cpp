#include "FenwoldProcess.h"

#include "testing/ProcessWindows.h"
#include "testing/WindowTexts.h"

#include <cstring>
#include <cwchar>

namespace {
// Memory in the other process, for the messages that carry pointers.
class RemoteBuffer {
public:
    RemoteBuffer(HANDLE process, SIZE_T size)
        : m_process(process), m_address(static_cast<BYTE*>(VirtualAllocEx(process, nullptr, size, MEM_COMMIT, PAGE_READWRITE)))
    {
    }
    ~RemoteBuffer()
    {
        if (m_address)
            (void)VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
    }
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    BYTE* Get() const { return m_address; }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const
    {
        return m_address && WriteProcessMemory(m_process, m_address + offset, data, size, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const
    {
        return m_address && ReadProcessMemory(m_process, m_address + offset, data, size, nullptr);
    }

private:
    HANDLE m_process;
    BYTE* m_address;
};

std::wstring ItemText(HANDLE process, HWND tree, HTREEITEM item)
{
    constexpr SIZE_T kTextOffset = 256;
    constexpr int kChars = 260;
    RemoteBuffer buffer(process, kTextOffset + kChars * sizeof(wchar_t));
    TVITEMW request = {};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = reinterpret_cast<wchar_t*>(buffer.Get() + kTextOffset);
    request.cchTextMax = kChars;
    wchar_t text[kChars + 1] = {};
    if (!buffer.Write(0, &request, sizeof(request)) ||
        !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(buffer.Get())) ||
        !buffer.Read(kTextOffset, text, kChars * sizeof(wchar_t)))
        return std::wstring();
    return text;
}

HTREEITEM NextItem(HWND tree, UINT relation, HTREEITEM item)
{
    return reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, relation, reinterpret_cast<LPARAM>(item)));
}

BOOL CALLBACK FindTreeProc(HWND window, LPARAM found)
{
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (wcscmp(name, WC_TREEVIEWW) != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}
} // namespace

FenwoldProcess::~FenwoldProcess()
{
    if (m_info.hProcess) {
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_info.hProcess, 99);
            WaitForSingleObject(m_info.hProcess, 5000);
        }
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
}

bool FenwoldProcess::Start(const std::wstring& exe, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    return CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &m_info) != FALSE;
}

HWND FenwoldProcess::WaitForDialog(DWORD timeoutMs, HWND except)
{
    return uitest::WaitForProcessWindow(Pid(), L"#32770", timeoutMs, except);
}

std::wstring FenwoldProcess::WaitForBox(DWORD timeoutMs, HWND* box)
{
    HWND found = WaitForDialog(timeoutMs);
    if (box)
        *box = found;
    if (!found)
        return std::wstring();
    const DWORD start = GetTickCount();
    std::wstring text;
    // The text control may still be empty right after the box shows.
    while (text.empty() && GetTickCount() - start < timeoutMs) {
        text = uitest::WindowText(GetDlgItem(found, 0xFFFF));
        if (text.empty())
            Sleep(20);
    }
    return text;
}

HWND FenwoldProcess::WaitForFrame(DWORD timeoutMs)
{
    HWND frame = uitest::WaitForProcessWindow(Pid(), L"Fenwold_MainFrame", timeoutMs);
    // Shown is not laid out: clicks go where the panes are once the
    // start-up messages are handled.
    if (frame)
        (void)WaitForInputIdle(m_info.hProcess, timeoutMs);  // a frame still busy is the caller's to see
    return frame;
}

DWORD FenwoldProcess::WaitForExit(DWORD timeoutMs)
{
    if (WaitForSingleObject(m_info.hProcess, timeoutMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(m_info.hProcess, &code);
    return code;
}

HTREEITEM FenwoldProcess::FindTreeItem(HWND tree, const std::wstring& text) const
{
    for (HTREEITEM root = NextItem(tree, TVGN_ROOT, nullptr); root; root = NextItem(tree, TVGN_NEXT, root)) {
        if (ItemText(m_info.hProcess, tree, root) == text)
            return root;
        for (HTREEITEM child = NextItem(tree, TVGN_CHILD, root); child; child = NextItem(tree, TVGN_NEXT, child))
            if (ItemText(m_info.hProcess, tree, child) == text)
                return child;
    }
    return nullptr;
}

bool FenwoldProcess::RightClick(HWND tree, HTREEITEM item) const
{
    // TVM_GETITEMRECT takes the item in the rectangle it fills.
    RemoteBuffer buffer(m_info.hProcess, sizeof(RECT));
    RECT rc = {};
    static_assert(sizeof(item) <= sizeof(rc), "the item fits the rectangle");
    std::memcpy(&rc, &item, sizeof(item));
    if (!buffer.Write(0, &rc, sizeof(rc)) || !SendMessageW(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(buffer.Get())) ||
        !buffer.Read(0, &rc, sizeof(rc)))
        return false;
    POINT at = {rc.left + 4, (rc.top + rc.bottom) / 2};
    if (!ClientToScreen(tree, &at) || !SetCursorPos(at.x, at.y))
        return false;
    INPUT click[2] = {};
    click[0].type = click[1].type = INPUT_MOUSE;
    click[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
    click[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
    return SendInput(2, click, sizeof(INPUT)) == 2;
}

HWND FindTree(HWND frame)
{
    HWND tree = nullptr;
    EnumChildWindows(frame, FindTreeProc, reinterpret_cast<LPARAM>(&tree));
    return tree;
}

std::wstring FenwoldExePath()
{
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path);
    dir.resize(dir.find_last_of(L"\\/"));     // .../fenwold/tests
    dir.resize(dir.find_last_of(L"\\/") + 1); // .../fenwold/
    return dir + L"Fenwold.exe";
}
