#include "fileops/CEditShortcutDlg.h"

#include "fileops/ShortcutFile.h"
#include "framework/CDataExchange.h"
#include "list/CFileListViewEx.h"
#include "platform/UiSink.h"
#include "tree/CDirTreeView.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CEditShortcutDlg::CEditShortcutDlg(const QString &shortcutPath, const QString &shortcutName, QWidget *parent)
    : CDialog(IDD, parent)
    , m_shortcutName(shortcutName)
    , m_shortcutPath(shortcutPath)
{
    setWindowTitle(QStringLiteral("Edit Shortcut"));
    setFixedSize(dluSize(136, 84));

    auto place = [this](QWidget *control, int id, const QRect &rect) {
        if (id)
            SetDlgCtrlID(control, id);
        control->setGeometry(rect);
    };
    place(new QLabel(QStringLiteral("Shortcut name:"), this), 0, dluRect(4, 4, 128, 8));
    place(new QLineEdit(this), IDC_SHORTCUT_NAME, dluRect(4, 14, 128, 12));
    place(new QLabel(QStringLiteral("File name:"), this), 0, dluRect(4, 32, 128, 8));
    place(new QLineEdit(this), IDC_SHORTCUT_TEXT, dluRect(4, 42, 128, 12));

    auto *ok = new QPushButton(QStringLiteral("Ok"), this);
    place(ok, IDC_OK, dluRect(18, 64, 46, 14));
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(cancel, IDC_CANCEL, dluRect(72, 64, 46, 14));
    // Neither button is the default: Enter must not write.
    for (QPushButton *button : {ok, cancel})
        button->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CEditShortcutDlg::OnOkButton);
    connect(cancel, &QPushButton::clicked, this, [this] { EndDialog(0); });
}

void CEditShortcutDlg::CreateShortcut(CDirTreeView &tree, CFileListViewEx &list)
{
    CEditShortcutDlg dialog(tree.GetSelectedPath(), QString(), tree.window());
    dialog.DoModal();
    list.RefreshFolder();
}

void CEditShortcutDlg::EditShortcut(CFileListView &list)
{
    const QString name = list.GetFirstSelectedName();
    if (name.isEmpty())
        return;
    CEditShortcutDlg dialog(list.GetCurrentFolder() + QLatin1Char('\\') + name, name, list.window());
    dialog.DoModal();
}

void CEditShortcutDlg::OnInitDialog()
{
    if (!m_shortcutName.isEmpty()) {
        ShortcutFile::AppendText(m_shortcutPath, m_shortcutText);
        GetDlgItem(IDC_SHORTCUT_NAME)->setEnabled(false);
        m_editMode = true;
    } else {
        setWindowTitle(QStringLiteral("Create shortcut"));
        m_editMode = false;
    }
    UpdateData(false);
    const qsizetype hash = m_shortcutText.indexOf(QLatin1Char('#'));
    if (!m_shortcutText.isEmpty() && hash >= 0) {
        m_shortcutText.remove(0, hash + 1);
        UpdateData(false);
    }
}

void CEditShortcutDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_SHORTCUT_NAME, m_shortcutName);
    DDX_Text(dx, IDC_SHORTCUT_TEXT, m_shortcutText);
}

void CEditShortcutDlg::OnOK()
{
    EndDialog(IDOK);
}

void CEditShortcutDlg::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    CDialog::keyPressEvent(event);
}

void CEditShortcutDlg::OnOkButton()
{
    UpdateData(true);
    m_shortcutText = ShortcutFile::DialogForm(m_shortcutText);
    if (m_editMode) {
        ShortcutFile::WriteText(m_shortcutPath, m_shortcutText, ShortcutFile::Disposition::TruncateExisting);
    } else {
        if (m_shortcutName.right(4) != QLatin1String(".lnk"))
            m_shortcutName += QLatin1String(".lnk");
        m_shortcutPath += m_shortcutName;
        ShortcutFile::WriteText(m_shortcutPath, m_shortcutText, ShortcutFile::Disposition::CreateAlways);
    }
    EndDialog(0);
}
