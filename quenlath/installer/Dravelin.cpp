// Process entry of the installer: the application object does the rest.
#include "SetupApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    return AfxWinMain();
}
