// The application object: start-up in the order the program has always used
// (profile, first-run disclaimer, document and main frame), and the
// application-wide commands (About, Disclaimer).
#pragma once

#include "app/CQuillmossDoc.h"

#include <QStringList>
#include <memory>

class CMainFrame;

class CQuillmossApp
{
public:
    CQuillmossApp();
    ~CQuillmossApp();

    // Start-up; false ends the program at once.
    bool InitInstance();

    CMainFrame *mainFrame() const { return m_mainFrame.get(); }
    // The registry key name handed to the framework ("Brindlecove\Quillmoss").
    QString registryKey() const { return m_registryKey; }

    static void OnAppAbout(CMainFrame *owner);
    static void OnDisclaimer(CMainFrame *owner);

private:
    void SetRegistryKey(const QString &key);
    void LoadStdProfileSettings(int recentFiles);
    void ShowDisclaimerOnFirstRun();

    QString m_registryKey;
    QStringList m_recentFiles;
    std::unique_ptr<CQuillmossDoc> m_document;
    std::unique_ptr<CMainFrame> m_mainFrame;
};
