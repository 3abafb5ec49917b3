#include "list/CExecuteDlg.h"

#include "framework/AfxMessageBox.h"
#include "framework/CDataExchange.h"
#include "framework/DialogButtons.h"

#include <QLabel>
#include <QLineEdit>

CExecuteDlg::CExecuteDlg(QWidget *parent)
    : CDialog(0, parent)
{
    setWindowTitle(QStringLiteral("Execute file..."));
    setFixedSize(dluSize(138, 70));
    const struct {
        const char *label;
        int id;
    } fields[] = {
        {"Filename: ", IDC_FILENAME},
        {"Path: ", IDC_PATH},
        {"Parameters: ", IDC_PARAMETERS},
    };
    int y = 4;
    for (const auto &field : fields) {
        (new QLabel(QString::fromLatin1(field.label), this))->setGeometry(dluRect(4, y + 2, 40, 8));
        auto *edit = new QLineEdit(this);
        SetDlgCtrlID(edit, field.id);
        edit->setGeometry(dluRect(46, y, 88, 12));
        y += 16;
    }
    AddOkCancelButtons(*this, QStringLiteral("Run"), 52);
}

void CExecuteDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_FILENAME, fileName);
    DDX_Text(dx, IDC_PATH, path);
    DDX_Text(dx, IDC_PARAMETERS, parameters);
}

void CExecuteDlg::OnOK()
{
    UpdateData(true);
    if (path.endsWith(QLatin1Char('\\')))
        path.chop(1);
    if (fileName.startsWith(QLatin1Char('\\')))
        fileName.remove(0, 1);
    if (fileName.isEmpty()) {
        AfxMessageBox(QStringLiteral("No file selected"), MB_OK);
        return;
    }
    m_fullPath = path + QLatin1Char('\\') + fileName;
    m_info = SHELLEXECUTEINFO();
    m_info.cbSize = SHELLEXECUTEINFO_SIZE;
    m_info.hwnd = this;
    m_info.lpVerb = u"open";
    m_info.lpFile = wide(m_fullPath);
    m_info.lpParameters = wide(parameters);
    m_info.lpDirectory = wide(path);
    m_info.nShow = SW_SHOW;
    // The shell reports its own failures; the dialog stays open either way.
    ShellExecuteExW(&m_info);
}
