// A TOOLBAR resource (version 1: button width and height, then the command
// of each button, 0 for a separator) and its bitmap of the same id, whose
// magenta pixels are transparent.
#pragma once

#include <windows.h>

#include <vector>

namespace ui {

constexpr COLORREF kToolBarMask = RGB(255, 0, 255);

struct ToolBarResource {
    int width = 0;
    int height = 0;
    std::vector<WORD> items;

    // False when the resource is missing or not of version 1.
    bool Load(HINSTANCE module, UINT id);
    // The image index of command `id` (buttons count, separators do not); -1 when absent.
    int ImageOf(WORD id) const;
};

} // namespace ui
