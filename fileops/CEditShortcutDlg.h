// The Edit Shortcut dialog: creates a shortcut file (create mode) or edits
// the target text of an existing one (edit mode), in the dialog form of
// ShortcutFile. Only the "Ok" button writes; Cancel, Enter and Escape close
// the dialog without writing. Failures to open or write are silent.
#pragma once

#include "framework/CDialog.h"

class CDirTreeView;
class CFileListView;
class CFileListViewEx;

class CEditShortcutDlg : public CDialog
{
    Q_OBJECT
public:
    enum : UINT { IDD = 158 };
    // Control ids.
    enum : int {
        IDC_SHORTCUT_NAME = 1025,
        IDC_SHORTCUT_TEXT = 1022,
        IDC_OK = 1023,
        IDC_CANCEL = 1024,
    };

    // Create mode: shortcutName empty and shortcutPath the folder to create
    // in, ending with a backslash. Edit mode: shortcutName the file's name and
    // shortcutPath the full path of the shortcut file.
    CEditShortcutDlg(const QString &shortcutPath, const QString &shortcutName, QWidget *parent = nullptr);

    QString shortcutName() const { return m_shortcutName; }
    QString shortcutText() const { return m_shortcutText; }
    // After "Ok" in create mode: the path of the file written.
    QString shortcutPath() const { return m_shortcutPath; }
    bool editMode() const { return m_editMode; }

    // The Create shortcut command: the dialog in create mode for the tree's
    // selected folder, then the list refreshed whatever the outcome.
    static void CreateShortcut(CDirTreeView &tree, CFileListViewEx &list);
    // The Edit Shortcut command: the dialog in edit mode for the list's first
    // selected entry (none: nothing happens). The list is not refreshed.
    static void EditShortcut(CFileListView &list);

protected:
    // Edit mode reads the file and disables the name; create mode retitles.
    // The fields then show the text after its first "#".
    void OnInitDialog() override;
    void DoDataExchange(CDataExchange &dx) override;
    // The standard OK command (Enter): closes without writing.
    void OnOK() override;
    // Enter is the standard OK command even in an edit field.
    void keyPressEvent(QKeyEvent *event) override;

private:
    void OnOkButton();

    QString m_shortcutName;
    QString m_shortcutText;
    QString m_shortcutPath;
    bool m_editMode = false;
};
