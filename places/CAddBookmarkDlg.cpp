#include "places/CAddBookmarkDlg.h"

#include "framework/AfxMessageBox.h"
#include "framework/CDataExchange.h"
#include "places/BookmarkList.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

CAddBookmarkDlg::CAddBookmarkDlg(const QString &bookmarkPath, QWidget *parent)
    : CDialog(IDD, parent)
    , m_bookmarkPath(bookmarkPath)
{
    setWindowTitle(QStringLiteral("Add bookmark"));
    setFixedSize(dluSize(136, 84));

    auto place = [this](QWidget *control, int id, const QRect &rect) {
        if (id)
            SetDlgCtrlID(control, id);
        control->setGeometry(rect);
    };
    place(new QLabel(QStringLiteral("Path:"), this), 0, dluRect(4, 4, 128, 8));
    auto *path = new QLineEdit(this);
    path->setEnabled(false);
    place(path, IDC_BOOKMARK_PATH, dluRect(4, 14, 128, 12));
    place(new QLabel(QStringLiteral("Name:"), this), 0, dluRect(4, 32, 128, 8));
    place(new QLineEdit(this), IDC_BOOKMARK_NAME, dluRect(4, 42, 128, 12));

    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    place(ok, IDOK, dluRect(18, 64, 46, 14));
    ok->setDefault(true);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    place(cancel, IDCANCEL, dluRect(72, 64, 46, 14));
    connect(ok, &QPushButton::clicked, this, &CAddBookmarkDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CAddBookmarkDlg::reject);
}

void CAddBookmarkDlg::DoDataExchange(CDataExchange &dx)
{
    DDX_Text(dx, IDC_BOOKMARK_PATH, m_bookmarkPath);
    DDX_Text(dx, IDC_BOOKMARK_NAME, m_bookmarkName);
}

void CAddBookmarkDlg::OnOK()
{
    UpdateData(true);
    if (m_bookmarkName.isEmpty()) {
        AfxMessageBox(QStringLiteral("Please fillin a name for your Bookmark."));
        return;
    }
    // Such a name would overwrite the values that keep the list itself.
    if (BookmarkList::IsReservedName(m_bookmarkName)) {
        AfxMessageBox(QStringLiteral("\"%1\" is reserved for the bookmark list.\nPlease select a different name.")
                 .arg(m_bookmarkName));
        return;
    }
    const DWORD count = BookmarkList::Count();
    for (DWORD i = 0; i < count; ++i) {
        QString name;
        QString path;
        if (BookmarkList::ReadName(i, name) && BookmarkList::ReadPath(name, path) && name == m_bookmarkName) {
            AfxMessageBox(QStringLiteral("Bookmark name already exists.\nPlease select a different name."));
            return;
        }
    }
    // A failed write keeps the dialog open without a word.
    if (BookmarkList::Append(m_bookmarkName, m_bookmarkPath))
        EndDialog(IDOK);
}
