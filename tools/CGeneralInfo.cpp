#include "tools/CGeneralInfo.h"

#include "framework/CDataExchange.h"
#include "platform/SystemInfo.h"

#include <QGroupBox>
#include <cstring>

namespace {

QString processorText(const SYSTEM_INFO &info)
{
    const int level = info.wProcessorLevel;
    const int major = info.wProcessorRevision >> 8;
    const int minor = info.wProcessorRevision & 0xFF;
    switch (info.wProcessorArchitecture) {
    case PROCESSOR_ARCHITECTURE_INTEL:
        if (level == 3 || level == 4)
            return QString::asprintf("INTEL 80%c86", '0' + level);
        if (level == 5)
            return QStringLiteral("INTEL Pentium");
        if (level == 6)
            return QStringLiteral("INTEL Pentium Pro");
        return QString();
    case PROCESSOR_ARCHITECTURE_MIPS:
        return QString::asprintf("MIPS R%04d\nRevision %d", (level & 0xFF) * 1000, minor);
    case PROCESSOR_ARCHITECTURE_ALPHA:
        return QString::asprintf("ALPHA %d\nRevision: Model %c, Pass %d", level, 'A' + major, minor);
    case PROCESSOR_ARCHITECTURE_PPC:
        if (level == 1 || level == 3 || level == 4 || level == 20)
            return QString::asprintf("PPC %d\nRevision %d.%d", 600 + level, major, minor);
        if (level == 6 || level == 9)
            return QString::asprintf("PPC %s\nRevision %d.%d", level == 6 ? "603+" : "604+", major, minor);
        return QString();
    default:
        return info.dwProcessorType == PROCESSOR_STRONGARM ? QStringLiteral("Strong ARM\nSA1110")
                                                           : QStringLiteral("Unknown");
    }
}

// "name (a.b.c.d)" with the entry's first address.
QString entryText(const QByteArray &name, const winsock::hostent &entry)
{
    winsock::in_addr address;
    std::memcpy(&address.S_addr, entry.h_addr_list[0], sizeof address.S_addr);
    return QString::fromLatin1(name) + QStringLiteral(" (") + QString::fromLatin1(winsock::inet_ntoa(address))
        + QLatin1Char(')');
}

} // namespace

CGeneralInfo::CGeneralInfo() : InfoPage(IDD, QStringLiteral("General"), 138, 111, 1000)
{
    m_processorFrame = AddFrame(QString(), QRect(4, 2, 130, 34));
    SetDlgCtrlID(m_processorFrame, IDC_PROCESSOR_FRAME);
    AddText(IDC_PROCESSOR, QRect(10, 12, 118, 20));
    AddFrame(QStringLiteral("OS information"), QRect(4, 38, 130, 32));
    AddText(IDC_OS, QRect(10, 48, 118, 20));
    AddFrame(QStringLiteral("Network information"), QRect(4, 72, 130, 36));
    AddText(IDC_HOST, QRect(10, 82, 118, 10));
    AddText(IDC_PEER, QRect(10, 94, 118, 10));
}

CGeneralInfo::~CGeneralInfo()
{
    if (m_lookup)
        m_lookup->wait();
}

void CGeneralInfo::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_OS, osText);
    DDX_Text(dx, IDC_PROCESSOR, processorText);
    DDX_Text(dx, IDC_HOST, hostText);
    DDX_Text(dx, IDC_PEER, peerText);
}

void CGeneralInfo::Refresh()
{
    OSVERSIONINFOW version;
    version.dwOSVersionInfoSize = sizeof version;
    const bool known = GetVersionExW(&version);
    if (known && version.dwPlatformId == VER_PLATFORM_WIN32_CE)
        osText = QString::asprintf("Windows CE\nversion %d.%d.%d ", int(version.dwMajorVersion),
                                   int(version.dwMinorVersion), int(version.dwBuildNumber))
            + fromWide(version.szCSDVersion);
    else
        osText = QStringLiteral("Application is not running on Windows CE.");
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    processorText.clear();
    if (known) {
        processorText = ::processorText(system);
        m_processorFrame->setTitle(QString::asprintf("Processor type (%d)", int(system.dwProcessorType)));
    }
    UpdateData(false);
    hostText.clear();
    peerText.clear();
}

void CGeneralInfo::OnTimer(UINT id)
{
    InfoPage::OnTimer(id);
    if (isLookingUp())
        return;
    // The thread reaches the page only as the receiver of queued calls: the
    // page outlives it (see the destructor), and Qt drops calls queued for a
    // page that is destroyed before they run.
    QObject *page = this;
    const auto deliver = [page](UINT message, const QString &text) {
        QMetaObject::invokeMethod(page, [page, message, text] {
            static_cast<CGeneralInfo *>(page)->OnLookupText(message, text);
        }, Qt::QueuedConnection);
    };
    m_lookup.reset(QThread::create([deliver] {
        char name[100] = {};
        if (winsock::gethostname(name, sizeof name) != 0)
            return;
        if (const winsock::hostent *host = winsock::gethostbyname(name))
            deliver(WM_HOSTTEXT, entryText(name, *host));
        if (const winsock::hostent *peer = winsock::gethostbyname("ppp_peer"))
            deliver(WM_PEERTEXT, entryText(peer->h_name, *peer));
    }));
    m_lookup->start();
}

void CGeneralInfo::OnLookupText(UINT message, const QString &text)
{
    (message == WM_HOSTTEXT ? hostText : peerText) = text;
    UpdateData(false);
}
