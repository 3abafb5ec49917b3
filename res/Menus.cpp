#include "res/Menus.h"

#include "res/ResourceIds.h"

namespace {

MenuEntry item(const char *text, UINT id)
{
    return {QString::fromLatin1(text), id, {}};
}

MenuEntry separator()
{
    return {};
}

MenuEntry popup(const char *text, std::vector<MenuEntry> items)
{
    return {QString::fromLatin1(text), 0, std::move(items)};
}

std::vector<MenuEntry> menuBar()
{
    return {
        popup("File", {item("New &Folder", ID_FILE_NEWFOLDER), item("Create shortcut", ID_FILE_CREATESHORTCUT),
                       item("Edit &Shortcut", ID_FILE_EDITSHORTCUT), separator(),
                       item("&Rename", ID_FILE_RENAME), item("&Delete", ID_FILE_DELETE),
                       item("&Properties", ID_FILE_PROPERTIES), separator(),
                       item("Disclaimer", ID_APP_DISCLAIMER), item("&About", ID_APP_ABOUT), separator(),
                       item("E&xit", ID_APP_EXIT)}),
        popup("Edit", {item("Cu&t", ID_EDIT_CUT), item("&Copy", ID_EDIT_COPY), item("&Paste", ID_EDIT_PASTE),
                       item("Paste &Shortcut", ID_EDIT_PASTESHORTCUT), item("Paste in &Menu", ID_EDIT_PASTEINMENU),
                       separator(), item("&Select All", ID_EDIT_SELECTALL)}),
        popup("View", {item("Show header", ID_VIEW_SHOWHEADER), item("&Filter", ID_VIEW_FILTER), separator(),
                       item("&Refresh", ID_VIEW_REFRESH)}),
        popup("Tools", {item("IR &Receive Files(s)", ID_TOOLS_IRRECEIVE), item("IR &Send Files(s)", ID_TOOLS_IRSEND),
                        separator(), item("Connect Network Drive", ID_TOOLS_CONNECTDRIVE),
                        item("Disconnect Network Drive", ID_TOOLS_DISCONNECTDRIVE), separator(),
                        item("E&mail File", ID_TOOLS_EMAIL), item("&Execute", ID_TOOLS_EXECUTE),
                        item("&Find", ID_TOOLS_FIND), item("E&xtensions", ID_TOOLS_EXTENSIONS)}),
        // Bookmark entries (ID_BOOKMARK_FIRST...) are appended after the separator at run time.
        popup("Bookmark", {item("Add", ID_BOOKMARK_ADD), item("Delete", ID_BOOKMARK_DELETE), separator()}),
    };
}

std::vector<MenuEntry> contextMenu()
{
    return {
        popup("File", {item("Open", ID_FILE_OPEN), item("Register Ext.", ID_REGISTER_EXT), separator(),
                       item("Cut", ID_EDIT_CUT), item("Copy", ID_EDIT_COPY), separator(),
                       item("&Rename", ID_FILE_RENAME), item("&Delete", ID_FILE_DELETE), separator(),
                       item("&Properties", ID_FILE_PROPERTIES)}),
        popup("FileEmpty", {item("Refresh", ID_VIEW_REFRESH), separator(), item("Paste", ID_EDIT_PASTE),
                            item("Paste shortcut", ID_EDIT_PASTESHORTCUT), separator(),
                            item("New shortcut", ID_FILE_CREATESHORTCUT), item("New &Folder", ID_FILE_NEWFOLDER)}),
        popup("Dir", {item("New &Folder", ID_FILE_NEWFOLDER), item("&Delete", ID_FILE_DELETE),
                      item("&Properties", ID_FILE_PROPERTIES)}),
        popup("Network", {item("Connect drive", ID_TOOLS_CONNECTDRIVE)}),
        popup("NetworkFolder", {item("Disconnect drive", ID_TOOLS_DISCONNECTDRIVE)}),
    };
}

} // namespace

const std::vector<MenuEntry> &LoadMenu(UINT id)
{
    static const std::vector<MenuEntry> bar = menuBar();
    static const std::vector<MenuEntry> context = contextMenu();
    static const std::vector<MenuEntry> none;
    switch (id) {
    case IDR_MENUBAR: return bar;
    case IDR_CONTEXTMENU: return context;
    default: return none;
    }
}
