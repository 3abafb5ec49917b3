// The installer's wizard (template 102): requirements, extraction folder and
// tasks pages; Install quits the synchronisation manager, writes the package
// files carried inside the installer into the extraction folder, runs the
// application manager on the package's .ini and waits for it, then starts the
// synchronisation manager again. The desktop's registry (Desktop) names the
// synchronisation software's folder and the two managers' programs.
//
// Paths are the desktop's host paths; "/" separates their folders.
#pragma once

#include "framework/CDialog.h"
#include "installer/CExtractFolderPage.h"
#include "installer/CRequirementsPage.h"
#include "installer/CTasksPage.h"

#include <QFont>
#include <QIcon>

class QLabel;

class CInstallDlg : public CDialog
{
    Q_OBJECT
public:
    explicit CInstallDlg(QWidget *parent = nullptr);

    // The wizard's caption: the template's, the edition word 3004 when there
    // is one, and the platform and processor strings.
    static QString Title();
    // Creates path with its missing parents.
    static bool CreateFolder(const QString &path);

    QString extractFolder;
    int currentPage = 1;

protected:
    void OnInitDialog() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnNext();
    void OnBack();
    void OnInstall();
    void ShowCurrentPage();
    bool Extract();
    bool WritePackageFile(const QString &folder, int resourceId);
    bool RunApplicationManager();
    void StartSyncManager(const QString &arguments, bool wait);

    QLabel *linkLabel;
    QIcon icon;
    CExtractFolderPage folderPage;
    CTasksPage tasksPage;
    CRequirementsPage requirementsPage;
    CDialog *pages[3];
    QFont linkFont;
};
