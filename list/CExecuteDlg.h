// The Execute file dialog: starts any file by name with parameters through
// the shell's "open" verb. "Run" joins the path and the file name and hands
// them to the shell, and the dialog stays open whatever the shell answers;
// without a file name it says "No file selected". "Cancel" closes it.
#pragma once

#include "framework/CDialog.h"
#include "platform/ShellExecute.h"

class CExecuteDlg : public CDialog
{
    Q_OBJECT
public:
    // The dialog has no resource number of its own.
    enum : int { IDC_FILENAME = 1003, IDC_PATH = 1004, IDC_PARAMETERS = 1005 };

    explicit CExecuteDlg(QWidget *parent = nullptr);

    QString fileName;
    QString path;
    QString parameters;

    // The shell's record and the full path of the last Run.
    const SHELLEXECUTEINFO &shellExecuteInfo() const { return m_info; }
    QString fullPath() const { return m_fullPath; }

protected:
    void DoDataExchange(CDataExchange &dx) override;
    // "Run".
    void OnOK() override;

private:
    SHELLEXECUTEINFO m_info;
    QString m_fullPath;
};
