// The install worker: unpacks the package's folder for this machine's
// processor into a temporary work folder, turns on the INF lines of the port
// type, runs the package's devcon to install the device, and deletes the
// work folder again.
#pragma once

#include <windows.h>

#include <string>

#include "InstallJob.h"

// Thread entry; the parameter is the InstallJob.  Exit code 0 when the port
// was installed, non-zero otherwise.
DWORD WINAPI InstallThreadProc(LPVOID job);

// The worker's steps for the package folder `archFolder`, devcon given at
// most devconTimeLimitMs; its result.
DWORD RunInstall(const InstallJob& job, const std::wstring& archFolder, DWORD devconTimeLimitMs);

// "amd64", "ia64" or "x86" for a processor architecture number.
const wchar_t* ArchFolderNameFor(WORD processorArchitecture);
// The package folder of the native processor.
void GetArchFolderName(std::wstring& name);

// Edits the INF at path in place for the port type (PatchInfText); false when
// the file can't be opened or mapped.
bool PatchInfForPortType(const wchar_t* path, int portType);
