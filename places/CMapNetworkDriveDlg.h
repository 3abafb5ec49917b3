// The Map Network Drive dialog: Search lists a computer's shares (newest
// enumeration order reversed), Connect stores the selected share as
// "\\computer\share" in NetPaths and closes. Editing the computer name
// forgets a listed search. The title bar closes it without connecting.
#pragma once

#include "framework/CDialog.h"
#include "framework/CImageList.h"

class QListWidget;

class CMapNetworkDriveDlg : public CDialog
{
    Q_OBJECT
public:
    enum : UINT { IDD = 162 };
    enum : int {
        IDC_COMPUTER_NAME = 1040,
        IDC_SEARCH = 1041,
        IDC_SHARE_LIST = 1042,
        IDC_CONNECT = 1056,
    };

    explicit CMapNetworkDriveDlg(QWidget *parent = nullptr);

    QString computerName() const { return m_computerName; }
    bool sharesListed() const { return m_sharesListed; }

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;

private:
    void OnSearch();
    void OnConnect();
    void OnNameChanged();

    QString m_computerName;
    bool m_sharesListed = false;
    QListWidget *m_shareList;
    CImageList m_images;
};
