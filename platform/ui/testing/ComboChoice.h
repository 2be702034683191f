// A combo box entry chosen by its text, as a user would choose it.
#pragma once

#include <windows.h>

namespace uitest {

// Selects the entry of `combo` that reads `text` (whole, any case) and tells
// the parent with CBN_SELCHANGE; false, and nothing selected, when no entry
// reads so.
bool ChooseByText(HWND combo, const wchar_t* text);

} // namespace uitest
