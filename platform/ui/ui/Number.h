// Strict decimal parsing for numbers typed into edits (GetDlgItemInt under
// Wine takes "20abc" as 20).
#pragma once

namespace ui {

// Optional blanks, an optional sign, at least one digit, optional blanks; the
// value must fit in a signed 32-bit integer.
bool ParseInt(const wchar_t* text, int& value);

} // namespace ui
