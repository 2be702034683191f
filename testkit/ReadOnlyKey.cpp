#include "ReadOnlyKey.h"

#include "com/RegKey.h"

#include <sddl.h>

namespace testkit {

ReadOnlyKey::ReadOnlyKey(std::wstring path) : Path(std::move(path))
{
    CRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, Path.c_str(), READ_CONTROL | WRITE_DAC) != ERROR_SUCCESS) return;
    DWORD size = 0;
    (void)RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, nullptr, &size);  // asks for the size
    std::vector<BYTE> saved(size);
    if (RegGetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, saved.data(), &size) != ERROR_SUCCESS) return;
    PSECURITY_DESCRIPTOR readOnly = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:P(A;;KR;;;WD)", SDDL_REVISION_1, &readOnly, nullptr))
        return;
    if (RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, readOnly) == ERROR_SUCCESS) Saved = std::move(saved);
    (void)LocalFree(readOnly);
}

ReadOnlyKey::~ReadOnlyKey()
{
    CRegKey key;
    if (!Restricted() || key.Open(HKEY_LOCAL_MACHINE, Path.c_str(), WRITE_DAC) != ERROR_SUCCESS) return;
    (void)RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, Saved.data());  // nothing more to do on failure
}

}  // namespace testkit
