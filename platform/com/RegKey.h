#pragma once

#include <windows.h>

namespace com {

// Owner of one open registry key.
class RegKey
{
public:
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    RegKey(RegKey&& other) noexcept : K(other.K) { other.K = nullptr; }
    ~RegKey() { Close(); }

    LONG Open(HKEY parent, const wchar_t* path, REGSAM access)
    {
        Close();
        return RegOpenKeyExW(parent, path, 0, access, &K);
    }

    LONG Create(HKEY parent, const wchar_t* path, REGSAM access)
    {
        Close();
        return RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &K, nullptr);
    }

    void Close()
    {
        if (K) (void)RegCloseKey(K);  // nothing to undo on failure
        K = nullptr;
    }

    HKEY Get() const { return K; }
    explicit operator bool() const { return K != nullptr; }

private:
    HKEY K = nullptr;
};

}  // namespace com
