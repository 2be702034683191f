// The temporary work folder that the install and the uninstall unpack the
// package's files into and run its devcon from.  It runs with administrator
// rights, so only Administrators and SYSTEM may write to the folder, and the
// folder is held open while it is used: nobody can move it away and put
// another one of the same name in its place.
#pragma once

#include <windows.h>

#include <algorithm>
#include <string>

#include "MemArchive.h"
#include "com/Handle.h"

class WorkFolder {
public:
    WorkFolder() = default;
    ~WorkFolder() { Remove(); }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    // Makes a new folder in the temporary folder, "jz" and eight random hex
    // digits, for entry names of up to longestEntryName characters.  A name
    // that exists is never used: another one is tried, a few times at most.
    // False (traced) when none could be made, or when the path of such an
    // entry below the folder would not be shorter than MAX_PATH (then none
    // is made).
    bool Create(size_t longestEntryName);
    const std::wstring& Path() const { return m_path; }

    // Unpacks entry index, named name (with "/"), below the folder: a folder
    // entry becomes a folder, a file entry a new file in its folder; the
    // folders are made with their missing parents.  False (traced) when the
    // name would leave the folder, a folder can't be made or the file does
    // not extract.
    bool Unpack(CMemArchive& archive, UInt32 index, const std::wstring& name);

    // Deletes the folder with everything in it, without any message; what
    // can't be deleted after a few short tries stays (traced).  Done at the
    // latest when the object ends.
    void Remove();

private:
    std::wstring m_path;
    com::Handle m_hold;  // open without delete sharing: the folder can't be moved
};

// The random numbers that name work folders; tests may set a fixed sequence.
// Returns the previous source.
using WorkFolderRandom = UINT32 (*)();
WorkFolderRandom SetWorkFolderRandom(WorkFolderRandom source);

// Whether an entry name ("/" or "\" between its parts) stays below the
// folder it is unpacked into: no part is empty, ends in "." or a space (so
// none is "." or ".."), or holds ":" (a drive or a stream).
bool StaysInside(const std::wstring& entryName);

// The length of the longest name among the archive's entries that `unpacks`
// (a predicate on the name) selects; 0 when it selects none.
template <class Selects>
size_t LongestEntryName(CMemArchive& archive, Selects unpacks)
{
    size_t longest = 0;
    const UInt32 count = archive.GetFileCount();
    for (UInt32 i = 0; i < count; ++i) {
        std::wstring name;
        archive.GetFileName(i, name);
        if (unpacks(name))
            longest = std::max(longest, name.size());
    }
    return longest;
}
