// The disclaimer, shown once on the first run and again from the Disclaimer
// command: the title "DISCLAIMER" over the text of string 61204 in a centred,
// read-only edit with a white background.
#pragma once

#include "framework/CDialog.h"

#include <QFont>

class QLabel;
class QTextEdit;

class CDisclaimerDlg : public CDialog
{
    Q_OBJECT
public:
    explicit CDisclaimerDlg(QWidget *parent = nullptr);

    QString text() const { return m_text; }

protected:
    void OnInitDialog() override;

private:
    QLabel *m_title;
    QTextEdit *m_edit;
    QString m_text;
    QFont m_textFont;
    QFont m_titleFont;
};
