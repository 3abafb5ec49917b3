#include "res/StringTable.h"

#include "res/ResourceIds.h"

#include <QHash>

namespace {

const QHash<UINT, QString> &table()
{
    static const QHash<UINT, QString> strings = {
        {IDR_MAINFRAME, QStringLiteral("Quillmoss\n\nQuillmoss\n\n\nQuillmoss.Document\nQuillmoss Document")},
        {ID_FILE_DELETE, QStringLiteral("Delete a file or folder\nDelete")},
        {ID_FILE_NEWFOLDER, QStringLiteral("Create a new folder\nNew Folder")},
        {ID_FILE_PROPERTIES, QStringLiteral("Show the properties\nProperties")},
        {ID_VIEW_REFRESH, QStringLiteral("Refresh the views\nRefresh")},
        {ID_TOOLS_IRSEND, QStringLiteral("Send file(s) using the HPC compatible infra red\nSend IR")},
        {ID_TOOLS_IRRECEIVE, QStringLiteral("Receive file(s) using the HPC compatible infra red\nReceive IR")},
        {ID_EDIT_PASTESHORTCUT, QStringLiteral("Paste a shortcut\nPaste shortcut")},
        {ID_EDIT_PASTEINMENU, QStringLiteral("Paste a shortcut in the start menu\nPaste in Menu")},
        {ID_TOOLS_CONNECTDRIVE, QStringLiteral("Connect over the network\nConnect")},
        {ID_TOOLS_DISCONNECTDRIVE, QStringLiteral("Disconnect from the network\nDisconnect")},
        {ID_TOOLS_FIND, QStringLiteral("Find Files\nFind")},
        {ID_TOGGLE_TOOLBAR, QStringLiteral("Toggle between toolbar and menubar\nToggle toolbar")},
        {ID_FILE_RENAME, QStringLiteral("Rename the file or folder\nRename")},
        {ID_EDIT_COPY, QStringLiteral("Copy the selection and put it on the Clipboard\nCopy")},
        {ID_EDIT_CUT, QStringLiteral("Cut the selection and put it on the Clipboard\nCut")},
        {ID_EDIT_PASTE, QStringLiteral("Insert Clipboard contents\nPaste")},
        {IDS_WEBADDRESS, QStringLiteral("https://www.brindlecove.example/quillmoss")},
        {IDS_DISCLAIMER,
         QStringLiteral(
             "Quillmoss is provided by Brindlecove \"as is\", without warranty of any kind, "
             "express or implied, including but not limited to the warranties of "
             "merchantability, fitness for a particular purpose and non-infringement.\r\n\r\n"
             "Quillmoss copies, moves, renames and deletes files and changes the device's "
             "settings when you ask it to. Keep a backup of anything you cannot afford to lose.\r\n\r\n"
             "In no event shall Brindlecove be liable for any claim, damages, loss of data "
             "or other liability arising from the use of, or the inability to use, this "
             "program.\r\n\r\n"
             "By using Quillmoss you accept these terms.")},
    };
    return strings;
}

} // namespace

QString LoadString(UINT id)
{
    return table().value(id);
}

QString applicationTitle()
{
    return LoadString(IDR_MAINFRAME).section(QLatin1Char('\n'), 0, 0);
}
