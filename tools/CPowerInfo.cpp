#include "tools/CPowerInfo.h"

#include "framework/CDataExchange.h"
#include "platform/SystemInfo.h"

namespace {

void setPercent(QString &text, BYTE percent)
{
    if (percent == BATTERY_PERCENTAGE_UNKNOWN)
        text.clear();
    else if (percent <= 100)
        text = QString::asprintf("%d %% of full battery", percent);
}

QString mainStatus(BYTE flag)
{
    QString text = flag & BATTERY_FLAG_HIGH   ? QStringLiteral("High and ")
        : flag & BATTERY_FLAG_LOW             ? QStringLiteral("Low and ")
        : flag & BATTERY_FLAG_CRITICAL        ? QStringLiteral("Critical and ")
        : flag & BATTERY_FLAG_CHARGING        ? QStringLiteral("Charging and ")
        : flag & BATTERY_FLAG_NO_BATTERY      ? QStringLiteral("No system battery and ")
        : flag                                ? QStringLiteral("Unknown status and ")
                                              : QString();
    // Trims the trailing run of the characters of " and".
    while (!text.isEmpty() && QStringLiteral(" and").contains(text.back()))
        text.chop(1);
    return text;
}

} // namespace

CPowerInfo::CPowerInfo() : InfoPage(IDD, QStringLiteral("Power"), 138, 138, 2000)
{
    AddFrame(QStringLiteral("Power source"), QRect(4, 2, 130, 22));
    AddText(IDC_AC_LINE, QRect(10, 12, 118, 8));
    AddFrame(QStringLiteral("Main battery"), QRect(4, 26, 130, 52));
    AddLabel(QStringLiteral("Status"), QRect(10, 36, 30, 8));
    AddText(IDC_MAIN_STATUS, QRect(42, 36, 86, 8));
    AddText(IDC_MAIN_PERCENT, QRect(10, 46, 118, 8));
    AddText(IDC_MAIN_TIME, QRect(10, 56, 118, 18));
    AddFrame(QStringLiteral("Backup battery"), QRect(4, 80, 130, 54));
    AddLabel(QStringLiteral("Status"), QRect(10, 90, 30, 8));
    AddText(IDC_BACKUP_STATUS, QRect(42, 90, 86, 8));
    AddText(IDC_BACKUP_PERCENT, QRect(10, 100, 118, 8));
    AddText(IDC_BACKUP_TIME, QRect(10, 110, 118, 18));
}

void CPowerInfo::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_AC_LINE, acLineText);
    DDX_Text(dx, IDC_MAIN_STATUS, mainStatusText);
    DDX_Text(dx, IDC_MAIN_PERCENT, mainPercentText);
    DDX_Text(dx, IDC_BACKUP_STATUS, backupStatusText);
    DDX_Text(dx, IDC_BACKUP_PERCENT, backupPercentText);
    DDX_Text(dx, IDC_BACKUP_TIME, backupTimeText);
    DDX_Text(dx, IDC_MAIN_TIME, mainTimeText);
}

void CPowerInfo::Refresh()
{
    SYSTEM_POWER_STATUS_EX power;
    if (!GetSystemPowerStatusEx(&power, TRUE))
        return;
    acLineText = power.ACLineStatus == AC_LINE_OFFLINE ? QStringLiteral("Internal power")
        : power.ACLineStatus == AC_LINE_ONLINE         ? QStringLiteral("External power")
                                                       : QStringLiteral("Unknown");
    mainStatusText = mainStatus(power.BatteryFlag);
    setPercent(mainPercentText, power.BatteryLifePercent);
    mainTimeText = power.BatteryLifeTime == BATTERY_LIFE_UNKNOWN
        ? QString()
        : QString::asprintf("Estimated time remaining \n%d minutes", int(power.BatteryLifeTime / 60));
    switch (power.BackupBatteryFlag) {
    case BATTERY_FLAG_HIGH: backupStatusText = QStringLiteral("High"); break;
    case BATTERY_FLAG_LOW: backupStatusText = QStringLiteral("Low"); break;
    case BATTERY_FLAG_CRITICAL: backupStatusText = QStringLiteral("Critical"); break;
    case BATTERY_FLAG_CHARGING: backupStatusText = QStringLiteral("Charging"); break;
    case BATTERY_FLAG_NO_BATTERY: backupStatusText = QStringLiteral("No battery"); break;
    case BATTERY_FLAG_UNKNOWN: backupStatusText = QStringLiteral("Unknown"); break;
    default: break;
    }
    setPercent(backupPercentText, power.BackupBatteryLifePercent);
    backupTimeText = power.BackupBatteryLifeTime == BATTERY_LIFE_UNKNOWN
        ? QString()
        : QString::asprintf("Estimated time remaining\n%d minutes ", int(power.BackupBatteryLifeTime / 60));
    UpdateData(false);
}
