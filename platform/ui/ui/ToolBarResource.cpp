#include "ui/ToolBarResource.h"

namespace ui {

bool ToolBarResource::Load(HINSTANCE module, UINT id)
{
    HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(241) /* RT_TOOLBAR */);
    if (!found)
        return false;
    const DWORD size = ::SizeofResource(module, found);
    const auto* words = static_cast<const WORD*>(::LockResource(::LoadResource(module, found)));
    if (!words || size < 4 * sizeof(WORD) || words[0] != 1)
        return false;
    const WORD count = words[3];
    if (size < (4u + count) * sizeof(WORD))
        return false;
    width = words[1];
    height = words[2];
    items.assign(words + 4, words + 4 + count);
    return true;
}

int ToolBarResource::ImageOf(WORD id) const
{
    int image = 0;
    for (WORD item : items) {
        if (item == id)
            return image;
        if (item != 0)
            ++image;
    }
    return -1;
}

} // namespace ui
