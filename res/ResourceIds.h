// Numbers of the program's commands and resources. A number is an id of its
// kind only: 128 is at once the title string, the application icon, the
// accelerator table and the full tool bar.
#pragma once

#include "platform/Types.h"

// Commands the framework defines.
constexpr UINT ID_SEPARATOR = 0;
constexpr UINT ID_FILE_NEW = 57600;
constexpr UINT ID_FILE_OPEN = 57601;
constexpr UINT ID_FILE_SAVE = 57603;
constexpr UINT ID_EDIT_COPY = 57634;
constexpr UINT ID_EDIT_CUT = 57635;
constexpr UINT ID_EDIT_PASTE = 57637;
constexpr UINT ID_EDIT_UNDO = 57643;
constexpr UINT ID_APP_ABOUT = 57664;
constexpr UINT ID_APP_EXIT = 57665;
constexpr UINT ID_NEXT_PANE = 57680;
constexpr UINT ID_PREV_PANE = 57681;

// The program's own commands.
constexpr UINT ID_FILE_DELETE = 32772;
constexpr UINT ID_FILE_NEWFOLDER = 32773;
constexpr UINT ID_FILE_PROPERTIES = 32774;
constexpr UINT ID_VIEW_REFRESH = 32775;
constexpr UINT ID_TOOLS_IRSEND = 32776;
constexpr UINT ID_TOOLS_IRRECEIVE = 32777;
constexpr UINT ID_EDIT_PASTESHORTCUT = 32778;
constexpr UINT ID_EDIT_PASTEINMENU = 32779;
constexpr UINT ID_TOOLS_CONNECTDRIVE = 32780;
constexpr UINT ID_TOOLS_DISCONNECTDRIVE = 32781;
constexpr UINT ID_TOOLS_FIND = 32783;
constexpr UINT ID_TOGGLE_TOOLBAR = 32784;
constexpr UINT ID_TOOLS_EXECUTE = 32792;
constexpr UINT ID_TOOLS_EMAIL = 32804;
constexpr UINT ID_FILE_EDITSHORTCUT = 32807;
constexpr UINT ID_VIEW_FILTER = 32808;
constexpr UINT ID_EDIT_SELECTALL = 32810;
constexpr UINT ID_BOOKMARK_DELETE = 32815;
constexpr UINT ID_TOOLS_EXTENSIONS = 32819;
constexpr UINT ID_VIEW_SHOWHEADER = 32825;
constexpr UINT ID_BOOKMARK_ADD = 32827;
constexpr UINT ID_FILE_CREATESHORTCUT = 32831;
constexpr UINT ID_FILE_RENAME = 32856;
constexpr UINT ID_REGISTER_EXT = 32862;
constexpr UINT ID_APP_DISCLAIMER = 32863;

// Bookmark entries of the Bookmark menu; only this range is routed.
constexpr UINT ID_BOOKMARK_FIRST = 3000;
constexpr UINT ID_BOOKMARK_LAST = 3100;

// Title string, application icon, accelerator table and full tool bar.
constexpr UINT IDR_MAINFRAME = 128;
constexpr UINT IDR_MENUBAR = 131;        // menu: File, Edit, View, Tools, Bookmark
constexpr UINT IDR_CONTEXTMENU = 133;    // menu: the context pop-ups below
constexpr UINT IDR_TOGGLEBAR = 130;      // tool bar: the Toggle button alone

// Pop-ups of the context menu, by position.
constexpr int CONTEXT_FILE = 0;
constexpr int CONTEXT_FILEEMPTY = 1;
constexpr int CONTEXT_DIR = 2;
constexpr int CONTEXT_NETWORK = 3;
constexpr int CONTEXT_NETWORKFOLDER = 4;

// Position of the Bookmark pop-up in the menu bar.
constexpr int MENUBAR_BOOKMARK = 4;

// Bitmaps.
constexpr UINT IDB_TREEIMAGES = 132;     // nine 16x16 images on white
constexpr UINT IDB_FILEIMAGE = 136;      // one 16x15 document on white: the list's fallback image
constexpr UINT IDB_ABOUT = 145;          // the About box's picture

// Icons (IDR_MAINFRAME is the application icon).
constexpr UINT IDI_FOLDER = 171;

// Dialogs and controls of the About and Disclaimer boxes.
constexpr UINT IDD_ABOUTBOX = 100;
constexpr UINT IDD_DISCLAIMER = 182;
constexpr int IDC_VISIT_WEBSITE = 1000;
constexpr int IDC_ABOUT_ICON = 1019;
constexpr int IDC_DISCLAIMER_TITLE = 1074;
constexpr int IDC_DISCLAIMER_TEXT = 1046;

// Strings (besides the command prompts, which use the command's id).
constexpr UINT IDS_DISCLAIMER = 61204;
constexpr UINT IDS_WEBADDRESS = 33000;
