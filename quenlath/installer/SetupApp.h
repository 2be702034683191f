// The installer's application object: runs the main dialog modally.
#pragma once

#include "ui/MfcApp.h"

class CSetupApp : public CWinApp {
public:
    CSetupApp() = default;

    BOOL InitInstance() override;
};

extern CSetupApp theApp;
