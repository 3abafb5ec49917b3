// The Filter dialog: which files the list shows (all, all but the system
// file types, or one category) and whether files in ROM are hidden. Opening
// reads MainFilter, SubFilter and HideROM; Ok writes all three and ends with
// 1; Cancel ends with 0 and writes nothing.
#pragma once

#include "framework/CDialog.h"

class QComboBox;

class CFilterDlg : public CDialog
{
    Q_OBJECT
public:
    // Control ids.
    enum : int {
        IDC_SHOW_ALL = 1024,   // first radio button of the group
        IDC_HIDE_SYSTEM = 1025,
        IDC_SHOW_ONLY = 1051,
        IDC_CATEGORY = 1045,   // sorted drop-down combo, index = SubFilter
        IDC_HIDE_ROM = 1052,
        IDC_OK = 1035,
        IDC_CANCEL = 1012,
    };

    explicit CFilterDlg(QWidget *parent = nullptr);

protected:
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;
    void OnOK() override;
    void OnCancel() override;

private:
    QComboBox *m_category;
    int m_mainFilter = -1; // checked radio's position, -1 for none
    int m_hideROM = 0;
};
