#include "installer/CInstallDlg.h"

#include "installer/InstallFiles.h"
#include "installer/InstallStrings.h"
#include "platform/Desktop.h"
#include "platform/UiSink.h"

#include <QBuffer>
#include <QDir>
#include <QEvent>
#include <QImageReader>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QThread>

namespace {

const QString MakerAddress = QStringLiteral("https://www.brindlecove.example/quillmoss");
const QString ProgramTitle = QStringLiteral("Quillmoss_Install");
const QString TemplateCaption = QStringLiteral("Quillmoss version 3.1 Install");

void showWhite(QLabel *label)
{
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    label->setPalette(palette);
}

} // namespace

CInstallDlg::CInstallDlg(QWidget *parent)
    : CDialog(102, parent),
      extractFolder(QDir::tempPath() + QStringLiteral("/Brindlecove/Quillmoss")),
      folderPage(this), tasksPage(this), requirementsPage(this),
      pages{&requirementsPage, &folderPage, &tasksPage}
{
    setWindowTitle(TemplateCaption);
    setFixedSize(dluSize(432, 146));
    // The program's icon is the package's, at 16 x 16 and 32 x 32.
    const QByteArray iconFile = FindInstallFile(5003).toByteArray();
    QBuffer buffer;
    buffer.setData(iconFile);
    QImageReader reader(&buffer, "ICO");
    QPixmap logo;
    for (int i = 0, n = reader.imageCount(); i < n && reader.jumpToImage(i); ++i) {
        logo = QPixmap::fromImage(reader.read());
        icon.addPixmap(logo);
    }

    auto *panel = new QLabel(this);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setGeometry(dluRect(7, 7, 140, 132));
    showWhite(panel);
    SetDlgCtrlID(panel, 1003);
    auto *picture = new QLabel(this);
    picture->setPixmap(logo.scaled(96, 96));
    picture->setAlignment(Qt::AlignCenter);
    picture->setGeometry(dluRect(12, 15, 130, 70));
    SetDlgCtrlID(picture, 1004);
    auto *maker = new QLabel(QStringLiteral("Brindlecove Software"), this);
    maker->setAlignment(Qt::AlignCenter);
    maker->setGeometry(dluRect(12, 100, 130, 10));
    showWhite(maker);
    SetDlgCtrlID(maker, 1023);
    linkLabel = new QLabel(MakerAddress, this);
    linkLabel->setAlignment(Qt::AlignCenter);
    linkLabel->setGeometry(dluRect(12, 114, 130, 10));
    linkLabel->setCursor(Qt::PointingHandCursor);
    linkLabel->installEventFilter(this);
    showWhite(linkLabel);
    SetDlgCtrlID(linkLabel, 1022);

    const struct {
        int id, x;
        const char *text;
        void (CInstallDlg::*handler)();
    } buttons[] = {{1009, 214, "< Back", &CInstallDlg::OnBack}, {1008, 266, "Next >", &CInstallDlg::OnNext},
                   {1007, 322, "Install", &CInstallDlg::OnInstall}, {IDCANCEL, 375, "Cancel", nullptr}};
    for (const auto &b : buttons) {
        auto *button = new QPushButton(QString::fromLatin1(b.text), this);
        button->setGeometry(dluRect(b.x, 125, 50, 14));
        button->setEnabled(b.id == IDCANCEL);
        button->setAutoDefault(false);
        SetDlgCtrlID(button, b.id);
        if (b.handler)
            connect(button, &QPushButton::clicked, this, b.handler);
        else
            connect(button, &QPushButton::clicked, this, &CInstallDlg::reject);
    }
    GetDlgItem<QPushButton>(1008)->setDefault(true);
    for (CDialog *page : pages)
        page->hide();
}

QString CInstallDlg::Title()
{
    QString title = TemplateCaption;
    const QString edition = InstallStrings::load(3004);
    if (!edition.isEmpty())
        title += QLatin1Char(' ') + edition;
    return title + QStringLiteral(" for ") + InstallStrings::load(3002) + QStringLiteral(" with ")
           + InstallStrings::load(3003) + QStringLiteral(" processor");
}

void CInstallDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    setWindowIcon(icon);
    setWindowTitle(Title());
    linkFont = QFont(QStringLiteral("MS Sans Serif"));
    linkFont.setPixelSize(8);
    linkFont.setWeight(QFont::Normal);
    linkFont.setUnderline(true);
    linkFont.setStyleHint(QFont::SansSerif);
    linkLabel->setFont(linkFont);
    QPalette palette = linkLabel->palette();
    palette.setColor(QPalette::WindowText, QColor(0, 0, 255));
    linkLabel->setPalette(palette);

    Desktop desktop;
    const QString installedDir = desktop.readString(QString::fromLatin1(Desktop::ServicesKey), QStringLiteral("InstalledDir"));
    if (installedDir.isNull()) {
        MessageBoxW(this, InstallStrings::load(104), InstallStrings::load(103), MB_OK | MB_ICONERROR);
        EndDialog(IDCANCEL);
        return;
    }
    extractFolder = installedDir + QStringLiteral("/Brindlecove/Quillmoss");

    const QRect panel = GetDlgItem(1003)->geometry();
    const QRect cancel = GetDlgItem(IDCANCEL)->geometry();
    const QRect area(QPoint(panel.right() + 1 + 8, 10), QPoint(width() - 1, cancel.top() - 5 - 1));
    for (CDialog *page : pages)
        page->setGeometry(area);
    currentPage = 1;
    ShowCurrentPage();
    folderPage.folder = extractFolder;
    folderPage.UpdateData(false);
    GetDlgItem(1008)->setEnabled(true);
}

