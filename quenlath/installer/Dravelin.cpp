// Process entry of the installer: the application object does the rest.
#include "DebugTrace.h"
#include "SetupApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    // The installer runs elevated, often from a downloads folder: every DLL
    // loaded from here on (by this program or by the system for it) comes
    // from System32, never from the program's folder or the current one.
    // Should that be refused, loads follow the usual search order (traced).
    if (!::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32))
        DebugTrace(L"SetDefaultDllDirectories fail![%u]\n", static_cast<unsigned>(::GetLastError()));
    return AfxWinMain();
}
