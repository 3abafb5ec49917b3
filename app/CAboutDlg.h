// The About box: version, the maker's addresses, the application icon and
// picture, and "Visit Website", which opens the product page in the browser
// and leaves the box open. A tap anywhere else closes it.
#pragma once

#include "framework/CDialog.h"

class CAboutDlg : public CDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);

protected:
    void OnInitDialog() override;
    void mousePressEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void OnVisitWebsite();
};
