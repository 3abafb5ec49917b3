// The installer's application object: runs the wizard as its main window;
// the program ends when the wizard closes.
#pragma once

class CInstallApp
{
public:
    // Always false: there is no message loop after the wizard.
    bool InitInstance();
};
