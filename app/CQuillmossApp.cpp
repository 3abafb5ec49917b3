#include "app/CQuillmossApp.h"

#include "app/CAboutDlg.h"
#include "app/CDisclaimerDlg.h"
#include "app/CMainFrame.h"
#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "platform/Registry.h"

CQuillmossApp::CQuillmossApp() = default;

CQuillmossApp::~CQuillmossApp()
{
    // The frame writes its settings while the device is still open.
    m_mainFrame.reset();
}

bool CQuillmossApp::InitInstance()
{
    SetRegistryKey(RegistryLayout::ProfileKeyName);
    LoadStdProfileSettings(4);
    ShowDisclaimerOnFirstRun();

    m_document = std::make_unique<CQuillmossDoc>();
    if (!m_document->OnNewDocument())
        return false;
    m_mainFrame = std::make_unique<CMainFrame>();
    m_mainFrame->show();
    m_mainFrame->activateWindow();
    m_mainFrame->setFocus();
    return true;
}

void CQuillmossApp::SetRegistryKey(const QString &key)
{
    m_registryKey = key;
}

// The framework's profile key: HKEY_CURRENT_USER\Software\<registry key>\<program>.
// Opening it creates it, as the framework does; its recent-file list is read
// and never used.
void CQuillmossApp::LoadStdProfileSettings(int recentFiles)
{
    const QString key = QStringLiteral("Software\\") + m_registryKey + QStringLiteral("\\quillmoss");
    CRegistryAccess registry;
    m_recentFiles.clear();
    for (int i = 1; i <= recentFiles; ++i) {
        std::unique_ptr<WCHAR[]> file;
        if (registry.ReadString(HKEY_CURRENT_USER, key + QStringLiteral("\\Recent File List"),
                                QStringLiteral("File%1").arg(i), file) == RegSuccess)
            m_recentFiles.append(fromWide(file.get()));
    }
}

void CQuillmossApp::ShowDisclaimerOnFirstRun()
{
    CRegistryAccess registry;
    DWORD shown = 0;
    if (registry.ReadDword(HKEY_LOCAL_MACHINE, RegistryLayout::AppKey, RegistryLayout::Disclaimer, shown) == RegSuccess
        && shown == 1)
        return;
    CDisclaimerDlg dialog;
    dialog.DoModal();
    registry.WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::AppKey, RegistryLayout::Disclaimer, 1);
}

void CQuillmossApp::OnAppAbout(CMainFrame *owner)
{
    CAboutDlg dialog(owner);
    dialog.DoModal();
}

void CQuillmossApp::OnDisclaimer(CMainFrame *owner)
{
    CDisclaimerDlg dialog(owner);
    dialog.DoModal();
}
