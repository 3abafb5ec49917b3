#include "filetypes/CRegisterExtDlg.h"

#include "settings/CRegistryAccess.h"
#include "filetypes/FileTypeRegistry.h"
#include "framework/AfxMessageBox.h"
#include "framework/CDataExchange.h"
#include "framework/DialogButtons.h"

#include <QLabel>
#include <QLineEdit>

CRegisterExtDlg::CRegisterExtDlg(QWidget *parent)
    : CDialog(IDD, parent)
{
    setWindowTitle(QStringLiteral("Register extension"));
    setFixedSize(dluSize(136, 110));
    const struct {
        const char *label;
        int id;
    } fields[] = {
        {"Extension :", IDC_EXTENSION},
        {"Description :", IDC_DESCRIPTION},
        {"Open with :", IDC_OPEN_WITH},
    };
    int y = 4;
    for (const auto &field : fields) {
        (new QLabel(QString::fromLatin1(field.label), this))->setGeometry(dluRect(4, y, 128, 8));
        auto *edit = new QLineEdit(this);
        SetDlgCtrlID(edit, field.id);
        edit->setGeometry(dluRect(4, y + 10, 128, 12));
        y += 28;
    }
    AddOkCancelButtons(*this, QStringLiteral("Register"), 90);
}

void CRegisterExtDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_EXTENSION, extension);
    DDX_Text(dx, IDC_DESCRIPTION, description);
    DDX_Text(dx, IDC_OPEN_WITH, openWith);
}

void CRegisterExtDlg::OnOK()
{
    UpdateData(true);
    QString key;
    if (extension.startsWith(QLatin1Char('.'))) {
        key = extension;
        extension.remove(0, 1);
    } else {
        key = QLatin1Char('.') + extension;
    }
    UpdateData(false);
    if (extension.isEmpty()) {
        AfxMessageBox(QStringLiteral("Please fill-in a file extension"), MB_OK);
        return;
    }
    if (openWith.isEmpty()) {
        AfxMessageBox(QStringLiteral("Please fill-in the application path"), MB_OK);
        return;
    }
    QString existing;
    if (FileTypeRegistry::ReadDefault(key, existing)) {
        if (!editMode
            && AfxMessageBox(QStringLiteral("Extension already registered. Do you want to continue and remove the "
                                            "old association?"),
                             MB_YESNO)
                   == IDNO)
            return;
        FileTypeRegistry::RemoveAssociation(key);
    }

    const QString className = extension + QStringLiteral("file");
    CRegistryAccess registry;
    registry.WriteString(HKEY_CLASSES_ROOT, key, QString(), className);
    registry.WriteString(HKEY_CLASSES_ROOT, className, QString(), description);
    registry.WriteDword(HKEY_CLASSES_ROOT, className, QStringLiteral("EditFlags"), 0x10000);
    registry.WriteString(HKEY_CLASSES_ROOT, className + QStringLiteral("\\DefaultIcon"), QString(),
                         openWith + QStringLiteral(", 0"));
    registry.WriteString(HKEY_CLASSES_ROOT, className + QStringLiteral("\\Shell\\Open\\Command"), QString(),
                         openWith + QStringLiteral(" %1"));
    EndDialog(IDOK);
}
