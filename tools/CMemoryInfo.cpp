#include "tools/CMemoryInfo.h"

#include "framework/CDataExchange.h"
#include "platform/SystemInfo.h"

CMemoryInfo::CMemoryInfo() : InfoPage(IDD, QStringLiteral("Memory"), 138, 133, 2000)
{
    const struct {
        const char *frame;
        int y;
        int ids[3];
    } groups[] = {
        {"Program memory", 2, {IDC_AVAIL_PHYS, IDC_TOTAL_PHYS, IDC_USED_PHYS}},
        {"Storage memory", 48, {IDC_AVAIL_STORE, IDC_TOTAL_STORE, IDC_USED_STORE}},
    };
    const char *const labels[] = {"Kb available :", "Total Kb :", "Kb used :"};
    for (const auto &group : groups) {
        AddFrame(QString::fromLatin1(group.frame), QRect(4, group.y, 130, 44));
        for (int row = 0; row < 3; ++row) {
            AddLabel(QString::fromLatin1(labels[row]), QRect(10, group.y + 10 + row * 10, 70, 8));
            AddText(group.ids[row], QRect(82, group.y + 10 + row * 10, 46, 8), Qt::AlignRight);
        }
    }
    AddFrame(QStringLiteral("Total memory"), QRect(4, 94, 130, 24));
    AddLabel(QStringLiteral("Total memory :"), QRect(10, 104, 60, 8));
    AddText(IDC_TOTAL_MEM, QRect(72, 104, 56, 8), Qt::AlignRight);
}

void CMemoryInfo::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_AVAIL_PHYS, availPhysText);
    DDX_Text(dx, IDC_TOTAL_PHYS, totalPhysText);
    DDX_Text(dx, IDC_USED_PHYS, usedPhysText);
    DDX_Text(dx, IDC_AVAIL_STORE, availStoreText);
    DDX_Text(dx, IDC_TOTAL_STORE, totalStoreText);
    DDX_Text(dx, IDC_USED_STORE, usedStoreText);
    DDX_Text(dx, IDC_TOTAL_MEM, totalMemText);
}

void CMemoryInfo::Refresh()
{
    MEMORYSTATUS memory;
    memory.dwLength = sizeof memory;
    GlobalMemoryStatus(&memory);
    const DWORD totalKb = memory.dwTotalPhys >> 10;
    const DWORD availKb = memory.dwAvailPhys >> 10;
    totalPhysText = QString::number(int(totalKb));
    usedPhysText = QString::number(int(totalKb - availKb));
    availPhysText = QString::number(int(availKb));

    STORE_INFORMATION store;
    if (GetStoreInformation(&store)) {
        totalStoreText = QString::number(store.dwStoreSize / 1024);
        usedStoreText = QString::number((store.dwStoreSize - store.dwFreeSize) / 1024);
        availStoreText = QString::number(store.dwFreeSize / 1024);
        totalMemText = QString::asprintf("%.1f MB",
                                         double(std::uint64_t(memory.dwTotalPhys) + store.dwStoreSize) / 1048576);
    } else {
        totalMemText = QStringLiteral("Unable to obtain");
    }
    UpdateData(false);
}
