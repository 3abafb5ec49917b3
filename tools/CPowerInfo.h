// The Power page: the power source and the state, charge and time left of
// the main and the backup battery. Refreshed every two seconds while visible.
#pragma once

#include "tools/InfoPage.h"

class CPowerInfo : public InfoPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 147;
    static constexpr int IDC_AC_LINE = 1021;
    static constexpr int IDC_MAIN_STATUS = 1022;
    static constexpr int IDC_MAIN_PERCENT = 1023;
    static constexpr int IDC_BACKUP_STATUS = 1025;
    static constexpr int IDC_BACKUP_PERCENT = 1026;
    static constexpr int IDC_BACKUP_TIME = 1027;
    static constexpr int IDC_MAIN_TIME = 1029;

    CPowerInfo();

    // Texts whose value says nothing (a percent from 101 to 254, an unlisted
    // backup flag) keep what they showed; a failed query changes nothing.
    void Refresh() override;

    QString acLineText;
    QString mainStatusText;
    QString mainPercentText;
    QString backupStatusText;
    QString backupPercentText;
    QString backupTimeText;
    QString mainTimeText;

protected:
    void DoDataExchange(CDataExchange &dx) override;
};
