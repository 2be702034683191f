// What a program's boxes should say, checked from outside the program, and
// texts made fit for a test's log.
#pragma once

#include <windows.h>

#include <string>

namespace uitest {

// String `id` of the string table of the program at `exe`, in the session's
// language (Simplified Chinese under a Chinese UI, else US English); a text
// naming what is missing when there is no such string.
std::wstring ProgramString(const std::wstring& exe, UINT id);
// `format` with its one %d or %s replaced by `argument`.
std::wstring Formatted(const std::wstring& format, const std::wstring& argument);
// Empty when `box` is a message box saying `want` (its text may come a moment
// after it shows: up to 5 s); else what it is: "nothing", the dialog
// "<caption>" or the message box "<text>".
std::wstring OtherThanBox(HWND box, const std::wstring& want);
// `text` on one line (a line feed as \n), in UTF-8.
std::string LogText(const std::wstring& text);

} // namespace uitest
