// The Add bookmark dialog: shows the folder (not editable) and takes a
// display name. OK stores the bookmark and closes; an empty, reserved or
// already used name is refused with a message and the dialog stays open.
#pragma once

#include "framework/CDialog.h"

class CAddBookmarkDlg : public CDialog
{
    Q_OBJECT
public:
    enum : UINT { IDD = 173 };
    enum : int {
        IDC_BOOKMARK_PATH = 1066,
        IDC_BOOKMARK_NAME = 1046,
    };

    explicit CAddBookmarkDlg(const QString &bookmarkPath, QWidget *parent = nullptr);

    QString bookmarkPath() const { return m_bookmarkPath; }
    QString bookmarkName() const { return m_bookmarkName; }

protected:
    void DoDataExchange(CDataExchange &dx) override;
    void OnOK() override;

private:
    QString m_bookmarkPath;
    QString m_bookmarkName;
};
