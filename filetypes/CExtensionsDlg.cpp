#include "filetypes/CExtensionsDlg.h"

#include "filetypes/CRegisterExtDlg.h"
#include "filetypes/FileTypeRegistry.h"
#include "platform/Shell.h"
#include "platform/UiSink.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

CExtensionsDlg::CExtensionsDlg(QWidget *parent)
    : CDialog(IDD, parent)
    , m_list(new QTreeWidget(this))
    , m_edit(new QPushButton(QStringLiteral("Edit"), this))
    , m_delete(new QPushButton(QStringLiteral("Delete"), this))
{
    setWindowTitle(QStringLiteral("Extensions"));
    setFixedSize(dluSize(138, 150));
    (new QLabel(QStringLiteral("Registered file types:"), this))->setGeometry(dluRect(4, 4, 130, 8));
    SetDlgCtrlID(m_list, IDC_LIST);
    m_list->setGeometry(dluRect(4, 14, 130, 112));
    m_list->setRootIsDecorated(false);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setIconSize(QSize(16, 16));

    auto *add = new QPushButton(QStringLiteral("New"), this);
    SetDlgCtrlID(add, IDC_NEW);
    SetDlgCtrlID(m_edit, IDC_EDIT);
    SetDlgCtrlID(m_delete, IDC_DELETE);
    int x = 4;
    for (QPushButton *button : {add, m_edit, m_delete}) {
        button->setGeometry(dluRect(x, 132, 40, 14));
        button->setAutoDefault(false);
        x += 45;
    }
    connect(add, &QPushButton::clicked, this, &CExtensionsDlg::OnNew);
    connect(m_edit, &QPushButton::clicked, this, &CExtensionsDlg::OnEdit);
    connect(m_delete, &QPushButton::clicked, this, &CExtensionsDlg::OnDelete);
    connect(m_list, &QTreeWidget::clicked, this, [this] {
        if (m_list->selectedItems().size() == 1) {
            m_edit->setEnabled(true);
            m_delete->setEnabled(true);
        }
    });
}

void CExtensionsDlg::OnInitDialog()
{
    m_list->setHeaderLabels({QStringLiteral("Extensions"), QStringLiteral("File Types"), QString()});
    QHeaderView *header = m_list->header();
    header->setStretchLastSection(false);
    header->resizeSection(ExtensionColumn, 60);
    header->resizeSection(TypeColumn, 180);
    header->resizeSection(CommandColumn, 0);
    m_imageList.Create(LoadBitmap(IDB_FILEIMAGE), 16, QColor(0xFFFFFF));
    {
        WaitCursor wait;
        for (const QString &key : FileTypeRegistry::ExtensionKeys())
            AddRow(key);
    }
    m_edit->setEnabled(false);
    m_delete->setEnabled(false);
    CDialog::OnInitDialog();
}

void CExtensionsDlg::AddRow(const QString &keyName)
{
    auto *row = new QTreeWidgetItem;
    SHFILEINFO info{};
    if (SHGetFileInfo(reinterpret_cast<LPCWSTR>(keyName.utf16()), 0, &info, sizeof info,
                      SHGFI_ICON | SHGFI_SMALLICON | SHGFI_USEFILEATTRIBUTES)
        && info.hIcon) {
        const int index = m_imageList.ReplaceIcon(-1, *info.hIcon);
        if (index >= 0)
            row->setIcon(ExtensionColumn, m_imageList.icon(index));
        DestroyIcon(info.hIcon);
    }
    QString className, description, command;
    FileTypeRegistry::ReadDefault(keyName, className);
    FileTypeRegistry::ReadDefault(className, description);
    FileTypeRegistry::ReadDefault(className + QStringLiteral("\\Shell\\Open\\Command"), command);
    if (command.contains(QLatin1Char('%')))
        command.truncate(qMax<qsizetype>(command.lastIndexOf(QLatin1Char(' ')), 0));

    const QString extension = keyName.mid(1);
    row->setText(ExtensionColumn, extension);
    row->setText(TypeColumn, description.isEmpty() ? className : description);
    row->setText(CommandColumn, command);
    int at = 0;
    while (at < m_list->topLevelItemCount()
           && QString::compare(m_list->topLevelItem(at)->text(ExtensionColumn), extension, Qt::CaseInsensitive) <= 0)
        ++at;
    m_list->insertTopLevelItem(at, row);
}

void CExtensionsDlg::RunRegister(CRegisterExtDlg &dialog)
{
    if (dialog.DoModal() != IDOK)
        return;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->text(ExtensionColumn) == dialog.extension) {
            delete m_list->takeTopLevelItem(i);
            break;
        }
    }
    AddRow(QLatin1Char('.') + dialog.extension);
}

void CExtensionsDlg::OnNew()
{
    CRegisterExtDlg dialog(this);
    RunRegister(dialog);
}

void CExtensionsDlg::OnEdit()
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    const QTreeWidgetItem *row = selected.first();
    CRegisterExtDlg dialog(this);
    dialog.extension = row->text(ExtensionColumn);
    dialog.description = row->text(TypeColumn);
    dialog.openWith = row->text(CommandColumn);
    dialog.editMode = true;
    RunRegister(dialog);
}

void CExtensionsDlg::OnDelete()
{
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    QTreeWidgetItem *row = selected.first();
    if (MessageBoxW(this, QStringLiteral("Delete selected extension?"), applicationTitle(), MB_YESNO) != IDYES)
        return;
    const QString key = QLatin1Char('.') + row->text(ExtensionColumn);
    if (FileTypeRegistry::ExtensionKeys().contains(key))
        FileTypeRegistry::RemoveAssociation(key);
    delete row;
}
