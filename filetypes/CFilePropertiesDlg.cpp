#include "filetypes/CFilePropertiesDlg.h"

#include "framework/CDataExchange.h"
#include "list/CFileTypeInfo.h"
#include "list/DisplayFormats.h"
#include "platform/Files.h"
#include "platform/LinkInfo.h"
#include "platform/Modules.h"
#include "platform/UiSink.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace {

// A box the dialog never toggles: it only shows its bit.
class FixedCheckBox : public QCheckBox
{
public:
    using QCheckBox::QCheckBox;

protected:
    void nextCheckState() override {}
};

struct AttributeBox {
    int id;
    const char *text;
    DWORD bit; // 0: bound to no bit
    BOOL CFilePropertiesDlg::*flag;
    bool automatic;
    int column, row;
};

const AttributeBox Boxes[] = {
    {1002, "Directory", FILE_ATTRIBUTE_DIRECTORY, &CFilePropertiesDlg::directory, false, 0, 0},
    {1006, "Compressed", FILE_ATTRIBUTE_COMPRESSED, &CFilePropertiesDlg::compressed, false, 0, 1},
    {1009, "Temporary", FILE_ATTRIBUTE_TEMPORARY, &CFilePropertiesDlg::temporary, true, 0, 2},
    {1008, "In rom", FILE_ATTRIBUTE_INROM, &CFilePropertiesDlg::inRom, false, 0, 3},
    {1011, "Rom module", FILE_ATTRIBUTE_ROMMODULE, &CFilePropertiesDlg::romModule, false, 0, 4},
    {1013, "Rom static ref", FILE_ATTRIBUTE_ROMSTATICREF, &CFilePropertiesDlg::romStaticRef, false, 0, 5},
    {1003, "Archive", FILE_ATTRIBUTE_ARCHIVE, &CFilePropertiesDlg::archive, true, 1, 0},
    {1007, "System", FILE_ATTRIBUTE_SYSTEM, &CFilePropertiesDlg::system, true, 1, 1},
    {1004, "Read only", FILE_ATTRIBUTE_READONLY, &CFilePropertiesDlg::readOnly, true, 1, 2},
    {1005, "Hidden", FILE_ATTRIBUTE_HIDDEN, &CFilePropertiesDlg::hidden, true, 1, 3},
    {1010, "Atomic write", 0, &CFilePropertiesDlg::atomicWrite, false, 1, 4},
    {1012, "XAction write", 0, &CFilePropertiesDlg::xactionWrite, false, 1, 5},
};

double fileSize(const WIN32_FIND_DATAW &data)
{
    return double(data.nFileSizeHigh) * 4294967296.0 + data.nFileSizeLow;
}

} // namespace

CFilePropertiesDlg::CFilePropertiesDlg(QWidget *parent)
    : CDialog(IDD, parent),
      m_iconControl(new QLabel(this)),
      m_register(new QPushButton(QStringLiteral("Register"), this)),
      m_unregister(new QPushButton(QStringLiteral("Unregister"), this))
{
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(dluSize(160, 166));
    const auto place = [this](QWidget *control, int id, int x, int y, int width, int height) {
        if (id)
            SetDlgCtrlID(control, id);
        control->setGeometry(dluRect(x, y, width, height));
    };
    place(m_iconControl, IDC_ICON, 4, 4, 21, 20);
    place(new QLabel(QStringLiteral("Filename"), this), IDC_FILENAME, 30, 10, 80, 10);
    place(m_register, IDC_REGISTER, 112, 4, 44, 12);
    place(m_unregister, IDC_UNREGISTER, 112, 18, 44, 12);
    connect(m_register, &QPushButton::clicked, this, [this] { SelfRegister(QStringLiteral("DllRegisterServer")); });
    connect(m_unregister, &QPushButton::clicked, this, [this] { SelfRegister(QStringLiteral("DllUnregisterServer")); });

    place(new QGroupBox(this), 0, 4, 32, 152, 56);
    const struct { const char *label; int id; } rows[] = {
        {"Free", IDC_FREE}, {"Size", IDC_SIZE}, {"Created", IDC_CREATED}, {"Modified", IDC_MODIFIED}, {"Opened", IDC_OPENED},
    };
    int y = 38;
    for (const auto &row : rows) {
        place(new QLabel(QString::fromLatin1(row.label), this), 0, 8, y, 34, 9);
        place(new QLabel(QStringLiteral(":"), this), 0, 42, y, 4, 9);
        place(new QLabel(this), row.id, 48, y, 104, 9);
        y += 10;
    }

    place(new QGroupBox(this), 0, 4, 90, 152, 56);
    for (const AttributeBox &box : Boxes) {
        const QString text = QString::fromLatin1(box.text);
        place(box.automatic ? new QCheckBox(text, this) : new FixedCheckBox(text, this), box.id,
              8 + box.column * 76, 95 + box.row * 8, 72, 8);
    }

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setDefault(true);
    place(ok, IDOK, 58, 149, 46, 14);
    connect(ok, &QPushButton::clicked, this, &CDialog::accept);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(cancel, IDCANCEL, 110, 149, 46, 14);
    connect(cancel, &QPushButton::clicked, this, &CDialog::reject);
}