void CInstallDlg::OnNext()
{
    if (currentPage == 2) {
        folderPage.UpdateData(true);
        extractFolder = folderPage.folder;
    }
    currentPage = qMin(currentPage + 1, 3);
    ShowCurrentPage();
}

void CInstallDlg::OnBack()
{
    currentPage = qMax(currentPage - 1, 1);
    GetDlgItem<QPushButton>(1008)->setText(QStringLiteral("Next >"));
    ShowCurrentPage();
}

void CInstallDlg::ShowCurrentPage()
{
    for (int i = 0; i < 3; ++i)
        pages[i]->setVisible(i + 1 == currentPage);
    GetDlgItem(1009)->setEnabled(currentPage > 1);
    GetDlgItem(1008)->setEnabled(currentPage != 3);
    GetDlgItem(1007)->setEnabled(currentPage == 3);
}

void CInstallDlg::OnInstall()
{
    for (int id : {1009, 1008, 1007, IDCANCEL})
        GetDlgItem(id)->setEnabled(false);
    tasksPage.GetDlgItem<QLabel>(1006)->setText(InstallStrings::load(105));
    tasksPage.ShowTaskProgress(1014, 0, 1);
    StartSyncManager(QStringLiteral(" /quit "), true);

    bool ok = Extract();
    if (ok) {
        QThread::msleep(500);
        tasksPage.ShowTaskProgress(1015, 0, 1);
        ok = RunApplicationManager();
    }
    if (ok) {
        tasksPage.ShowTaskProgress(1016, 0, 1);
        tasksPage.ShowTaskProgress(1016, 1, 1);
    }
    tasksPage.GetDlgItem<QLabel>(1006)->setText(InstallStrings::load(107));
    for (int id : {1009, 1008, 1007})
        GetDlgItem(id)->hide();
    if (ok)
        StartSyncManager(QString(), false);
    GetDlgItem<QPushButton>(IDCANCEL)->setText(InstallStrings::load(106));
    GetDlgItem(IDCANCEL)->setEnabled(true);
    if (!ok) {
        MessageBoxW(this, InstallStrings::load(112), ProgramTitle, MB_OK | MB_ICONEXCLAMATION);
        EndDialog(IDCANCEL);
    }
}

void CInstallDlg::StartSyncManager(const QString &arguments, bool wait)
{
    const QString program = Desktop().readString(QString::fromLatin1(Desktop::SyncManagerKey), QString());
    if (program.isEmpty())
        return;
    std::unique_ptr<HostProcess> process = Desktop::start(program, QLatin1Char('"') + program + QLatin1Char('"') + arguments);
    if (process && wait)
        process->wait(INFINITE);
}

bool CInstallDlg::CreateFolder(const QString &path)
{
    if (Desktop::exists(path) || Desktop::createFolder(path))
        return true;
    // The parent ends with its separator; the root's own separator is never dropped to.
    QString parent = path.chopped(1);
    while (!parent.isEmpty() && !(parent.endsWith(QLatin1Char('/')) && parent.size() > 1))
        parent.chop(1);
    if (parent.isEmpty() || !CreateFolder(parent))
        return false;
    return Desktop::createFolder(path);
}

bool CInstallDlg::Extract()
{
    if (!CreateFolder(extractFolder)) {
        MessageBoxW(this, InstallStrings::load(108), InstallStrings::load(103), MB_OK);
        return false;
    }
    bool ok = true;
    for (int id = 5001; id <= 5003; ++id) {
        const bool written = WritePackageFile(extractFolder, id);
        if (written && ok)
            tasksPage.ShowTaskProgress(1014, id - 5000, 3);
        ok = ok && written;
    }
    return ok;
}

bool CInstallDlg::WritePackageFile(const QString &folder, int resourceId)
{
    const QString name = InstallStrings::load(UINT(resourceId - 1000));
    const QByteArrayView data = FindInstallFile(resourceId);
    const QString path = folder + (folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + name;
    if (data.isNull() || !Desktop::writeFile(path, data)) {
        MessageBoxW(this, InstallStrings::load(114).replace(QLatin1String("%s"), name), ProgramTitle,
                    MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    return true;
}

bool CInstallDlg::RunApplicationManager()
{
    const QString program = Desktop().readString(QString::fromLatin1(Desktop::AppManagerKey), QString());
    if (program.isEmpty()) {
        MessageBoxW(this, InstallStrings::load(104), InstallStrings::load(103), MB_OK | MB_ICONERROR);
        return false;
    }
    Desktop::setCurrentFolder(extractFolder);
    const QString commandLine = program + QStringLiteral(" \"") + extractFolder + QLatin1Char('/')
                                + InstallStrings::load(3001) + QStringLiteral(" \"");
    std::unique_ptr<HostProcess> process = Desktop::start(program, commandLine);
    if (!process)
        return false;
    process->wait(INFINITE);
    tasksPage.ShowTaskProgress(1015, 1, 1);
    return true;
}

bool CInstallDlg::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == linkLabel && event->type() == QEvent::MouseButtonRelease)
        Desktop::openAddress(MakerAddress);
    return CDialog::eventFilter(watched, event);
}
