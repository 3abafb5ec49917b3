#include "app/CMainFrame.h"

#include "app/CQuillmossApp.h"
#include "settings/CRegistryAccess.h"
#include "settings/RegistryLayout.h"
#include "fileops/CEditShortcutDlg.h"
#include "fileops/RenameCommand.h"
#include "filetypes/CFilePropertiesDlg.h"
#include "filetypes/CExtensionsDlg.h"
#include "filetypes/CRegisterExtDlg.h"
#include "framework/CommandRouter.h"
#include "framework/MenuBuilder.h"
#include "list/CExecuteDlg.h"
#include "list/CFileListViewEx.h"
#include "list/CFilterDlg.h"
#include "places/BookmarkList.h"
#include "places/CAddBookmarkDlg.h"
#include "places/CBookmarksDlg.h"
#include "places/CMapNetworkDriveDlg.h"
#include "places/NetPathList.h"
#include "platform/UiSink.h"
#include "res/Pictures.h"
#include "res/ResourceIds.h"
#include "res/StringTable.h"
#include "tools/SystemInfoSheet.h"
#include "tools/IrTransfer.h"
#include "tools/MailFile.h"
#include "tools/CFindFilesDlg.h"
#include "tree/CDirTreeView.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QSplitter>
#include <QToolBar>

namespace {


} // namespace

CMainFrame::CMainFrame(QWidget *parent)
    : QMainWindow(parent), WindowTimers(this), m_router(new CommandRouter(this))
{
    setWindowTitle(applicationTitle());
    setWindowIcon(LoadIcon(IDR_MAINFRAME));
    resize(480, 640);

    buildPanes();
    registerCommands();
    registerFileCommands();
    registerPlacesCommands();
    registerOpenCommands();
    registerUpdateRules();

    m_commandBar = new QToolBar(this);
    m_commandBar->setObjectName(QStringLiteral("59392")); // the command bar's control-bar id, 0xE800
    m_commandBar->setMovable(false);
    m_commandBar->setFloatable(false);
    m_commandBar->setIconSize(QSize(16, 16));
    m_commandBar->setContextMenuPolicy(Qt::PreventContextMenu);
    addToolBar(Qt::TopToolBarArea, m_commandBar);
    switchCommandBar();

    DWORD showHeader = 1;
    if (CRegistryAccess().ReadDword(HKEY_LOCAL_MACHINE, RegistryLayout::AppKey, RegistryLayout::ShowHeader,
                                    showHeader) != RegSuccess)
        showHeader = 1;
    m_showHeader = showHeader != 0;
    applyHeader();

    connect(qApp, &QApplication::focusChanged, this, &CMainFrame::updateCommands);
}

CMainFrame::~CMainFrame()
{
    // The panes go away after this body: their focus and selection changes must not reach the commands.
    disconnect(qApp, nullptr, this, nullptr);
    disconnect(m_listView->selectionModel(), nullptr, this, nullptr);
    disconnect(m_treeView, nullptr, this, nullptr);
    CRegistryAccess().WriteDword(HKEY_LOCAL_MACHINE, RegistryLayout::AppKey, RegistryLayout::ShowHeader,
                                 m_showHeader ? 1 : 0);
}

void CMainFrame::buildPanes()
{
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("59648")); // the splitter's pane id, 0xE900
    m_splitter->setChildrenCollapsible(false);
    m_treeView = new CDirTreeView(m_splitter);
    m_listView = new CFileListViewEx(m_splitter);
    m_splitter->addWidget(m_treeView);
    m_splitter->addWidget(m_listView);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({100, 540});
    setCentralWidget(m_splitter);

    m_treeView->SetFrame(this);
    m_listView->SetFrame(this);
    m_treeView->SetListView(m_listView);
    m_fileOperations.SetViews(m_treeView, m_listView);

    for (QWidget *window : QApplication::topLevelWidgets()) {
        if (window != this && window->isVisible() && window->windowTitle() == applicationTitle()) {
            window->raise();
            window->activateWindow();
        }
    }

    connect(m_listView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CMainFrame::updateCommands);
    connect(m_treeView, &QTreeWidget::currentItemChanged, this, &CMainFrame::updateCommands);
    m_treeView->OnInitialUpdate();
    m_treeView->setFocus();
}

void CMainFrame::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        m_treeView->OnFirstActivate();
        m_treeView->setFocus();
    }
}