CFilePropertiesDlg::~CFilePropertiesDlg()
{
    if (m_icon)
        DestroyIcon(m_icon);
}

int CFilePropertiesDlg::ShowProperties(QString path)
{
    if (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    this->path = path;
    return DoModal();
}

double CFilePropertiesDlg::FolderSize(QString folder)
{
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wide(folder + QStringLiteral("*.*")), &data);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    double total = 0;
    do {
        const QString entry = folder + fromWide(data.cFileName);
        if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            total += fileSize(data);
        else if (!IsSymbolicLink(wide(entry)))
            total += FolderSize(entry);
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return total;
}

QString CFilePropertiesDlg::FolderSizeText(double size)
{
    if (size < 1024)
        return QString::asprintf("%db", int(size));
    if (size < 1048576)
        return QString::asprintf("%.1fKb (%.0fb)", size / 1024, size);
    return QString::asprintf("%.1fMb  (%.0fb)", size / 1048576, size);
}

void CFilePropertiesDlg::OnInitDialog()
{
    fileName = path.mid(path.lastIndexOf(QLatin1Char('\\')) + 1);
    const bool library = CFileTypeInfo().GetExtension(fileName) == QLatin1String("DLL");
    m_register->setVisible(library);
    m_unregister->setVisible(library);

    WIN32_FIND_DATAW data;
    const HANDLE find = FindFirstFileW(wide(path), &data);
    if (find != INVALID_HANDLE_VALUE) {
        const bool folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        SHFILEINFO info;
        if (folder)
            m_icon = new QIcon(LoadIcon(IDI_FOLDER));
        else if (SHGetFileInfo(wide(path), 0, &info, sizeof info, SHGFI_ICON | SHGFI_LARGEICON))
            m_icon = info.hIcon;
        if (m_icon)
            m_iconControl->setPixmap(m_icon->pixmap(32));

        if (folder) {
            sizeText = FolderSizeText(FolderSize(path));
            ULARGE_INTEGER available, total, free;
            freeText = GetDiskFreeSpaceExW(wide(path), &available, &total, &free)
                ? QString::asprintf("A%.1fMb T%.1fMb F%.1fMb", double(available.QuadPart) / 1048576,
                                    double(total.QuadPart) / 1048576, double(free.QuadPart) / 1048576)
                : QStringLiteral("Unable to obtain");
        } else {
            sizeText = QString::asprintf("%.0f bytes", fileSize(data));
        }
        createdText = FormatFileTime(data.ftCreationTime);
        modifiedText = FormatFileTime(data.ftLastWriteTime);
        openedText = FormatFileTime(data.ftLastAccessTime);

        initialAttributes = data.dwFileAttributes;
        for (const AttributeBox &box : Boxes)
            this->*box.flag = (initialAttributes & box.bit) ? TRUE : FALSE;
        FindClose(find);
    }
    UpdateData(false);
}

void CFilePropertiesDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_FILENAME, fileName);
    DDX_Text(dx, IDC_SIZE, sizeText);
    DDX_Text(dx, IDC_FREE, freeText);
    DDX_Text(dx, IDC_CREATED, createdText);
    DDX_Text(dx, IDC_MODIFIED, modifiedText);
    DDX_Text(dx, IDC_OPENED, openedText);
    for (const AttributeBox &box : Boxes)
        DDX_Check(dx, box.id, this->*box.flag);
}

void CFilePropertiesDlg::OnOK()
{
    UpdateData(true);
    if (initialAttributes != INVALID_FILE_ATTRIBUTES) {
        DWORD attributes = 0;
        for (const AttributeBox &box : Boxes) {
            if (this->*box.flag)
                attributes |= box.bit;
        }
        if (attributes != initialAttributes) {
            attributesChanged = TRUE;
            if (!SetFileAttributesW(wide(path), attributes))
                MessageBoxW(this, QStringLiteral("Failed to change attributes"), applicationTitle(),
                            MB_OK | MB_ICONEXCLAMATION);
        }
    }
    EndDialog(IDOK);
}

void CFilePropertiesDlg::SelfRegister(const QString &exportName)
{
    // The name alone: the module search order decides which file is loaded.
    QString text = QStringLiteral("%1 in %2 FAILED.").arg(exportName, fileName);
    if (const HMODULE library = LoadLibraryW(wide(fileName))) {
        if (const FARPROC entry = GetProcAddress(library, wide(exportName))) {
            if (reinterpret_cast<HRESULT (*)()>(entry)() >= 0)
                text = QStringLiteral("%1 in %2 succeeded.").arg(exportName, fileName);
        }
        FreeLibrary(library);
    }
    MessageBoxW(this, text, applicationTitle(), MB_OK);
}
