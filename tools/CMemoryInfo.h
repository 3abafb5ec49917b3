// The Memory page: program memory and storage memory in kilobytes, and the
// two together in megabytes. Refreshed every two seconds while visible.
#pragma once

#include "tools/InfoPage.h"

class CMemoryInfo : public InfoPage
{
    Q_OBJECT
public:
    static constexpr UINT IDD = 150;
    static constexpr int IDC_AVAIL_STORE = 1032;
    static constexpr int IDC_TOTAL_STORE = 1033;
    static constexpr int IDC_AVAIL_PHYS = 1034;
    static constexpr int IDC_TOTAL_PHYS = 1035;
    static constexpr int IDC_USED_PHYS = 1036;
    static constexpr int IDC_USED_STORE = 1037;
    static constexpr int IDC_TOTAL_MEM = 1042;

    CMemoryInfo();

    // Kilobytes are bytes shifted down by 10 bits. When the store cannot be
    // read its three texts keep what they showed and the total shows
    // "Unable to obtain"; the total adds the two sizes without overflow.
    void Refresh() override;

    QString availPhysText;
    QString totalPhysText;
    QString usedPhysText;
    QString availStoreText;
    QString totalStoreText;
    QString usedStoreText;
    QString totalMemText;

protected:
    void DoDataExchange(CDataExchange &dx) override;
};
