#include "ui/Module.h"

namespace ui {
namespace {
HINSTANCE g_resourceInstance = nullptr;
}

HINSTANCE ResourceInstance()
{
    return g_resourceInstance ? g_resourceInstance : GetModuleHandleW(nullptr);
}

void SetResourceInstance(HINSTANCE module)
{
    g_resourceInstance = module;
}

} // namespace ui
