// The program's only top-level window: the folder tree above the file list in
// a splitter, the command bar (menu bar or tool bar), and the routing of every
// command to the pane or dialog that carries it out.
#pragma once

#include "app/CommandRules.h"
#include "fileops/CFileOperations.h"
#include "framework/FrameServices.h"
#include "framework/WindowTimers.h"
#include "platform/Types.h"

#include <QMainWindow>

class CDialog;
class CDirTreeView;
class CExecuteDlg;
class CFileListViewEx;
class CFindFilesDlg;
class CommandRouter;
class QAction;
class QMenu;
class QMenuBar;
class QSplitter;
class QToolBar;

class CMainFrame : public QMainWindow, public WindowTimers, public FrameServices
{
    Q_OBJECT
public:
    // Builds the panes and the command bar and reads ShowHeader.
    explicit CMainFrame(QWidget *parent = nullptr);
    // Writes ShowHeader.
    ~CMainFrame() override;

    CDirTreeView *treeView() const { return m_treeView; }
    CFileListViewEx *listView() const { return m_listView; }
    CFileOperations &fileOperations() { return m_fileOperations; }

    // What the views ask of their frame.
    CommandRouter &router() override { return *m_router; }
    bool isDragging() const override { return m_dragging; }
    void setDragging(bool dragging) override { m_dragging = dragging; }
    void cutFiles() override;
    void cutFolder(const QString &folder) override;
    void paste(const QString &targetFolder) override;
    QTreeWidgetItem *dragOverFolders(const QPoint &screenPos) override;
    void dropOnFolders(const QPoint &screenPos) override;
    void SetTimer(UINT id, UINT milliseconds) override { WindowTimers::SetTimer(id, milliseconds); }
    bool KillTimer(UINT id) override { return WindowTimers::KillTimer(id); }

    // Runs every command's update rule again (focus or selection changed).
    void updateCommands();
    // What the update rules decide from, as the panes are now.
    CommandFacts currentFacts() const;

    bool isToolBarMode() const { return m_toolBarMode; }
    bool isHeaderShown() const { return m_showHeader; }
    QToolBar *commandBar() const { return m_commandBar; }
    QMenuBar *menuBarMenu() const { return m_menuBarMenu; }
    // The properties dialog or system information sheet while one is open.
    CDialog *openPropertiesDialog() const { return m_propertiesDlg; }
    // The open Find dialog; null when none.
    CFindFilesDlg *findDialog() const { return m_findDialog; }

protected:
    // Ends an open Find dialog (result 0) before the frame closes.
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void OnTimer(UINT id) override;

private:
    void buildPanes();
    void switchCommandBar();
    void applyHeader();
    void registerCommands();
    void registerFileCommands();
    void registerPlacesCommands();
    QMenu *bookmarkPopup() const;
    void registerOpenCommands();
    void OnFind();
    bool treeFocused() const;
    bool listFocused() const;
    void registerUpdateRules();
    void OnProperties();

    bool m_dragging = false;
    CDialog *m_propertiesDlg = nullptr;
    CExecuteDlg *m_executeDlg = nullptr; // while the Execute dialog runs
    CFindFilesDlg *m_findDialog = nullptr;
    CFileOperations m_fileOperations;
    QMenuBar *m_menuBarMenu = nullptr;
    bool m_showHeader = true;
    QSplitter *m_splitter = nullptr;
    CDirTreeView *m_treeView = nullptr;
    CFileListViewEx *m_listView = nullptr;
    CommandRouter *m_router = nullptr;
    QToolBar *m_commandBar = nullptr;
    QAction *m_menuBarAction = nullptr;
    QAction *m_gapAction = nullptr;
    bool m_toolBarMode = true;
    bool m_shown = false;
};
