// Wizard page 2: the extraction folder (template 138). The field 1001 is
// exchanged with folder; Browse (1002) picks a folder through a save dialog.
#pragma once

#include "framework/CDialog.h"

class CExtractFolderPage : public CDialog
{
    Q_OBJECT
public:
    explicit CExtractFolderPage(QWidget *parent);

    QString folder;

    // The folder of a chosen file's full path: up to its last separator,
    // without trailing separators (the root stays "/").
    static QString FolderOf(const QString &chosenPath);

protected:
    void DoDataExchange(CDataExchange &dx) override;

private:
    void OnBrowse();
};