void CMainFrame::switchCommandBar()
{
    // Emptying the bar removes its entries without destroying them: the menu
    // bar is kept for the check marks and the Bookmark entries.
    m_commandBar->clear();
    if (m_toolBarMode) {
        m_toolBarMode = false;
        if (!m_menuBarMenu) {
            m_menuBarMenu = MenuBuilder::buildMenuBar(IDR_MENUBAR, *m_router, this);
            m_menuBarMenu->setNativeMenuBar(false);
            m_menuBarAction = m_commandBar->addWidget(m_menuBarMenu);
            auto *gap = new QWidget(m_commandBar);
            gap->setFixedWidth(6);
            m_gapAction = m_commandBar->addWidget(gap);
        } else {
            m_commandBar->addAction(m_menuBarAction);
            m_commandBar->addAction(m_gapAction);
        }
        m_commandBar->addAction(m_router->action(ID_TOGGLE_TOOLBAR));
    } else {
        m_toolBarMode = true;
        // The command actions belong to the router; the bar's own separators are made anew.
        QToolBar *full = MenuBuilder::buildToolBar(IDR_MAINFRAME, *m_router, this);
        for (QAction *action : full->actions()) {
            if (action->isSeparator())
                m_commandBar->addSeparator();
            else
                m_commandBar->addAction(action);
        }
        delete full;
    }
    updateCommands();
}

void CMainFrame::applyHeader()
{
    if (!m_listView || !m_menuBarMenu)
        return;
    DWORD style = m_listView->GetStyle();
    for (QAction *entry : m_router->entries(ID_VIEW_SHOWHEADER)) {
        entry->setCheckable(true);
        entry->setChecked(m_showHeader);
    }
    if (m_showHeader)
        style &= ~LVS_NOCOLUMNHEADER;
    else
        style |= LVS_NOCOLUMNHEADER;
    m_listView->SetStyle(style);
}

void CMainFrame::registerCommands()
{
    CommandRouter &r = *m_router;
    r.onCommand(ID_TOGGLE_TOOLBAR, [this] { switchCommandBar(); });
    r.onCommand(ID_VIEW_SHOWHEADER, [this] {
        m_showHeader = !m_showHeader;
        applyHeader();
    });
    r.onCommand(ID_APP_DISCLAIMER, [this] { CQuillmossApp::OnDisclaimer(this); });
    r.onCommand(ID_APP_ABOUT, [this] { CQuillmossApp::OnAppAbout(this); });
    r.onCommand(ID_APP_EXIT, [this] { close(); });
    r.onCommand(ID_VIEW_REFRESH, [this] {
        WaitCursor wait;
        m_listView->RefreshFolder();
        m_treeView->Refresh();
    });
    r.onCommand(ID_VIEW_FILTER, [this] {
        CFilterDlg dialog(this);
        if (dialog.DoModal() == 1)
            m_listView->RefreshFolder();
    });
    r.onCommand(ID_FILE_PROPERTIES, [this] { OnProperties(); });
    r.onCommand(ID_EDIT_SELECTALL, [this] {
        m_listView->setFocus();
        m_listView->SelectAll(true);
    });
    r.onCommand(ID_TOOLS_IRRECEIVE, [this] {
        IrTransfer::Receive(this, m_treeView->GetSelectedPath());
        m_listView->RefreshFolder();
    });
    r.onCommand(ID_TOOLS_IRSEND, [this] {
        if (treeFocused()) {
            const QString folder = m_treeView->GetSelectedPath();
            if (folder != QLatin1String("\\"))
                IrTransfer::SendFolder(this, folder);
        } else if (listFocused()) {
            QStringList names;
            m_listView->GetSelectedNames(names);
            IrTransfer::SendFiles(this, m_listView->GetCurrentFolder(), names);
        }
    });
    r.onCommand(ID_TOOLS_EMAIL, [this] {
        const QString name = m_listView->GetFirstSelectedName();
        MailFile(name.isEmpty() ? QString() : m_listView->GetCurrentFolder() + QLatin1Char('\\') + name);
    });
    r.onCommand(ID_TOOLS_FIND, [this] { OnFind(); });
}

// The tree's root (and "My Network Places", whose path is "\\" too) shows the
// system information; a folder or the list's focused file its properties.
void CMainFrame::OnProperties()
{
    QString path;
    const bool list = listFocused();
    if (treeFocused()) {
        path = m_treeView->GetSelectedPath();
        if (path == QLatin1String("\\")) {
            SystemInfoSheet sheet(this);
            m_propertiesDlg = &sheet;
            sheet.DoModal();
            m_propertiesDlg = nullptr;
            return;
        }
    } else if (list && m_listView->GetFocusedItem() >= 0) {
        m_listView->SaveFocus();
        path = m_listView->GetCurrentFolder() + QLatin1Char('\\') + m_listView->GetItemText(m_listView->GetFocusedItem(), 0);
    } else {
        return;
    }
    CFilePropertiesDlg dialog(this);
    m_propertiesDlg = &dialog;
    dialog.ShowProperties(path);
    m_propertiesDlg = nullptr;
    if (list && dialog.attributesChanged) {
        m_listView->RefreshFolder();
        m_listView->RestoreFocus(false);
    }
}

