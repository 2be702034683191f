// The module whose resources (strings, dialogs, menus) the layer loads.
#pragma once

#include <windows.h>

namespace ui {

// The executable by default; tests may point it at another module.
HINSTANCE ResourceInstance();
void SetResourceInstance(HINSTANCE module);

} // namespace ui
