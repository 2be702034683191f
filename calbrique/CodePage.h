#pragma once

#include <string>
#include <windows.h>

// The code page PrintNormal and PrintImmediate convert with: CharacterSet
// itself when it lies in 400-990 or from 1000 up, else the system's ANSI
// code page.
UINT PrintCodePage(long characterSet);

// The text up to its first zero, converted to `codePage` (no flags, no
// default character) into a buffer as large as the conversion needs. Empty
// when `text` is null or the conversion fails.
std::string ToCodePage(const wchar_t* text, UINT codePage);
