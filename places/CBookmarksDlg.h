// The bookmark list: every stored bookmark by its display name; Delete
// removes the focused one from the registry and the list, without asking.
// There is no OK or Cancel button: the title bar closes it.
#pragma once

#include "framework/CDialog.h"
#include "framework/CImageList.h"

class QListWidget;

class CBookmarksDlg : public CDialog
{
    Q_OBJECT
public:
    enum : UINT { IDD = 160 };
    enum : int {
        IDC_BOOKMARK_LIST = 1037,
        IDC_BOOKMARK_DELETE = 1039,
    };

    explicit CBookmarksDlg(QWidget *parent = nullptr);

protected:
    void OnInitDialog() override;

private:
    void OnDelete();

    QListWidget *m_list;
    CImageList m_images;
};
