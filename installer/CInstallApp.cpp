#include "installer/CInstallApp.h"

#include "installer/CInstallDlg.h"

bool CInstallApp::InitInstance()
{
    CInstallDlg dialog;
    dialog.DoModal();
    return false;
}
