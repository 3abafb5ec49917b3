// The system information sheet: a property sheet without caption holding
// the pages General, Memory and Power in this order, for one modal run.
#pragma once

#include "framework/CPropertySheet.h"
#include "tools/CGeneralInfo.h"
#include "tools/CMemoryInfo.h"
#include "tools/CPowerInfo.h"

class SystemInfoSheet : public CPropertySheet
{
    Q_OBJECT
public:
    explicit SystemInfoSheet(QWidget *parent = nullptr) : CPropertySheet(QString(), parent)
    {
        AddPage(&m_general);
        AddPage(&m_memory);
        AddPage(&m_power);
    }

    CGeneralInfo &general() { return m_general; }
    CMemoryInfo &memory() { return m_memory; }
    CPowerInfo &power() { return m_power; }

private:
    CGeneralInfo m_general;
    CMemoryInfo m_memory;
    CPowerInfo m_power;
};
