#include "framework/CPropertyPage.h"

CPropertyPage::CPropertyPage(UINT templateId, const QString &title)
    : CDialog(templateId), WindowTimers(this), m_title(title)
{
}

bool CPropertyPage::OnSetActive()
{
    UpdateData(false);
    return true;
}

bool CPropertyPage::OnKillActive()
{
    UpdateData(true);
    return true;
}
