#pragma once

#include "com/ComModule.h"

#include <windows.h>

// Keeps this module loaded, and DllCanUnloadNow at S_FALSE, while it lives:
// for a thread that may outlive every object of the module.
class ModuleHold
{
public:
    ModuleHold()
    {
        if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&com::TheModule),
                                &Module))
            return;
        com::TheModule().Lock();
    }
    ModuleHold(ModuleHold&& other) noexcept : Module(other.Module) { other.Module = nullptr; }
    ModuleHold(const ModuleHold&) = delete;
    ModuleHold& operator=(const ModuleHold&) = delete;
    ~ModuleHold()
    {
        if (!Module) return;
        com::TheModule().Unlock();
        (void)FreeLibrary(Module);  // only our reference: whoever runs this runs in the module
    }

    // False when the module's load reference could not be taken.
    explicit operator bool() const { return Module != nullptr; }

    // Ends the calling thread and lets the module go: the thread does not
    // return into the module's code, which may be unloaded from then on.
    [[noreturn]] void ExitThread()
    {
        com::TheModule().Unlock();
        FreeLibraryAndExitThread(Module, 0);
    }

private:
    HMODULE Module = nullptr;
};
