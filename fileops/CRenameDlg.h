// The Rename dialog: shows an entry's current name (not editable) and takes
// the new one. OK ends the dialog with IDOK only when the new name differs
// from the old one exactly (case-sensitive); an unchanged name ends it as
// cancelled. The dialog itself renames nothing.
#pragma once

#include "framework/CDialog.h"

class CRenameDlg : public CDialog
{
    Q_OBJECT
public:
    enum : UINT { IDD = 174 };
    // Control ids (the buttons are the standard IDOK and IDCANCEL).
    enum : int {
        IDC_OLD_NAME = 1067,
        IDC_NEW_NAME = 1068,
    };

    // Both fields start as name.
    explicit CRenameDlg(const QString &name, QWidget *parent = nullptr);

    QString oldName() const { return m_oldName; }
    QString newName() const { return m_newName; }

protected:
    void DoDataExchange(CDataExchange &dx) override;
    void OnOK() override;

private:
    QString m_oldName;
    QString m_newName;
};
