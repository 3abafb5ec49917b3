#include "places/CMapNetworkDriveDlg.h"

#include "framework/AfxMessageBox.h"
#include "framework/CDataExchange.h"
#include "platform/Files.h"
#include "platform/UiSink.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"
#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

const QString MappingFailed = QStringLiteral("Something went wrong during mapping of drive");

} // namespace

CMapNetworkDriveDlg::CMapNetworkDriveDlg(QWidget *parent)
    : CDialog(IDD, parent)
    , m_shareList(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Map Network Drive"));
    setFixedSize(dluSize(136, 150));

    auto place = [this](QWidget *control, int id, const QRect &rect) {
        if (id)
            SetDlgCtrlID(control, id);
        control->setGeometry(rect);
    };
    place(new QLabel(QStringLiteral("Computer name:"), this), 0, dluRect(4, 4, 128, 8));
    auto *name = new QLineEdit(this);
    place(name, IDC_COMPUTER_NAME, dluRect(4, 14, 80, 12));
    auto *search = new QPushButton(QStringLiteral("Search"), this);
    place(search, IDC_SEARCH, dluRect(88, 13, 44, 14));
    place(new QLabel(QStringLiteral("Shared folders:"), this), 0, dluRect(4, 32, 128, 8));
    place(m_shareList, IDC_SHARE_LIST, dluRect(4, 42, 128, 82));
    m_shareList->setViewMode(QListView::ListMode);
    m_shareList->setIconSize(QSize(16, 16));
    auto *connectButton = new QPushButton(QStringLiteral("Connect"), this);
    place(connectButton, IDC_CONNECT, dluRect(45, 130, 46, 14));
    for (QPushButton *button : {search, connectButton})
        button->setAutoDefault(false);

    connect(search, &QPushButton::clicked, this, &CMapNetworkDriveDlg::OnSearch);
    connect(connectButton, &QPushButton::clicked, this, &CMapNetworkDriveDlg::OnConnect);
    connect(name, &QLineEdit::textChanged, this, &CMapNetworkDriveDlg::OnNameChanged);
}

void CMapNetworkDriveDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_images.Create(LoadBitmap(IDB_TREEIMAGES), bitmapImageSize(IDB_TREEIMAGES).width(), QColor(0xFFFFFF));
}

void CMapNetworkDriveDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_COMPUTER_NAME, m_computerName);
}

void CMapNetworkDriveDlg::OnNameChanged()
{
    if (m_sharesListed) {
        m_shareList->clear();
        m_sharesListed = false;
    }
}

void CMapNetworkDriveDlg::OnSearch()
{
    UpdateData(true);
    m_sharesListed = false;
    if (m_computerName.startsWith(QLatin1String("\\\\"))) {
        m_computerName.remove(0, 2);
        UpdateData(false);
    }
    if (m_computerName.isEmpty()) {
        AfxMessageBox(QStringLiteral("Please, fill in a computer name."));
        return;
    }
    WaitCursor wait;
    m_shareList->clear();
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wide(QStringLiteral("\\\\") + m_computerName + QStringLiteral("\\*")), &data);
    if (find == INVALID_HANDLE_VALUE) {
        AfxMessageBox(QStringLiteral("Could not find computer or computer has no Network shares."));
        return;
    }
    do {
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            m_shareList->insertItem(0, new QListWidgetItem(m_images.icon(0), fromWide(data.cFileName)));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    m_sharesListed = true;
}

void CMapNetworkDriveDlg::OnConnect()
{
    UpdateData(true);
    const QList<QListWidgetItem *> selected = m_shareList->selectedItems();
    if (selected.isEmpty())
        return;
    const QString path = QStringLiteral("\\\\") + m_computerName + QLatin1Char('\\') + selected.first()->text();

    CRegistryAccess registry;
    const QString &key = RegistryLayout::NetPathsKey;
    DWORD count = 0;
    bool lastRead = true;
    if (registry.ReadDword(HKEY_LOCAL_MACHINE, key, RegistryLayout::Count, count) != RegSuccess)
        count = 0;
    for (DWORD i = 0; i < count; ++i) {
        QString stored;
        lastRead = registry.ReadString(HKEY_LOCAL_MACHINE, key, RegistryLayout::netPath(int(i)), stored) == RegSuccess;
        if (lastRead && stored == path) {
            AfxMessageBox(QStringLiteral("Path already mapped."));
            return;
        }
    }
    if (!lastRead
        || registry.WriteString(HKEY_LOCAL_MACHINE, key, RegistryLayout::netPath(int(count)), path) != RegSuccess
        || registry.WriteDword(HKEY_LOCAL_MACHINE, key, RegistryLayout::Count, count + 1) != RegSuccess) {
        AfxMessageBox(MappingFailed);
        return;
    }
    EndDialog(IDOK);
}
