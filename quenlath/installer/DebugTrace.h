// Diagnostics of the installer, for the debugger only.
#pragma once

// printf-style wide format ("%ls" for a wide string).  The text goes out only
// when it has at most 199 characters; a longer one is dropped whole.
void DebugTrace(const wchar_t* format, ...);

// Where finished trace lines go: OutputDebugStringW on Windows, nowhere
// natively.  Tests swap it to read the lines; the previous sink is returned.
using DebugTraceSink = void (*)(const wchar_t* text);
DebugTraceSink SetDebugTraceSink(DebugTraceSink sink);
