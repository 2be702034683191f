// A line for the debugger's output.
#pragma once

#include "ui/String.h"

#include <windows.h>

// `format` with its one %s filled by `arg`.
inline void Trace(const wchar_t* format, const wchar_t* arg)
{
    CString line;
    line.Format(format, arg);
    OutputDebugStringW(line);
}