void CMainFrame::OnFind()
{
    CFindFilesDlg dialog(this);
    m_findDialog = &dialog;
    dialog.setDirectory(m_treeView->GetSelectedPath());
    dialog.setFilename(QStringLiteral("*.*"));
    dialog.setContaining(QString());
    if (dialog.DoModal() == IDOK) {
        {
            WaitCursor wait;
            m_treeView->SelectPath(dialog.resultFolder());
        }
        m_listView->SelectByName(dialog.resultName());
    }
    m_findDialog = nullptr;
}

bool CMainFrame::treeFocused() const
{
    return QApplication::focusWidget() == m_treeView;
}

bool CMainFrame::listFocused() const
{
    return QApplication::focusWidget() == m_listView;
}

// Commands of the file operation engine; a command whose focus test fails does nothing.
void CMainFrame::registerFileCommands()
{
    CommandRouter &r = *m_router;
    CFileOperations &ops = m_fileOperations;
    r.onCommand(ID_FILE_NEWFOLDER, [this, &ops] {
        if (treeFocused())
            ops.CreateNewFolder();
    });
    r.onCommand(ID_FILE_CREATESHORTCUT, [this] { CEditShortcutDlg::CreateShortcut(*m_treeView, *m_listView); });
    r.onCommand(ID_FILE_EDITSHORTCUT, [this] {
        if (listFocused())
            CEditShortcutDlg::EditShortcut(*m_listView);
    });
    r.onCommand(ID_FILE_RENAME, [this] {
        if (listFocused())
            RenameSelectedEntry(*m_listView);
    });
    r.onCommand(ID_FILE_DELETE, [this, &ops] {
        if (treeFocused()) {
            ops.DeleteFolder();
            m_treeView->Refresh();
        } else if (listFocused()) {
            m_listView->SaveFocus();
            const bool stepBack = ops.DeleteSelectedFiles();
            m_listView->RefreshFolder();
            m_listView->RestoreFocus(stepBack);
        }
    });
    r.onCommand(ID_EDIT_CUT, [this, &ops] {
        if (treeFocused())
            ops.CutFolder(m_treeView->GetSelectedPath());
        else if (listFocused())
            ops.CutFiles();
    });
    r.onCommand(ID_EDIT_COPY, [this, &ops] {
        if (treeFocused())
            ops.CopyFolder(m_treeView->GetSelectedPath());
        else if (listFocused())
            ops.CopyFiles();
    });
    r.onCommand(ID_EDIT_PASTE, [this, &ops] {
        const bool list = listFocused();
        if (list)
            m_listView->SaveFocus();
        ops.Paste(m_treeView->GetSelectedPath());
        if (list)
            m_listView->RestoreFocus(false);
    });
    r.onCommand(ID_EDIT_PASTESHORTCUT, [&ops] { ops.PasteShortcuts(); });
    r.onCommand(ID_EDIT_PASTEINMENU, [&ops] { ops.PasteInStartMenu(); });
}

QMenu *CMainFrame::bookmarkPopup() const
{
    if (!m_menuBarMenu || m_menuBarMenu->actions().size() <= MENUBAR_BOOKMARK)
        return nullptr;
    return m_menuBarMenu->actions().at(MENUBAR_BOOKMARK)->menu();
}

// Bookmarks and network drives.
void CMainFrame::registerPlacesCommands()
{
    CommandRouter &r = *m_router;
    r.onCommand(ID_BOOKMARK_ADD, [this] {
        CAddBookmarkDlg dialog(m_treeView->GetSelectedPath(), this);
        dialog.DoModal();
    });
    r.onCommand(ID_BOOKMARK_DELETE, [this] {
        CBookmarksDlg dialog(this);
        dialog.DoModal();
    });
    r.onCommandRange(ID_BOOKMARK_FIRST, ID_BOOKMARK_LAST, [this](UINT id) {
        if (QMenu *popup = bookmarkPopup())
            BookmarkList::GoTo(*popup, id, *m_treeView);
    });
    r.onCommand(ID_TOOLS_CONNECTDRIVE, [this] {
        CMapNetworkDriveDlg dialog(this);
        dialog.DoModal();
        m_treeView->RefreshNetworkPlaces(nullptr, QString());
    });
    r.onCommand(ID_TOOLS_DISCONNECTDRIVE, [this] {
        QTreeWidgetItem *item = m_treeView->currentItem();
        if (!item)
            return;
        const QString path = item->text(0);
        if (!path.isEmpty())
            NetPathList::Remove(path);
        delete item;
        m_treeView->RefreshFrom(nullptr, QStringLiteral("\\"), false);
    });
}

