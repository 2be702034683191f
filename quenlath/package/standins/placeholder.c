/* Placeholder for a driver-package file that the port's maker or the
   platform supplies (the user-mode port driver, the framework co-installers).
   The stand-in device console does not load it. */
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)instance;
  (void)reason;
  (void)reserved;
  return TRUE;
}
