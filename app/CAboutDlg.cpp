#include "app/CAboutDlg.h"

#include "platform/Process.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

CAboutDlg::CAboutDlg(QWidget *parent) : CDialog(IDD_ABOUTBOX, parent)
{
    setWindowTitle(QString());
    resize(dluSize(139, 160));
    auto *layout = new QVBoxLayout(this);

    auto *icon = new QLabel(this);
    SetDlgCtrlID(icon, IDC_ABOUT_ICON);
    icon->setPixmap(LoadIcon(IDR_MAINFRAME).pixmap(32, 32));
    icon->setAlignment(Qt::AlignCenter);
    icon->installEventFilter(this);
    layout->addWidget(icon);

    for (const QString &line : {QStringLiteral("Quillmoss Version 3.0.1"),
                                QStringLiteral("support@brindlecove.example"),
                                QStringLiteral("www.brindlecove.example")}) {
        auto *label = new QLabel(line, this);
        label->setAlignment(Qt::AlignCenter);
        layout->addWidget(label);
    }

    auto *picture = new QLabel(this);
    picture->setPixmap(LoadBitmap(IDB_ABOUT, devicePixelRatioF()));
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture, 1);

    auto *visit = new QPushButton(QStringLiteral("Visit Website"), this);
    SetDlgCtrlID(visit, IDC_VISIT_WEBSITE);
    visit->setAutoDefault(false);
    connect(visit, &QPushButton::clicked, this, &CAboutDlg::OnVisitWebsite);
    layout->addWidget(visit, 0, Qt::AlignHCenter);
}

void CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (QWidget *owner = parentWidget())
        move(owner->window()->geometry().center() - rect().center());
}

void CAboutDlg::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        EndDialog(0);
    CDialog::mousePressEvent(event);
}

bool CAboutDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && watched->objectName() == QString::number(IDC_ABOUT_ICON))
        EndDialog(0);
    return CDialog::eventFilter(watched, event);
}

void CAboutDlg::OnVisitWebsite()
{
    const QString address = LoadString(IDS_WEBADDRESS);
    // Failure to start the browser is silent; the box stays open.
    CreateProcessW(u"iexplore.exe", reinterpret_cast<LPCWSTR>(address.utf16()), nullptr, nullptr, FALSE, 0,
                   nullptr, nullptr, nullptr, nullptr);
}
