#include "framework/DialogButtons.h"

#include "framework/CDialog.h"
#include "platform/UiSink.h"

#include <QPushButton>

void AddOkCancelButtons(CDialog &dialog, const QString &okText, int y)
{
    auto *ok = new QPushButton(okText, &dialog);
    CDialog::SetDlgCtrlID(ok, IDOK);
    ok->setGeometry(dialog.dluRect(18, y, 46, 14));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), &dialog);
    CDialog::SetDlgCtrlID(cancel, IDCANCEL);
    cancel->setGeometry(dialog.dluRect(72, y, 46, 14));
    QObject::connect(ok, &QPushButton::clicked, &dialog, &CDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, &dialog, &CDialog::reject);
}
