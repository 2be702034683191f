#pragma once

#include <string>
#include <vector>
#include <windows.h>

namespace testkit {

// While alive, HKLM\<path> grants everyone reading only (a user without
// write access, as Wine honours it); its access list comes back afterwards.
class ReadOnlyKey
{
public:
    explicit ReadOnlyKey(std::wstring path);
    ~ReadOnlyKey();
    ReadOnlyKey(const ReadOnlyKey&) = delete;
    ReadOnlyKey& operator=(const ReadOnlyKey&) = delete;

    // Whether the key was made read-only.
    bool Restricted() const { return !Saved.empty(); }

private:
    std::wstring Path;
    std::vector<BYTE> Saved;
};

}  // namespace testkit
