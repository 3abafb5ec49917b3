#include "places/CBookmarksDlg.h"

#include "places/BookmarkList.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

CBookmarksDlg::CBookmarksDlg(QWidget *parent)
    : CDialog(IDD, parent)
    , m_list(new QListWidget(this))
{
    setWindowTitle(QStringLiteral("Bookmarks"));
    setFixedSize(dluSize(136, 124));

    auto *label = new QLabel(QStringLiteral("Bookmarks:"), this);
    label->setGeometry(dluRect(4, 4, 128, 8));
    SetDlgCtrlID(m_list, IDC_BOOKMARK_LIST);
    m_list->setGeometry(dluRect(4, 14, 128, 84));
    m_list->setViewMode(QListView::ListMode);
    m_list->setIconSize(QSize(16, 16));
    auto *remove = new QPushButton(QStringLiteral("Delete"), this);
    SetDlgCtrlID(remove, IDC_BOOKMARK_DELETE);
    remove->setGeometry(dluRect(45, 104, 46, 14));
    remove->setAutoDefault(false);
    connect(remove, &QPushButton::clicked, this, &CBookmarksDlg::OnDelete);
}

void CBookmarksDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_images.Create(LoadBitmap(IDB_TREEIMAGES), bitmapImageSize(IDB_TREEIMAGES).width(), QColor(0xFFFFFF));
    m_list->clear();
    const DWORD count = BookmarkList::Count();
    for (DWORD i = 0; i < count; ++i) {
        QString name;
        if (BookmarkList::ReadName(i, name))
            m_list->insertItem(m_list->count(), new QListWidgetItem(m_images.icon(0), name));
    }
}

void CBookmarksDlg::OnDelete()
{
    QListWidgetItem *focused = m_list->currentItem();
    if (!focused || focused->text().isEmpty())
        return;
    BookmarkList::Remove(focused->text());
    delete focused;
}
