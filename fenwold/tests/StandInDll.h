// Where the stand-in OPOS control object's DLL is, as a Windows path.
#pragma once

#include <algorithm>
#include <string>

inline std::wstring StandInDllPath()
{
    std::wstring path = L"Z:" OPOS_STANDIN_DLL;
    std::replace(path.begin(), path.end(), L'/', L'\\');
    return path;
}
