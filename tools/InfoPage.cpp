#include "tools/InfoPage.h"

#include <QGroupBox>
#include <QLabel>

InfoPage::InfoPage(UINT templateId, const QString &title, int width, int height, UINT period)
    : CPropertyPage(templateId, title), m_period(period)
{
    setMinimumSize(dluSize(width, height));
}

bool InfoPage::OnSetActive()
{
    SetTimer(1, m_period);
    return CPropertyPage::OnSetActive();
}

bool InfoPage::OnKillActive()
{
    KillTimer(1);
    return CPropertyPage::OnKillActive();
}

void InfoPage::OnTimer(UINT)
{
    Refresh();
}

void InfoPage::showEvent(QShowEvent *event)
{
    CPropertyPage::showEvent(event);
    Refresh();
}

QGroupBox *InfoPage::AddFrame(const QString &title, const QRect &dlu)
{
    auto *frame = new QGroupBox(title, this);
    frame->setGeometry(dluRect(dlu.x(), dlu.y(), dlu.width(), dlu.height()));
    return frame;
}

QLabel *InfoPage::AddLabel(const QString &text, const QRect &dlu)
{
    auto *label = new QLabel(text, this);
    label->setGeometry(dluRect(dlu.x(), dlu.y(), dlu.width(), dlu.height()));
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

QLabel *InfoPage::AddText(int id, const QRect &dlu, Qt::Alignment alignment)
{
    QLabel *text = AddLabel(QString(), dlu);
    text->setAlignment(alignment | Qt::AlignTop);
    SetDlgCtrlID(text, id);
    return text;
}
