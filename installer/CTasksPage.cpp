#include "installer/CTasksPage.h"

#include <QLabel>

CTasksPage::CTasksPage(QWidget *parent) : CDialog(139, parent)
{
    setWindowFlags(Qt::Widget);
    auto *heading = new QLabel(QStringLiteral("Install will perform the following tasks:"), this);
    heading->setGeometry(dluRect(0, 0, 273, 10));
    SetDlgCtrlID(heading, 1006);
    const char *rows[] = {"Extraction to the specified folder", "Install to device", "Update settings"};
    for (int i = 0; i < 3; ++i) {
        auto *marker = new QLabel(this);
        marker->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        marker->setGeometry(dluRect(0, 20 + 14 * i, 24, 10));
        marker->hide();
        SetDlgCtrlID(marker, 1014 + i);
        auto *row = new QLabel(QString::fromLatin1(rows[i]), this);
        row->setGeometry(dluRect(30, 20 + 14 * i, 240, 10));
        SetDlgCtrlID(row, 1011 + i);
    }
}

void CTasksPage::ShowTaskProgress(int markerId, int done, int total)
{
    QLabel *marker = GetDlgItem<QLabel>(markerId);
    marker->setText(QStringLiteral("%1%").arg(done * 100 / total));
    marker->show();
    repaint();
}
