// The Register extension dialog: registers one extension under
// HKEY_CLASSES_ROOT to open with a program. "Register" writes
//   .ext                            default = ext + "file" (the class)
//   class                           default = description, EditFlags = 0x10000
//   class\DefaultIcon               default = openWith + ", 0"
//   class\Shell\Open\Command        default = openWith + " %1"
// after asking before it replaces an existing registration (never in edit
// mode). "Cancel" changes nothing.
#pragma once

#include "framework/CDialog.h"

class CRegisterExtDlg : public CDialog
{
    Q_OBJECT
public:
    enum : UINT { IDD = 144 };
    enum : int { IDC_EXTENSION = 1009, IDC_DESCRIPTION = 1046, IDC_OPEN_WITH = 1010 };

    explicit CRegisterExtDlg(QWidget *parent = nullptr);

    // Set before DoModal; after OK they hold what was registered (extension
    // without its dot).
    QString extension;
    QString description;
    QString openWith;
    // An existing registration is being changed: replace it without asking.
    bool editMode = false;

protected:
    void DoDataExchange(CDataExchange &dx) override;
    void OnOK() override;
};
