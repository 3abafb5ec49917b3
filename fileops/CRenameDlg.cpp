#include "fileops/CRenameDlg.h"

#include "framework/CDataExchange.h"
#include "platform/UiSink.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CRenameDlg::CRenameDlg(const QString &name, QWidget *parent)
    : CDialog(IDD, parent)
    , m_oldName(name)
    , m_newName(name)
{
    setWindowTitle(QStringLiteral("Rename"));
    setFixedSize(dluSize(136, 84));

    auto place = [this](QWidget *control, int id, const QRect &rect) {
        if (id)
            SetDlgCtrlID(control, id);
        control->setGeometry(rect);
    };
    place(new QLabel(QStringLiteral("Old name:"), this), 0, dluRect(4, 4, 128, 8));
    auto *oldName = new QLineEdit(this);
    oldName->setEnabled(false);
    place(oldName, IDC_OLD_NAME, dluRect(4, 14, 128, 12));
    place(new QLabel(QStringLiteral("New name:"), this), 0, dluRect(4, 32, 128, 8));
    place(new QLineEdit(this), IDC_NEW_NAME, dluRect(4, 42, 128, 12));

    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    place(ok, IDOK, dluRect(18, 64, 46, 14));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(cancel, IDCANCEL, dluRect(72, 64, 46, 14));
    connect(ok, &QPushButton::clicked, this, &CRenameDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CRenameDlg::reject);
}

void CRenameDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_OLD_NAME, m_oldName);
    DDX_Text(dx, IDC_NEW_NAME, m_newName);
}

void CRenameDlg::OnOK()
{
    UpdateData(true);
    EndDialog(m_newName == m_oldName ? IDCANCEL : IDOK);
}
