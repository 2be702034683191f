// The temporary work folder that the install and the uninstall unpack the
// package's files into, and run its devcon from.
#pragma once

#include <windows.h>

#include <string>

#include "MemArchive.h"

// A name the system makes unique in the temporary folder (prefix "jz"); the
// empty file it makes is deleted at once and the name kept for a folder.
bool MakeWorkFolderName(std::wstring& folder);

// Unpacks entry index, named name (with "/"), below the work folder: a
// folder entry becomes a folder, a file entry a new file in its folder; the
// folders are made with their missing parents.  A file that fails to extract
// is traced by the reader and left out.
void UnpackEntry(CMemArchive& archive, UInt32 index, std::wstring name, const std::wstring& work, HWND owner);

// Deletes the folder with everything in it; what can't be deleted stays.
void DeleteFolderTree(const std::wstring& folder, HWND owner);

// Runs "<folder>\devcon <arguments>" with the folder as its current folder,
// without a window, traces startedTrace once it runs and waits for its end.
// False (traced) when it can't be started; exitCode is then not set.  An
// exit code that can't be read counts as a failure's (1).
bool RunDevcon(const std::wstring& folder, const std::wstring& arguments, const wchar_t* startedTrace,
               DWORD& exitCode);
