// The Extensions dialog: every extension registered under HKEY_CLASSES_ROOT
// (each subkey whose name begins with "."), one row each, sorted by the
// extension, with its icon, its type description (or class name) and, in a
// hidden third column, its open command without the part from the last space
// on when that command holds a "%". "New" and "Edit" run CRegisterExtDlg and
// refresh the row; "Delete" removes the registration after asking.
#pragma once

#include "framework/CDialog.h"
#include "framework/CImageList.h"

class QPushButton;
class QTreeWidget;

class CExtensionsDlg : public CDialog
{
    Q_OBJECT
public:
    enum : UINT { IDD = 165 };
    enum : int { IDC_LIST = 1048, IDC_NEW = 1049, IDC_EDIT = 1050, IDC_DELETE = 1051 };
    enum Column { ExtensionColumn, TypeColumn, CommandColumn };

    explicit CExtensionsDlg(QWidget *parent = nullptr);

protected:
    // Fills the list under the wait cursor; Edit and Delete start disabled.
    void OnInitDialog() override;

private:
    // Adds the row of extension key keyName (".ext") at its sorted place.
    void AddRow(const QString &keyName);
    void OnNew();
    void OnEdit();
    void OnDelete();
    // Runs the register dialog; on OK replaces the row of its extension.
    void RunRegister(class CRegisterExtDlg &dialog);

    QTreeWidget *m_list;
    QPushButton *m_edit;
    QPushButton *m_delete;
    CImageList m_imageList;
};
