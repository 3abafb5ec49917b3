#include "installer/CExtractFolderPage.h"

#include "framework/CDataExchange.h"
#include "installer/InstallStrings.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CExtractFolderPage::CExtractFolderPage(QWidget *parent) : CDialog(138, parent)
{
    setWindowFlags(Qt::Widget);
    auto *text = new QLabel(QStringLiteral(
        "Before this application can be installed on your device, the installation files have to be extracted. "
        "You may specify now where you wish to have the files extracted. If this folder does not exist you will "
        "be asked to confirm its creation."), this);
    text->setWordWrap(true);
    text->setGeometry(dluRect(0, 0, 270, 50));
    SetDlgCtrlID(text, 1005);
    auto *label = new QLabel(QStringLiteral("Extraction Folder:"), this);
    label->setGeometry(dluRect(0, 62, 200, 10));
    SetDlgCtrlID(label, 1000);
    auto *edit = new QLineEdit(this);
    edit->setGeometry(dluRect(0, 74, 214, 14));
    SetDlgCtrlID(edit, 1001);
    auto *browse = new QPushButton(QStringLiteral("Browse..."), this);
    browse->setGeometry(dluRect(220, 74, 50, 14));
    browse->setDefault(true);
    SetDlgCtrlID(browse, 1002);
    connect(browse, &QPushButton::clicked, this, &CExtractFolderPage::OnBrowse);
}

void CExtractFolderPage::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, 1001, folder);
}

QString CExtractFolderPage::FolderOf(const QString &chosenPath)
{
    QString result = chosenPath;
    while (!result.isEmpty() && !result.endsWith(QLatin1Char('/')))
        result.chop(1);
    while (result.size() > 1 && result.endsWith(QLatin1Char('/')))
        result.chop(1);
    return result;
}

void CExtractFolderPage::OnBrowse()
{
    UpdateData(true);
    QFileDialog dialog(this, InstallStrings::load(109), folder);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    folder = FolderOf(dialog.selectedFiles().constFirst());
    UpdateData(false);
}