// Opening and running files, and the file-type editor.
void CMainFrame::registerOpenCommands()
{
    CommandRouter &r = *m_router;
    r.onCommand(ID_FILE_OPEN, [this] {
        const QString name = m_listView->GetFirstSelectedName();
        if (listFocused() && !name.isEmpty())
            m_listView->ExecuteFile(m_listView->GetCurrentFolder() + QLatin1Char('\\') + name);
    });
    r.onCommand(ID_TOOLS_EXECUTE, [this] {
        m_executeDlg = new CExecuteDlg(this);
        m_executeDlg->fileName = m_listView->GetFirstSelectedName();
        m_executeDlg->path = m_treeView->GetSelectedPath();
        m_executeDlg->DoModal();
        delete std::exchange(m_executeDlg, nullptr);
    });
    r.onCommand(ID_TOOLS_EXTENSIONS, [this] { CExtensionsDlg(this).DoModal(); });
    r.onCommand(ID_REGISTER_EXT, [this] {
        const QString name = m_listView->GetFirstSelectedName();
        if (name.isEmpty())
            return;
        CRegisterExtDlg dialog(this);
        dialog.openWith = m_listView->GetCurrentFolder() + QLatin1Char('\\') + name;
        dialog.DoModal();
    });
}

void CMainFrame::registerUpdateRules()
{
    static const UINT ruled[] = {
        ID_FILE_NEWFOLDER, ID_FILE_EDITSHORTCUT, ID_FILE_RENAME, ID_FILE_DELETE,
        ID_FILE_PROPERTIES, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_PASTESHORTCUT,
        ID_EDIT_PASTEINMENU, ID_EDIT_SELECTALL, ID_TOOLS_IRSEND, ID_TOOLS_DISCONNECTDRIVE, ID_TOOLS_EMAIL,
        ID_FILE_OPEN,
    };
    for (UINT id : ruled) {
        m_router->onUpdate(id, [this, id](CCmdUI &ui) {
            // A rule that leaves the state unchanged keeps what the entries show now.
            const std::optional<bool> on = CommandRules::enabled(id, currentFacts());
            ui.Enable(on.value_or(m_router->action(id)->isEnabled()));
        });
    }
    // The Bookmark pop-up's entries are read again whenever Add is updated.
    m_router->onUpdate(ID_BOOKMARK_ADD, [this](CCmdUI &ui) {
        if (QMenu *popup = bookmarkPopup())
            BookmarkList::RebuildMenu(*popup, *m_router);
        ui.Enable(CommandRules::enabled(ID_BOOKMARK_ADD, currentFacts()).value_or(true));
    });
}

void CMainFrame::cutFiles()
{
    m_fileOperations.CutFiles();
}

void CMainFrame::cutFolder(const QString &folder)
{
    m_fileOperations.CutFolder(folder);
}

void CMainFrame::paste(const QString &targetFolder)
{
    m_fileOperations.Paste(targetFolder);
}

QTreeWidgetItem *CMainFrame::dragOverFolders(const QPoint &screenPos)
{
    return m_treeView->DragOver(screenPos);
}

void CMainFrame::dropOnFolders(const QPoint &screenPos)
{
    m_treeView->EndDrag(screenPos);
}

CommandFacts CMainFrame::currentFacts() const
{
    CommandFacts facts;
    const QWidget *focus = QApplication::focusWidget();
    if (focus == m_treeView)
        facts.focus = CommandFacts::Focus::Tree;
    else if (focus == m_listView)
        facts.focus = CommandFacts::Focus::List;
    facts.folder = m_treeView->GetSelectedPath();
    facts.networkPathSelected = m_treeView->IsNetworkPathSelected();
    facts.listItemCount = m_listView->GetItemCount();
    facts.selectedCount = m_listView->GetSelectedCount();
    facts.firstSelectedName = m_listView->GetFirstSelectedName();
    facts.canPaste = m_fileOperations.CanPaste();
    facts.canPasteShortcut = m_fileOperations.CanPasteShortcut();
    return facts;
}

void CMainFrame::updateCommands()
{
    m_router->updateCommands();
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (m_findDialog)
        m_findDialog->EndDialog(0);
    QMainWindow::closeEvent(event);
}

void CMainFrame::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Minimising ends the program.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        close();
}

void CMainFrame::OnTimer(UINT id)
{
    m_treeView->OnTimer(id);
}
